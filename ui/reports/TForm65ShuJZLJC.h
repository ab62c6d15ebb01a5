#pragma once

#include "reports/Quality.h"
#include "ui/reports/TSummaryTableForm.h"

class QLabel;

namespace mlk::ui {

// 数据质量检查: what is wrong in the whole directory, one finding a row, with the count of each
// category above the list. A double click on a finding of an own entry opens the entry in its
// editor; after a save the directory is looked through again.
class TForm65ShuJZLJC final : public TSummaryTableForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm65ShuJZLJC)

  public:
    explicit TForm65ShuJZLJC(TMainDM& dm, QWidget* parent = nullptr);

  private:
    bool Fill();
    void RowDoubleClicked(int row) override;

    QLabel* LBCounts;
    std::vector<bool> own_;
};

}  // namespace mlk::ui
