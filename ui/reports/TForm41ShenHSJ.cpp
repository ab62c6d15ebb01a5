#include "ui/reports/TForm41ShenHSJ.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "exchange/Audit.h"
#include "forms/ColumnDefs.h"
#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/app/Lists.h"

namespace mlk::ui {

namespace {
constexpr int kRecordRole = Qt::UserRole;
const QString kChooseUnit = QStringLiteral("请在左侧选择本单位的直属下级单位。");
}  // namespace

TForm41ShenHSJ::TForm41ShenHSJ(TMainDM& dm, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      tvDanW(new QTreeWidget(this)),
      lvJGLB(new QTableWidget(this)),
      BTShenH(new QPushButton(QStringLiteral("审核(&S)"), this)),
      LBShenH(new QLabel(this)) {
    setObjectName(QStringLiteral("TForm41ShenHSJ"));
    setWindowTitle(QStringLiteral("审核数据"));
    resize(790, 530);

    tvDanW->setObjectName(QStringLiteral("tvDanW"));
    tvDanW->setHeaderHidden(true);
    tvDanW->setFixedWidth(190);
    tvDanW->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* root = new QTreeWidgetItem(tvDanW, QStringList{Q(dm.Unit().JieDMC)});
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);

    lvJGLB->setObjectName(QStringLiteral("lvJGLB"));
    SetUpList(lvJGLB);
    // 450 high where the window has room; on a small screen the list takes the loss.
    lvJGLB->setMaximumHeight(450);
    SetUpColumns(lvJGLB, ParseColumnDefs(AuditColumns()));

    BTShenH->setObjectName(QStringLiteral("BTShenH"));
    BTShenH->setAutoDefault(false);
    BTShenH->setEnabled(false);
    LBShenH->setText(kChooseUnit);

    LBShenH->setObjectName(QStringLiteral("LBShenH"));
    LBShenH->setWordWrap(true);
    auto* foot = new QHBoxLayout;
    foot->addWidget(LBShenH, 1);
    foot->addWidget(BTShenH);
    auto* right = new QVBoxLayout;
    right->addWidget(lvJGLB, 1);  // the room first, up to its height
    right->addLayout(foot);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tvDanW);
    layout->addLayout(right, 1);

    connect(tvDanW, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { Guarded(this, [&] { tvDanWExpanding(node); }); });
    connect(tvDanW, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { Guarded(this, [&] { tvDanWChange(node); }); });
    connect(BTShenH, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTShenHClick(); }); });
    OrderTabsByLayout(this);
}

const GGJG* TForm41ShenHSJ::RecordOf(const QTreeWidgetItem* node) const {
    const QVariant index = node->data(0, kRecordRole);
    return index.isValid() ? &records_[std::size_t(index.toULongLong())] : nullptr;
}

void TForm41ShenHSJ::tvDanWExpanding(QTreeWidgetItem* node) {
    if (!node || node->childCount() > 0)
        return;  // loaded once, when first expanded
    const GGJG* record = RecordOf(node);
    const std::string key = record ? record->JiGID : dm_.Unit().DanWID;
    for (GGJG& child : AuditChildren(dm_, key)) {
        auto* item = new QTreeWidgetItem(node, QStringList{Q(child.JieDMC)});
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        item->setData(0, kRecordRole, qulonglong(records_.size()));
        records_.push_back(std::move(child));
    }
}

void TForm41ShenHSJ::tvDanWChange(QTreeWidgetItem* node) {
    BTShenH->setEnabled(false);
    LBShenH->setText(kChooseUnit);
    if (!node)
        return;
    if (const GGJG* record = RecordOf(node)) {
        current_ = *record;
        ShowList(record->JiGID, true);
    } else {
        ShowList(dm_.Unit().DanWID, false);
    }
}

void TForm41ShenHSJ::ShowList(const std::string& key, bool canApprove) {
    const std::vector<GGJG> rows = AuditList(dm_, key);
    lvJGLB->clearContents();
    lvJGLB->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const std::vector<std::string> cells = AuditListCells(dm_, rows[std::size_t(r)], r + 1);
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(Q(cells[std::size_t(c)]));
            item->setTextAlignment(Qt::AlignCenter);
            item->setToolTip(item->text());
            lvJGLB->setItem(r, c, item);
        }
    }
    FitColumnsToCells(lvJGLB);
    // Why "审核" is off stays in view beside it.
    const CheckResult refusal =
        canApprove && current_ ? CheckApprove(dm_, *current_) : CheckFailure{S(kChooseUnit), ""};
    BTShenH->setEnabled(!refusal);
    LBShenH->setText(refusal ? Q(refusal->message) : QString());
}

void TForm41ShenHSJ::BTShenHClick() {
    if (!current_)
        return;
    if (!dialogs().Confirm(this, QStringLiteral("是否确认"), Q(ApproveQuestion(*current_)),
                           Dialogs::Answer::Cancel))
        return;
    Approve(dm_, *current_);
    ShowList(current_->JiGID, true);
}

}  // namespace mlk::ui
