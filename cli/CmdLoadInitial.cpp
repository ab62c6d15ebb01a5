// mlk load-initial FILE: loads an initial-data file into the table the selection reads.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "entry/InitialData.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

int RunLoadInitial(CommandContext& context) {
    TMainDM& dm = context.Dm();
    StderrProgress progress(context.err, "导入初始数据");
    const InitialLoadResult result =
        LoadInitialData(dm, PathFromText(context.positional[0]), &progress);
    if (result.lines == 0) {
        context.out << "文件中没有数据。\n";
        return 0;
    }
    context.out << InitialLoadMessage(result) << "\n";
    return 0;
}

const Registrar registrar({.name = "load-initial",
                           .arguments = "文件",
                           .summary = "导入初始数据文件（GBK或UTF-8，每行13项，以逗号分隔）",
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunLoadInitial});

}  // namespace
}  // namespace mlk::cli
