// mlk remove-initial: removes every loaded initial-data row, so that a new file can be loaded.
#include <ostream>

#include "Command.h"
#include "entry/InitialData.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunRemoveInitial(CommandContext& context) {
    TMainDM& dm = context.Dm();
    RemoveInitialData(dm);
    context.out << kRemovedMessage << "\n";
    return 0;
}

const Registrar registrar({.name = "remove-initial",
                           .arguments = "",
                           .summary = "删除已导入的初始数据（名录库不受影响）",
                           .run = RunRemoveInitial});

}  // namespace
}  // namespace mlk::cli
