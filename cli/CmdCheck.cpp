// mlk check: the engine's full check of the database file; prints "ok" or what it found.
#include <ostream>

#include "Command.h"
#include "db/EngineError.h"
#include "db/Integrity.h"
#include "db/Sqlite.h"

namespace mlk::cli {
namespace {

int RunCheck(CommandContext& context) {
    // Not through the data module: the check changes nothing, not even a schema that an older
    // build left. Only a write that a kill interrupted is undone, as any opening does.
    context.RequireDatabaseFile();
    Database db(context.db, Database::Access::Existing);
    const std::vector<std::string> findings = CheckDatabase(db, CheckDepth::Full);
    if (findings.empty()) {
        context.out << "ok\n";
        return kExitDone;
    }
    for (const std::string& finding : findings)
        context.out << finding << "\n";
    context.err << DamagedMessage(context.db) << "\n";
    return kExitRefused;
}

const Registrar registrar(
    {.name = "check",
     .arguments = "",
     .summary = "检查数据库文件是否完好",
     .run = RunCheck,
     .details = "完好时输出 ok；否则逐行输出发现的问题，退出码为 1，请从备份恢复数据库文件。\n"
                "检查只读取数据库文件，不作任何修改；上次被中断的写入（旁边留有 -journal 文件）"
                "会先撤销。",
     .needs = Needs::kDatabaseFile});

}  // namespace
}  // namespace mlk::cli
