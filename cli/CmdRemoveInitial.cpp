// mlk remove-initial [--yes] [--no-backup]: removes every loaded initial-data row, so that a new
// file can be loaded; a safety copy first. Without --yes it only tells what it would remove.
#include <ostream>

#include "Command.h"
#include "SafetyCopyOption.h"
#include "base/MlkError.h"
#include "entry/InitialData.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunRemoveInitial(CommandContext& context) {
    TMainDM& dm = context.Dm();
    if (!context.Has("yes")) {
        throw MlkError("将删除已导入的" + std::to_string(InitialRowCount(dm)) +
                       "条初始数据（已添加到名录库的机构不受影响）；确认删除请加 --yes。");
    }
    {
        StderrProgress progress(context.err, "安全副本");
        RemoveInitialData(dm, SafetyCopyOf(context), progress);
    }
    context.out << kRemovedMessage << "\n" << SafetyCopyNote(context, "删除");
    return kExitDone;
}

const Registrar registrar({.name = "remove-initial",
                           .arguments = "",
                           .summary = "删除已导入的初始数据（名录库不受影响）",
                           .options = {{"yes", nullptr,
                                        "确认删除；不加时只显示将删除多少条，不删除", false},
                                       kNoBackupOption},
                           .run = RunRemoveInitial});

}  // namespace
}  // namespace mlk::cli
