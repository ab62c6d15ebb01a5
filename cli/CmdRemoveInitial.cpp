// mlk remove-initial [--no-backup]: removes every loaded initial-data row, so that a new file can
// be loaded; a safety copy first.
#include <ostream>

#include "Command.h"
#include "SafetyCopyOption.h"
#include "entry/InitialData.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunRemoveInitial(CommandContext& context) {
    TMainDM& dm = context.Dm();
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
                           .options = {kNoBackupOption},
                           .run = RunRemoveInitial});

}  // namespace
}  // namespace mlk::cli
