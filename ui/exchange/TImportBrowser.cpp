#include "ui/exchange/TImportBrowser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "exchange/FileSender.h"
#include "exchange/ImportCheck.h"
#include "model/CodeTables.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "text/Text.h"
#include "text/TextFileReader.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Gauge.h"
#include "ui/app/Keyboard.h"
#include "ui/app/LongWork.h"

namespace mlk::ui {

namespace {
// Rows that are imported (departments) or audited (agencies) are drawn in a pale sky colour.
const QColor kMarkedColour(166, 202, 240);

// The code of a status or type filter, empty on "--全部--".
std::string FilterCode(const QComboBox* box) {
    if (!box || box->currentIndex() <= 0)
        return {};
    return ItemCode(S(box->currentText()));
}
}  // namespace

TImportBrowser::TImportBrowser(TMainDM& dm, const ImportBrowserSetup& setup, QWidget* parent)
    : TBrowserBase(dm, Choice::Single, parent), setup_(setup) {
    setWindowTitle(QString::fromUtf8(setup.caption));
    resize(setup.width, setup.height);

    SearchArea()->addWidget(new QLabel(QStringLiteral("机构名称："), this), 0, 0);
    EDJiGMC = new QLineEdit(this);
    EDJiGMC->setObjectName(QStringLiteral("EDJiGMC"));
    SearchArea()->addWidget(EDJiGMC, 0, 1);
    int row = 0, column = 2;
    if (setup.kind == PendingKind::Departments) {
        cbJigfl = AddFilter("机构分类：", "cbJigfl", row, column);
        std::vector<std::string> types{std::string(kAllItem)};
        dm.ForEachRow(
            "select LXBM,LXMC from MLK_JiGLX where shifmx = '1'  order by parent asc, lxbm asc ",
            {}, [&](const Statement& row) { types.push_back(row.Text(0) + "-" + row.Text(1)); });
        FillCombo(cbJigfl, types);
        // The states on a second row, so that beside the long type list the name keeps its room.
        row = 1;
        column = 0;
    }
    cbDaoRZT = AddFilter("导入状态：", "cbDaoRZT", row, column);
    FillCombo(cbDaoRZT, dm.CodeComboItems("DaoRZT"));
    cbShenHZT = AddFilter("审核状态：", "cbShenHZT", row, column + 2);
    FillCombo(cbShenHZT, dm.CodeComboItems("ShenHZT"));
    AddSearchButton(row, column + 4);

    SetUpColumns(PendingColumns(setup.kind));

    EDFileName = new QLineEdit(this);
    EDFileName->setObjectName(QStringLiteral("EDFileName"));
    EDFileName->setReadOnly(true);
    EDFileName->setFocusPolicy(Qt::ClickFocus);  // filled by the file dialog; Tab goes past
    ButtonArea()->addWidget(EDFileName, 1);
    BTSelectFile = AddButton("选择数据文件(&O)", "BTSelectFile");
    BTCheckFile = AddButton("检查文件(&K)", "BTCheckFile");
    BTImport = AddButton("导入(&I)", "BTImport");
    BTDelete = AddButton("删除已导入数据(&D)", "BTDelete");
    PBImport = new Gauge(this);
    PBImport->setObjectName(QStringLiteral("PBImport"));
    PBImport->setValue(0);
    MainLayout()->addWidget(PBImport);
    connect(BTSelectFile, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTSelectFileClick(); }); });
    connect(BTCheckFile, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTCheckFileClick(); }); });
    connect(BTImport, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTImportClick(); }); });
    connect(BTDelete, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTDeleteClick(); }); });
    DisableActions();
    OrderTabsByLayout(this);
}

QComboBox* TImportBrowser::AddFilter(const char* label, const char* name, int row, int column) {
    SearchArea()->addWidget(new QLabel(QString::fromUtf8(label), this), row, column);
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    SearchArea()->addWidget(box, row, column + 1);
    return box;
}

ListQueryBuilder TImportBrowser::BuildQuery() {
    PendingFilter filter;
    filter.name = Trim(S(EDJiGMC->text()));
    filter.importState = FilterCode(cbDaoRZT);
    filter.auditState = FilterCode(cbShenHZT);
    filter.type = FilterCode(cbJigfl);
    return PendingListQuery(setup_.kind, filter);
}

std::vector<std::string> TImportBrowser::RowCells(const Statement& row) {
    return PendingCells(Dm(), setup_.kind, row);
}

QColor TImportBrowser::RowColour(const std::vector<std::string>& cells) const {
    return IsPendingMarked(setup_.kind, cells) ? kMarkedColour : QColor(Qt::white);
}

void TImportBrowser::DisableActions() {
    BTCheckFile->setEnabled(false);
    BTImport->setEnabled(false);
    BTSelectFile->setEnabled(false);
    BTDelete->setEnabled(false);
}

// A file chosen belongs to the row it was chosen for: another choice, or a search, drops it. A
// state that offers less says why.
void TImportBrowser::ChoiceChanged() {
    EDFileName->clear();
    DisableActions();
    const std::optional<DaiDRJG> pending = ChosenPending();
    if (!pending)
        return;
    const PendingActions actions = ActionsFor(pending->DaoRZT, pending->ShenHZT);
    BTSelectFile->setEnabled(actions.chooseFile);
    BTDelete->setEnabled(actions.remove);
    if (const CheckResult refusal = CheckImport(*pending))
        ShowStatus(Q(refusal->message));
}

std::optional<DaiDRJG> TImportBrowser::ChosenPending() {
    const int row = ChosenRow();
    return row < 0 ? std::nullopt : LoadPending(Dm(), Cell(row, 1));
}

void TImportBrowser::BTSelectFileClick() {
    const QString file = dialogs().OpenFile(this, QStringLiteral("选择数据文件"), QString(),
                                            QStringLiteral("文本文件 (*.txt)"));
    if (file.isEmpty())
        return;
    EDFileName->setText(file);
    BTCheckFile->setEnabled(true);
    BTImport->setEnabled(true);
}

void TImportBrowser::BTImportClick() {
    const std::optional<DaiDRJG> pending = ChosenPending();
    if (!pending)
        return;
    const std::string file = Trim(S(EDFileName->text()));
    if (file.empty())
        return;
    // A file that plainly comes from another unit is imported only when the clerk says so.
    const StreamAsFile stream(PathFromText(file));
    if (const std::optional<std::string> mismatch =
            SenderMismatch(*pending, ReadFileSender(stream.Path()))) {
        if (!dialogs().Confirm(this, QStringLiteral("是否确认"),
                               Q(*mismatch + "\n仍然导入到“" + pending->JiGMC + "”下吗？"),
                               Dialogs::Answer::Cancel))
            return;
    }
    long long rows = 0;
    if (!LongWork(this, QStringLiteral("正在导入…"))
             .ShowingOn(PBImport)
             .Run(Dm(), [&](TMainDM& own, Progress& progress) {
                 rows = ImportExchangeFile(own, *pending, stream.Path(), progress);
             }))
        return;
    if (rows > 0)
        dialogs().Message(this, Q(ImportDoneMessage(rows)));
    accept();
}

// The problems in a plain message, the first twenty of them; mlk import --check lists them all.
void TImportBrowser::BTCheckFileClick() {
    const std::string file = Trim(S(EDFileName->text()));
    if (file.empty())
        return;
    ImportCheckResult result;
    if (!LongWork(this, QStringLiteral("正在检查文件…"))
             .ShowingOn(PBImport)
             .Run(Dm(), [&](TMainDM& own, Progress& progress) {
                 result = CheckExchangeFile(own, PathFromText(file), progress);
             }))
        return;
    dialogs().Message(this, Q(Join(ImportCheckReport(result, 20), "\n")));
}

// Asks first, naming the unit and the rows that go; only OK deletes.
void TImportBrowser::BTDeleteClick() {
    if (const std::optional<DaiDRJG> pending = ChosenPending()) {
        const long long rows = ImportedRowCount(Dm(), *pending);
        if (!dialogs().Confirm(
                this, QStringLiteral("是否删除"),
                Q(RemoveImportQuestion(*pending, rows) + std::string(kSafetyCopyNote)),
                Dialogs::Answer::Cancel))
            return;
        if (!LongWork(this, QStringLiteral("正在保存安全副本并删除已导入数据…"))
                 .ShowingOn(PBImport)
                 .Run(Dm(), [&](TMainDM& own, Progress& progress) {
                     RemoveImport(own, *pending, SafetyCopy::Keep, progress);
                 }))
            return;
    }
    Search();
}

}  // namespace mlk::ui
