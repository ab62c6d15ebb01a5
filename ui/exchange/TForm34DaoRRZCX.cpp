#include "ui/exchange/TForm34DaoRRZCX.h"

namespace mlk::ui {

TForm34DaoRRZCX::TForm34DaoRRZCX(TMainDM& dm, QWidget* parent)
    : TLogBrowser(dm, {LogKind::Imports, "TForm34DaoRRZCX", "导入日志查询", "导入时间"}, parent) {}

}  // namespace mlk::ui
