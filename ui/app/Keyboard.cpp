#include "ui/app/Keyboard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QWidget>
#include <algorithm>

#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {

void CollectInOrder(QLayout* layout, QList<QWidget*>& widgets);

void CollectItem(QLayoutItem* item, QList<QWidget*>& widgets) {
    if (QLayout* inner = item->layout()) {
        CollectInOrder(inner, widgets);
    } else if (QWidget* widget = item->widget()) {
        widgets << widget;
        if (widget->layout())  // a group box and the like: its own controls in their order
            CollectInOrder(widget->layout(), widgets);
    }
}

// The items of a grid row by row; of any other layout in their order.
void CollectInOrder(QLayout* layout, QList<QWidget*>& widgets) {
    QList<QLayoutItem*> items;
    for (int i = 0; i < layout->count(); ++i)
        items << layout->itemAt(i);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const auto cell = [grid](QLayoutItem* item) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(item), &row, &column, &rows, &columns);
            return std::pair(row, column);
        };
        std::stable_sort(items.begin(), items.end(),
                         [&](QLayoutItem* a, QLayoutItem* b) { return cell(a) < cell(b); });
    }
    for (QLayoutItem* item : items)
        CollectItem(item, widgets);
}

// A control whose text the snapshot keeps: a line edit or a combo box.
bool HoldsText(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget);
}

QString TextOf(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(field))
        return edit->text();
    return qobject_cast<const QComboBox*>(field)->currentText();
}

// A line edit or combo box the user can change now.
bool IsUserField(const QWidget* field) {
    if (field->isHidden() || !field->isEnabled())
        return false;
    if (const auto* edit = qobject_cast<const QLineEdit*>(field))
        return !edit->isReadOnly() && !qobject_cast<const QComboBox*>(edit->parentWidget());
    return qobject_cast<const QComboBox*>(field) != nullptr;
}

}  // namespace

void OrderTabsByLayout(QWidget* window) {
    if (!window->layout())
        return;
    QList<QWidget*> widgets;
    CollectInOrder(window->layout(), widgets);
    QWidget* previous = nullptr;
    QWidget* first = nullptr;  // the control that has the focus when the window opens
    for (QWidget* widget : widgets) {
        if (!(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
        if (!first && widget->isEnabled() && !widget->isHidden())
            first = widget;
    }
    if (first)
        first->setFocus();
}

void InputSnapshot::Take(const QWidget* window) {
    texts_.clear();
    for (const QWidget* field : window->findChildren<QWidget*>()) {
        if (HoldsText(field))
            texts_.insert(field, TextOf(field));
    }
}

bool InputSnapshot::Changed(const QWidget* window) const {
    for (const QWidget* field : window->findChildren<QWidget*>()) {
        if (IsUserField(field) && TextOf(field) != texts_.value(field))
            return true;
    }
    return false;
}

QPushButton* NamedButton(QWidget* parent, const char* caption, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

void AcceptDigitsOnly(QLineEdit* field) {
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
}

bool MayDiscard(QWidget* window, const InputSnapshot& snapshot) {
    return !snapshot.Changed(window) ||
           dialogs().Confirm(window, QStringLiteral("是否放弃"),
                             QStringLiteral("录入的内容尚未保存，是否放弃并关闭窗口？"),
                             Dialogs::Answer::Cancel);
}

}  // namespace mlk::ui
