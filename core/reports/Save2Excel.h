#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "reports/TextRows.h"

namespace mlk {

// The captions give the column count of the rows written. A row may hold fewer cells than there
// are columns; the missing cells are written empty, and cells past the last column are not
// written.

// The most rows a sheet of this format can address (row numbers are 16-bit).
inline constexpr std::size_t kXlsMaxRows = 65536;
// The most bytes a cell text may have: the record length (text + 8) is a 16-bit word.
inline constexpr std::size_t kXlsMaxCellBytes = 65535 - 8;

// The record stream of a worksheet of text cells: BOF, CODEPAGE 936, one LABEL per cell (the
// caption row first when withCaptions), EOF. Cell texts are converted to GBK here. A list the
// format cannot hold (too many rows, a cell text too long, a character GBK lacks) raises an
// MlkError and nothing is produced.
std::string XlsRecords(bool withCaptions, const std::vector<std::string>& captions,
                       const TextRows& rows);

// Writes XlsRecords to the file, replacing a file of that name only once complete
// (ReplacingFile), so a failure leaves no half-written file and an existing file intact; the
// MlkError names the file and the reason.
void SaveListToXls(const std::filesystem::path& file, bool withCaptions,
                   const std::vector<std::string>& captions, const TextRows& rows);

}  // namespace mlk
