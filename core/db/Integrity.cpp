#include "db/Integrity.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>

#include "db/EngineError.h"
#include "db/ReadAlongside.h"
#include "db/Sqlite.h"

namespace mlk {

std::vector<std::string> CheckDatabase(Database& db, CheckDepth depth) {
    Statement query(db,
                    depth == CheckDepth::Quick ? "pragma quick_check" : "pragma integrity_check");
    std::vector<std::string> findings;
    try {
        while (query.Step()) {
            std::string line = query.Text(0);
            if (line != "ok")
                findings.push_back(std::move(line));
        }
    } catch (const DbError& error) {
        // Damage that stops the check half-way is one more finding.
        if (!MetDamage(error))
            throw;
        findings.push_back(error.what());
    }
    return findings;
}

bool MetDamage(const DbError& error) {
    const int code = error.code() & 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

void RequireUndamaged(Database& db) {
    RequireUndamaged(db, {});
}

namespace {

[[noreturn]] void FailDamaged(const Database& db, std::string_view notDone) {
    throw MlkError(notDone.empty() ? DamagedMessage(db.Path())
                                   : DamagedMessage(db.Path(), notDone));
}

}  // namespace

void RequireUndamaged(Database& db, std::string_view notDone) {
    if (!CheckDatabase(db, CheckDepth::Quick).empty())
        FailDamaged(db, notDone);
}

namespace {

// True when a second connection that begins its read now sees what db sees. In a rollback
// journal a commit needs the exclusive lock, which no writer gets while db holds its shared lock
// (or its reserved lock, which keeps out every other writer): the committed state cannot change
// until db's transaction ends. A write-ahead log lets a commit land meanwhile; a transaction of
// db's that has written would hold changes no other connection sees, which the caller rules out.
bool HoldsCommittedState(Database& db) {
    if (sqlite3_txn_state(db.Handle(), "main") == SQLITE_TXN_NONE)
        return false;
    Statement mode(db, "pragma journal_mode");
    return mode.Step() && mode.Text(0) != "wal";
}

}  // namespace

QuickCheckAlongside::QuickCheckAlongside(Database& db, std::string notDone)
    : db_(db), notDone_(std::move(notDone)) {
    if (HoldsCommittedState(db))
        second_ = BeginSecondRead(db, stop_);
    if (!second_) {
        mlk::RequireUndamaged(db, notDone_);
        findings_.emplace();
        done_ = true;
        return;
    }
    thread_ = std::thread([this] {
        try {
            findings_ = CheckDatabase(*second_, CheckDepth::Quick);
        } catch (const std::exception&) {
            // Not checked (the connection failed): RequireUndamaged checks on db instead.
        }
        done_ = true;
    });
}

QuickCheckAlongside::~QuickCheckAlongside() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void QuickCheckAlongside::RequireUndamaged() {
    if (thread_.joinable())
        thread_.join();
    second_.reset();  // its lock would keep db from writing
    if (!findings_)
        mlk::RequireUndamaged(db_, notDone_);
    else if (!findings_->empty())
        FailDamaged(db_, notDone_);
}

namespace {

// The engine calls back every so many steps of its machine; a check takes about this many steps
// for each page of the file (measured on directories of many sizes), so the calls counted tell
// how far it got.
constexpr int kStepsPerCall = 1000;
constexpr long long kQuickStepsPerPage = 270;
constexpr long long kFullStepsPerPage = 480;

struct CheckTicker {
    Progress& progress;
    long long calls = 0;
    long long last = 0;  // the estimate may fall short: the bar stops just before its end
    std::exception_ptr stop;
    ConnectionWatch* watch = nullptr;  // the connection's, whose callback this one stands in for
};

// A stop that progress raises cannot pass through the engine: it interrupts the check and is
// raised again once the engine has returned.
int Tick(void* data) noexcept {
    auto& ticker = *static_cast<CheckTicker*>(data);
    if (ticker.watch)
        ticker.watch->WaitingForLock(false);  // the check runs: it has its lock
    try {
        ticker.progress.SetPosition(std::min(++ticker.calls, ticker.last));
        return 0;
    } catch (...) {
        ticker.stop = std::current_exception();
        return 1;
    }
}

// The callback is the connection's until the check ends, however it ends; a watch's comes back.
class ProgressHandler {
  public:
    ProgressHandler(Database& db, CheckTicker& ticker) : db_(db) {
        ticker.watch = db.Watch();
        sqlite3_progress_handler(db_.Handle(), kStepsPerCall, Tick, &ticker);
    }
    ~ProgressHandler() {
        if (db_.Watch())
            db_.SetWatch(db_.Watch());
        else
            sqlite3_progress_handler(db_.Handle(), 0, nullptr, nullptr);
    }
    ProgressHandler(const ProgressHandler&) = delete;
    ProgressHandler& operator=(const ProgressHandler&) = delete;

  private:
    Database& db_;
};

}  // namespace

std::vector<std::string> CheckDatabase(Database& db, CheckDepth depth, Progress& progress) {
    Statement pages(db, "pragma page_count");
    pages.Step();
    const long long perPage = depth == CheckDepth::Quick ? kQuickStepsPerPage : kFullStepsPerPage;
    const long long expected = pages.Int(0) * perPage / kStepsPerCall + 1;
    progress.SetRange(expected + 1);
    CheckTicker ticker{progress, 0, expected, nullptr, nullptr};
    std::vector<std::string> findings;
    try {
        ProgressHandler handler(db, ticker);
        findings = CheckDatabase(db, depth);
    } catch (...) {
        if (ticker.stop)
            std::rethrow_exception(ticker.stop);
        throw;
    }
    progress.SetPosition(expected + 1);
    return findings;
}

}  // namespace mlk
