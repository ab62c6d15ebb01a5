#include "ui/exchange/TForm33DaoRXSBMSJ.h"

namespace mlk::ui {

TForm33DaoRXSBMSJ::TForm33DaoRXSBMSJ(TMainDM& dm, QWidget* parent)
    : TImportBrowser(dm, {PendingKind::Departments, "导入下属部门数据", 770, 570}, parent) {
    setObjectName(QStringLiteral("TForm33DaoRXSBMSJ"));
}

}  // namespace mlk::ui
