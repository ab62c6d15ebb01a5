#include "ui/setup/TForm12XingZQH.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "model/TMainDM.h"
#include "setup/DivisionTree.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"

namespace mlk::ui {

namespace {

// What a node carries besides its caption.
enum Role { kCode = Qt::UserRole, kParentCode, kLevel, kLoaded };

// A typed character passes when it is a digit; editing keys and shortcuts (paste among them)
// carry no printable text and pass as well.
bool IsRefusedKey(const QKeyEvent& key) {
    for (const QChar c : key.text()) {
        if (c.unicode() >= 0x20 && c.unicode() != 127 && !(c >= u'0' && c <= u'9'))
            return true;
    }
    return false;
}

}  // namespace

TForm12XingZQH::TForm12XingZQH(TMainDM& dm, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      TreeView1(new QTreeWidget(this)),
      Button1(NamedButton(this, "新增(&A)", "Button1")),
      BTRename(NamedButton(this, "修改(&M)", "BTRename")),
      BTRemove(NamedButton(this, "删除(&D)", "BTRemove")),
      EDName(new QLineEdit(this)),
      EDCode(new QLineEdit(this)),
      Button2(NamedButton(this, "保存(&S)", "Button2")),
      Button3(NamedButton(this, "取消(&C)", "Button3")) {
    setObjectName(QStringLiteral("TForm12XingZQH"));
    setWindowTitle(QStringLiteral("行政区划维护"));
    resize(468, 430);

    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setFixedWidth(233);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EDName->setObjectName(QStringLiteral("EDName"));
    EDCode->setObjectName(QStringLiteral("EDCode"));
    EDCode->installEventFilter(this);

    auto* side = new QGridLayout;
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addStretch();
    treeButtons->addWidget(Button1);
    treeButtons->addWidget(BTRename);
    treeButtons->addWidget(BTRemove);
    side->addLayout(treeButtons, 0, 0, 1, 2);
    side->addWidget(new QLabel(QStringLiteral("行政区划名称："), this), 1, 0, 1, 2);
    side->addWidget(EDName, 2, 0, 1, 2);
    side->addWidget(new QLabel(QStringLiteral("行政区划："), this), 3, 0, 1, 2);
    side->addWidget(EDCode, 4, 0, 1, 2);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(Button2);
    saveRow->addWidget(Button3);
    side->addLayout(saveRow, 5, 0, 1, 2);
    side->setRowStretch(6, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(TreeView1);
    layout->addLayout(side, 1);

    for (const XingZQH& province : ProvinceDivisions(dm_))
        AddNode(nullptr, province);
    SetState(State::Browsing);
    OrderTabsByLayout(this);

    connect(TreeView1, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { Guarded(this, [&] { LoadChildren(node); }); });
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this] { Guarded(this, [&] { TreeView1Change(); }); });
    connect(Button1, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button3Click(); }); });
    connect(BTRename, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTRenameClick(); }); });
    connect(BTRemove, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { BTRemoveClick(); }); });
}

bool TForm12XingZQH::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EDCode && event->type() == QEvent::KeyPress &&
        IsRefusedKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QTreeWidgetItem* TForm12XingZQH::AddNode(QTreeWidgetItem* parent, const XingZQH& division) {
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
    node->setText(0, Q(division.name));
    node->setData(0, kCode, Q(division.code));
    node->setData(0, kParentCode, Q(division.parentCode));
    node->setData(0, kLevel, Q(division.XZJB));
    node->setData(0, kLoaded, false);
    node->setChildIndicatorPolicy(CanHaveChildren(division) ? QTreeWidgetItem::ShowIndicator
                                                            : QTreeWidgetItem::DontShowIndicator);
    return node;
}

XingZQH TForm12XingZQH::DivisionOf(const QTreeWidgetItem* node) {
    XingZQH division;
    division.name = S(node->text(0));
    division.code = S(node->data(0, kCode).toString());
    division.parentCode = S(node->data(0, kParentCode).toString());
    division.XZJB = S(node->data(0, kLevel).toString());
    return division;
}

void TForm12XingZQH::LoadChildren(QTreeWidgetItem* node) {
    if (node->data(0, kLoaded).toBool())
        return;
    const XingZQH division = DivisionOf(node);
    if (!CanHaveChildren(division))
        return;
    for (const XingZQH& child : ChildDivisions(dm_, division.code))
        AddNode(node, child);
    node->setData(0, kLoaded, true);
}

void TForm12XingZQH::ShowNode(const QTreeWidgetItem* node) {
    EDName->setText(node ? node->text(0) : QString());
    EDCode->setText(node ? node->data(0, kCode).toString() : QString());
}

void TForm12XingZQH::SetState(State state) {
    state_ = state;
    const bool editing = state != State::Browsing;
    TreeView1->setEnabled(!editing);
    for (QPushButton* button : {Button1, BTRename, BTRemove})
        button->setEnabled(!editing);
    EDName->setEnabled(editing);
    EDCode->setEnabled(state == State::Adding);
    Button2->setVisible(editing);
    Button3->setVisible(editing);
    // Enter presses "保存" while adding or renaming and "新增" while browsing.
    Button2->setDefault(editing);
    Button1->setDefault(!editing);
}

void TForm12XingZQH::keyPressEvent(QKeyEvent* event) {
    // Esc while adding leaves the adding, as "取消" does; otherwise it closes the window.
    if (event->key() == Qt::Key_Escape && Button3->isVisibleTo(this)) {
        Guarded(this, [&] { Button3Click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm12XingZQH::TreeView1Change() {
    ShowNode(TreeView1->currentItem());
}

void TForm12XingZQH::Button1Click() {
    const QTreeWidgetItem* node = TreeView1->currentItem();
    const XingZQH parent = node ? DivisionOf(node) : XingZQH{};
    if (const CheckResult refused = CheckAddUnder(node ? &parent : nullptr)) {
        dialogs().Message(this, Q(refused->message));
        return;
    }
    SetState(State::Adding);
    EDName->clear();
    EDCode->clear();
    EDName->setFocus();
}

void TForm12XingZQH::Button2Click() {
    QTreeWidgetItem* parentNode = TreeView1->currentItem();
    const std::string name = S(EDName->text());
    if (state_ == State::Renaming) {
        RenameDivision(dm_, DivisionOf(parentNode), name);
        parentNode->setText(0, EDName->text().trimmed());
        SetState(State::Browsing);
        ShowNode(parentNode);
        return;
    }
    const std::string code = S(EDCode->text());
    if (const CheckResult refused = CheckNewDivision(dm_, DivisionOf(parentNode), name, code)) {
        dialogs().Message(this, Q(refused->message));
        if (auto* focus = findChild<QWidget*>(Q(refused->focus)))
            focus->setFocus();
        return;
    }
    // The stored children come first, so that a parent never expanded before still shows them
    // all next to the new one.
    LoadChildren(parentNode);
    const XingZQH division = NewDivision(DivisionOf(parentNode), name, code);
    InsertDivision(dm_, division);
    QTreeWidgetItem* node = AddNode(parentNode, division);
    SetState(State::Browsing);
    TreeView1->scrollToItem(node);
    TreeView1->setCurrentItem(node);
    ShowNode(node);
}

void TForm12XingZQH::Button3Click() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    SetState(State::Browsing);
    ShowNode(node);
    if (node)
        TreeView1->scrollToItem(node);
}

// Only the name changes; a division in use keeps it, as the rows that carry it do.
void TForm12XingZQH::BTRenameClick() {
    const QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node) {
        dialogs().Message(this, QStringLiteral("请选择一个行政区划"));
        return;
    }
    if (const CheckResult refused = CheckChangeDivision(dm_, DivisionOf(node), false)) {
        dialogs().Message(this, Q(refused->message));
        return;
    }
    SetState(State::Renaming);
    EDName->setFocus();
    EDName->selectAll();
}

void TForm12XingZQH::BTRemoveClick() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node) {
        dialogs().Message(this, QStringLiteral("请选择一个行政区划"));
        return;
    }
    const XingZQH division = DivisionOf(node);
    if (const CheckResult refused = CheckChangeDivision(dm_, division, true)) {
        dialogs().Message(this, Q(refused->message));
        return;
    }
    if (!dialogs().Confirm(this, QStringLiteral("是否删除"), Q(RemoveDivisionQuestion(division)),
                           Dialogs::Answer::Cancel))
        return;
    RemoveDivision(dm_, division);
    delete node;
    ShowNode(TreeView1->currentItem());
}

}  // namespace mlk::ui
