#pragma once

#include "ui/reports/TSummaryTableForm.h"

class QComboBox;

namespace mlk::ui {

// Public-service institutions counted per own row and type, narrowed to a second-level type
// and within it to a third-level one; the list fills on "查询".
class TForm64ShiYDWSL final : public TSummaryTableForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm64ShiYDWSL)

  public:
    explicit TForm64ShiYDWSL(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void cbJigfl2Change();
    void btSearchClick();

    QComboBox* cbJigfl2_;
    QComboBox* cbJigfl3_;
};

}  // namespace mlk::ui
