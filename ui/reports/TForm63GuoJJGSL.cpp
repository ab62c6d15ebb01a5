#include "ui/reports/TForm63GuoJJGSL.h"

#include "model/TMainDM.h"
#include "reports/CountSummary.h"

namespace mlk::ui {

TForm63GuoJJGSL::TForm63GuoJJGSL(TMainDM& dm, QWidget* parent)
    : TSummaryTableForm(dm,
                        {"TForm63GuoJJGSL", QStringLiteral("国家机关数量汇总表"),
                         SummaryKind::StateOrgans, QSize(775, 530), 740},
                        parent) {
    MakeFirstTable([](TMainDM& own, Progress&) { return StateOrganSummary(own); });
}

}  // namespace mlk::ui
