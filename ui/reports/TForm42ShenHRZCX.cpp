#include "ui/reports/TForm42ShenHRZCX.h"

namespace mlk::ui {

TForm42ShenHRZCX::TForm42ShenHRZCX(TMainDM&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm42ShenHRZCX"));
    setWindowTitle(QStringLiteral("审核日志查询"));
    resize(870, 500);
}

}  // namespace mlk::ui
