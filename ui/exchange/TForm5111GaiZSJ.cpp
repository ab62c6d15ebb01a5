#include "ui/exchange/TForm5111GaiZSJ.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "exchange/ExchangeFile.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/app/Lists.h"

namespace mlk::ui {

namespace {

const std::vector<std::string> kColumns = {
    "A0-序号-40",   "JiGID-机构ID-130", "JiGMC-机构名称-160",
    "item-项目-90", "reason-问题-200",  "value-改为-200",
};
constexpr int kNewValueColumn = 5;
constexpr int kWidestContext = 220;

// A cell as the lists show it, centred and read-only; the new values are edited from the left.
QTableWidgetItem* Cell(const QString& text, bool editable = false) {
    auto* cell = new QTableWidgetItem(text);
    cell->setToolTip(text);
    if (!editable) {
        cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
        cell->setTextAlignment(Qt::AlignCenter);
    }
    return cell;
}

}  // namespace

TForm5111GaiZSJ::TForm5111GaiZSJ(TMainDM& dm, std::vector<UntravelableValue> values,
                                 QWidget* parent)
    : QDialog(parent), dm_(dm), values_(std::move(values)) {
    setObjectName(QStringLiteral("TForm5111GaiZSJ"));
    setWindowTitle(QStringLiteral("改正无法导出的数据"));
    resize(900, 420);

    auto* layout = new QVBoxLayout(this);
    auto* advice =
        new QLabel(QStringLiteral("以下数据无法写入上报文件，请在“改为”一列中改正后点“保存”"
                                  "，再重新导出。\n下级单位上报的机构在这里改正后，"
                                  "请通知下级单位同样改正。"),
                   this);
    advice->setObjectName(QStringLiteral("LBAdvice"));
    advice->setWordWrap(true);
    layout->addWidget(advice);

    lvGaiZ = new QTableWidget(this);
    lvGaiZ->setObjectName(QStringLiteral("lvGaiZ"));
    SetUpList(lvGaiZ);
    // One cell at a time, the arrows move between them and Tab leaves the list for "保存".
    lvGaiZ->setSelectionBehavior(QAbstractItemView::SelectItems);
    lvGaiZ->setTabKeyNavigation(false);
    lvGaiZ->setEditTriggers(QAbstractItemView::AllEditTriggers);
    SetUpColumns(lvGaiZ, ParseColumnDefs(kColumns));
    lvGaiZ->horizontalHeader()->setStretchLastSection(true);
    lvGaiZ->setRowCount(int(values_.size()));
    for (int row = 0; row < int(values_.size()); ++row) {
        const UntravelableValue& v = values_[std::size_t(row)];
        lvGaiZ->setItem(row, 0, Cell(QString::number(row + 1)));
        lvGaiZ->setItem(row, 1, Cell(Q(v.jiGID)));
        lvGaiZ->setItem(
            row, 2,
            Cell(Q(v.jiGMC) + (v.imported ? QStringLiteral("（下级单位上报）") : QString())));
        lvGaiZ->setItem(row, 3, Cell(QString::fromUtf8(kExchangeItemsInOrder[v.item].name)));
        lvGaiZ->setItem(row, 4, Cell(Q(v.reason)));
        lvGaiZ->setItem(row, kNewValueColumn, Cell(Q(v.value), true));
    }
    // The institution and the problem as wide as they need up to a limit (their tips hold the
    // whole text), so that the new value beside them stays in view.
    FitColumnsToCells(lvGaiZ);
    for (const int column : {2, 4})
        lvGaiZ->setColumnWidth(column, std::min(lvGaiZ->columnWidth(column), kWidestContext));
    layout->addWidget(lvGaiZ, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(QStringLiteral("保存"), this);
    save->setObjectName(QStringLiteral("BTSave"));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("BTClose"));
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { Guarded(this, [&] { BTSaveClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    OrderTabsByLayout(this);
    lvGaiZ->setCurrentCell(0, kNewValueColumn);
}

void TForm5111GaiZSJ::BTSaveClick() {
    std::vector<Correction> corrections;
    for (int row = 0; row < int(values_.size()); ++row) {
        const UntravelableValue& v = values_[std::size_t(row)];
        const std::string typed = S(lvGaiZ->item(row, kNewValueColumn)->text());
        if (typed != v.value)
            corrections.push_back({v.jiGID, v.item, typed});
    }
    if (corrections.empty()) {
        dialogs().Message(this, QStringLiteral("没有改正任何数据。"));
        return;
    }
    CorrectUntravelable(dm_, corrections);
    dialogs().Message(this, QStringLiteral("已改正%1项数据，请重新导出。").arg(corrections.size()));
    accept();
}

}  // namespace mlk::ui
