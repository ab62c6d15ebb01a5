#pragma once

#include <QString>
#include <functional>

class QDialog;
class QProgressBar;
class QWidget;

namespace mlk {
class Progress;
class TMainDM;
}  // namespace mlk

namespace mlk::ui {

// Long work off the window's thread: an import, an export, a summary. The window keeps its event
// loop -- it moves, repaints and shows progress -- while a small box (TWorkBox) shows how far the
// work got, says when another program holds the database, and offers 取消. Until the work ends
// the program takes no other input, so nothing else starts meanwhile.
//
// Work on the database gets a data module of its own, on its own connection (SQLite wants one
// per thread), which it must use alone; what it commits, the window's connection sees once it
// ends. Cancelling stops the running statement at once, or the work at its next progress report;
// the work then ends as after any failure: its transaction rolled back, its file not written.
class LongWork {
  public:
    // what says in the box what is being done ("正在导出…").
    LongWork(QWidget* window, QString what);
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Moves the window's own bar as well.
    LongWork& ShowingOn(QProgressBar* bar);

    // Runs the work on dm's file and returns when it has ended: true when it ran to its end,
    // false when the user cancelled it. An error of the work is raised again here, on the
    // window's thread.
    bool Run(TMainDM& dm, const std::function<void(TMainDM&, Progress&)>& work);
    // The same for work that needs no database (a file written from a table in memory), which
    // the window leaves alone meanwhile; 取消 ends it at its next progress report.
    bool Run(const std::function<void(Progress&)>& work);

  private:
    template <class Body>
    bool Start(const Body& body);

    QWidget* window_;
    QString what_;
    QProgressBar* bar_ = nullptr;
};

// What the box says while the work waits for another program to release the database.
inline constexpr const char* kWaitingForLock = "正在等待其他程序释放数据库…";

// A window whose making was cancelled (a summary not computed) is marked so, and not shown.
void Abandon(QDialog* window);
bool Abandoned(const QDialog& window);

}  // namespace mlk::ui
