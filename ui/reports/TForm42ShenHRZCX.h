#pragma once

#include "ui/reports/TLogBrowser.h"

namespace mlk::ui {

// "审核日志查询": the audit log, one row per approval of a subordinate unit's data.
class TForm42ShenHRZCX final : public TLogBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm42ShenHRZCX)

  public:
    explicit TForm42ShenHRZCX(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
