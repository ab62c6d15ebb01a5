#include "WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ui/app/LongWork.h"
#include "ui/app/TWorkBox.h"

namespace mlk::test {

void WindowTest::Open(const std::string& unitType, const std::string& name) {
    RegisterUnit(unitType, "110101", name);
    AddSampleDirectory(Dm());
}

void Click(QWidget* window, const char* name) {
    Find<QPushButton>(window, name)->click();
}

bool Enabled(QWidget* window, const char* name) {
    return Find(window, name)->isEnabled();
}

bool Shown(QWidget* window, const char* name) {
    return Find(window, name)->isVisibleTo(window);
}

QString TextOf(QWidget* window, const char* name) {
    if (auto* box = window->findChild<QComboBox*>(QString::fromLatin1(name)))
        return box->currentText();
    if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    return Find<QLineEdit>(window, name)->text();
}

void Type(QWidget* window, const char* name, const QString& text) {
    Find<QLineEdit>(window, name)->setText(text);
}

void Type(QWidget* window, std::initializer_list<std::pair<const char*, const char*>> fields) {
    for (const auto& [name, text] : fields)
        Type(window, name, QString::fromUtf8(text));
}

void Choose(QWidget* window, const char* name, const QString& start) {
    auto* box = Find<QComboBox>(window, name);
    const int index = box->findText(start, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << name << " has no " << start.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Press(QWidget* window, const char* name, int key) {
    QTest::keyClick(name ? Find(window, name) : window, Qt::Key(key));
}

QTableWidget* ListOf(QWidget* window) {
    return window->findChild<QTableWidget*>();
}

void ClickRow(QWidget* window, int row) {
    QTableWidget* list = ListOf(window);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 2)).center());
}

int RowOf(QWidget* window, const QString& cell, int column) {
    const QTableWidget* list = ListOf(window);
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, column) && list->item(r, column)->text() == cell)
            return r;
    }
    return -1;
}

QString Marks(QWidget* window) {
    const QTableWidget* list = ListOf(window);
    QString marks;
    for (int r = 0; r < list->rowCount(); ++r) {
        const bool ticked = list->item(r, 0)->checkState() == Qt::Checked;
        const bool highlighted = list->item(r, 0)->isSelected();
        marks += ticked ? (highlighted ? 'x' : 't') : (highlighted ? 'h' : '.');
    }
    return marks;
}

QStringList ShownRows(QWidget* window, int column) {
    const QTableWidget* list = ListOf(window);
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        const QTableWidgetItem* cell = list->item(r, column);
        rows << (cell->background().color() == QColor(166, 202, 240) ? "*" : "") + cell->text();
    }
    return rows;
}

namespace {

// Calls act from the event loop until it says it is done, for at most five seconds.
void Poll(std::function<bool()> act) {
    auto* poll = new QTimer;
    auto* since = new QElapsedTimer;
    since->start();
    QObject::connect(poll, &QTimer::timeout, [poll, since, act] {
        const bool late = since->elapsed() > 5000;
        EXPECT_FALSE(late) << "never came";
        if (late || act()) {
            poll->stop();
            poll->deleteLater();
            delete since;
        }
    });
    poll->start(5);
}

}  // namespace

// The box of long work that may come first is not the window waited for.
void WhenModal(std::function<void(QDialog*)> action) {
    Poll([action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || qobject_cast<ui::TWorkBox*>(dialog))
            return false;
        action(dialog);
        dialog->reject();
        return true;
    });
}

OtherProgram::OtherProgram(const std::filesystem::path& db, bool reading) : db_(db) {
    db_.Exec(reading ? "begin exclusive" : "begin immediate");
}

OtherProgram::~OtherProgram() {
    db_.Exec("rollback");
}

std::shared_ptr<QString> CancelWork(bool whenWaiting) {
    auto shown = std::make_shared<QString>();
    Poll([shown, whenWaiting] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<ui::TWorkBox*>(window);
            if (!box || (whenWaiting && TextOf(box, "LBWhat") != ui::kWaitingForLock))
                continue;
            *shown = TextOf(box, "LBWhat");
            Click(box, "BTCancel");
            return true;
        }
        return false;
    });
    return shown;
}

}  // namespace mlk::test
