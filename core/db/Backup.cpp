#include "db/Backup.h"

#include <sqlite3.h>

#include <system_error>

#include "db/EngineError.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"

namespace mlk {

namespace {

// 16 MB of 4 KB pages: the read lock is let go this often, so that another program's commit
// waits well under its busy timeout.
constexpr int kPagesPerStep = 4096;

// Failures in writing belong to the copy; the rest (damage, a lock) to the database read.
bool IsWriteFailure(int code) {
    switch (code & 0xff) {
        case SQLITE_FULL:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_IOERR:
            return true;
        default:
            return false;
    }
}

void CopyPages(Database& source, const std::filesystem::path& target, Progress& progress) {
    Database copy(target);
    sqlite3_backup* backup = sqlite3_backup_init(copy.Handle(), "main", source.Handle(), "main");
    if (!backup)
        copy.Fail(sqlite3_errcode(copy.Handle()));
    int rc = SQLITE_OK;
    while (rc == SQLITE_OK) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        const int total = sqlite3_backup_pagecount(backup);
        progress.SetRange(total);
        progress.SetPosition(total - sqlite3_backup_remaining(backup));
    }
    sqlite3_backup_finish(backup);  // the step's error stays on the copy's connection
    if (rc != SQLITE_DONE) {
        throw EngineError(rc, IsWriteFailure(rc) ? target : source.Path(),
                          sqlite3_errmsg(copy.Handle()));
    }
}

}  // namespace

void BackupDatabase(Database& source, const std::filesystem::path& target, Progress& progress) {
    std::error_code error;
    if (std::filesystem::equivalent(source.Path(), target, error))
        throw MlkError("备份文件不能是数据库文件 " + PathText(source.Path()) + " 本身。");
    const bool created = !std::filesystem::exists(target, error);
    try {
        CopyPages(source, target, progress);
    } catch (const MlkError&) {
        if (created)
            std::filesystem::remove(target, error);
        throw;
    }
}

}  // namespace mlk
