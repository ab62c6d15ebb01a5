#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "reports/SummaryTable.h"

namespace mlk {

class Progress;
class TMainDM;

// Below this level an imported row's own children are listed; the operating unit's own rows
// always get theirs.
inline constexpr long long kDirectoryDepthLimit = 4;

// The confirmed directory of the operating unit as one outline: each own confirmed row (by
// ShunX), numbered 1, 2, ..., and under it, depth first, the confirmed imported rows whose
// ShangJBMID it is, numbered 1.1, 1.2, 1.2.1, ... A row already on the path from its top row
// is listed but not descended into again, so ShangJBMID references that loop end.
// progress counts the rows read against the span of the directory's row ids, which bounds them.
SummaryTable DirectorySummary(TMainDM& dm, Progress* progress = nullptr);

std::vector<ColumnDef> DirectoryColumns();
// The same rows one by one, in order, for a caller that need not hold them all: each row's
// number and its other cells, which pool keeps while it lives, and, for an outline in pool, the
// row listed as its parent (counted from 0; TextRows::kTop for a top row) and its place there.
struct ListedRow {
    std::string_view number;
    TextRows::Row cells;
    std::uint32_t parent, place;
};
using DirectoryRow = std::function<void(const ListedRow& row)>;
void ListDirectory(TMainDM& dm, TextRows& pool, const DirectoryRow& row,
                   Progress* progress = nullptr);

}  // namespace mlk
