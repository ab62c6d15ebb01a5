#pragma once

#include <QColor>
#include <QDialog>
#include <string>
#include <vector>

#include "entry/ListQuery.h"

class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mlk {
class TMainDM;
class Statement;
}  // namespace mlk

namespace mlk::ui {

// A paged, filtered list window: the search conditions ("查询条件区域"), the pager ("查询结果翻页
// 控制"), the list and a row of action buttons. A derived window puts its filters into SearchArea()
// and its buttons into ButtonArea(), calls SetUpColumns() with its "field-title-width"
// descriptions, and supplies the statements (BuildQuery) and the cells of a row (RowCells).
// Everything else is a hook with a default that derived windows may replace:
//
//   SetUpColumns     one centred column per description, width 0 hidden, column 0 the row
//                    number with the tick box
//   FillFromQuery    empties the list and adds one row per result row, in one batch
//   RowNumber        the caption of column 0: the running number on this page, from 1
//   RowColour        the background of a row from its cells (default: none)
//   RowClicked       the tick rule, on a click or Space (default: it ticks the row and unticks
//                    every other, on a ticked row it unticks it), then TickChanged
//   TickChanged      after the tick rule; a window enables its row buttons here
//   RowDoubleClicked a double click on a row or Enter (default: nothing)
//   UpdatePager      writes count, pages and page and sets the four pager buttons
//
// Search() reads the filters anew (BuildQuery), counts, reads the page size and the current
// page, fills the page and updates the pager; the pager buttons move the page and search.
class TBrowserBase : public QDialog {
    Q_OBJECT

  public:
    TBrowserBase(TMainDM& dm, QWidget* parent = nullptr);
    ~TBrowserBase() override;

    // Runs the search with the current filters and page.
    void Search();

  protected:
    // Filters go into this grid.
    QGridLayout* SearchArea() const { return searchArea_; }
    // "查   询" at a place in the search area: it searches, and Enter in a filter presses it.
    QPushButton* AddSearchButton(int row, int column);
    // Buttons below the list.
    QHBoxLayout* ButtonArea() const { return buttonArea_; }
    // A button added to the button area.
    QPushButton* AddButton(const char* caption, const char* name);
    // The window's column of parts, for a row below the buttons.
    QVBoxLayout* MainLayout() const { return layout_; }
    QTableWidget* List() const { return list_; }
    TMainDM& Dm() const { return dm_; }

    virtual void SetUpColumns(const std::vector<std::string>& descriptions);
    virtual ListQueryBuilder BuildQuery() = 0;
    // The cells of columns 1 on for one row of the page statement.
    virtual std::vector<std::string> RowCells(const Statement& row) = 0;
    virtual void FillFromQuery(Statement& page);
    virtual QString RowNumber(int index) const;
    virtual QColor RowColour(const std::vector<std::string>& cells) const;
    virtual void RowClicked(int row);
    virtual void TickChanged(bool ticked);
    virtual void RowDoubleClicked(int row);
    virtual void UpdatePager(long long count, long long pageSize, long long page);

    // The highlighted row (the one last clicked), -1 when there is none.
    int SelectedRow() const;
    // The text of a cell; column 0 is the row number, the cells of RowCells start at 1.
    std::string Cell(int row, int column) const;
    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);

    // Space applies the tick rule to the current row, Enter does what a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MovePage(PageMove move);
    QPushButton* AddPagerButton(QHBoxLayout* strip, const char* caption, const char* name,
                                PageMove move);
    QLineEdit* AddPagerField(QHBoxLayout* strip, const char* name, bool editable);

    TMainDM& dm_;
    QVBoxLayout* layout_;
    QGridLayout* searchArea_;
    QHBoxLayout* buttonArea_;
    QTableWidget* list_;
    QLineEdit* EDCount = nullptr;
    QLineEdit* EDPageCount = nullptr;
    QLineEdit* EDPageSize = nullptr;
    QLineEdit* EDCurPage = nullptr;
    QPushButton* BTFirst = nullptr;
    QPushButton* BTPre = nullptr;
    QPushButton* BTNext = nullptr;
    QPushButton* BTLast = nullptr;
};

}  // namespace mlk::ui
