#pragma once

#include "ui/exchange/TImportBrowser.h"

namespace mlk::ui {

// "导入同级主管部门数据": imports the exchange files of the same-level competent departments.
class TForm31DaoRTJBMSJ final : public TImportBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm31DaoRTJBMSJ)

  public:
    explicit TForm31DaoRTJBMSJ(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
