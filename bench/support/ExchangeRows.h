#pragma once

#include <filesystem>

#include "model/GGJG.h"

namespace mlk::bench {

// The rows of a county's directory that the exchange benchmarks send upward: the benchmarks' rows
// (InstitutionRow) of twelve counties, with the blanks and commas that make the writer quote
// values.

// The id of the pending institution the county's file is imported under.
inline constexpr const char* kPending = "440106AGENCY0001";

// Row i of the directory.
GGJG Row(long long i);

// A county's installation holding rows 0 .. rows-1, all confirmed.
void BuildDirectory(const std::filesystem::path& db, long long rows);

// A new installation of the upper level with the pending institution the file goes under.
void NewPrefecture(const std::filesystem::path& db);

}  // namespace mlk::bench
