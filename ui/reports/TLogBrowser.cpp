#include "ui/reports/TLogBrowser.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/reports/TSummaryTableForm.h"

namespace mlk::ui {

namespace {

QDateEdit* NewDateEdit(QWidget* parent, const char* name, const QDate& date) {
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    // The filter row gives its room to the name: the day keeps what it needs to show whole, and
    // a digit more than the style's own measure, which leaves the last one at the edge.
    edit->setMinimumWidth(edit->sizeHint().width() +
                          edit->fontMetrics().horizontalAdvance(QLatin1Char('0')));
    return edit;
}

std::string Day(const QDateEdit* edit) {
    return S(edit->date().toString(QStringLiteral("yyyy-MM-dd")));
}

}  // namespace

TLogBrowser::TLogBrowser(TMainDM& dm, const LogBrowserSetup& setup, QWidget* parent)
    : TBrowserBase(dm, Choice::None, parent), setup_(setup) {
    setObjectName(QLatin1String(setup.className));
    setWindowTitle(QString::fromUtf8(setup.caption));
    resize(870, 500);

    SearchArea()->addWidget(new QLabel(QStringLiteral("单位名称："), this), 0, 0);
    EDDanWMC = new QLineEdit(this);
    EDDanWMC->setObjectName(QStringLiteral("EDDanWMC"));
    SearchArea()->addWidget(EDDanWMC, 0, 1);
    // The days count only once ticked: a log is searched as a whole first.
    ckRiQ = new QCheckBox(QString::fromUtf8(setup.timeLabel) + QStringLiteral("从(&T)"), this);
    ckRiQ->setObjectName(QStringLiteral("ckRiQ"));
    SearchArea()->addWidget(ckRiQ, 0, 2);
    const QDate today = QDate::currentDate();
    EDQiSRQ = NewDateEdit(this, "EDQiSRQ", QDate(today.year(), 1, 1));
    SearchArea()->addWidget(EDQiSRQ, 0, 3);
    SearchArea()->addWidget(new QLabel(QStringLiteral("至"), this), 0, 4);
    EDJieZRQ = NewDateEdit(this, "EDJieZRQ", today);
    SearchArea()->addWidget(EDJieZRQ, 0, 5);
    AddSearchButton(0, 6);
    SearchArea()->setColumnStretch(1, 1);
    connect(ckRiQ, &QCheckBox::toggled, this, [this](bool on) {
        EDQiSRQ->setEnabled(on);
        EDJieZRQ->setEnabled(on);
    });

    SetUpColumns(LogColumns(setup.kind));
    ButtonArea()->addStretch();
    QPushButton* exportButton = AddButton("导出excel文件(&E)", "bt_export");
    connect(exportButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { bt_exportClick(); }); });
    OrderTabsByLayout(this);
    // A log is looked at as soon as it opens: the newest entries first.
    Guarded(this, [&] { Search(); });
}

LogFilter TLogBrowser::Filter() const {
    LogFilter filter{S(EDDanWMC->text()), {}, {}};
    if (ckRiQ->isChecked()) {
        filter.from = Day(EDQiSRQ);
        filter.to = Day(EDJieZRQ);
    }
    return filter;
}

ListQueryBuilder TLogBrowser::BuildQuery() {
    const LogFilter filter = Filter();
    CheckLogFilter(filter);
    return LogListQuery(setup_.kind, filter);
}

std::vector<std::string> TLogBrowser::RowCells(const Statement& row) {
    return LogCells(setup_.kind, row, Dm().Codes());
}

void TLogBrowser::bt_exportClick() {
    const SummaryTable table = LogTable(Dm(), setup_.kind, Filter());
    ExportTable(this, Q(Dm().Unit().DanWMC) + "-" + QString::fromUtf8(setup_.caption) + ".xls",
                table);
}

}  // namespace mlk::ui
