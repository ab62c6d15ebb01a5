#pragma once

#include <QDialog>

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "导入日志查询": the window of the import log, without content for now.
class TForm34DaoRRZCX final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm34DaoRRZCX)

  public:
    explicit TForm34DaoRRZCX(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
