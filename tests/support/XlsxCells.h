#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mlk::test {

// The cells of the first sheet of an .xlsx file, read from its XML with zlib: rows from the
// first, each as wide as the widest (cells the file lacks are empty), a number as its digits
// behind a "#" when markNumbers. No spreadsheet program is needed, so Windows builds check their
// files too. A file that is no readable package fails the test and gives no rows.
std::vector<std::vector<std::string>> XlsxCells(const std::filesystem::path& file,
                                                bool markNumbers = false);

// A member of the package ("xl/worksheets/sheet1.xml") unpacked; empty, and the test failed,
// when there is none.
std::string XlsxMember(const std::filesystem::path& file, const std::string& name);

}  // namespace mlk::test
