#pragma once

#include "ui/entry/TBrowserBase.h"

class QComboBox;
class QLabel;

namespace mlk::ui {

// "确认机构信息": the unit's own entries not confirmed yet, of both kinds, each with what the
// check says of it. The clerk ticks many (全选 ticks the page), and one button confirms those
// ticked that pass; the others stay in the list with their reason. A double click opens an entry
// in its editor to complete it.
class TForm26QueRJGXX final : public TBrowserBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm26QueRJGXX)

  public:
    explicit TForm26QueRJGXX(TMainDM& dm, QWidget* parent = nullptr);

  private:
    ListQueryBuilder BuildQuery() override;
    std::vector<std::string> RowCells(const Statement& row) override;
    void RowDoubleClicked(int row) override;
    void BTQueRClick();

    QLineEdit* EDJiGMC;
    QComboBox* cbJieDLB;
    QLabel* LBHeCJG;
};

}  // namespace mlk::ui
