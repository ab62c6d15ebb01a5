// mlk list: prints the operating unit's own entries of one kind, as the list windows show them,
// one tab-separated row per entry after a row of column titles, then the pager's line.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "entry/EntryList.h"
#include "forms/ColumnDefs.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk::cli {
namespace {

struct ListKind {
    const char* name;
    EntryListKind kind;
    bool withTypes;  // the agencies' list has no type and finance filters
};

constexpr ListKind kKinds[] = {
    {"departments", EntryListKind::SameLevelDepartments, true},
    {"agencies", EntryListKind::Agencies, false},
    {"institutions", EntryListKind::SubordinateInstitutions, true},
};

const ListKind& KindOf(const CommandContext& context) {
    for (const ListKind& kind : kKinds) {
        if (context.positional[0] == kind.name)
            return kind;
    }
    throw UsageError("未知的名录种类：" + context.positional[0] +
                     "（departments、agencies 或 institutions）");
}

// The item a filter box shows once its code is chosen, as the list reads it; none for "--全部--".
std::optional<std::string> CodeFilter(const TMainDM& dm, const CommandContext& context,
                                      const char* option, const char* key, const char* what) {
    const std::string item = dm.Codes().ChooseCode(context.Option(option), key, what);
    if (item == kAllItem)
        return std::nullopt;
    return item;
}

long long PositiveNumber(const CommandContext& context, const char* option, const char* what) {
    long long value = 0;
    if (!ParseInt(Trim(context.Option(option)), value) || value < 1)
        throw UsageError(std::string(what) + "必须是正整数：" + context.Option(option));
    return value;
}

EntryFilters Filters(const TMainDM& dm, const CommandContext& context) {
    EntryFilters filters;
    filters.name = context.Option("name");
    filters.gengXZT = CodeFilter(dm, context, "update-state", "GengXZT", "更新状态");
    filters.queRZT = CodeFilter(dm, context, "confirm-state", "QueRZT", "确认状态");
    filters.xingZJB = CodeFilter(dm, context, "level", "XingZJB", "行政级别");
    filters.jiGLX = CodeFilter(dm, context, "type", "JiGLX", "机构分类");
    filters.caiZJFSY = CodeFilter(dm, context, "finance", "CaiZJFSY", "财政经费保障方式");
    return filters;
}

int RunList(CommandContext& context) {
    const ListKind& kind = KindOf(context);
    if (!kind.withTypes && (context.Has("type") || context.Has("finance")))
        throw UsageError("agencies 的列表没有 --type 和 --finance 条件");
    const long long requestedPage =
        context.Has("page") ? PositiveNumber(context, "page", "页码") : 1;
    const long long givenPageSize =
        context.Has("page-size") ? PositiveNumber(context, "page-size", "每页条数") : 0;
    TMainDM& dm = context.Dm();
    const ListQueryBuilder query =
        EntryListQuery(kind.kind, dm.Unit().DanWID, Filters(dm, context));

    // Without a page size every row is on the one page.
    const long long count = query.Count(dm.Db());
    const long long pageSize = givenPageSize         ? givenPageSize
                               : context.Has("page") ? kDefaultPageSize
                                                     : std::max(count, 1LL);
    const long long page = PageToShow(requestedPage, PageCount(count, pageSize));

    const std::vector<ColumnDef> columns = ParseColumnDefs(EntryColumnDescriptions(kind.kind));
    for (std::size_t i = 0; i < columns.size(); ++i)
        context.out << (i ? "\t" : "") << columns[i].title;
    context.out << "\n";
    Statement rows = query.PageStatement(dm.Db(), pageSize, page);
    for (long long number = 1; rows.Step(); ++number) {
        context.out << number;
        for (const std::string& cell : EntryCells(kind.kind, rows, dm.Codes()))
            context.out << "\t" << TabSeparatedCell(cell);
        context.out << "\n";
    }
    context.out << "共 " << count << " 条，分 " << PageCount(count, pageSize) << " 页，当前第 "
                << page << " 页\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "list",
     .arguments = "departments|agencies|institutions",
     .summary = "列出本单位录入的同级主管部门、下级管理机构或下属公共机构",
     .options = {{"name", "文本", "机构名称包含该文本"},
                 {"update-state", "代码", "更新状态：0 新增，1 修改，2 删除，3 导入"},
                 {"confirm-state", "代码", "确认状态：0 未确认，1 已确认"},
                 {"level", "代码", "行政级别代码（0 至 8）"},
                 {"type", "代码", "机构分类代码（最末一级，如 8230）；agencies 没有此条件"},
                 {"finance", "代码", "财政经费保障方式：0 全额，1 部分；agencies 没有此条件"},
                 {"page", "N", "只显示第 N 页（每页条数默认 15；超过末页时显示末页）"},
                 {"page-size", "N", "每页条数"}},
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunList,
     .details = "输出以制表符分隔：第一行是列名，最后一行是“共 N 条，分 P 页，当前第 K 页”。\n"
                "不给 --page 和 --page-size 时全部机构在一页。" +
                std::string(kTabSeparatedHelp)});

}  // namespace
}  // namespace mlk::cli
