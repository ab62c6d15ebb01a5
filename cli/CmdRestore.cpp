// mlk restore FILE [--yes] [--other-unit] [--no-backup]: puts a backup in the database's place,
// checked first as the window 恢复数据库 checks it; without --yes it only tells what it would do.
#include <ostream>

#include "Command.h"
#include "SafetyCopyOption.h"
#include "base/MlkError.h"
#include "model/Maintenance.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

CheckedBackup CheckBackup(CommandContext& context) {
    StderrProgress progress(context.err, "检查备份");
    return CheckedBackup(context.Dm(), PathFromText(context.positional[0]), progress);
}

// Each step on a progress line of its own, as the window's one bar runs through them.
int RunRestore(CommandContext& context) {
    TMainDM& dm = context.Dm();
    const SafetyCopy copy = SafetyCopyOf(context);
    CheckedBackup backup = CheckBackup(context);
    if (const auto& warning = backup.OtherUnitWarning(); warning && !context.Has("other-unit"))
        throw MlkError(*warning + "\n确认恢复另一单位的备份请加 --other-unit。");
    if (!context.Has("yes"))
        throw MlkError(backup.Question(copy) + "\n确认恢复请加 --yes。");
    if (copy == SafetyCopy::Keep) {
        StderrProgress progress(context.err, "安全副本");
        ProgressStage whole(progress, 0, 1);  // shown in thousandths, as the restore is
        KeepSafetyCopy(dm.Db(), kRestoreOperation, whole);
        progress.Finish();
    }
    StderrProgress progress(context.err, "恢复");
    RestoreDatabase(dm, backup, SafetyCopy::Skip, progress);
    progress.Finish();
    context.out << RestoredMessage(dm.Db().Path(), copy) << "\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "restore",
     .arguments = "备份文件",
     .summary = "用备份文件恢复数据库",
     .options = {{"yes", nullptr, "确认恢复；不加时只检查备份并说明将做什么", false},
                 {"other-unit", nullptr, "备份属于另一单位时仍然恢复", false},
                 kNoBackupOption},
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunRestore,
     .details = "先检查备份：是完好的名录库数据库文件，有本程序的表和注册的操作单位。\n"
                "恢复前，当前的数据库先复制到数据库旁的“备份”文件夹（保留最近 10 份）。",
     .needs = Needs::kDatabase});

}  // namespace
}  // namespace mlk::cli
