// mlk summary: one of the four summary tables, as tab-separated text or as an .xls or .xlsx file.
#include <ostream>

#include "Command.h"
#include "model/TMainDM.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/TypeSummary.h"
#include "text/Text.h"

namespace mlk::cli {
namespace {

SummaryTable BuildTable(TMainDM& dm, const std::string& kind, const CommandContext& context) {
    if (kind == "directory")
        return DirectorySummary(dm);
    if (kind == "counts")
        return CountSummary(dm);
    if (kind == "state-organs")
        return StateOrganSummary(dm);
    return TypeSummary(dm, context.Option("type2"), context.Option("type3"));
}

void PrintTable(std::ostream& out, const SummaryTable& table) {
    out << Join(table.Captions(), "\t") << "\n";
    for (const TextRows::Row row : table.rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            out << (i ? "\t" : "") << row[i];
        out << "\n";
    }
}

int RunSummary(CommandContext& context) {
    const std::string& kind = context.positional[0];
    if (kind != "directory" && kind != "counts" && kind != "state-organs" && kind != "types")
        throw UsageError("未知的汇总表：" + kind + "（directory、counts、state-organs 或 types）");
    if (kind != "types" && (context.Has("type2") || context.Has("type3")))
        throw UsageError("--type2 和 --type3 只用于 types");
    TMainDM dm(context.db);
    const SummaryTable table = BuildTable(dm, kind, context);
    if (!context.Has("xls")) {
        PrintTable(context.out, table);
        return kExitDone;
    }
    const std::string file = context.Required("xls");
    SaveSummary(file, table);
    context.out << "已导出" << table.rows.size() << "行：" << file << "\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "summary",
     .arguments = "directory|counts|state-organs|types",
     .summary = "显示汇总表（以制表符分隔），或保存为 .xls 或 .xlsx 文件",
     .options = {{"type2", "代码", "types：二级机构类型代码"},
                 {"type3", "代码", "types：三级机构类型代码"},
                 {"xls", "文件",
                  "保存为文件（扩展名 .xlsx 时为 .xlsx 格式，否则为 .xls），不在屏幕上显示"}},
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunSummary,
     .details = "directory 名录库汇总表，counts 公共机构数量汇总表，state-organs "
                "国家机关数量汇总表，types 事业单位数量汇总表。"});

}  // namespace
}  // namespace mlk::cli
