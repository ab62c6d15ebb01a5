#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "reports/TextRows.h"

namespace mlk {

// The .xlsx spreadsheet file (Office Open XML): one sheet, as many rows as a sheet holds, laid
// out for a clerk to work with at once. The one place that knows the library that writes it.

// The most rows a sheet holds, the caption row included.
inline constexpr std::size_t kXlsxMaxRows = 1048576;
// The most characters a cell holds.
inline constexpr std::size_t kXlsxMaxCellCharacters = 32767;

// What the sheet makes of a list beyond its texts. Every column is as wide as its widest text.
struct XlsxLayout {
    // Columns of figures (counts, totals, running numbers): a whole number there is a number
    // cell, which sums and sorts as one; any other text stays a text.
    std::vector<std::size_t> figureColumns;
    // Columns kept in the file but hidden, as the window hides them.
    std::vector<std::size_t> hiddenColumns;
    // A filter button on every caption.
    bool filtered = false;
};

// Writes the rows, the captions first when withCaptions (bold, and frozen at the top), as the one
// sheet of an .xlsx file; every cell outside the figure columns is a text as it stands. The
// captions give the column count, as for .xls. The sheet goes to a temporary file beside the
// target and replaces it only once complete. A list the format cannot hold (too many rows, a
// cell too long) is refused with an MlkError before the disk is touched; a failed write names the
// file and leaves the target as it was, and so does an exception from the progress, which counts
// the rows written.
void SaveListToXlsx(const std::filesystem::path& file, bool withCaptions,
                    const std::vector<std::string>& captions, const TextRows& rows,
                    const XlsxLayout& layout = {}, Progress* progress = nullptr);

}  // namespace mlk
