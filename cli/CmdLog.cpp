// mlk log imports|audits [--unit TEXT] [--from DAY] [--to DAY]: the import log or the audit log,
// oldest first, with the columns and filters of the log windows.
#include <ostream>

#include "Command.h"
#include "model/TMainDM.h"
#include "reports/LogList.h"

namespace mlk::cli {
namespace {

int RunLog(CommandContext& context) {
    const std::string& which = context.positional[0];
    if (which != "imports" && which != "audits")
        throw UsageError("未知的日志：" + which + "（imports 或 audits）");
    const LogFilter filter{context.Option("unit"), context.Option("from"), context.Option("to")};
    CheckLogFilter(filter);
    TMainDM& dm = context.Dm();
    const SummaryTable table = LogTable(dm, which == "imports" ? LogKind::Imports : LogKind::Audits,
                                        filter, LogOrder::OldestFirst);
    const std::vector<std::string> captions = table.Captions();
    for (std::size_t i = 0; i < captions.size(); ++i)
        context.out << (i ? "\t" : "") << captions[i];
    context.out << "\n";
    for (const TextRows::Row row : table.rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            context.out << (i ? "\t" : "") << row[i];
        context.out << "\n";
    }
    return kExitDone;
}

const Registrar registrar({.name = "log",
                           .arguments = "imports|audits",
                           .summary = "显示导入日志或审核日志，早的在前",
                           .options = {{"unit", "文本", "单位名称包含该文本"},
                                       {"from", "日期", "不早于该日（年-月-日，如 2024-05-06）"},
                                       {"to", "日期", "不晚于该日（年-月-日）"}},
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunLog,
                           .details = "输出以制表符分隔，第一行是列名，与窗口“导入日志查询”"
                                      "“审核日志查询”的列相同。"});

}  // namespace
}  // namespace mlk::cli
