#include "db/Sqlite.h"

#include <sqlite3.h>

#include <cstring>

#include "base/MlkError.h"
#include "db/EngineError.h"
#include "platform/Platform.h"

namespace mlk {

namespace {

bool SameName(std::string_view a, const char* b) {
    const std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

// ---- Database ----------------------------------------------------------------------------

Database::Database(const std::filesystem::path& path, Access access,
                   const std::filesystem::path& shownAs)
    : path_(path), shownAs_(shownAs.empty() ? path : shownAs) {
    std::string name = PathText(path);
    if (name.empty())
        throw MlkError("没有给出数据库文件名。");
    // The engine would read "file:..." as a URI (Debian's build reads them always).
    if (name.starts_with("file:"))
        name = "./" + name;
    // A connection is used by one thread only: no locking around every call into the engine.
    const int flags = (access == Access::ReadOnly   ? SQLITE_OPEN_READONLY
                       : access == Access::Existing ? SQLITE_OPEN_READWRITE
                                                    : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EngineError(rc, shownAs_, message);
    }
    sqlite3_extended_result_codes(db_, 1);
    SetBusyTimeout(kBusyTimeout);
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

void Database::Fail(int rc, std::string_view sql) const {
    throw EngineError(rc, shownAs_, sqlite3_errmsg(db_), sql);
}

void Database::Exec(std::string_view sql) {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw EngineError(rc, shownAs_, message, sql);
    }
}

void Database::Exec(std::string_view sql, const Params& params) {
    Statement statement(*this, sql);
    statement.BindAll(params).Run();
}

long long Database::Changes() const {
    return sqlite3_changes64(db_);
}

void Database::SetBusyTimeout(std::chrono::milliseconds wait) {
    sqlite3_busy_timeout(db_, int(wait.count()));
}

void Database::SetWatch(ConnectionWatch* watch) {
    watch_ = watch;
    if (!watch) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        SetBusyTimeout(kBusyTimeout);
        return;
    }
    // Every few thousand steps of a statement: a statement that runs has the lock it needs.
    sqlite3_progress_handler(
        db_, 4000,
        [](void* w) {
            auto* watch = static_cast<ConnectionWatch*>(w);
            watch->WaitingForLock(false);
            return watch->StopRequested() ? 1 : 0;
        },
        watch);
    sqlite3_busy_handler(
        db_,
        [](void* w, int attempt) {
            auto* watch = static_cast<ConnectionWatch*>(w);
            if (watch->StopRequested())
                return 0;
            if (attempt == 0)
                watch->WaitingForLock(true);
            sqlite3_sleep(20);
            return 1;
        },
        watch);
}

// ---- Statement ---------------------------------------------------------------------------

Statement::Statement(Database& db, std::string_view sql) : db_(&db), sql_(sql) {
    const int rc = sqlite3_prepare_v2(db.Handle(), sql_.data(), int(sql_.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        db.Fail(rc, sql_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), sql_(std::move(other.sql_)) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        sql_ = std::move(other.sql_);
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::Fail(int rc) const {
    // A statement that only reads writes no database: what it could not write are the scratch
    // files where the engine sorts.
    if (((rc & 0xff) == SQLITE_FULL || rc == SQLITE_IOERR_WRITE) && sqlite3_stmt_readonly(stmt_))
        throw TemporaryFolderError(rc, sqlite3_errmsg(db_->Handle()));
    db_->Fail(rc, sql_);
}

Statement& Statement::Bind(int index, std::string_view value) {
    const int rc =
        sqlite3_bind_text(stmt_, index, value.data(), int(value.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        Fail(rc);
    return *this;
}

Statement& Statement::BindUnchanged(int index, std::string_view value) {
    const int rc = sqlite3_bind_text(stmt_, index, value.data(), int(value.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        Fail(rc);
    return *this;
}

Statement& Statement::Bind(int index, long long value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK)
        Fail(rc);
    return *this;
}

Statement& Statement::BindAll(const Params& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        Bind(int(i) + 1, values[i]);
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    Fail(rc);
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::Rewind() {
    sqlite3_reset(stmt_);
}

int Statement::ColumnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::ColumnName(int index) const {
    const char* name = sqlite3_column_name(stmt_, index);
    return name ? name : "";
}

int Statement::ColumnIndex(std::string_view name) const {
    const int n = sqlite3_column_count(stmt_);
    for (int i = 0; i < n; ++i) {
        if (SameName(name, sqlite3_column_name(stmt_, i)))
            return i;
    }
    throw DbError("查询结果中没有字段 " + std::string(name) + "\n" + sql_, 0);
}

std::string Statement::Text(int index) const {
    return std::string(TextView(index));
}

std::string_view Statement::TextView(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    if (!text)
        return {};
    return {text, std::size_t(sqlite3_column_bytes(stmt_, index))};
}

std::string Statement::Text(std::string_view name) const {
    return Text(ColumnIndex(name));
}

long long Statement::Int(int index) const {
    return sqlite3_column_int64(stmt_, index);
}

long long Statement::Int(std::string_view name) const {
    return Int(ColumnIndex(name));
}

bool Statement::IsNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

// ---- ScopedPragma ------------------------------------------------------------------------

ScopedPragma::ScopedPragma(Database& db, std::string name, long long value)
    : db_(db), name_(std::move(name)) {
    Statement query(db_, "pragma " + name_);
    if (query.Step())
        previous_ = query.Int(0);
    db_.Exec("pragma " + name_ + " = " + std::to_string(value));
}

ScopedPragma::~ScopedPragma() {
    sqlite3_exec(db_.Handle(), ("pragma " + name_ + " = " + std::to_string(previous_)).c_str(),
                 nullptr, nullptr, nullptr);
}

// ---- Transaction -------------------------------------------------------------------------

Transaction::Transaction(Database& db) : db_(db) {
    db_.Exec("begin immediate transaction");
}

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(db_.Handle(), "rollback transaction", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Exec("commit transaction");
    done_ = true;
}

// Inside a transaction that someone else began, its snapshot already holds.
ReadTransaction::ReadTransaction(Database& db)
    : db_(db), began_(sqlite3_get_autocommit(db.Handle()) != 0) {
    if (began_)
        db_.Exec("begin deferred transaction");
    try {
        db_.Exec("pragma schema_version");  // the read begins here, at the header
    } catch (...) {
        End();
        throw;
    }
}

ReadTransaction::~ReadTransaction() {
    End();
}

void ReadTransaction::End() {
    if (began_)
        sqlite3_exec(db_.Handle(), "commit transaction", nullptr, nullptr, nullptr);
}

}  // namespace mlk
