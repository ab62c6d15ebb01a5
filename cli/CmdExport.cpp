// mlk export FILE: writes the whole directory to an exchange file for the level above.
#include <ostream>

#include "Command.h"
#include "exchange/Export.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

int RunExport(CommandContext& context) {
    // The export refuses an unconfirmed or empty directory itself, counting once.
    StderrProgress progress(context.err, "导出");
    const long long rows =
        ExportDirectory(context.Dm(), PathFromText(context.positional[0]), progress);
    context.out << ExportDoneMessage(rows) << "\n";
    return 0;
}

const Registrar registrar({.name = "export",
                           .arguments = "文件",
                           .summary = "导出全部机构数据到上报文件（全部机构通过核查后）",
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunExport});

}  // namespace
}  // namespace mlk::cli
