#include "text/Encoding.h"

namespace mlk {

namespace {

// So many common characters in one reading or the other settle the guess.
constexpr std::size_t kEnoughEvidence = 256;

// Common Chinese text as UTF-8 gives code points: the CJK ideographs of everyday use, the CJK
// punctuation (、。《》「」), the fullwidth forms (，（）) and the dashes, quotes and ellipsis.
bool IsCommonChineseCode(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FA5) || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF01 && c <= 0xFF5E) || (c >= 0x2010 && c <= 0x2027);
}

// The same as GBK pairs: the ideographs of GB2312 (leads B0-F7), its punctuation (row A1) and
// its fullwidth forms (row A3), each with a trail byte of A1-FE.
bool IsCommonChinesePair(unsigned char lead, unsigned char trail) {
    return trail >= 0xA1 && trail <= 0xFE &&
           ((lead >= 0xB0 && lead <= 0xF7) || lead == 0xA1 || lead == 0xA3);
}

// One step of a strict UTF-8 decoder: false on a byte that cannot come here. A code point is
// complete when pending is back to 0 after a byte that was not ASCII.
bool StepUtf8(unsigned char b, int& pending, char32_t& code, char32_t& least) {
    if (pending == 0) {
        if (b < 0x80) {
            code = b;
            return true;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            pending = 1, code = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pending = 2, code = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            pending = 3, code = b & 0x07, least = 0x10000;
        } else {
            return false;
        }
        return true;
    }
    if ((b & 0xC0) != 0x80)
        return false;
    code = (code << 6) | (b & 0x3F);
    return --pending > 0 || (code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF));
}

}  // namespace

ByteOrderMark FindByteOrderMark(std::string_view start) {
    if (start.substr(0, kUtf8BomLength) == "\xEF\xBB\xBF")
        return ByteOrderMark::Utf8;
    if (start.substr(0, 2) == "\xFF\xFE" || start.substr(0, 2) == "\xFE\xFF" ||
        start.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4))
        return ByteOrderMark::Utf16;
    return ByteOrderMark::None;
}

bool IsUtf8(std::string_view bytes) {
    int pending = 0;
    char32_t code = 0;
    char32_t least = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 && pending == 0)
            continue;
        if (!StepUtf8(b, pending, code, least))
            return false;
    }
    return pending == 0;
}

void EncodingGuess::FeedUtf8(unsigned char b) {
    if (!StepUtf8(b, utf8Pending_, utf8Code_, utf8Least_)) {
        utf8Valid_ = false;
    } else if (utf8Pending_ == 0 && IsCommonChineseCode(utf8Code_)) {
        ++utf8Score_;
    }
}

void EncodingGuess::FeedGbk(unsigned char b) {
    if (gbkLead_ == 0) {
        if (b >= 0x81 && b <= 0xFE)
            gbkLead_ = b;
        else if (b == 0xFF)
            gbkValid_ = false;
        return;  // ASCII, or 0x80 (the euro sign of code page 936)
    }
    if (b < 0x40 || b == 0x7F || b == 0xFF)
        gbkValid_ = false;
    else if (IsCommonChinesePair(gbkLead_, b))
        ++gbkScore_;
    gbkLead_ = 0;
}

bool EncodingGuess::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 && utf8Pending_ == 0 && gbkLead_ == 0)
            continue;
        FeedUtf8(b);
        FeedGbk(b);
        if (!utf8Valid_ || !gbkValid_ || utf8Score_ + gbkScore_ >= kEnoughEvidence)
            return false;
    }
    return true;
}

TextEncoding EncodingGuess::Result() const {
    if (!utf8Valid_)
        return TextEncoding::Gbk;
    if (!gbkValid_ || utf8Score_ > gbkScore_)
        return TextEncoding::Utf8;
    return TextEncoding::Gbk;
}

}  // namespace mlk
