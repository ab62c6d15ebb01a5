#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "reports/TextRows.h"

namespace mlk {

// The .xlsx spreadsheet file (Office Open XML): one sheet of text cells, as many rows as a sheet
// holds. The one place that knows the library that writes it.

// The most rows a sheet holds, the caption row included.
inline constexpr std::size_t kXlsxMaxRows = 1048576;
// The most characters a cell holds.
inline constexpr std::size_t kXlsxMaxCellCharacters = 32767;

// Writes the rows, the captions first when withCaptions, as the one sheet of an .xlsx file,
// every cell a text as it stands; the captions give the column count, as for .xls. The sheet goes
// to a temporary file beside the target and replaces it only once complete. A list the format
// cannot hold (too many rows, a cell too long) is refused with an MlkError before the disk is
// touched; a failed write names the file and leaves the target as it was.
void SaveListToXlsx(const std::filesystem::path& file, bool withCaptions,
                    const std::vector<std::string>& captions, const TextRows& rows);

}  // namespace mlk
