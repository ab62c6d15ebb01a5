#include "ui/entry/TEntryBrowser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/MlkError.h"
#include "entry/EditorMode.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"

namespace mlk::ui {

namespace {
// Confirmed rows are drawn in a pale sky colour.
const QColor kConfirmedColour(166, 202, 240);
}  // namespace

TEntryBrowser::TEntryBrowser(TMainDM& dm, const EntryBrowserSetup& setup, QWidget* parent)
    : TBrowserBase(dm, Choice::Single, parent), setup_(setup) {
    setWindowTitle(QString::fromUtf8(setup.caption));
    resize(setup.width, setup.height);

    const bool withTypes = setup.kind != EntryListKind::Agencies;
    SearchArea()->addWidget(new QLabel(QStringLiteral("机构名称："), this), 0, 0);
    EDJiGMC = new QLineEdit(this);
    EDJiGMC->setObjectName(QStringLiteral("EDJiGMC"));
    SearchArea()->addWidget(EDJiGMC, 0, 1);
    cbXingZJB = AddFilter("行政级别：", "cbXingZJB", "XingZJB", 0, 2);
    if (withTypes) {
        cbCaiZJFSY = AddFilter("财政经费保障方式：", "cbCaiZJFSY", "CaiZJFSY", 0, 4);
        cbJigfl = AddFilter("机构分类：", "cbJigfl", nullptr, 1, 0);
        std::vector<std::string> types{std::string(kAllItem)};
        dm.ForEachRow(
            "select LXBM,LXMC from MLK_JiGLX where shifmx = '1'  order by parent asc, lxbm asc ",
            {}, [&](const Statement& row) { types.push_back(row.Text(0) + "-" + row.Text(1)); });
        FillCombo(cbJigfl, types);
    }
    cbQueRZT = AddFilter("确认状态：", "cbQueRZT", "QueRZT", 1, 2);
    cbGengXZT = AddFilter("更新状态：", "cbGengXZT", "GengXZT", 1, 4);
    AddSearchButton(1, 6);

    SetUpColumns(EntryColumnDescriptions(setup.kind));

    ButtonArea()->addStretch();
    BTAdd = AddButton("增加(&A)", "BTAdd");
    BTUpdate = AddRowButton("修改(&M)", "BTUpdate");
    BTQueR = AddRowButton("通过核查(&Q)", "BTQueR");
    BTDelete = AddRowButton("删除(&D)", "BTDelete");
    connect(BTAdd, &QPushButton::clicked, this, [this] {
        Guarded(this, [&] {
            OpenEditor(setup_.insertMode, nullptr);
            Search();
        });
    });
    connect(BTUpdate, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Act(ListAction::Update, setup_.updateMode); }); });
    connect(BTDelete, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Act(ListAction::Delete, mode::kDelete); }); });
    connect(BTQueR, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Act(ListAction::Confirm, mode::kConfirm); }); });
    OrderTabsByLayout(this);
}

QComboBox* TEntryBrowser::AddFilter(const char* label, const char* name, const char* key, int row,
                                    int column) {
    SearchArea()->addWidget(new QLabel(QString::fromUtf8(label), this), row, column);
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    if (key)
        FillCombo(box, Dm().CodeComboItems(key));
    SearchArea()->addWidget(box, row, column + 1);
    return box;
}

std::optional<std::string> TEntryBrowser::FilterText(const QComboBox* box) const {
    if (!box || box->currentIndex() <= 0)
        return std::nullopt;
    return S(box->currentText());
}

ListQueryBuilder TEntryBrowser::BuildQuery() {
    EntryFilters filters;
    filters.name = S(EDJiGMC->text());
    filters.gengXZT = FilterText(cbGengXZT);
    filters.queRZT = FilterText(cbQueRZT);
    filters.xingZJB = FilterText(cbXingZJB);
    filters.jiGLX = FilterText(cbJigfl);
    filters.caiZJFSY = FilterText(cbCaiZJFSY);
    return EntryListQuery(setup_.kind, Dm().Unit().DanWID, filters);
}

std::vector<std::string> TEntryBrowser::RowCells(const Statement& row) {
    return EntryCells(setup_.kind, row, Dm().Codes());
}

QColor TEntryBrowser::RowColour(const std::vector<std::string>& cells) const {
    const std::size_t cell = std::size_t(ConfirmCodeCell(setup_.kind));
    return cell < cells.size() && cells[cell] == "1" ? kConfirmedColour : QColor(Qt::white);
}

// A confirmed entry refuses every change when a button is pressed; the status line says so first.
void TEntryBrowser::ChoiceChanged() {
    const int row = ChosenRow();
    if (row >= 0 && ConfirmCode(row) == "1")
        ShowStatus(
            QStringLiteral("该机构已通过核查，不能修改、删除或再次通过核查；双击或回车可查看。"));
}

std::string TEntryBrowser::ConfirmCode(int row) const {
    return Cell(row, ConfirmCodeCell(setup_.kind) + 1);
}

void TEntryBrowser::Act(ListAction action, int mode) {
    const int row = ChosenRow();
    if (row >= 0) {
        if (std::optional<std::string> refusal = ConfirmedRefusal(action, ConfirmCode(row))) {
            throw MlkError(*refusal);
        }
        const GGJG record = GGJG::LoadByJiGID(Dm(), Cell(row, kJiGIDCell + 1));
        OpenEditor(mode, &record);
    }
    Search();
}

void TEntryBrowser::RowDoubleClicked(int row) {
    const GGJG record = GGJG::LoadByJiGID(Dm(), Cell(row, kJiGIDCell + 1));
    OpenEditor(mode::kView, &record);
}

}  // namespace mlk::ui
