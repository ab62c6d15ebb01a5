// mlk remove-import --pending JIGID [--yes] [--no-backup]: removes what was imported under a
// pending institution, after a safety copy; without --yes it only tells what it would remove.
#include <ostream>

#include "Command.h"
#include "PendingOption.h"
#include "SafetyCopyOption.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunRemoveImport(CommandContext& context) {
    TMainDM& dm = context.Dm();
    const DaiDRJG pending = PendingOfOption(dm, context);
    if (!context.Has("yes")) {
        throw MlkError("将删除" + pending.JiGMC + "下已导入的" +
                       std::to_string(ImportedRowCount(dm, pending)) +
                       "条机构信息；确认删除请加 --yes。");
    }
    StderrProgress progress(context.err, "安全副本");
    const long long removed = RemoveImport(dm, pending, SafetyCopyOf(context), progress);
    context.out << "已删除" << removed << "条导入的机构信息数据。\n"
                << SafetyCopyNote(context, "删除");
    return kExitDone;
}

const Registrar registrar({.name = "remove-import",
                           .arguments = "",
                           .summary = "删除在待导入机构下导入的数据",
                           .options = {kPendingOption,
                                       {"yes", nullptr,
                                        "确认删除；不加时只显示将删除多少条，不删除", false},
                                       kNoBackupOption},
                           .run = RunRemoveImport});

}  // namespace
}  // namespace mlk::cli
