#pragma once

#include <string>
#include <vector>

namespace mlk {

// One list column, described as field name "-" title "-" width. The field name only documents
// the column (cells are filled by position); width 0 hides it.
struct ColumnDef {
    std::string field;
    std::string title;
    int width = 0;
};

// Parses descriptions such as "JiGMC-机构名称-200". A description without a valid width gets 0.
std::vector<ColumnDef> ParseColumnDefs(const std::vector<std::string>& descriptions);

}  // namespace mlk
