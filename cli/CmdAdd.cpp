// mlk add department|agency|institution --FIELD VALUE...: enters a new own entry as the entry
// windows' insert modes do, and prints its JiGID.
#include <ostream>

#include "EntryOptions.h"
#include "entry/EditorMode.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int InsertModeOf(const std::string& kind) {
    if (kind == "department")
        return mode::kInsertSameLevel;
    if (kind == "agency")
        return mode::kInsertAgency;
    if (kind == "institution")
        return mode::kInsertSubordinate;
    throw UsageError("未知的机构种类：" + kind + "（department、agency 或 institution）");
}

int RunAdd(CommandContext& context) {
    const int insertMode = InsertModeOf(context.positional[0]);
    const EntryValues values = EntryValuesOf(context, insertMode == mode::kInsertAgency);
    TMainDM& dm = context.Dm();
    EntryNotes notes;
    context.out << AddEntry(dm, insertMode, values, &notes).JiGID << "\n";
    PrintNotes(context.err, notes);
    return kExitDone;
}

const Registrar registrar(
    {.name = "add",
     .arguments = "department|agency|institution",
     .summary = "录入同级主管部门、下级管理机构或下属公共机构，输出新机构的机构ID",
     .options = EntryFieldOptions(),
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunAdd,
     .details = std::string("department 同级主管部门、agency 下级管理机构：由节能管理机构录入；\n"
                            "institution 下属公共机构：由主管部门录入。\n") +
                kEntryFieldsHelp});

}  // namespace
}  // namespace mlk::cli
