// mlk import --pending JIGID FILE: imports a subordinate unit's exchange file under its pending
// institution.
#include <ostream>

#include "Command.h"
#include "PendingOption.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

int RunImport(CommandContext& context) {
    TMainDM dm(context.db);
    const DaiDRJG pending = PendingOfOption(dm, context);
    if (const CheckResult refusal = CheckImport(pending))
        throw MlkError(refusal->message);
    StderrProgress progress(context.err, "导入");
    const long long rows =
        ImportExchangeFile(dm, pending, PathFromText(context.positional[0]), progress);
    if (rows == 0) {
        context.out << "文件中没有机构数据，未导入。\n";
    } else {
        context.out << ImportDoneMessage(rows) << "\n";
    }
    return 0;
}

const Registrar registrar({.name = "import",
                           .arguments = "文件",
                           .summary = "在待导入机构下导入下级单位的上报文件",
                           .options = {kPendingOption},
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunImport});

}  // namespace
}  // namespace mlk::cli
