#pragma once

#include "ui/exchange/TImportBrowser.h"

namespace mlk::ui {

// "导入下级管理部门上报数据": imports the exchange files of the subordinate energy-saving
// management agencies.
class TForm32DaoRXJGLJGSJ final : public TImportBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm32DaoRXJGLJGSJ)

  public:
    explicit TForm32DaoRXJGLJGSJ(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
