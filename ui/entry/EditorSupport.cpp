#include "ui/entry/EditorSupport.h"

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {
QPushButton* MakeButton(QDialog* editor, QBoxLayout* layout, const char* caption,
                        const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(caption), editor);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}
}  // namespace

EditorButtons::EditorButtons(QDialog* editor, QBoxLayout* layout) {
    layout->addStretch();
    btInsert = MakeButton(editor, layout, "保存", "btInsert");
    btUpdate = MakeButton(editor, layout, "修改", "btUpdate");
    btDelete = MakeButton(editor, layout, "删除", "btDelete");
    btQueR = MakeButton(editor, layout, "通过核查", "btQueR");
    Button2 = MakeButton(editor, layout, "关闭", "Button2");
    layout->addStretch();
    QObject::connect(Button2, &QPushButton::clicked, editor, &QDialog::reject);
}

void EditorButtons::ShowFor(EditorAction action) {
    const std::pair<QPushButton*, EditorAction> buttons[] = {{btInsert, EditorAction::Insert},
                                                             {btUpdate, EditorAction::Update},
                                                             {btDelete, EditorAction::Delete},
                                                             {btQueR, EditorAction::Confirm}};
    for (const auto& [button, own] : buttons) {
        button->setVisible(own == action);
        button->setEnabled(own == action);
        button->setDefault(own == action);
    }
    // Enter presses the window's one action; in view mode it closes the window.
    Button2->setDefault(action == EditorAction::View);
}

void EditorButtons::Connect(QWidget* editor, std::function<void()> insert,
                            std::function<void()> update, std::function<void()> remove,
                            std::function<void()> confirm) {
    const std::pair<QPushButton*, std::function<void()>> handlers[] = {
        {btInsert, std::move(insert)},
        {btUpdate, std::move(update)},
        {btDelete, std::move(remove)},
        {btQueR, std::move(confirm)}};
    for (const auto& [button, handler] : handlers) {
        QObject::connect(button, &QPushButton::clicked, editor,
                         [editor, handler] { Guarded(editor, handler); });
    }
}

void ShowCheckFailure(QWidget* editor, const CheckFailure& failure) {
    dialogs().Message(editor, Q(failure.message));
    if (failure.focus.empty())
        return;
    if (auto* target = editor->findChild<QWidget*>(Q(failure.focus)))
        target->setFocus();
}

bool AskDelete(QWidget* editor) {
    return dialogs().Confirm(editor, QStringLiteral("是否删除"),
                             QStringLiteral("从名录库汇总删除机构信息，删除后不能恢复！"));
}

bool AskConfirm(QWidget* editor) {
    return dialogs().Confirm(editor, QStringLiteral("是否确认"),
                             QStringLiteral("请确认机构信息是否完整，确认后不能再修改和删除！"));
}

void AcceptDigitsOnly(QLineEdit* field) {
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
}

}  // namespace mlk::ui
