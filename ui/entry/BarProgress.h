#pragma once

#include <QElapsedTimer>

#include "base/Progress.h"

class QProgressBar;

namespace mlk::ui {

// Shows a long operation's progress on a bar and keeps the window painted, repainting at most
// every tenth of a second so that hundreds of thousands of steps cost little.
class BarProgress final : public Progress {
  public:
    explicit BarProgress(QProgressBar* bar);
    void SetRange(std::int64_t maximum) override;
    void SetPosition(std::int64_t position) override;

  private:
    QProgressBar* bar_;
    std::int64_t maximum_ = 0;
    QElapsedTimer sinceShown_;
};

}  // namespace mlk::ui
