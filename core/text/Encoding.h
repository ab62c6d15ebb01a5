#pragma once

#include <cstddef>
#include <string_view>

namespace mlk {

// Text files from other units come as GBK, the exchange format, or as UTF-8, the form most
// editors save in today. These rules tell the two apart from the bytes alone, the same on every
// system, whatever its own code page.

enum class TextEncoding { Gbk, Utf8 };

enum class ByteOrderMark { None, Utf8, Utf16 };
inline constexpr std::size_t kUtf8BomLength = 3;

// The byte-order mark the file starts with (UTF-32 marks count as UTF-16: both are refused).
ByteOrderMark FindByteOrderMark(std::string_view start);

// True when the bytes are well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view bytes);

// Guesses the encoding of a file without a byte-order mark from its bytes, fed in pieces from
// the start. Bytes invalid in one encoding decide for the other. Short Chinese texts are often
// valid in both (学校 in GBK reads as the UTF-8 "ѧУ", in UTF-8 as the GBK "瀛︽牎"); then the
// reading with more common Chinese characters and punctuation wins, since the wrong reading
// turns them into rare characters, symbols and other scripts. A text of ASCII alone is GBK.
class EncodingGuess {
  public:
    // Takes the next bytes; false once the bytes seen so far settle the question.
    bool Feed(std::string_view bytes);
    TextEncoding Result() const;

  private:
    void FeedUtf8(unsigned char byte);
    void FeedGbk(unsigned char byte);

    bool utf8Valid_ = true;
    bool gbkValid_ = true;
    int utf8Pending_ = 0;  // continuation bytes still expected
    char32_t utf8Code_ = 0;
    char32_t utf8Least_ = 0;  // the least code point the sequence may give (overlong forms)
    unsigned char gbkLead_ = 0;
    std::size_t utf8Score_ = 0;
    std::size_t gbkScore_ = 0;
};

}  // namespace mlk
