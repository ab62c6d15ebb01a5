#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <vector>

class QWidget;
class QComboBox;

namespace mlk::ui {

// Every question, message and file choice of every window goes through this seam, so that a
// test can answer the questions and read the messages without a real modal box.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A plain message box with an OK button and no icon.
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // A notice with a title (the summary windows use "提示信息").
    virtual void Notice(QWidget* parent, const QString& title, const QString& text) = 0;
    // The answer that Enter gives to a question: Cancel for a question whose OK destroys or
    // cannot be undone, so that a key pressed once too often loses nothing.
    enum class Answer { Ok, Cancel };
    // A question box with the question icon, OK and Cancel; true for OK.
    virtual bool Confirm(QWidget* parent, const QString& title, const QString& text,
                         Answer byDefault) = 0;
    // The application's standard error box.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // File dialogs; an empty result means the user cancelled. filter is in Qt's form,
    // for example "文本文件 (*.txt)".
    virtual QString OpenFile(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter) = 0;
    // A save dialog may offer several filters joined by ";;", the first chosen at first;
    // selectedFilter receives the one chosen.
    virtual QString SaveFile(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter, QString* selectedFilter) = 0;
};

// A kind of file a save dialog offers: the dialog's filter and the extension that a name typed
// without one receives.
struct FileKind {
    const char* filter;
    const char* extension;
};
inline constexpr FileKind kXlsFile{"Excel 97-2003 工作簿 (*.xls)", ".xls"};
inline constexpr FileKind kXlsxFile{"Excel 工作簿 (*.xlsx)", ".xlsx"};
inline constexpr FileKind kTextFile{"文本文件 (*.txt)", ".txt"};
inline constexpr FileKind kPdfFile{"PDF 文件 (*.pdf)", ".pdf"};

// Asks where to save a file of one of the kinds, the first offered first, proposing a name; a
// name given without an extension gets the chosen kind's. Empty when the user cancelled.
QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                    std::initializer_list<FileKind> kinds);

// The dialogs in use: the real ones unless a test installed its own.
Dialogs& dialogs();
// Installs a replacement (not owned); nullptr restores the real dialogs.
void SetDialogs(Dialogs* replacement);

// UTF-8 std::string <-> QString, at the edge between core and widgets.
inline QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

// Clears the combo box, adds the items and selects item 0; the box becomes as wide as its
// widest item.
void FillCombo(QComboBox* combo, const std::vector<std::string>& items);
// Makes the box at least as wide as the widest of the texts, never narrower than it was: a box
// that a choice elsewhere refills is given room for the longest item it may ever hold, so that
// nothing beside it moves.
void WidenComboFor(QComboBox* combo, const QStringList& texts);

// Runs an event handler; an exception it throws ends the action and shows the standard error
// box with its message, and the window stays as it was.
template <class F>
void Guarded(QWidget* parent, F&& handler);

void ShowError(QWidget* parent, const std::exception& error);

template <class F>
void Guarded(QWidget* parent, F&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowError(parent, error);
    }
}

}  // namespace mlk::ui
