// mlk init: creates the database, or completes one that lacks tables or reference rows.
#include <ostream>

#include "Command.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

int RunInit(CommandContext& context) {
    context.Dm();
    context.out << "数据库已就绪：" << PathText(context.db) << "\n";
    return 0;
}

const Registrar registrar({.name = "init",
                           .arguments = "",
                           .summary = "创建数据库，或补全缺少的表和基础数据",
                           .run = RunInit,
                           .needs = Needs::kNewDatabase});

}  // namespace
}  // namespace mlk::cli
