// mlk summary: one of the four summary tables, as tab-separated text or as an .xls file.
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "data/Text.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/TypeSummary.h"

namespace mlk::cli {
namespace {

SummaryTable BuildTable(TMainDM& dm, const CommandContext& context) {
    const std::string kind = context.positional.empty() ? "" : context.positional[0];
    if (kind == "directory")
        return DirectorySummary(dm);
    if (kind == "counts")
        return CountSummary(dm);
    if (kind == "state-organs")
        return StateOrganSummary(dm);
    if (kind == "types")
        return TypeSummary(dm, context.Option("type2"), context.Option("type3"));
    throw MlkError("请指明汇总表：directory、counts、state-organs 或 types");
}

void PrintTable(std::ostream& out, const SummaryTable& table) {
    out << Join(table.Captions(), "\t") << "\n";
    for (const std::vector<std::string>& row : table.rows)
        out << Join(row, "\t") << "\n";
}

int RunSummary(CommandContext& context) {
    TMainDM dm(context.db);
    const SummaryTable table = BuildTable(dm, context);
    if (!context.Has("xls")) {
        PrintTable(context.out, table);
        return 0;
    }
    const std::string file = context.Required("xls");
    SaveSummaryToXls(file, table);
    context.out << "已导出" << table.rows.size() << "行：" << file << "\n";
    return 0;
}

const Registrar registrar("summary",
                          "directory|counts|state-organs|types [--type2 代码] [--type3 代码] "
                          "[--xls 文件]  汇总表",
                          RunSummary);

}  // namespace
}  // namespace mlk::cli
