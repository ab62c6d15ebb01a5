#pragma once

#include <optional>

#include "exchange/Import.h"
#include "exchange/PendingList.h"
#include "ui/entry/TBrowserBase.h"

class QComboBox;
class QProgressBar;

namespace mlk::ui {

// What tells the three import windows apart.
struct ImportBrowserSetup {
    PendingKind kind;
    const char* caption;
    int width, height;
};

// The pending institutions of one kind, with the file choice, the import of a subordinate
// unit's exchange file under the chosen institution and the removal of what it brought.
class TImportBrowser : public TBrowserBase {
    Q_OBJECT

  public:
    TImportBrowser(TMainDM& dm, const ImportBrowserSetup& setup, QWidget* parent = nullptr);

  private:
    ListQueryBuilder BuildQuery() override;
    std::vector<std::string> RowCells(const Statement& row) override;
    QColor RowColour(const std::vector<std::string>& cells) const override;
    void ChoiceChanged() override;

    void BTSelectFileClick();
    void BTImportClick();
    // Reads the whole file as the import would and lists what it would refuse; stores nothing.
    void BTCheckFileClick();
    void BTDeleteClick();
    // The pending institution of the chosen row, read afresh.
    std::optional<DaiDRJG> ChosenPending();
    void DisableActions();

    QComboBox* AddFilter(const char* label, const char* name, int row, int column);

    ImportBrowserSetup setup_;
    QLineEdit* EDJiGMC;
    QComboBox* cbJigfl = nullptr;
    QComboBox* cbDaoRZT;
    QComboBox* cbShenHZT;
    QLineEdit* EDFileName;
    QPushButton* BTSelectFile;
    QProgressBar* PBImport;
    QPushButton* BTCheckFile;
    QPushButton* BTImport;
    QPushButton* BTDelete;
};

}  // namespace mlk::ui
