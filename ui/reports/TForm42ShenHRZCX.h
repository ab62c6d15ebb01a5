#pragma once

#include <QDialog>

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "审核日志查询": the window of the audit log, without content for now.
class TForm42ShenHRZCX final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm42ShenHRZCX)

  public:
    explicit TForm42ShenHRZCX(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
