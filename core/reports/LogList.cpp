#include "reports/LogList.h"

#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

struct LogTableText {
    const char* select;
    const char* from;
    const char* time;  // the column of the entry's time
};

const LogTableText& TextOf(LogKind kind) {
    static const LogTableText imports{"select DaoRSJ,DanWMC,JieDLB,DaoRSL,DaoRRXM ",
                                      " from MLK_DaoRRZ ", "DaoRSJ"};
    static const LogTableText audits{"select ShenHSJ,DanWMC,JieDLB,ShenHRXM ", " from MLK_ShenHRZ ",
                                     "ShenHSJ"};
    return kind == LogKind::Imports ? imports : audits;
}

bool IsDay(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    long long year = 0, month = 0, day = 0;
    for (const std::size_t at : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[at] < '0' || text[at] > '9')
            return false;
    }
    ParseInt(text.substr(0, 4), year);
    ParseInt(text.substr(5, 2), month);
    ParseInt(text.substr(8, 2), day);
    if (month < 1 || month > 12 || day < 1)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

void CheckDay(const std::string& day, const char* what) {
    if (!day.empty() && !IsDay(day))
        throw MlkError(std::string(what) + "应为“年-月-日”（如2024-05-06）：" + day);
}

}  // namespace

void CheckLogFilter(const LogFilter& filter) {
    CheckDay(filter.from, "起始日期");
    CheckDay(filter.to, "截止日期");
    if (!filter.from.empty() && !filter.to.empty() && filter.from > filter.to)
        throw MlkError("起始日期" + filter.from + "晚于截止日期" + filter.to + "。");
}

ListQueryBuilder LogListQuery(LogKind kind, const LogFilter& filter, LogOrder order) {
    const LogTableText& text = TextOf(kind);
    const std::string time = text.time;
    // Entries of one second keep the order they were written in.
    const std::string direction = order == LogOrder::NewestFirst ? " desc" : "";
    ListQueryBuilder query(text.select, text.from, " where 1 = 1 ", {},
                           " order by " + time + direction + ", rowid" + direction + " ");
    if (const std::string name = Trim(filter.unitName); !name.empty())
        query.AddCondition(" AND DanWMC like ?", "%" + name + "%");
    // Times are "yyyy-mm-dd hh:nn:ss": their first ten characters are the day.
    if (!filter.from.empty())
        query.AddCondition(" AND substr(" + time + ", 1, 10) >= ?", filter.from);
    if (!filter.to.empty())
        query.AddCondition(" AND substr(" + time + ", 1, 10) <= ?", filter.to);
    return query;
}

const std::vector<std::string>& LogColumns(LogKind kind) {
    static const std::vector<std::string> imports = {"A0-序号-40",          "DaoRSJ-导入时间-140",
                                                     "DanWMC-单位名称-240", "JieDLB-节点类别-100",
                                                     "DaoRSL-导入数量-70",  "DaoRRXM-导入人-90"};
    static const std::vector<std::string> audits = {"A0-序号-40", "ShenHSJ-审核时间-140",
                                                    "DanWMC-单位名称-240", "JieDLB-节点类别-100",
                                                    "ShenHRXM-审核人-90"};
    return kind == LogKind::Imports ? imports : audits;
}

std::vector<std::string> LogCells(LogKind kind, const Statement& row, const CodeTables& codes) {
    std::vector<std::string> cells{row.Text(0), row.Text(1), codes.CodeLabel(row.Text(2), "JieDLB"),
                                   row.Text(3)};
    if (kind == LogKind::Imports)
        cells.push_back(row.Text(4));
    return cells;
}

SummaryTable LogTable(TMainDM& dm, LogKind kind, const LogFilter& filter, LogOrder order) {
    CheckLogFilter(filter);
    SummaryTable table{ParseColumnDefs(LogColumns(kind)), {}};
    table.figureColumns =
        kind == LogKind::Imports ? std::vector<std::size_t>{0, 4} : std::vector<std::size_t>{0};
    table.filtered = true;
    Statement rows = LogListQuery(kind, filter, order).AllRowsStatement(dm.Db());
    for (long long number = 1; rows.Step(); ++number) {
        std::vector<std::string> cells = LogCells(kind, rows, dm.Codes());
        cells.insert(cells.begin(), std::to_string(number));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

}  // namespace mlk
