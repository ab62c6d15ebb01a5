// mlk list: prints the operating unit's own entries of one kind, as the list windows show them,
// one tab-separated row per entry after a row of column titles.
#include <ostream>

#include "Command.h"
#include "data/ColumnDefs.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "entry/EntryList.h"

namespace mlk::cli {
namespace {

EntryListKind KindOf(const std::string& name) {
    if (name == "departments")
        return EntryListKind::SameLevelDepartments;
    if (name == "agencies")
        return EntryListKind::Agencies;
    if (name == "institutions")
        return EntryListKind::SubordinateInstitutions;
    throw MlkError("未知的名录种类：" + name + "（departments、agencies 或 institutions）");
}

std::optional<std::string> CodeOption(const CommandContext& context, const std::string& name) {
    if (!context.Has(name))
        return std::nullopt;
    return context.Option(name);
}

// Tabs and line breaks inside a value would break the row apart.
std::string Cell(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

int RunList(CommandContext& context) {
    if (context.positional.size() != 1)
        throw MlkError("用法：mlk list departments|agencies|institutions");
    const EntryListKind kind = KindOf(context.positional[0]);
    TMainDM dm(context.db);
    if (!dm.Unit().ZhuCeBZ)
        throw MlkError("尚未注册操作单位");

    EntryFilters filters;
    filters.name = context.Option("name");
    filters.gengXZT = CodeOption(context, "update-state");
    filters.queRZT = CodeOption(context, "confirm-state");
    filters.xingZJB = CodeOption(context, "level");
    filters.jiGLX = CodeOption(context, "type");
    filters.caiZJFSY = CodeOption(context, "finance");
    const ListQueryBuilder query = EntryListQuery(kind, dm.Unit().DanWID, filters);

    long long pageSize = query.Count(dm.Db());
    long long page = 1;
    if (context.Has("page") || context.Has("page-size")) {
        pageSize = ParsePageSize(context.Option("page-size")).size;
        page = ParseCurrentPage(context.Option("page"));
    }

    const std::vector<ColumnDef> columns = ParseColumnDefs(EntryColumnDescriptions(kind));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        context.out << (i ? "\t" : "") << columns[i].title;
    }
    context.out << "\n";
    Statement rows = query.PageStatement(dm.Db(), std::max(pageSize, 1LL), page);
    for (long long number = 1; rows.Step(); ++number) {
        context.out << number;
        for (const std::string& cell : EntryCells(kind, rows, dm.Codes())) {
            context.out << "\t" << Cell(cell);
        }
        context.out << "\n";
    }
    return 0;
}

const Registrar registrar(
    "list",
    "departments|agencies|institutions [--name 文本] [--update-state 代码] [--confirm-state 代码]"
    " [--level 代码] [--type 代码] [--finance 代码] [--page N --page-size N]  列出本单位的录入数据",
    RunList);

}  // namespace
}  // namespace mlk::cli
