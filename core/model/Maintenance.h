#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "db/SafetyCopy.h"
#include "db/Sqlite.h"

namespace mlk {

struct CaoZDWXX;
class TMainDM;

// Backing up, checking and restoring the database, as the 数据维护 menu and mlk do them.

// The name a backup is proposed under: the unit's node name (or the program's file name before
// registration) and the time, "东城区节能办-20261207-103512.DB".
std::string BackupFileName(const CaoZDWXX& unit);

// What the check found, in words a clerk understands: sound, or damaged with what to do and the
// engine's first findings for support staff.
std::string CheckReport(const std::filesystem::path& database,
                        const std::vector<std::string>& findings);

// A backup chosen to replace the database, opened read-only and checked before anything
// changes: not the database itself, a database file, undamaged, with the program's tables, made
// by this build or an older one, and holding a registered operating unit. A file that fails
// raises an MlkError naming the reason.
class CheckedBackup {
  public:
    CheckedBackup(TMainDM& dm, const std::filesystem::path& file, Progress& progress);

    // The warning when the backup belongs to another unit than the one registered now; nothing
    // when the units are one or none is registered yet.
    const std::optional<std::string>& OtherUnitWarning() const { return otherUnit_; }
    // The question before the restore, naming the backup's unit and its entries.
    std::string Question(SafetyCopy copy) const;

    Database& Db() { return db_; }

  private:
    Database db_;
    std::string unitName_;
    long long entries_ = 0;
    std::optional<std::string> otherUnit_;
};

inline constexpr const char* kRestoreOperation = "恢复数据库";

// Keeps a safety copy (unless skipped), then writes the backup's pages over the database in one
// write of the engine, which a failure, a stop or the end of the process leaves undone, and reads
// the database anew (TMainDM::Reload); another connection to the file must be reloaded as well.
// Progress runs once from empty to full over the copy and the restore.
void RestoreDatabase(TMainDM& dm, CheckedBackup& backup, SafetyCopy copy, Progress& progress);

// What the clerk is told after a restore: where the database as it was went.
std::string RestoredMessage(const std::filesystem::path& database, SafetyCopy copy);

}  // namespace mlk
