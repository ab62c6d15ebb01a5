#include "db/ReadAlongside.h"

#include <sqlite3.h>

#include <chrono>

#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace mlk {

namespace {

// True when a second connection that begins its read now sees what db sees. In a rollback
// journal a commit needs the exclusive lock, which no writer gets while db holds its shared lock:
// the committed state cannot change until db's read ends. A write-ahead log lets a commit land
// meanwhile, and a transaction of db's own that has written holds changes no other connection
// sees.
bool HoldsReadOfCommittedState(Database& db) {
    if (sqlite3_txn_state(db.Handle(), "main") != SQLITE_TXN_READ)
        return false;
    Statement mode(db, "pragma journal_mode");
    return mode.Step() && mode.Text(0) != "wal";
}

}  // namespace

ReadAlongside::ReadAlongside(Database& db, Work work) {
    if (!HoldsReadOfCommittedState(db))
        return;
    try {
        second_ = std::make_unique<Database>(db.Path(), Database::Access::ReadOnly);
        // A writer waiting to commit (it holds the pending lock) lets no new read begin; it in
        // turn waits for db's read, so waiting here would only wait out the timeout.
        second_->SetBusyTimeout(std::chrono::milliseconds(0));
        second_->Exec("begin deferred transaction; select count(*) from sqlite_master");
    } catch (const DbError&) {
        second_.reset();
        return;
    }
    sqlite3_progress_handler(
        second_->Handle(), 1000,
        [](void* stop) { return static_cast<std::atomic<bool>*>(stop)->load() ? 1 : 0; }, &stop_);
    started_ = true;
    thread_ = std::thread([this, work = std::move(work)] {
        try {
            work(*second_);
        } catch (...) {
            error_ = std::current_exception();
        }
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
    if (error_)
        std::rethrow_exception(error_);
}

}  // namespace mlk
