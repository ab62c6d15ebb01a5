#include "text/Encoding.h"

#include <cstdint>
#include <cstring>

namespace mlk {

namespace {

// The length of the sequence a lead byte starts, the bits it gives and the least code point the
// sequence may encode (to refuse overlong forms); 0 for a byte that cannot start one.
struct Lead {
    int length;
    char32_t bits;
    char32_t least;
};

Lead LeadOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {2, char32_t(b & 0x1F), 0x80};
    if (b >= 0xE0 && b <= 0xEF)
        return {3, char32_t(b & 0x0F), 0x800};
    if (b >= 0xF0 && b <= 0xF4)
        return {4, char32_t(b & 0x07), 0x10000};
    return {0, 0, 0};
}

// The number of ASCII bytes from p on, eight at a time while there are eight.
std::size_t AsciiRun(const char* p, std::size_t size) {
    std::size_t n = 0;
    for (std::uint64_t word; size - n >= 8; n += 8) {
        std::memcpy(&word, p + n, 8);
        if (word & 0x8080808080808080u)
            break;
    }
    while (n < size && static_cast<unsigned char>(p[n]) < 0x80)
        ++n;
    return n;
}

}  // namespace

const char* EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "GBK";
}

ByteOrderMark FindByteOrderMark(std::string_view start) {
    if (start.starts_with(kUtf8Bom))
        return ByteOrderMark::Utf8;
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") ||
        start.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return ByteOrderMark::Utf16;
    return ByteOrderMark::None;
}

char32_t NextCharacter(std::string_view utf8, std::size_t& pos) {
    const auto b = static_cast<unsigned char>(utf8[pos++]);
    if (b < 0x80)
        return b;
    const Lead lead = LeadOf(b);
    if (lead.length == 0 || pos + std::size_t(lead.length - 1) > utf8.size())
        return kNotACharacter;
    char32_t code = lead.bits;
    for (int i = 1; i < lead.length; ++i) {
        const auto c = static_cast<unsigned char>(utf8[pos + std::size_t(i) - 1]);
        if ((c & 0xC0) != 0x80)
            return kNotACharacter;
        code = (code << 6) | (c & 0x3F);
    }
    if (code < lead.least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kNotACharacter;
    pos += std::size_t(lead.length - 1);
    return code;
}

Utf8Form FormOfUtf8(std::string_view bytes) {
    Utf8Form form = Utf8Form::Ascii;
    for (std::size_t pos = 0; pos < bytes.size();) {
        pos += AsciiRun(bytes.data() + pos, bytes.size() - pos);
        if (pos == bytes.size())
            break;
        if (NextCharacter(bytes, pos) == kNotACharacter)
            return Utf8Form::NotUtf8;
        form = Utf8Form::Utf8;
    }
    return form;
}

}  // namespace mlk
