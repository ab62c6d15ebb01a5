#pragma once

#include <QDialog>
#include <vector>

#include "exchange/Correction.h"

class QTableWidget;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "改正无法导出的数据": the values the export refused, one a row, each with its new value to
// type in the last column; "保存" stores every changed one in one go and closes. Opened by the
// export window when a value that an earlier build let in cannot travel.
class TForm5111GaiZSJ final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5111GaiZSJ)

  public:
    TForm5111GaiZSJ(TMainDM& dm, std::vector<UntravelableValue> values, QWidget* parent = nullptr);

  private:
    void BTSaveClick();

    TMainDM& dm_;
    const std::vector<UntravelableValue> values_;
    QTableWidget* lvGaiZ;
};

}  // namespace mlk::ui
