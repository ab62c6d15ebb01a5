#pragma once

#include "entry/EntryList.h"
#include "ui/entry/TBrowserBase.h"

class QComboBox;

namespace mlk {
struct GGJG;
}

namespace mlk::ui {

// What tells the three lists of own entries apart.
struct EntryBrowserSetup {
    EntryListKind kind;
    const char* caption;
    int width, height;
    int insertMode, updateMode;  // the editor modes of "增加" and "修改"
};

// The list of the operating unit's own entries of one kind, with its filters and the buttons
// "增加", "修改", "通过核查", "删除"; a double click views a row. The derived window opens its
// editor.
class TEntryBrowser : public TBrowserBase {
    Q_OBJECT

  public:
    TEntryBrowser(TMainDM& dm, const EntryBrowserSetup& setup, QWidget* parent = nullptr);

  protected:
    // Opens the editor modally in a mode, with the entry loaded in full (none for insert).
    virtual void OpenEditor(int mode, const GGJG* record) = 0;

  private:
    ListQueryBuilder BuildQuery() override;
    std::vector<std::string> RowCells(const Statement& row) override;
    QColor RowColour(const std::vector<std::string>& cells) const override;
    void ChoiceChanged() override;
    void RowDoubleClicked(int row) override;

    QComboBox* AddFilter(const char* label, const char* name, const char* key, int row, int column);
    void Act(ListAction action, int mode);
    // The QueRZT code of a row.
    std::string ConfirmCode(int row) const;
    std::optional<std::string> FilterText(const QComboBox* box) const;

    EntryBrowserSetup setup_;
    QLineEdit* EDJiGMC;
    QComboBox* cbXingZJB;
    QComboBox* cbCaiZJFSY = nullptr;
    QComboBox* cbJigfl = nullptr;
    QComboBox* cbQueRZT;
    QComboBox* cbGengXZT;
    QPushButton* BTAdd;
    QPushButton* BTUpdate;
    QPushButton* BTQueR;
    QPushButton* BTDelete;
};

}  // namespace mlk::ui
