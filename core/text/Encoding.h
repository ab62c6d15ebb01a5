#pragma once

#include <cstddef>
#include <string_view>

namespace mlk {

// Text files from other units come as GBK, the exchange format, or as UTF-8, the form most
// editors save in today. The bytes alone tell them apart, the same on every system, whatever its
// own code page: text that is valid UTF-8 and holds a character beyond ASCII is UTF-8, anything
// else is GBK. Chinese text in GBK is valid UTF-8 only by chance, and the chance falls with
// every character (about one in six per character, so one in a million for eight of them).

enum class TextEncoding { Gbk, Utf8 };

// "GBK" or "UTF-8", as messages name the encodings.
const char* EncodingName(TextEncoding encoding);

enum class ByteOrderMark { None, Utf8, Utf16 };
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The byte-order mark the file starts with (UTF-32 marks count as UTF-16: both are refused).
ByteOrderMark FindByteOrderMark(std::string_view start);

// What the bytes of a text are as UTF-8.
enum class Utf8Form {
    Ascii,    // ASCII alone: the same text in both encodings
    Utf8,     // well-formed UTF-8 with at least one character beyond ASCII
    NotUtf8,  // a stray or missing continuation byte, an overlong form, a surrogate, or a code
              // point past U+10FFFF
};
Utf8Form FormOfUtf8(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (ASCII included).
inline bool IsUtf8(std::string_view bytes) {
    return FormOfUtf8(bytes) != Utf8Form::NotUtf8;
}

// Reads the character at pos of well-formed or not UTF-8 and moves pos past it; returns
// kNotACharacter (and moves pos one byte on) where the bytes are not UTF-8.
inline constexpr char32_t kNotACharacter = 0xFFFFFFFF;
char32_t NextCharacter(std::string_view utf8, std::size_t& pos);

}  // namespace mlk
