// mlk update JIGID --FIELD VALUE...: changes an own entry as the editors' update modes do.
#include <ostream>

#include "EntryOptions.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunUpdate(CommandContext& context) {
    if (context.options.empty())
        throw UsageError("请给出要修改的项目，如 --jigmc 名称");
    TMainDM& dm = context.Dm();
    const GGJG entry = LoadOwnEntry(dm, context.positional[0]);
    EntryNotes notes;
    UpdateOwnEntry(dm, entry, EntryValuesOf(context, entry.JieDLB == "0"), &notes);
    context.out << "已修改：" << entry.JiGID << "\n";
    PrintNotes(context.err, notes);
    return kExitDone;
}

const Registrar registrar({.name = "update",
                           .arguments = "机构ID",
                           .summary = "修改本单位录入、尚未通过核查的机构",
                           .options = EntryFieldOptions(),
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunUpdate,
                           .details = kEntryFieldsHelp});

}  // namespace
}  // namespace mlk::cli
