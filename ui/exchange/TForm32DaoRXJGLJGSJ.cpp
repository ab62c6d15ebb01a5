#include "ui/exchange/TForm32DaoRXJGLJGSJ.h"

namespace mlk::ui {

TForm32DaoRXJGLJGSJ::TForm32DaoRXJGLJGSJ(TMainDM& dm, QWidget* parent)
    : TImportBrowser(dm, {PendingKind::Agencies, "导入下级管理部门上报数据", 780, 580}, parent) {
    setObjectName(QStringLiteral("TForm32DaoRXJGLJGSJ"));
}

}  // namespace mlk::ui
