#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace mlk {

// Values are bound as text, which is how every column is written; SQLite's column affinity turns
// the decimal text of JiC and ShunX into integers.
using Params = std::vector<std::string>;

// How long another program's write is waited for before the user is told the file is busy.
inline constexpr std::chrono::milliseconds kBusyTimeout{5000};

class Database;

// Watches the statements of a connection that works off the window's thread. Both calls come
// from the connection's own thread.
class ConnectionWatch {
  public:
    virtual ~ConnectionWatch() = default;
    // Asked now and then while a statement runs and while a lock is waited for: true ends the
    // statement (as an interrupt) or the wait.
    virtual bool StopRequested() = 0;
    // Told when the connection starts waiting for another program's lock, and when it goes on.
    virtual void WaitingForLock(bool waiting) = 0;
};

// One prepared statement. Finalised when it goes out of scope.
class Statement {
  public:
    Statement(Database& db, std::string_view sql);
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    ~Statement();

    // Binds parameter number index (from 1) as text.
    Statement& Bind(int index, std::string_view value);
    Statement& Bind(int index, long long value);
    // The same without a copy of the text, which must stay unchanged until the statement has run.
    Statement& BindUnchanged(int index, std::string_view value);
    // Binds all values in order, from parameter 1.
    Statement& BindAll(const Params& values);

    // Runs to the next row; false when there is none.
    bool Step();
    // Runs a statement that yields no rows (or whose rows do not matter).
    void Run();
    // Makes the statement ready to run again with new values.
    void Reset();
    // The same, the values kept: for a statement run many times whose values are all bound anew
    // before each run, which then need not be cleared in between.
    void Rewind();

    int ColumnCount() const;
    std::string ColumnName(int index) const;
    int ColumnIndex(std::string_view name) const;  // case-insensitive; throws when absent
    std::string Text(int index) const;             // NULL reads as empty
    std::string Text(std::string_view name) const;
    // The text in place, valid until the next Step or Reset.
    std::string_view TextView(int index) const;
    long long Int(int index) const;
    long long Int(std::string_view name) const;
    bool IsNull(int index) const;

    const std::string& Sql() const { return sql_; }

  private:
    [[noreturn]] void Fail(int rc) const;

    Database* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string sql_;
};

// One connection to a database file.
class Database {
  public:
    // Create makes a missing file; Existing opens only a file that exists, for reading and
    // writing (so that a write a kill interrupted is undone); ReadOnly never changes the file.
    // The name is always a file's name, never read as a URI. Messages name the file shownAs
    // when given: a temporary file stands for the file the user named.
    enum class Access { Create, Existing, ReadOnly };
    explicit Database(const std::filesystem::path& path, Access access = Access::Create,
                      const std::filesystem::path& shownAs = {});
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Runs statements without values (schema text, pragmas); several may be separated by ";".
    void Exec(std::string_view sql);
    // Runs one statement with bound values.
    void Exec(std::string_view sql, const Params& params);

    // The number of rows the last statement changed.
    long long Changes() const;
    // How long a statement waits for another program's write lock (kBusyTimeout from the start).
    void SetBusyTimeout(std::chrono::milliseconds wait);
    // Puts the connection under a watch (not owned; nullptr for none): a stop ends the running
    // statement, and another program's lock is waited for without the busy timeout, for as long
    // as it is held or until the watch stops the wait.
    void SetWatch(ConnectionWatch* watch);
    ConnectionWatch* Watch() const { return watch_; }

    sqlite3* Handle() const { return db_; }
    const std::filesystem::path& Path() const { return path_; }

    // Raises the engine's last error on this connection (see EngineError); sql is the statement
    // that failed, shown only for a faulty statement.
    [[noreturn]] void Fail(int rc, std::string_view sql = {}) const;

  private:
    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    std::filesystem::path shownAs_;
    ConnectionWatch* watch_ = nullptr;
};

// Sets a numeric pragma (cache_size) for its lifetime and puts the connection's own
// value back afterwards: for a pragma that reads back as it is set.
class ScopedPragma {
  public:
    ScopedPragma(Database& db, std::string name, long long value);
    ScopedPragma(const ScopedPragma&) = delete;
    ScopedPragma& operator=(const ScopedPragma&) = delete;
    ~ScopedPragma();

  private:
    Database& db_;
    std::string name_;
    long long previous_ = 0;
};

// Begins in its constructor, rolls back in its destructor unless Commit() was called. It takes
// the write lock at once, so a database that another program is writing is waited for (the busy
// timeout) instead of failing when a read inside the transaction would have to become a write.
class Transaction {
  public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void Commit();

  private:
    Database& db_;
    bool done_ = false;
};

// Reads from one snapshot: begins a transaction and its read at once, and ends it when it goes.
// Every statement after it, and a second connection's read begun beside it (ReadAlongside), see
// the state of that moment; many statements in a row share one lock instead of taking and
// checking it again each.
class ReadTransaction {
  public:
    explicit ReadTransaction(Database& db);
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    ~ReadTransaction();

  private:
    void End();

    Database& db_;
    bool began_;
};

// A read that passes over much of the directory once (the summaries): one snapshot, and a small
// page cache, since pages kept after their one read would only be memory held. The engine's
// sorter keeps to the same size and spills the rest to its temporary file.
class OnePassRead {
  public:
    explicit OnePassRead(Database& db) : snapshot_(db), cache_(db, "cache_size", kCacheKiB) {}

  private:
    // Negative: KiB rather than pages.
    static constexpr long long kCacheKiB = -2048;
    ReadTransaction snapshot_;
    ScopedPragma cache_;
};

}  // namespace mlk
