#pragma once

#include <string>
#include <vector>

#include "entry/ListQuery.h"
#include "reports/SummaryTable.h"

namespace mlk {

class CodeTables;
class TMainDM;

// The import log (MLK_DaoRRZ, one row per import) and the audit log (MLK_ShenHRZ, one row per
// approval), as their windows and `mlk log` list them.
enum class LogKind { Imports, Audits };

struct LogFilter {
    std::string unitName;  // matched anywhere in DanWMC; blank adds no condition
    std::string from, to;  // days "yyyy-mm-dd", both included; empty for no bound
};

// Refuses a day that is not a real "yyyy-mm-dd" one, and a range that ends before it begins.
void CheckLogFilter(const LogFilter& filter);

// The windows show the newest entry first; `mlk log` prints the oldest first, as a log reads.
enum class LogOrder { NewestFirst, OldestFirst };

ListQueryBuilder LogListQuery(LogKind kind, const LogFilter& filter,
                              LogOrder order = LogOrder::NewestFirst);

// "field-title-width" descriptions: the row number, the time, the unit, its node type and, for
// imports, the rows; then the person.
const std::vector<std::string>& LogColumns(LogKind kind);
// The cells of one row from column 1 on.
std::vector<std::string> LogCells(LogKind kind, const Statement& row, const CodeTables& codes);

// Every row that the filter lets through, numbered from 1, as the window saves it.
SummaryTable LogTable(TMainDM& dm, LogKind kind, const LogFilter& filter,
                      LogOrder order = LogOrder::NewestFirst);

}  // namespace mlk
