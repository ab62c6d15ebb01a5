#include "ui/app/Maintenance.h"

#include <optional>

#include "db/Backup.h"
#include "db/Integrity.h"
#include "db/Sqlite.h"
#include "model/Maintenance.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "ui/app/Dialogs.h"
#include "ui/app/LongWork.h"

namespace mlk::ui {

namespace {

constexpr FileKind kDatabaseFile{"名录库数据库文件 (*.DB)", ".DB"};

QString Folder(const std::filesystem::path& folder) {
    return Q(PathText(folder.empty() ? std::filesystem::current_path() : folder));
}

}  // namespace

void BackupDatabaseClick(QWidget* parent, TMainDM& dm) {
    const std::filesystem::path proposed =
        dm.Db().Path().parent_path() / PathFromText(BackupFileName(dm.Unit()));
    const QString file =
        AskSaveFile(parent, QStringLiteral("备份数据库"), Q(PathText(proposed)), {kDatabaseFile});
    if (file.isEmpty())
        return;
    if (!LongWork(parent, QStringLiteral("正在备份数据库…"))
             .Run(dm, [&](TMainDM& own, Progress& progress) {
                 BackupDatabase(own.Db(), PathFromText(S(file)), progress);
             }))
        return;
    dialogs().Message(parent, QStringLiteral("数据库已备份到 ") + file);
}

void CheckDatabaseClick(QWidget* parent, TMainDM& dm) {
    const std::filesystem::path database = dm.Db().Path();
    std::vector<std::string> findings;
    // The work's connection is new: it reads the file as it is on the disk, not the pages the
    // program holds in memory, and waits for another program's lock under 取消.
    if (!LongWork(parent, QStringLiteral("正在检查数据库…"))
             .Run(dm, [&](TMainDM& own, Progress& progress) {
                 findings = CheckDatabase(own.Db(), CheckDepth::Full, progress);
             }))
        return;
    dialogs().Message(parent, Q(CheckReport(database, findings)));
}

bool RestoreDatabaseClick(QWidget* parent, TMainDM& dm) {
    const std::filesystem::path safetyFolder = SafetyCopyFolder(dm.Db().Path());
    std::error_code error;
    const QString file = dialogs().OpenFile(
        parent, QStringLiteral("选择备份文件"),
        Folder(std::filesystem::is_directory(safetyFolder, error) ? safetyFolder
                                                                  : safetyFolder.parent_path()),
        QStringLiteral("名录库数据库文件 (*.DB);;所有文件 (*)"));
    if (file.isEmpty())
        return false;
    std::optional<CheckedBackup> backup;
    if (!LongWork(parent, QStringLiteral("正在检查备份文件…"))
             .Run(dm, [&](TMainDM& own, Progress& progress) {
                 backup.emplace(own, PathFromText(S(file)), progress);
             }))
        return false;
    if (const auto& warning = backup->OtherUnitWarning()) {
        if (!dialogs().Confirm(parent, QStringLiteral("是否确认"), Q(*warning + "\n仍然恢复吗？"),
                               Dialogs::Answer::Cancel))
            return false;
    }
    if (!dialogs().Confirm(parent, QStringLiteral("是否确认"),
                           Q(backup->Question(SafetyCopy::Keep)), Dialogs::Answer::Cancel))
        return false;
    if (!LongWork(parent, QStringLiteral("正在保存当前数据库的安全副本并恢复…"))
             .Run(dm, [&](TMainDM& own, Progress& progress) {
                 RestoreDatabase(own, *backup, SafetyCopy::Keep, progress);
             }))
        return false;
    dm.Reload();
    dialogs().Message(parent, Q(RestoredMessage(dm.Db().Path(), SafetyCopy::Keep)));
    return true;
}

}  // namespace mlk::ui
