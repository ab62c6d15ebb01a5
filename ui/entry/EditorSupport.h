#pragma once

#include <functional>

#include "data/Check.h"
#include "entry/EditorMode.h"

class QBoxLayout;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace mlk::ui {

// The action buttons both editors share: "保存", "修改", "删除", "通过核查" in one place (at
// most one of them visible) and "关闭".
struct EditorButtons {
    QPushButton* btInsert;
    QPushButton* btUpdate;
    QPushButton* btDelete;
    QPushButton* btQueR;
    QPushButton* Button2;

    EditorButtons(QDialog* editor, QBoxLayout* layout);
    // Shows and enables the one button of the action, which Enter presses; view shows none.
    void ShowFor(EditorAction action);
    // Connects the four action buttons to the editor's handlers, each run guarded.
    void Connect(QWidget* editor, std::function<void()> insert, std::function<void()> update,
                 std::function<void()> remove, std::function<void()> confirm);
};

// Shows a failed check in a plain message box and focuses its control.
void ShowCheckFailure(QWidget* editor, const CheckFailure& failure);

// The question boxes before a delete and a confirm; true for OK.
bool AskDelete(QWidget* editor);
bool AskConfirm(QWidget* editor);

// Lets the field take only the digits 0 to 9 from the keyboard.
void AcceptDigitsOnly(QLineEdit* field);

}  // namespace mlk::ui
