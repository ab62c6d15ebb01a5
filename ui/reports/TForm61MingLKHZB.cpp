#include "ui/reports/TForm61MingLKHZB.h"

#include "model/TMainDM.h"
#include "reports/DirectorySummary.h"

namespace mlk::ui {

TForm61MingLKHZB::TForm61MingLKHZB(TMainDM& dm, QWidget* parent)
    : TSummaryTableForm(dm,
                        {"TForm61MingLKHZB", QStringLiteral("公共机构名录库汇总表"),
                         SummaryKind::Directory, QSize(775, 530), 740},
                        parent) {
    MakeFirstTable(
        [](TMainDM& own, Progress& progress) { return DirectorySummary(own, &progress); });
}

}  // namespace mlk::ui
