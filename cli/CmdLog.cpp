// mlk log imports|audits: the import log or the audit log, oldest first.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

struct LogTable {
    const char* name;
    const char* header;
    const char* sql;
};

constexpr LogTable kLogs[] = {
    {"imports", "ID\t单位ID\t单位名称\t节点类别\t导入数量\t导入时间\t导入人",
     "select ID,DanWID,DanWMC,JieDLB,DaoRSL,DaoRSJ,DaoRRXM from MLK_DaoRRZ order by DaoRSJ, rowid"},
    {"audits", "ID\t单位ID\t单位名称\t节点类别\t审核时间\t审核人",
     "select ID,DanWID,DanWMC,JieDLB,ShenHSJ,ShenHRXM from MLK_ShenHRZ order by ShenHSJ, rowid"},
};

int RunLog(CommandContext& context) {
    const std::string& which = context.positional[0];
    for (const LogTable& log : kLogs) {
        if (which != log.name)
            continue;
        TMainDM& dm = context.Dm();
        context.out << log.header << "\n";
        dm.ForEachRow(log.sql, {}, [&](const Statement& row) {
            for (int i = 0; i < row.ColumnCount(); ++i) {
                context.out << (i ? "\t" : "") << row.Text(i);
            }
            context.out << "\n";
        });
        return 0;
    }
    throw UsageError("未知的日志：" + which + "（imports 或 audits）");
}

const Registrar registrar({.name = "log",
                           .arguments = "imports|audits",
                           .summary = "显示导入日志或审核日志，早的在前",
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunLog});

}  // namespace
}  // namespace mlk::cli
