#include "ui/entry/TForm22XuanZGGJG.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "entry/Selection.h"
#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"

namespace mlk::ui {

namespace {

// Column 9 keeps the stored flag, from which the tick rule reads whether a row may be chosen.
constexpr int kFlagColumn = 9;

const std::vector<std::string>& ColumnDescriptions() {
    static const std::vector<std::string> columns = {
        "A0-序号-40",          "JiGID-机构ID-0",    "JiGMC-机构名称-150", "JiGID-编码-100",
        "DiZhi_Shen-省-80",    "DiZhi_Shi-市-80",   "DiZhi_Xian-县-80",   "DiZhi_JieD-地址-150",
        "XuanZBZ-入库标志-60", "XuanZBZ-入库标志-0"};
    return columns;
}

}  // namespace

TForm22XuanZGGJG::TForm22XuanZGGJG(TMainDM& dm, QWidget* parent)
    : TBrowserBase(dm, Choice::Multiple, parent),
      EDJiGMC(new QLineEdit(this)),
      EDDiZhi(new QLineEdit(this)),
      cbXuanZBZ(new QComboBox(this)) {
    setObjectName(QStringLiteral("TForm22XuanZGGJG"));
    setWindowTitle(QStringLiteral("选择公共机构"));
    resize(775, 555);

    EDJiGMC->setObjectName(QStringLiteral("EDJiGMC"));
    EDDiZhi->setObjectName(QStringLiteral("EDDiZhi"));
    cbXuanZBZ->setObjectName(QStringLiteral("cbXuanZBZ"));
    cbXuanZBZ->setEditable(true);
    cbXuanZBZ->setInsertPolicy(QComboBox::NoInsert);  // Enter searches with the typed text
    FillCombo(cbXuanZBZ, Dm().CodeComboItems("XuanZBZ"));
    SearchArea()->addWidget(new QLabel(QStringLiteral("机构名称："), this), 0, 0);
    SearchArea()->addWidget(EDJiGMC, 0, 1);
    SearchArea()->addWidget(new QLabel(QStringLiteral("地址："), this), 0, 2);
    SearchArea()->addWidget(EDDiZhi, 0, 3);
    SearchArea()->addWidget(new QLabel(QStringLiteral("入库状态："), this), 0, 4);
    SearchArea()->addWidget(cbXuanZBZ, 0, 5);
    AddSearchButton(0, 6);

    List()->setObjectName(QStringLiteral("lvJGLB"));
    SetUpColumns(ColumnDescriptions());
    if (auto* pageSize = findChild<QLineEdit*>(QStringLiteral("EDPageSize"))) {
        pageSize->setText(QStringLiteral("30"));
    }

    ButtonArea()->addStretch();
    BTXuanZ = AddRowButton("添加到名录库(&A)", "BTXuanZ");
    QFont bold = BTXuanZ->font();
    bold.setBold(true);
    BTXuanZ->setFont(bold);
    connect(BTXuanZ, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTXuanZClick(); }); });
    OrderTabsByLayout(this);
}

ListQueryBuilder TForm22XuanZGGJG::BuildQuery() {
    SelectionFilter filter;
    filter.name = S(EDJiGMC->text());
    filter.address = S(EDDiZhi->text());
    filter.stateText = S(cbXuanZBZ->currentText());
    // A typed text that is no item (index -1) filters too.
    filter.stateChosen =
        cbXuanZBZ->currentIndex() != 0 || cbXuanZBZ->currentText() != cbXuanZBZ->itemText(0);
    return SelectionQuery(filter);
}

std::vector<std::string> TForm22XuanZGGJG::RowCells(const Statement& query) {
    const InitialRow row = InitialRow::FromRow(query);
    return {row.ID,     row.NAME, row.BM,   row.SF,
            row.DS,     row.XQ,   row.JIED, Dm().CodeLabel(row.XuanZBZ, "XuanZBZ"),
            row.XuanZBZ};
}

QString TForm22XuanZGGJG::WhyNotChoosable(int row) const {
    if (Cell(row, kFlagColumn) == "0")
        return {};
    return Q(Cell(row, 2)) + QStringLiteral("已添加到名录库，不能再次添加。");
}

void TForm22XuanZGGJG::BTXuanZClick() {
    std::vector<InitialRow> chosen;
    for (const int r : ChosenRows()) {
        chosen.push_back({Cell(r, 1), Cell(r, 2), Cell(r, 3), Cell(r, 4), Cell(r, 5), Cell(r, 6),
                          Cell(r, 7), Cell(r, kFlagColumn)});
    }
    if (chosen.empty())
        return;
    if (!dialogs().Confirm(this, QStringLiteral("是否确认"), Q(SelectionQuestion(chosen.size())),
                           Dialogs::Answer::Ok)) {
        return;
    }
    const SelectionResult result = AddToDirectory(Dm(), chosen);
    dialogs().Message(this, Q(SelectionMessage(result)));
    accept();
}

}  // namespace mlk::ui
