#include "data/Gbk.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

#include "data/MlkError.h"
#include "data/Text.h"

namespace mlk {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// One converter per thread, opened once: opening costs far more than converting a line.
// It stops at the first byte or character that code page 936 does not hold.
UConverter& Converter() {
    thread_local std::unique_ptr<UConverter, ConverterCloser> converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open("windows-936", &status);
        if (U_FAILURE(status))
            throw MlkError("无法打开GBK编码转换器：" + std::string(u_errorName(status)));
        ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        return std::unique_ptr<UConverter, ConverterCloser>(c);
    }();
    return *converter;
}

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk, std::size_t line) {
    if (IsAscii(gbk))
        return std::string(gbk);
    UConverter& converter = Converter();
    ucnv_resetToUnicode(&converter);
    thread_local std::vector<UChar> wide;
    wide.resize(gbk.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(&converter, wide.data(), int32_t(wide.size()), gbk.data(),
                                         int32_t(gbk.size()), &status);
    if (U_FAILURE(status)) {
        const std::string where = line ? "第" + std::to_string(line) + "行" : std::string("文本");
        throw MlkError(where + "含有不是GBK编码的字节，无法读取。");
    }
    std::string utf8(std::size_t(length) * 3, '\0');
    int32_t written = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), int32_t(utf8.size()), &written, wide.data(), length, &status);
    utf8.resize(std::size_t(written));
    return utf8;
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    thread_local std::vector<UChar> wide;
    wide.resize(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(wide.data(), int32_t(wide.size()), &length, utf8.data(), int32_t(utf8.size()),
                  &status);
    if (U_FAILURE(status))
        throw MlkError("文本不是有效的UTF-8编码：" + Excerpt(utf8));
    UConverter& converter = Converter();
    ucnv_resetFromUnicode(&converter);
    std::string gbk(std::size_t(length) * 2 + 2, '\0');
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(&converter, gbk.data(), int32_t(gbk.size()), wide.data(), length, &status);
    if (U_FAILURE(status)) {
        throw MlkError("文本含有GBK编码无法表示的字符：" + Excerpt(utf8));
    }
    gbk.resize(std::size_t(written));
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
