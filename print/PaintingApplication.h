#pragma once

#include <QtGlobal>
#include <memory>

class QGuiApplication;

namespace mlk::print {

// Qt paints text with fonts that only an application object provides. A program without one,
// the command line, makes one of these for as long as it prints: it stands on no screen, keeps
// Qt's notes about its surroundings off the program's output, and leaves the program's C locale
// as it was.
class PaintingApplication {
  public:
    PaintingApplication();
    ~PaintingApplication();
    PaintingApplication(const PaintingApplication&) = delete;
    PaintingApplication& operator=(const PaintingApplication&) = delete;

  private:
    int argc_ = 1;
    char name_[4] = "mlk";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
    QtMessageHandler previous_ = nullptr;
};

}  // namespace mlk::print
