#pragma once

#include "reports/LogList.h"
#include "ui/entry/TBrowserBase.h"

class QCheckBox;
class QDateEdit;

namespace mlk::ui {

// What tells the two log windows apart.
struct LogBrowserSetup {
    LogKind kind;
    const char* className;  // the window's objectName
    const char* caption;    // also the title in the default name of a saved file
    const char* timeLabel;  // before the date range: "导入时间" or "审核时间"
};

// A log, newest entry first, filtered by the unit's name and a range of days, paged as every
// list; it only shows, and saves every entry the filters let through as .xls or .xlsx.
class TLogBrowser : public TBrowserBase {
    Q_OBJECT

  public:
    TLogBrowser(TMainDM& dm, const LogBrowserSetup& setup, QWidget* parent = nullptr);

  private:
    ListQueryBuilder BuildQuery() override;
    std::vector<std::string> RowCells(const Statement& row) override;
    LogFilter Filter() const;
    void bt_exportClick();

    LogBrowserSetup setup_;
    QLineEdit* EDDanWMC;
    QCheckBox* ckRiQ;
    QDateEdit* EDQiSRQ;
    QDateEdit* EDJieZRQ;
};

}  // namespace mlk::ui
