#include "data/Gbk.h"

#include "data/MlkError.h"
#include "data/Platform.h"
#include "data/Text.h"

namespace mlk {

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// 0xFF is no GBK byte, neither alone nor in a pair, yet some converters read it as U+F8F5 and
// write it back for that character: refused both ways, whichever converter runs.
bool HoldsFF(std::string_view gbk) {
    return gbk.find('\xFF') != std::string_view::npos;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk, std::size_t line) {
    if (IsAscii(gbk))
        return std::string(gbk);
    std::string utf8;
    if (HoldsFF(gbk) || !platform::DecodeGbk(gbk, utf8)) {
        const std::string where = line ? "第" + std::to_string(line) + "行" : std::string("文本");
        throw MlkError(where + "含有不是GBK编码的字节，无法读取。");
    }
    return utf8;
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    std::string gbk;
    const platform::Encoded result = platform::EncodeGbk(utf8, gbk);
    if (result == platform::Encoded::kNotUtf8)
        throw MlkError("文本不是有效的UTF-8编码：" + Excerpt(utf8));
    if (result == platform::Encoded::kNotInGbk || HoldsFF(gbk))
        throw MlkError("文本含有GBK编码无法表示的字符：" + Excerpt(utf8));
    return gbk;
}

std::size_t GbkLength(std::string_view utf8) {
    try {
        return Utf8ToGbk(utf8).size();
    } catch (const MlkError&) {
        // A character outside GBK: count every non-ASCII character as two bytes.
        std::size_t length = 0;
        for (unsigned char c : utf8) {
            if (c < 0x80)
                ++length;
            else if ((c & 0xC0) != 0x80)
                length += 2;
        }
        return length;
    }
}

}  // namespace mlk
