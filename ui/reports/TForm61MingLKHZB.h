#pragma once

#include "ui/reports/TSummaryTableForm.h"

namespace mlk::ui {

// The confirmed directory of the operating unit as a numbered outline. Filled once, when the window
// is created.
class TForm61MingLKHZB final : public TSummaryTableForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm61MingLKHZB)

  public:
    explicit TForm61MingLKHZB(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
