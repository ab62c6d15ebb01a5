#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mlk {

// Removes leading and trailing blanks and control characters (every byte up to ' ').
std::string Trim(std::string_view text);

// Splits at every occurrence of the one-character delimiter: empty pieces inside stay,
// an empty last piece is dropped, an empty text gives no piece. At most `most` pieces: the last
// of them then holds the rest of the text unsplit.
std::vector<std::string> SplitText(std::string_view text, char delimiter,
                                   std::size_t most = std::size_t(-1));

// The code of a combo item "code-label": the text before the first "-", blanks removed.
std::string ItemCode(std::string_view item);
// The label of a combo item: the text after the first "-" (empty when there is none).
std::string ItemLabel(std::string_view item);

// Joins pieces with a separator.
std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// A text as a message quotes it: at most about 200 characters, then "……", so that a message
// never grows with a long line of a file.
std::string Excerpt(std::string_view utf8, std::size_t characters = 200);

// A line of a file as messages name it: "第12行", counted from 1.
std::string LineName(std::size_t line);

// Parses a whole decimal number (optional sign, digits only, no blanks); false otherwise.
bool ParseInt(std::string_view text, long long& value);

// The exchange file carries JiC and ShunX as 32-bit numbers: the level above refuses others.
inline bool FitsInt32(long long value) {
    return value >= -2147483648LL && value <= 2147483647LL;
}
inline constexpr const char* kOutsideInt32 = "超出整数范围（-2147483648至2147483647）";

}  // namespace mlk
