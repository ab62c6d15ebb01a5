#pragma once

#include <QProgressBar>

namespace mlk::ui {

// The progress bar of every long operation (export, imports, initial data): a navy bar on white
// with the percentage centred, drawn white where it lies on the bar and navy beside it, so that
// it reads at every position.
class Gauge final : public QProgressBar {
    Q_OBJECT

  public:
    explicit Gauge(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace mlk::ui
