#pragma once

#include <QApplication>

namespace mlk::ui {

// The application object of the program (and of the window tests): an exception that escaped an
// event handler is shown in the standard error box, and the program goes on.
class Application final : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace mlk::ui
