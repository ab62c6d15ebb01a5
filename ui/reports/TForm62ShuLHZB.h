#pragma once

#include "ui/reports/TSummaryTableForm.h"

namespace mlk::ui {

// Institutions counted per own row and category, with a totals row. Filled once, when the window is
// created.
class TForm62ShuLHZB final : public TSummaryTableForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm62ShuLHZB)

  public:
    explicit TForm62ShuLHZB(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
