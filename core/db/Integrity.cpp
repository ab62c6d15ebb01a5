#include "db/Integrity.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>

#include "db/EngineError.h"
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

QuickCheckAlongside::QuickCheckAlongside(Database& db, std::string notDone)
    : db_(db), notDone_(std::move(notDone)), alongside_(db, [this](Database& second) {
          findings_ = CheckDatabase(second, CheckDepth::Quick);
      }) {
    if (!alongside_.Started())
        mlk::RequireUndamaged(db_, notDone_);
}

void QuickCheckAlongside::RequireUndamaged() {
    if (!alongside_.Started())
        return;  // checked on db when made
    try {
        alongside_.Wait();
    } catch (const std::exception&) {
        mlk::RequireUndamaged(db_, notDone_);  // not checked: the second connection failed
        return;
    }
    if (!findings_.empty())
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
