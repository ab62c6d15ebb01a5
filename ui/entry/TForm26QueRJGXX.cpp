#include "ui/entry/TForm26QueRJGXX.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "entry/BatchConfirm.h"
#include "entry/EditorMode.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/entry/TForm2311JiGXXMX.h"
#include "ui/entry/TForm2411JiGXXMX.h"

namespace mlk::ui {

namespace {
constexpr int kJiGIDColumn = 1;
constexpr int kResultColumn = 7;
}  // namespace

TForm26QueRJGXX::TForm26QueRJGXX(TMainDM& dm, QWidget* parent)
    : TBrowserBase(dm, Choice::Multiple, parent),
      EDJiGMC(new QLineEdit(this)),
      cbJieDLB(new QComboBox(this)),
      LBHeCJG(new QLabel(this)) {
    setObjectName(QStringLiteral("TForm26QueRJGXX"));
    setWindowTitle(QStringLiteral("确认机构信息"));
    resize(820, 560);

    EDJiGMC->setObjectName(QStringLiteral("EDJiGMC"));
    cbJieDLB->setObjectName(QStringLiteral("cbJieDLB"));
    FillCombo(cbJieDLB, dm.CodeComboItems("JieDLB"));
    SearchArea()->addWidget(new QLabel(QStringLiteral("机构名称："), this), 0, 0);
    SearchArea()->addWidget(EDJiGMC, 0, 1);
    SearchArea()->addWidget(new QLabel(QStringLiteral("节点类别："), this), 0, 2);
    SearchArea()->addWidget(cbJieDLB, 0, 3);
    AddSearchButton(0, 4);
    SearchArea()->setColumnStretch(1, 1);
    SetUpColumns(UnconfirmedColumns());

    LBHeCJG->setObjectName(QStringLiteral("LBHeCJG"));
    ButtonArea()->addWidget(LBHeCJG, 1);
    QPushButton* all = AddButton("全选(&A)", "BTQuanX");
    QPushButton* none = AddButton("全不选(&C)", "BTQuanBX");
    QPushButton* confirm = AddRowButton("通过核查(&Q)", "BTQueR");
    connect(all, &QPushButton::clicked, this, [this] { TickAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { TickAll(false); });
    connect(confirm, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTQueRClick(); }); });
    OrderTabsByLayout(this);
    // The entries waiting for confirmation are the reason to open the window: shown at once.
    Guarded(this, [&] { Search(); });
}

ListQueryBuilder TForm26QueRJGXX::BuildQuery() {
    UnconfirmedFilter filter{S(EDJiGMC->text()), {}};
    if (cbJieDLB->currentIndex() > 0)
        filter.node = ItemCode(S(cbJieDLB->currentText()));
    return UnconfirmedListQuery(Dm().Unit().DanWID, filter);
}

std::vector<std::string> TForm26QueRJGXX::RowCells(const Statement& row) {
    return UnconfirmedCells(Dm(), row);
}

// The editor of the entry's kind, in its update mode, so that the clerk completes what the check
// asks for.
void TForm26QueRJGXX::RowDoubleClicked(int row) {
    const GGJG record = GGJG::LoadByJiGID(Dm(), Cell(row, kJiGIDColumn));
    if (record.JieDLB == "0") {
        TForm2411JiGXXMX(Dm(), mode::kUpdateAgency, &record, this).Run();
    } else {
        const bool agencyUnit = Dm().Unit().DanWLX == "0";
        TForm2311JiGXXMX(Dm(), agencyUnit ? mode::kUpdateSameLevel : mode::kUpdateSubordinate,
                         &record, this)
            .Run();
    }
    Search();
}

// Those that pass are confirmed at once, after a question whose Enter answers 取消; the others
// stay with their reason. The summary line keeps the outcome until the next batch.
void TForm26QueRJGXX::BTQueRClick() {
    std::vector<std::string> ids;
    std::size_t failing = 0;
    for (const int r : ChosenRows()) {
        ids.push_back(Cell(r, kJiGIDColumn));
        failing += Cell(r, kResultColumn) == kCheckPassed ? 0 : 1;
    }
    if (ids.empty())
        return;
    if (failing < ids.size() &&
        !dialogs().Confirm(this, QStringLiteral("是否确认"),
                           Q(BatchConfirmQuestion(ids.size(), failing)), Dialogs::Answer::Cancel))
        return;
    NoProgress quick;
    const std::vector<ConfirmOutcome> outcomes = ConfirmOwnEntries(Dm(), ids, quick);
    const QString summary = Q(ConfirmSummary(outcomes));
    LBHeCJG->setText(summary);
    Search();
    const bool left = std::any_of(outcomes.begin(), outcomes.end(),
                                  [](const ConfirmOutcome& outcome) { return outcome.failure; });
    dialogs().Message(this, left ? summary + QStringLiteral("\n未通过的机构仍在列表中，“核查结果”"
                                                            "一栏写明了原因。")
                                 : summary);
}

}  // namespace mlk::ui
