#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mlk {

// GBK (Windows code page 936) exists only at the file boundary; inside, texts are UTF-8.

// Decodes GBK bytes. Bytes that are not valid GBK raise an MlkError; when line is not 0 the
// message names that line.
std::string GbkToUtf8(std::string_view gbk, std::size_t line = 0);
// The same into utf8, which keeps its room: a buffer used line after line allocates nothing.
void GbkToUtf8(std::string_view gbk, std::string& utf8, std::size_t line = 0);

// Encodes UTF-8 as GBK. A character that GBK cannot hold raises an MlkError naming the text.
std::string Utf8ToGbk(std::string_view utf8);
// The same into gbk, which keeps its room.
void Utf8ToGbk(std::string_view utf8, std::string& gbk);
// Writes the GBK form of utf8 from out on (room for utf8.size() bytes: no character is longer in
// GBK) and returns the end of what it wrote; nullptr when utf8 is not UTF-8 or holds a character
// that GBK has no exact form for (Utf8ToGbk says which).
char* WriteUtf8AsGbk(char* out, std::string_view utf8);

// The length of a text in GBK bytes (a Chinese character counts 2).
std::size_t GbkLength(std::string_view utf8);

// The first character of a UTF-8 text that GBK has no exact form for (Utf8ToGbk would refuse
// it), as its bytes in the text; empty when there is none. A byte that is not UTF-8 counts as
// such a character. A text that passes here travels in the exchange file.
std::string_view FirstCharacterOutsideGbk(std::string_view utf8);

}  // namespace mlk
