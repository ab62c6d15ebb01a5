#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mlk::test {

// The text of each page of a PDF file as pdftotext (Debian's poppler-utils) reads it; a file it
// cannot read fails the test and gives no pages.
std::vector<std::string> PdfPages(const std::filesystem::path& file);

// Whether every font the file uses is embedded in it, as pdffonts tells; a file without fonts
// is not.
bool PdfFontsEmbedded(const std::filesystem::path& file);

// How many times text stands in the pages.
std::size_t Occurrences(const std::vector<std::string>& pages, const std::string& text);

}  // namespace mlk::test
