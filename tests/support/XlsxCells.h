#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mlk::test {

// The text cells of the first sheet of an .xlsx file, read from its XML with zlib: rows from the
// first, each as wide as the widest (cells the file lacks are empty). No spreadsheet program is
// needed, so Windows builds check their files too. A file that is no readable package fails the
// test and gives no rows.
std::vector<std::vector<std::string>> XlsxCells(const std::filesystem::path& file);

}  // namespace mlk::test
