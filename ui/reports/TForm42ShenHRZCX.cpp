#include "ui/reports/TForm42ShenHRZCX.h"

namespace mlk::ui {

TForm42ShenHRZCX::TForm42ShenHRZCX(TMainDM& dm, QWidget* parent)
    : TLogBrowser(dm, {LogKind::Audits, "TForm42ShenHRZCX", "审核日志查询", "审核时间"}, parent) {}

}  // namespace mlk::ui
