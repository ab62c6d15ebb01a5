#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "RecordingDialogs.h"
#include "TestSupport.h"

class QDialog;
class QTableWidget;

// A text in the messages of a failing test.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mlk::test {

// A window test: its own database, the operating unit registered at 东城区 with the shared
// sample directory, and every dialog recorded.
class WindowTest : public DbTest {
  protected:
    // unitType "0" energy-saving management agency, "1" competent department.
    void Open(const std::string& unitType, const std::string& name = "东城区节能办");
    RecordingDialogs dialogs_;
};

// The same under an energy-saving management agency, opened before each test.
class AgencyWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open("0");
    }
};

// A control of a window by name; a missing one fails the test.
template <class T = QWidget>
T* Find(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(QWidget* window, const char* name);
bool Enabled(QWidget* window, const char* name);
bool Shown(QWidget* window, const char* name);      // visible as the window shows
QString TextOf(QWidget* window, const char* name);  // of a line edit, combo box or label
void Type(QWidget* window, const char* name, const QString& text);
void Type(QWidget* window, std::initializer_list<std::pair<const char*, const char*>> fields);
// Chooses the item that starts with the text, as the user does.
void Choose(QWidget* window, const char* name, const QString& start);
// A key pressed on a control, or on the window when name is null.
void Press(QWidget* window, const char* name, int key);

// The window's list of ticked rows, clicks on it and the rows it shows.
QTableWidget* ListOf(QWidget* window);
void ClickRow(QWidget* window, int row);
int RowOf(QWidget* window, const QString& cell, int column = 2);  // -1 when none
// Per row of the list: "x" ticked and highlighted, "t" ticked only, "h" highlighted only, "."
// neither.
QString Marks(QWidget* window);
// The cells of a column, those of rows drawn in the marking sky blue with a leading "*".
QStringList ShownRows(QWidget* window, int column);

// Runs action on the next modal window once it shows, then closes it.
void WhenModal(std::function<void(QDialog*)> action);

// Another program that holds the database: what writes it waits; with reading, reading too.
class OtherProgram {
  public:
    OtherProgram(const std::filesystem::path& db, bool reading);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

  private:
    Database db_;
};

// Presses 取消 in the box of the coming long work once it is there, or once it says that it
// waits for the database; the text it showed then.
std::shared_ptr<QString> CancelWork(bool whenWaiting);

}  // namespace mlk::test
