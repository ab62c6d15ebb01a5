#include "PdfText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <sstream>

#include "TestSupport.h"
#include "platform/Platform.h"
#include "text/Text.h"

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace mlk::test {

namespace {

// What a command printed; a command that fails fails the test.
std::string Output(const std::string& command) {
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pclose(pipe) != 0)
        ADD_FAILURE() << command << " failed (poppler-utils installed?)";
    return out;
}

std::string Quoted(const std::filesystem::path& file) {
    return "'" + PathText(file) + "'";
}

}  // namespace

std::vector<std::string> PdfPages(const std::filesystem::path& file) {
    std::vector<std::string> pages =
        SplitText(Output("pdftotext -enc UTF-8 " + Quoted(file) + " -"), '\f');
    // The form feed ends every page, the last one too.
    if (!pages.empty() && pages.back().empty())
        pages.pop_back();
    return pages;
}

bool PdfFontsEmbedded(const std::filesystem::path& file) {
    // Two heading lines, then a font a line: name type encoding emb sub uni object ID.
    std::istringstream lines(Output("pdffonts " + Quoted(file)));
    std::string line;
    int fonts = 0;
    for (int skip = 0; skip < 2 && std::getline(lines, line); ++skip) {
    }
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> word{std::istream_iterator<std::string>(words), {}};
        if (word.size() < 7 || word[word.size() - 5] != "yes")
            return false;
        ++fonts;
    }
    return fonts > 0;
}

std::size_t Occurrences(const std::vector<std::string>& pages, const std::string& text) {
    std::size_t count = 0;
    for (const std::string& page : pages) {
        for (std::size_t at = page.find(text); at != std::string::npos;
             at = page.find(text, at + 1))
            ++count;
    }
    return count;
}

}  // namespace mlk::test
