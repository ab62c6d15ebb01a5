#include "db/ReadAlongside.h"

#include <sqlite3.h>

#include <chrono>

#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace mlk {

namespace {

// True when a second connection that begins its read now sees what db sees. In a rollback
// journal a commit needs the exclusive lock, which no writer gets while db holds its shared lock
// (or its reserved lock, which keeps out every other writer): the committed state cannot change
// until db's transaction ends. A write-ahead log lets a commit land meanwhile; a transaction of
// db's that has written holds changes no other connection sees, which the caller rules out.
bool HoldsCommittedState(Database& db) {
    if (sqlite3_txn_state(db.Handle(), "main") == SQLITE_TXN_NONE)
        return false;
    Statement mode(db, "pragma journal_mode");
    return mode.Step() && mode.Text(0) != "wal";
}

}  // namespace

std::unique_ptr<Database> BeginSecondRead(Database& db, std::atomic<bool>& stop) {
    std::unique_ptr<Database> second;
    try {
        second = std::make_unique<Database>(db.Path(), Database::Access::ReadOnly);
        // A writer waiting to commit (it holds the pending lock) lets no new read begin; it in
        // turn waits for db's read, so waiting here would only wait out the timeout.
        second->SetBusyTimeout(std::chrono::milliseconds(0));
        second->Exec("begin deferred transaction; select count(*) from sqlite_master");
    } catch (const DbError&) {
        return nullptr;
    }
    sqlite3_progress_handler(
        second->Handle(), 1000,
        [](void* stop) { return static_cast<std::atomic<bool>*>(stop)->load() ? 1 : 0; }, &stop);
    return second;
}

ReadAlongside::ReadAlongside(Database& db, Work work) {
    if (!HoldsCommittedState(db) || !(second_ = BeginSecondRead(db, stop_)))
        return;
    started_ = true;
    done_ = false;
    thread_ = std::thread([this, work = std::move(work)] {
        try {
            work(*second_);
        } catch (...) {
            error_ = std::current_exception();
        }
        done_ = true;
    });
}

ReadAlongside::~ReadAlongside() {
    Stop();
}

void ReadAlongside::Stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void ReadAlongside::Wait() {
    if (thread_.joinable())
        thread_.join();
    second_.reset();
    if (error_)
        std::rethrow_exception(error_);
}

}  // namespace mlk
