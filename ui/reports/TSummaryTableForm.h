#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <functional>

#include "reports/SummaryTable.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace mlk {
class Progress;
class TMainDM;
}  // namespace mlk

namespace mlk::ui {

class SummaryModel;

// Asks where to save a table (.xls offered first, .xlsx for lists too long for it), proposing a
// name, writes it and says so under "提示信息"; nothing when the user cancels.
void ExportTable(QWidget* parent, const QString& proposed, const SummaryTable& table);

// What tells one summary window from another.
struct SummaryWindowLayout {
    const char* className;  // the window's objectName
    QString caption;
    SummaryKind kind;  // gives the heading: the title and the unit's name
    QSize size;        // of the window
    int listWidth;     // of the heading panel and the list, at least
};

// The window every summary table shares: a heading panel (title, the unit's name and room for a
// window's own controls), the read-only list lvJGLB, and the buttons bt_preview (the pages as they
// print, and printing), bt_pdf (the pages as a PDF file) and bt_export (an .xls or .xlsx file).
class TSummaryTableForm : public QDialog {
    Q_OBJECT

  public:
    const SummaryTable& Table() const;

  protected:
    TSummaryTableForm(TMainDM& dm, const SummaryWindowLayout& layout, QWidget* parent);

    // Shows a table: its columns (width 0 hidden) and rows.
    void SetTable(SummaryTable table);
    // Makes a table off the window's thread, with progress and 取消 (LongWork), and shows it;
    // false when the user cancelled, the list then left as it was.
    using TableMaker = std::function<SummaryTable(TMainDM&, Progress&)>;
    bool MakeTable(const TableMaker& make);
    // The same for the table a window is made with: cancelled, the window is not shown.
    void MakeFirstTable(const TableMaker& make);
    // The row under the unit's name, where a window puts controls of its own.
    QHBoxLayout* ControlsRow() const { return controls_; }
    TMainDM& Dm() const { return dm_; }
    // A double click or Enter on a row of the list; nothing unless a window says otherwise.
    virtual void RowDoubleClicked(int row);
    // Enter on the list acts on its row, never on the window's default button.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void bt_previewClick();
    void bt_pdfClick();
    void bt_exportClick();
    // The unit's name and the window's title, the name a saved file is offered under.
    QString FileName(const char* extension) const;

    TMainDM& dm_;
    SummaryHeading heading_;
    QHBoxLayout* controls_;
    QTableView* list_;
    SummaryModel* model_;
};

}  // namespace mlk::ui
