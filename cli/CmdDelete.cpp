// mlk delete JIGID --yes: deletes an own entry as the editors' delete mode does.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "entry/EntryList.h"
#include "entry/OwnEntries.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunDelete(CommandContext& context) {
    TMainDM& dm = context.Dm();
    const GGJG entry = LoadOwnEntry(dm, context.positional[0]);
    if (const auto refusal = ConfirmedRefusal(ListAction::Delete, entry.QueRZT))
        throw MlkError(*refusal);
    // The window asks before it deletes; --yes is the answer given in advance.
    if (!context.Has("yes")) {
        throw MlkError("从名录库汇总删除机构信息，删除后不能恢复！要删除 " + entry.JiGID + " " +
                       entry.JiGMC + "，请加 --yes。");
    }
    DeleteOwnEntry(dm, entry);
    context.out << "已删除：" << entry.JiGID << "\t" << entry.JiGMC << "\n";
    return kExitDone;
}

const Registrar registrar({.name = "delete",
                           .arguments = "机构ID",
                           .summary = "删除本单位录入、尚未通过核查的机构",
                           .options = {{"yes", nullptr, "确认删除（删除后不能恢复）"}},
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunDelete});

}  // namespace
}  // namespace mlk::cli
