#pragma once

#include "ui/reports/TLogBrowser.h"

namespace mlk::ui {

// "导入日志查询": the import log, one row per file imported from below.
class TForm34DaoRRZCX final : public TLogBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm34DaoRRZCX)

  public:
    explicit TForm34DaoRRZCX(TMainDM& dm, QWidget* parent = nullptr);
};

}  // namespace mlk::ui
