#include "ui/exchange/TForm34DaoRRZCX.h"

namespace mlk::ui {

TForm34DaoRRZCX::TForm34DaoRRZCX(TMainDM&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm34DaoRRZCX"));
    setWindowTitle(QStringLiteral("导入日志查询"));
    resize(870, 500);
}

}  // namespace mlk::ui
