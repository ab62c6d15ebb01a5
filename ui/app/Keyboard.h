#pragma once

#include <QHash>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace mlk::ui {

// Makes Tab follow the window's layout row by row, left to right, whatever order the controls
// were made in; controls shown later (hidden now) take their place in it too. The first control
// has the focus when the window opens.
void OrderTabsByLayout(QWidget* window);

// What the fields of a window held when it was prepared, so that closing it can tell whether
// the user's input would be lost.
class InputSnapshot {
  public:
    void Take(const QWidget* window);
    // True when a field the user can change shows something else than it did.
    bool Changed(const QWidget* window) const;

  private:
    QHash<const QWidget*, QString> texts_;
};

// A push button with its caption and name, which Enter presses only when the window makes it
// its default button.
QPushButton* NamedButton(QWidget* parent, const char* caption, const char* name);

// Lets the field take only the digits 0 to 9 from the keyboard.
void AcceptDigitsOnly(QLineEdit* field);

// Before a window holding unsaved input closes: asks "是否放弃"; true when it may close.
bool MayDiscard(QWidget* window, const InputSnapshot& snapshot);

}  // namespace mlk::ui
