#include "ui/exchange/TForm31DaoRTJBMSJ.h"

namespace mlk::ui {

TForm31DaoRTJBMSJ::TForm31DaoRTJBMSJ(TMainDM& dm, QWidget* parent)
    : TImportBrowser(dm, {PendingKind::Departments, "导入同级主管部门数据", 780, 580}, parent) {
    setObjectName(QStringLiteral("TForm31DaoRTJBMSJ"));
}

}  // namespace mlk::ui
