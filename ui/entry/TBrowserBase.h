#pragma once

#include <QColor>
#include <QDialog>
#include <string>
#include <vector>

#include "entry/ListQuery.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mlk {
class TMainDM;
class Statement;
}  // namespace mlk

namespace mlk::ui {

// How a list lets the clerk choose the rows its buttons act on. In both, the tick is what the
// buttons act on, and a button that needs a row is disabled while none is chosen, also after
// every search.
enum class Choice {
    // One row: a click, Space and the arrow keys move the highlight and the tick together; a click
    // on the chosen row, or Space on it, takes the choice back.
    Single,
    // Several rows: a click or Space ticks or unticks the row under the cursor, the arrow keys
    // only move the cursor, and the row buttons name how many rows they act on.
    Multiple,
    // A list only to read, such as a log: rows have no tick box and no button acts on them.
    None,
};

// A paged, filtered list window: the search conditions ("查询条件区域"), the pager ("查询结果翻页
// 控制"), the list, a status line saying why the chosen row offers less, and a row of action
// buttons. A derived window puts its filters into SearchArea() and its buttons into ButtonArea()
// (those that act on the chosen rows through AddRowButton), calls SetUpColumns() with its
// "field-title-width" descriptions, and supplies the statements (BuildQuery) and the cells of a
// row (RowCells). Everything else is a hook with a default that derived windows may replace:
//
//   SetUpColumns     one centred column per description, width 0 hidden, column 0 the row
//                    number with the tick box
//   FillFromQuery    empties the list and adds one row per result row, in one batch
//   RowNumber        the caption of column 0: the running number on this page, from 1
//   RowColour        the background of a row from its cells (default: none)
//   WhyNotChoosable  why a row of a multiple-choice list cannot be ticked, shown in the status
//                    line (default: any can)
//   ChoiceChanged    after every change of the chosen rows, the row buttons already set; a window
//                    enables its other buttons and fills the status line here
//   RowDoubleClicked a double click on a row or Enter (default: nothing)
//   UpdatePager      writes count, pages and page and sets the four pager buttons
//
// Search() reads the filters anew (BuildQuery), counts, reads the page size and the current
// page, fills the page and updates the pager; the pager buttons move the page and search.
class TBrowserBase : public QDialog {
    Q_OBJECT

  public:
    TBrowserBase(TMainDM& dm, Choice choice, QWidget* parent = nullptr);
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
    // A button that acts on the chosen rows: enabled only while there are some; in a list of
    // several rows its caption names how many.
    QPushButton* AddRowButton(const char* caption, const char* name);
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
    virtual QString WhyNotChoosable(int row) const;
    virtual void ChoiceChanged();
    virtual void RowDoubleClicked(int row);
    virtual void UpdatePager(long long count, long long pageSize, long long page);

    // The chosen rows, top to bottom; in a single-choice list at most one.
    std::vector<int> ChosenRows() const;
    // The chosen row of a single-choice list, -1 when none is.
    int ChosenRow() const;
    // The text of a cell; column 0 is the row number, the cells of RowCells start at 1.
    std::string Cell(int row, int column) const;
    // Ticks every row of the page that may be ticked, or none ("全选", "全不选" of a multiple-
    // choice list).
    void TickAll(bool ticked);
    // Says in the status line why the chosen row offers less; emptied on every change of choice.
    void ShowStatus(const QString& text);

    // Mouse and keys on the list: a click, Space and Enter as the choice says.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);
    // A click or Space on a row: the choice rule.
    void Toggle(int row);
    // The ticks follow the highlight of a single-choice list.
    void TickTheHighlight();
    // Sets the row buttons and the status line, then lets the window follow.
    void AfterChoice();
    void MovePage(PageMove move);
    QPushButton* AddPagerButton(QHBoxLayout* strip, const char* caption, const char* name,
                                PageMove move);
    QLineEdit* AddPagerField(QHBoxLayout* strip, const char* name, bool editable);

    TMainDM& dm_;
    const Choice choice_;
    bool pressedOnChosen_ = false;  // the mouse went down on the row already chosen
    std::vector<std::pair<QPushButton*, QString>> rowButtons_;  // with their own captions
    QLabel* LBStatus;
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
