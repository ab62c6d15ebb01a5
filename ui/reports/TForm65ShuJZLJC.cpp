#include "ui/reports/TForm65ShuJZLJC.h"

#include <QHBoxLayout>
#include <QLabel>

#include "entry/EditorMode.h"
#include "entry/OwnEntries.h"
#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/LongWork.h"
#include "ui/entry/TForm2311JiGXXMX.h"
#include "ui/entry/TForm2411JiGXXMX.h"

namespace mlk::ui {

TForm65ShuJZLJC::TForm65ShuJZLJC(TMainDM& dm, QWidget* parent)
    : TSummaryTableForm(dm,
                        {"TForm65ShuJZLJC", QStringLiteral("数据质量检查"), SummaryKind::Quality,
                         QSize(775, 530), 740},
                        parent) {
    LBCounts = new QLabel(this);
    LBCounts->setObjectName(QStringLiteral("LBCounts"));
    ControlsRow()->addWidget(LBCounts, 1);
    Guarded(this, [&] {
        if (!Fill())
            Abandon(this);
    });
}

// The directory is looked through off the window's thread; cancelled, the list stays as it was.
bool TForm65ShuJZLJC::Fill() {
    QualityReport report;
    if (!MakeTable([&](TMainDM& own, Progress& progress) {
            report = CheckQuality(own, progress);
            return QualityTable(report);
        }))
        return false;
    // The total and four categories a line, so that no name is broken.
    const QStringList counts = Q(QualityCounts(report)).split(u'　');
    QStringList lines;
    for (qsizetype at = 0; at < counts.size(); at += 5)
        lines << counts.mid(at, 5).join(u'　');
    LBCounts->setText(lines.join(u'\n'));
    own_ = std::move(report.own);
    return true;
}

// Confirmed entries open for viewing only, as in their lists; the editor's own heading and
// checks apply.
void TForm65ShuJZLJC::RowDoubleClicked(int row) {
    if (row < 0 || std::size_t(row) >= own_.size() || !own_[std::size_t(row)])
        return;
    const std::optional<GGJG> entry = FindOwnEntry(Dm(), std::string(Table().rows[row][2]));
    if (!entry)
        return;
    const bool confirmed = entry->QueRZT == "1";
    const bool agency = entry->JieDLB == "0";
    int mode = mode::kView;
    if (!confirmed) {
        mode = agency                      ? mode::kUpdateAgency
               : Dm().Unit().DanWLX == "1" ? mode::kUpdateSubordinate
                                           : mode::kUpdateSameLevel;
    }
    std::unique_ptr<TEditorBase> editor;
    if (agency)
        editor = std::make_unique<TForm2411JiGXXMX>(Dm(), mode, &*entry, this);
    else
        editor = std::make_unique<TForm2311JiGXXMX>(Dm(), mode, &*entry, this);
    if (editor->Run() == QDialog::Accepted && !confirmed)
        Fill();
}

}  // namespace mlk::ui
