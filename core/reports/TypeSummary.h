#pragma once

#include <string>
#include <vector>

#include "reports/SummaryTable.h"

namespace mlk {

class TMainDM;

// "code-name" of each second-level public-service type (parent "80"), in the database's order.
std::vector<std::string> SecondLevelTypeItems(TMainDM& dm);
// "code-name" of each type under the given one, in the database's order.
std::vector<std::string> ChildTypeItems(TMainDM& dm, const std::string& parentCode);

// The type summary's columns without any row: the list before the first search.
SummaryTable TypeSummaryColumns();

// Per own confirmed row (by ShunX) and type: the number of confirmed public-service institutions
// of that type counted for the row -- the row itself and the rows imported for it. An empty
// secondLevel or thirdLevel code does not filter.
SummaryTable TypeSummary(TMainDM& dm, const std::string& secondLevel = {},
                         const std::string& thirdLevel = {});

}  // namespace mlk
