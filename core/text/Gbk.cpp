#include "text/Gbk.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/MlkError.h"
#include "platform/Platform.h"
#include "text/Encoding.h"
#include "text/Text.h"

namespace mlk {

namespace {

// 0xFF is no GBK byte, neither alone nor in a pair, yet some converters read it as U+F8F5 and
// write it back for that character: refused both ways, whichever converter runs.
bool HoldsFF(std::string_view gbk) {
    return gbk.find('\xFF') != std::string_view::npos;
}

// Every character of code page 936 as UTF-8, taken once from the system's converter: a large
// file then costs a table lookup per character rather than a conversion per line. Lead bytes
// are 0x81 to 0xFE, trail bytes 0x40 to 0xFE; 0x80 may stand alone.
class DecodeTable {
  public:
    struct Entry {
        char bytes[4];
        unsigned char length;  // 0: not a character of the code page
    };

    DecodeTable() : pairs_(std::size_t(kLeads) * kTrails) {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
                const char pair[] = {char(lead), char(trail)};
                pairs_[Index(lead, trail)] = Decode(std::string_view(pair, 2));
            }
        }
        single80_ = Decode("\x80");
    }
    // The character of a lead byte and the byte after it.
    const Entry& Pair(unsigned char lead, unsigned char trail) const {
        static constexpr Entry kNone{};
        return trail < kFirstTrail || trail > kLastTrail ? kNone : pairs_[Index(lead, trail)];
    }
    // The character of a byte of 0x80 or more that is no lead byte.
    const Entry& Single(unsigned char byte) const {
        static constexpr Entry kNone{};
        return byte == 0x80 ? single80_ : kNone;
    }

  private:
    static constexpr unsigned kFirstTrail = 0x40;
    static constexpr unsigned kLastTrail = 0xFE;
    static constexpr unsigned kLeads = 0xFE - 0x81 + 1;
    static constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;
    static std::size_t Index(unsigned lead, unsigned trail) {
        return std::size_t(lead - 0x81) * kTrails + (trail - kFirstTrail);
    }
    // One character, or no entry when the bytes are not exactly one character.
    static Entry Decode(std::string_view gbk) {
        Entry entry{};
        std::string utf8;
        if (platform::DecodeGbk(gbk, utf8) && !utf8.empty() && utf8.size() <= 4) {
            utf8.copy(entry.bytes, utf8.size());
            entry.length = static_cast<unsigned char>(utf8.size());
        }
        return entry;
    }

    std::vector<Entry> pairs_;
    Entry single80_{};
};

const DecodeTable& Table() {
    static const DecodeTable table;
    return table;
}

// The characters of the basic plane that code page 936 holds: ASCII and every character the
// decoding table gives. Encoding and decoding agree on them (the tests check every one), so a
// look-up here answers what Utf8ToGbk would, at the cost of a bit test per character.
class Repertoire {
  public:
    Repertoire() : held_(0x10000) {
        for (char32_t c = 0; c < 0x80; ++c)
            held_[c] = true;
        const DecodeTable& table = Table();
        Add(table.Single(0x80));
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                Add(table.Pair(static_cast<unsigned char>(lead),
                               static_cast<unsigned char>(trail)));
        }
    }
    bool Holds(char32_t c) const { return c < held_.size() && held_[c]; }

  private:
    void Add(const DecodeTable::Entry& entry) {
        if (entry.length == 0)
            return;
        std::size_t pos = 0;
        const char32_t c = NextCharacter(std::string_view(entry.bytes, entry.length), pos);
        if (c < held_.size())
            held_[c] = true;
    }

    std::vector<bool> held_;
};

const Repertoire& HeldCharacters() {
    static const Repertoire repertoire;
    return repertoire;
}

// Every character of the basic plane that code page 936 holds, as its bytes there, taken once
// from the system's encoder: a large export then costs a table look-up per character rather than
// two conversions per line. A pair is kept as lead byte * 256 + trail byte, a single byte as
// itself; 0 where the code page has no exact form.
class EncodeTable {
  public:
    EncodeTable() : codes_(0x10000) {
        const Repertoire& held = HeldCharacters();
        std::string utf8, gbk;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (!held.Holds(c))
                continue;
            utf8 = c < 0x800 ? std::string{char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))}
                             : std::string{char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)),
                                           char(0x80 | (c & 0x3F))};
            if (platform::EncodeGbk(utf8, gbk) != platform::Encoded::kOk || HoldsFF(gbk))
                continue;
            if (gbk.size() == 1)
                codes_[c] = static_cast<unsigned char>(gbk[0]);
            else if (gbk.size() == 2)
                codes_[c] = std::uint16_t(static_cast<unsigned char>(gbk[0]) << 8 |
                                          static_cast<unsigned char>(gbk[1]));
        }
    }
    std::uint16_t Code(char32_t c) const { return c < codes_.size() ? codes_[c] : 0; }

  private:
    std::vector<std::uint16_t> codes_;
};

[[noreturn]] void NotGbk(std::size_t line) {
    const std::string where = line ? LineName(line) : std::string("文本");
    throw MlkError(where + "含有不是GBK编码的字节，无法读取。");
}

// The character at pos, as NextCharacter reads it, most Chinese characters without a call: three
// bytes from a lead byte that allows neither an overlong form nor a surrogate (0xE0, 0xED do).
char32_t NextThreeByteCharacter(std::string_view utf8, std::size_t& pos) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data()) + pos;
    if (p[0] >= 0xE1 && p[0] <= 0xEF && p[0] != 0xED && utf8.size() - pos >= 3 &&
        (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
        pos += 3;
        return char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | char32_t(p[2] & 0x3F);
    }
    return NextCharacter(utf8, pos);
}

// The system's converter, which tells why a text cannot be encoded.
void EncodeBySystem(std::string_view utf8, std::string& gbk) {
    const platform::Encoded result = platform::EncodeGbk(utf8, gbk);
    if (result == platform::Encoded::kNotUtf8)
        throw MlkError("文本不是有效的UTF-8编码：" + Excerpt(utf8));
    if (result == platform::Encoded::kNotInGbk || HoldsFF(gbk))
        throw MlkError("文本含有GBK编码无法表示的字符：" + Excerpt(utf8));
}

}  // namespace

void GbkToUtf8(std::string_view gbk, std::string& utf8, std::size_t line) {
    // A byte becomes at most three bytes of UTF-8 (a pair at most four): room for the longest
    // result and for the four-byte copy of the last character, cut to the real length at the end.
    utf8.resize(gbk.size() * 3 + 4);
    char* out = utf8.data();
    const DecodeTable& table = Table();
    const auto* at = reinterpret_cast<const unsigned char*>(gbk.data());
    const auto* const end = at + gbk.size();
    while (at < end) {
        // ASCII: eight bytes at a time while there are eight, then byte by byte.
        std::uint64_t word;
        while (end - at >= 8 && (std::memcpy(&word, at, 8), (word & 0x8080808080808080u) == 0)) {
            std::memcpy(out, at, 8);
            out += 8;
            at += 8;
        }
        while (at < end && *at < 0x80)
            *out++ = char(*at++);
        // Then the characters up to the next ASCII byte.
        while (at < end && *at >= 0x80) {
            const bool lead = *at >= 0x81 && *at <= 0xFE;
            if (lead && at + 1 == end)
                NotGbk(line);
            const DecodeTable::Entry& entry = lead ? table.Pair(at[0], at[1]) : table.Single(*at);
            if (entry.length == 0)
                NotGbk(line);
            std::memcpy(out, entry.bytes, sizeof entry.bytes);
            out += entry.length;
            at += lead ? 2 : 1;
        }
    }
    utf8.resize(std::size_t(out - utf8.data()));
}

std::string GbkToUtf8(std::string_view gbk, std::size_t line) {
    std::string utf8;
    GbkToUtf8(gbk, utf8, line);
    return utf8;
}

char* WriteUtf8AsGbk(char* out, std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        // ASCII as it stands, eight bytes at a time while there are eight.
        for (std::uint64_t word; utf8.size() - pos >= 8; pos += 8, out += 8) {
            std::memcpy(&word, utf8.data() + pos, 8);
            if (word & 0x8080808080808080u)
                break;
            std::memcpy(out, &word, 8);
        }
        while (pos < utf8.size() && static_cast<unsigned char>(utf8[pos]) < 0x80)
            *out++ = utf8[pos++];
        if (pos == utf8.size())
            break;
        const char32_t c = NextThreeByteCharacter(utf8, pos);
        // The table is made at the first character beyond ASCII: codes alone never need it.
        static const EncodeTable table;
        const std::uint16_t code = c == kNotACharacter ? 0 : table.Code(c);
        if (code == 0)
            return nullptr;
        if (code > 0xFF)
            *out++ = char(code >> 8);
        *out++ = char(code & 0xFF);
    }
    return out;
}

void Utf8ToGbk(std::string_view utf8, std::string& gbk) {
    gbk.resize(utf8.size());
    if (char* end = WriteUtf8AsGbk(gbk.data(), utf8))
        gbk.resize(std::size_t(end - gbk.data()));
    else
        EncodeBySystem(utf8, gbk);  // it tells why the text cannot be encoded
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::string gbk;
    Utf8ToGbk(utf8, gbk);
    return gbk;
}

std::string_view FirstCharacterOutsideGbk(std::string_view utf8) {
    const Repertoire& repertoire = HeldCharacters();
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (!repertoire.Holds(NextCharacter(utf8, pos)))
            return utf8.substr(start, pos - start);
    }
    return {};
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
