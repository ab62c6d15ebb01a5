#pragma once

#include "ui/exchange/TImportBrowser.h"

namespace mlk::ui {

// "导入下属部门数据": imports the exchange files of the subordinate competent departments.
class TForm33DaoRXSBMSJ final : public TImportBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm33DaoRXSBMSJ)

  public:
    explicit TForm33DaoRXSBMSJ(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
