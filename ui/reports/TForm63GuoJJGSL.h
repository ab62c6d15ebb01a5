#pragma once

#include "ui/reports/TSummaryTableForm.h"

namespace mlk::ui {

// State organs counted per own row and kind. Filled once, when the window is created.
class TForm63GuoJJGSL final : public TSummaryTableForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm63GuoJJGSL)

  public:
    explicit TForm63GuoJJGSL(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
