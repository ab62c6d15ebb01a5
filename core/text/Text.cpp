#include "text/Text.h"

#include <charconv>

namespace mlk {

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> SplitText(std::string_view text, char delimiter, std::size_t most) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t p = text.find(delimiter);
         p != std::string_view::npos && pieces.size() + 1 < most; p = text.find(delimiter, start)) {
        pieces.emplace_back(text.substr(start, p - start));
        start = p + 1;
    }
    if (start < text.size())
        pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string ItemCode(std::string_view item) {
    const std::size_t dash = item.find('-');
    return Trim(item.substr(0, dash));
}

std::string ItemLabel(std::string_view item) {
    const std::size_t dash = item.find('-');
    return dash == std::string_view::npos ? std::string() : std::string(item.substr(dash + 1));
}

std::string Join(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i)
            out += separator;
        out += pieces[i];
    }
    return out;
}

std::string Excerpt(std::string_view utf8, std::size_t characters) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // A character starts at every byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && seen++ == characters)
            return std::string(utf8.substr(0, i)) + "……";
    }
    return std::string(utf8);
}

std::string LineName(std::size_t line) {
    return "第" + std::to_string(line) + "行";
}

bool ParseInt(std::string_view text, long long& value) {
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

}  // namespace mlk
