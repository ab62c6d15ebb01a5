#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include "reports/SummaryTable.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

class SummaryModel;

// What tells one summary window from another.
struct SummaryWindowLayout {
    const char* className;  // the window's objectName
    QString caption;
    QString title;     // the heading, also part of the default file name of an export
    QString unitName;  // shown after "行政区划/部门全称："
    QSize size;        // of the window
    int listWidth;     // of the heading panel and the list, at least
    int listHeight;
};

// The window every summary table shares: a heading panel (title, the unit's name and room for a
// window's own controls), the read-only list lvJGLB and the button bt_export, which saves the
// list as an .xls file.
class TSummaryTableForm : public QDialog {
    Q_OBJECT

  public:
    const SummaryTable& Table() const;

  protected:
    TSummaryTableForm(TMainDM& dm, const SummaryWindowLayout& layout, QWidget* parent);

    // Shows a table: its columns (width 0 hidden) and rows.
    void SetTable(SummaryTable table);
    // The row under the unit's name, where a window puts controls of its own.
    QHBoxLayout* ControlsRow() const { return controls_; }
    TMainDM& Dm() const { return dm_; }

  private:
    void bt_exportClick();

    TMainDM& dm_;
    QString title_;
    QHBoxLayout* controls_;
    QTableView* list_;
    SummaryModel* model_;
};

}  // namespace mlk::ui
