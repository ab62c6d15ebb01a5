#include "ui/entry/TEditorBase.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "entry/EntryActions.h"
#include "ui/app/Dialogs.h"
#include "ui/app/OnScreen.h"

namespace mlk::ui {

namespace {

QPushButton* AddNamedButton(QWidget* editor, QBoxLayout* layout, const char* caption,
                            const char* name) {
    QPushButton* button = NamedButton(editor, caption, name);
    layout->addWidget(button);
    return button;
}

}  // namespace

TEditorBase::TEditorBase(TMainDM& dm, int mode, const GGJG* record, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      action_(ActionOfMode(mode)),
      hasRecord_(action_ != EditorAction::Insert && action_ != EditorAction::Invalid && record) {
    if (!hasRecord_)
        return;
    working_.AssignFrom(*record);
    // The display order is shown and written back, so it travels with the record.
    working_.ShunX = record->ShunX;
    working_.JiC = record->JiC;
}

TEditorBase::~TEditorBase() = default;

int TEditorBase::Run() {
    if (action_ == EditorAction::Invalid) {
        dialogs().Message(this, QStringLiteral("非法操作！"));
        return QDialog::Rejected;
    }
    return ShowModal(*this);
}

void TEditorBase::reject() {
    if (MayDiscard(this, opened_))
        QDialog::reject();
}

QLabel* TEditorBase::AddHeading(QBoxLayout* layout, const QString& text) {
    auto* heading = new QLabel(text, this);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    heading->setFont(bold);
    layout->addWidget(heading);
    return heading;
}

void TEditorBase::AddButtons(QBoxLayout* layout) {
    layout->addStretch();
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    row->addStretch();
    btInsert = AddNamedButton(this, row, "保存(&S)", "btInsert");
    btUpdate = AddNamedButton(this, row, "修改(&M)", "btUpdate");
    btDelete = AddNamedButton(this, row, "删除(&D)", "btDelete");
    btQueR = AddNamedButton(this, row, "通过核查(&Q)", "btQueR");
    Button2 = AddNamedButton(this, row, "关闭(&C)", "Button2");
    row->addStretch();
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    ShowButtonOfAction();
    ConnectButtons();
}

void TEditorBase::ShowButtonOfAction() {
    const std::pair<QPushButton*, EditorAction> buttons[] = {{btInsert, EditorAction::Insert},
                                                             {btUpdate, EditorAction::Update},
                                                             {btDelete, EditorAction::Delete},
                                                             {btQueR, EditorAction::Confirm}};
    for (const auto& [button, own] : buttons) {
        button->setVisible(own == action_);
        button->setEnabled(own == action_);
        button->setDefault(own == action_);
    }
    // Enter presses the window's one action; in view mode it closes the window.
    Button2->setDefault(action_ == EditorAction::View);
}

void TEditorBase::ConnectButtons() {
    const std::pair<QPushButton*, void (TEditorBase::*)()> handlers[] = {
        {btInsert, &TEditorBase::SaveNew},
        {btUpdate, &TEditorBase::SaveChanges},
        {btDelete, &TEditorBase::Delete},
        {btQueR, &TEditorBase::Confirm}};
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { Guarded(this, [&] { (this->*handler)(); }); });
    }
}

void TEditorBase::FinishBuilding() {
    OrderTabsByLayout(this);
    opened_.Take(this);
}

void TEditorBase::ShowCheckFailure(const CheckFailure& failure) {
    dialogs().Message(this, Q(failure.message));
    if (failure.focus.empty())
        return;
    if (auto* target = findChild<QWidget*>(Q(failure.focus)))
        target->setFocus();
}

void TEditorBase::Delete() {
    if (!dialogs().Confirm(this, QStringLiteral("是否删除"),
                           QStringLiteral("从名录库汇总删除机构信息，删除后不能恢复！"),
                           Dialogs::Answer::Cancel))
        return;
    DeleteEntry(dm_, working_.JiGID);
    accept();
}

void TEditorBase::Confirm() {
    if (!CheckInput() ||
        !dialogs().Confirm(this, QStringLiteral("是否确认"),
                           QStringLiteral("请确认机构信息是否完整，确认后不能再修改和删除！"),
                           Dialogs::Answer::Cancel))
        return;
    ConfirmEntry(dm_, working_);
    accept();
}

}  // namespace mlk::ui
