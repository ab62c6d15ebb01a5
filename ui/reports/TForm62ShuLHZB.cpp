#include "ui/reports/TForm62ShuLHZB.h"

#include "model/TMainDM.h"
#include "reports/CountSummary.h"

namespace mlk::ui {

TForm62ShuLHZB::TForm62ShuLHZB(TMainDM& dm, QWidget* parent)
    : TSummaryTableForm(dm,
                        {"TForm62ShuLHZB", QStringLiteral("公共机构数量汇总表"),
                         SummaryKind::Counts, QSize(775, 530), 740},
                        parent) {
    MakeFirstTable([](TMainDM& own, Progress&) { return CountSummary(own); });
}

}  // namespace mlk::ui
