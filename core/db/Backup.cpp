#include "db/Backup.h"

#include <sqlite3.h>

#include <system_error>

#include "db/EngineError.h"
#include "db/Integrity.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

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

// A database file's companions, which the engine would take as belonging to whatever file
// comes to stand under that name.
void RefuseLeftJournal(const std::filesystem::path& target) {
    std::error_code error;
    for (const char* suffix : {"-journal", "-wal"}) {
        std::filesystem::path companion = target;
        companion += suffix;
        if (std::filesystem::exists(companion, error)) {
            throw MlkError("文件 " + PathText(target) + " 旁边有 " + PathText(companion) +
                           "（一次被中断的数据库写入），备份不能放在这里：请换一个文件名。");
        }
    }
}

// One run of the engine's online backup. Finished however it ends: a run left before its end
// takes back what it wrote into the destination.
class PageCopy {
  public:
    PageCopy(Database& source, Database& destination)
        : run_(sqlite3_backup_init(destination.Handle(), "main", source.Handle(), "main")) {
        if (!run_) {
            throw EngineError(sqlite3_errcode(destination.Handle()), destination.Path(),
                              sqlite3_errmsg(destination.Handle()));
        }
    }
    ~PageCopy() { sqlite3_backup_finish(run_); }
    PageCopy(const PageCopy&) = delete;
    PageCopy& operator=(const PageCopy&) = delete;

    // Copies a step's pages; SQLITE_OK while pages are left. Progress is told only then, so a
    // stop it raises always comes before the copy is complete.
    int Step(Progress& progress) {
        const int rc = sqlite3_backup_step(run_, kPagesPerStep);
        if (rc == SQLITE_OK) {
            const int total = sqlite3_backup_pagecount(run_);
            progress.SetRange(total);
            progress.SetPosition(total - sqlite3_backup_remaining(run_));
        }
        return rc;
    }

  private:
    sqlite3_backup* run_;
};

void CopyPages(Database& source, const std::filesystem::path& copyName,
               const std::filesystem::path& target, Progress& progress, std::stop_token stop) {
    Database copy(copyName, Database::Access::Existing, target);
    // The copy is thrown away whole when anything fails, so it needs no journal of its own:
    // nothing is left beside it by a kill.
    copy.Exec("pragma journal_mode = off");
    copy.Exec("pragma synchronous = off");
    int rc = SQLITE_OK;
    {
        PageCopy pages(source, copy);
        while (rc == SQLITE_OK && !stop.stop_requested())
            rc = pages.Step(progress);
    }  // the step's error stays on the copy's connection
    if (rc == SQLITE_OK)
        throw MlkError("备份已取消，文件 " + PathText(target) + " 没有改变。");
    if (rc != SQLITE_DONE) {
        throw EngineError(rc, IsWriteFailure(rc) ? target : source.Path(),
                          sqlite3_errmsg(copy.Handle()));
    }
}

// The pages come over as they are, so a damaged page of the database is a damaged page of the
// copy; only when the database itself checks sound was the copy spoilt on its way to the disk.
void RequireSoundCopy(Database& source, const std::filesystem::path& copyName,
                      const std::filesystem::path& target) {
    Database copy(copyName, Database::Access::ReadOnly, target);
    if (CheckDatabase(copy, CheckDepth::Quick).empty())
        return;
    RequireUndamaged(source);
    throw MlkError("写入的备份文件 " + PathText(target) +
                   " 检查不通过（磁盘故障？），没有保存：请换一个磁盘或文件夹再试。");
}

}  // namespace

void BackupDatabase(Database& source, const std::filesystem::path& target, Progress& progress,
                    std::stop_token stop) {
    std::error_code error;
    if (std::filesystem::equivalent(source.Path(), target, error))
        throw MlkError("备份文件不能是数据库文件 " + PathText(source.Path()) + " 本身。");
    RefuseLeftJournal(platform::FinalTarget(target));
    ReplacingFile out(target);
    const std::filesystem::path& copyName = out.HandOver();
    CopyPages(source, copyName, target, progress, stop);
    RequireSoundCopy(source, copyName, target);
    out.Commit();
}

void CopyDatabaseInto(Database& source, Database& target, Progress& progress) {
    int rc = SQLITE_OK;
    {
        PageCopy pages(source, target);
        while (rc == SQLITE_OK)
            rc = pages.Step(progress);
    }
    if (rc != SQLITE_DONE) {
        throw EngineError(rc, IsWriteFailure(rc) ? target.Path() : source.Path(),
                          sqlite3_errmsg(target.Handle()));
    }
}

}  // namespace mlk
