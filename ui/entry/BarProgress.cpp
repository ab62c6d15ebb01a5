#include "ui/entry/BarProgress.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace mlk::ui {

namespace {
// A bar holds an int; large counts are shown in thousandths.
constexpr int kSteps = 1000;
}  // namespace

BarProgress::BarProgress(QProgressBar* bar) : bar_(bar) {
    sinceShown_.start();
}

void BarProgress::SetRange(std::int64_t maximum) {
    maximum_ = maximum;
    bar_->setRange(0, kSteps);
    bar_->setValue(0);
}

void BarProgress::SetPosition(std::int64_t position) {
    if (position < maximum_ && sinceShown_.elapsed() < 100)
        return;
    bar_->setValue(maximum_ > 0 ? int(position * kSteps / maximum_) : kSteps);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceShown_.restart();
}

}  // namespace mlk::ui
