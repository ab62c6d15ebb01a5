// Code page 936 as the exchange files and .xls cells carry it. The same tables run on Debian
// (ICU) and on Windows (the system's own conversion): both must agree byte for byte.
#include "TestSupport.h"
#include "platform/Platform.h"
#include "text/Gbk.h"

namespace mlk::test {
namespace {

// "D6 D0" -> the two bytes 0xD6 0xD0.
std::string Bytes(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
        bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(GbkTest, ConvertsBothWaysByteForByte) {
    const struct {
        const char* text;
        const char* gbk;
    } cases[] = {
        {"中", "D6 D0"},
        {"公共机构名录库", "B9 AB B9 B2 BB FA B9 B9 C3 FB C2 BC BF E2"},
        {"（全角）、，。", "A3 A8 C8 AB BD C7 A3 A9 A1 A2 A3 AC A1 A3"},
        {"混合 ab", "BB EC BA CF 20 61 62"},
        {"é·—ü", "A8 A6 A1 A4 A1 AA A8 B9"},  // pinyin letters and punctuation GBK has
        {"€", "80"},                          // code page 936's one single-byte addition
        {"丂", "81 40"},                      // the first character of the GBK extension
        {"abc 123", "61 62 63 20 31 32 33"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Utf8ToGbk(c.text), Bytes(c.gbk));
        EXPECT_EQ(GbkToUtf8(Bytes(c.gbk)), c.text);
        EXPECT_EQ(GbkLength(c.text), Bytes(c.gbk).size());
    }
}

// The character as UTF-8.
std::string Utf8(char32_t c) {
    if (c < 0x800)
        return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
}

// Code page 936 gives every pair of a lead byte 0x81..0xFE and a trail byte 0x40..0x7E or
// 0x80..0xFE a character of its own (what GBK leaves unassigned goes to the private use area):
// 126 x 190 = 23940 two-byte characters, each encoded back to its bytes. A pair with any other
// trail byte is refused.
TEST(GbkTest, HoldsExactlyTheTwoByteCharactersOfTheCodePage) {
    int characters = 0, refused = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x00; trail <= 0xFF; ++trail) {
            const std::string gbk = {'a', char(lead), char(trail), 'b'};
            try {
                ASSERT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk) << lead << " " << trail;
                ++characters;
            } catch (const MlkError&) {
                ++refused;
            }
        }
    }
    EXPECT_EQ(characters, 126 * 190);
    EXPECT_EQ(refused, 126 * 66);
}

// The characters at the edges of the lead and trail ranges: of the extension below GB2312 (GBK/3,
// leads 0x81..0xA0), of its symbols and hanzi (0xA1..0xF7 with trails 0xA1..0xFE), of the
// extension above (GBK/4 and /5, trails 0x40..0xA0) and of the user-defined areas.
TEST(GbkTest, CharactersAtTheEdgesOfEveryRange) {
    const struct {
        unsigned char lead, trail;
        char32_t character;
    } cases[] = {
        {0x81, 0x40, 0x4E02},                        // 丂, the first pair
        {0x81, 0x7E, 0x4E8A}, {0x81, 0x80, 0x4E90},  // around the trail byte 0x7F
        {0x81, 0xFE, 0x4FA2}, {0xA0, 0x40, 0x71D6},
        {0xA0, 0xFE, 0x72DB}, {0xA1, 0xA1, 0x3000},  // the ideographic space, GB2312's first symbol
        {0xA1, 0xFE, 0x3013}, {0xA8, 0x40, 0x02CA},
        {0xA9, 0xA0, 0xE7FD}, {0xAA, 0x40, 0x72DC},
        {0xAA, 0xA1, 0xE000},  // the first user-defined character
        {0xAF, 0xFE, 0xE233}, {0xB0, 0xA0, 0x76C3},
        {0xB0, 0xA1, 0x554A},                        // 啊, GB2312's first hanzi
        {0xB0, 0xFE, 0x5265},                        // 剥
        {0xD7, 0xF9, 0x5EA7},                        // 座, the last of the first level
        {0xD8, 0xA1, 0x4E8D},                        // 亍, the first of the second level
        {0xF7, 0xFE, 0x9F44},                        // 齄, GB2312's last hanzi
        {0xF8, 0xA1, 0xE234}, {0xFE, 0x40, 0xFA0C},  // 兀
        {0xFE, 0xA0, 0xE864}, {0xFE, 0xFE, 0xE4C5},  // the last pair
    };
    for (const auto& c : cases) {
        const std::string gbk = {char(c.lead), char(c.trail)};
        SCOPED_TRACE(testing::Message() << std::hex << int(c.lead) << " " << int(c.trail));
        EXPECT_EQ(GbkToUtf8(gbk), Utf8(c.character));
        EXPECT_EQ(Utf8ToGbk(Utf8(c.character)), gbk);
    }
}

TEST(GbkTest, RefusesBytesThatAreNotGbkAndNamesTheLine) {
    const struct {
        const char* why;
        const char* gbk;
    } cases[] = {
        {"a lead byte at the end", "BA C3 81"}, {"a trail byte below 0x40", "81 20 41"},
        {"a trail byte of 0x7F", "81 7F"},      {"0xFF alone", "41 FF"},
        {"0xFF after a lead byte", "81 FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ErrorOf([&] { GbkToUtf8(Bytes(c.gbk), 17); }),
                  "第17行含有不是GBK编码的字节，无法读取。");
        EXPECT_EQ(ErrorOf([&] { GbkToUtf8(Bytes(c.gbk)); }),
                  "文本含有不是GBK编码的字节，无法读取。");
    }
}

TEST(GbkTest, RefusesCharactersWithoutAnExactGbkForm) {
    const struct {
        const char* why;
        const char* text;
        std::size_t length;  // GbkLength still counts two bytes for each
        const char* first;   // the first such character
    } cases[] = {
        {"outside the basic plane", "表情\xF0\x9F\x98\x80", 6, "\xF0\x9F\x98\x80"},
        {"a look-alike would be written (a for ä)", "\xC3\xA4", 2, "\xC3\xA4"},
        {"an invisible character would be dropped (U+200B)", "甲\xE2\x80\x8B乙", 6, "\xE2\x80\x8B"},
        {"U+F8F5 would become the non-GBK byte 0xFF", "\xEF\xA3\xB5", 2, "\xEF\xA3\xB5"},
        {"a katakana middle dot", "\xE3\x83\xBB", 2, "\xE3\x83\xBB"},
        {"CJK beyond GBK, then an emoji", "a\xF0\xA0\x80\x80\xF0\x9F\x98\x80", 5,
         "\xF0\xA0\x80\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ErrorOf([&] { Utf8ToGbk(c.text); }),
                  std::string("文本含有GBK编码无法表示的字符：") + c.text);
        EXPECT_EQ(GbkLength(c.text), c.length);
        EXPECT_EQ(FirstCharacterOutsideGbk(c.text), c.first);
    }
    EXPECT_EQ(FirstCharacterOutsideGbk("\xE4\xB8"), "\xE4");
    EXPECT_EQ(ErrorOf([] { Utf8ToGbk("\xE4\xB8"); }), "文本不是有效的UTF-8编码：\xE4\xB8");
}

// The quick look-up that entry checks and readers use answers for every character of the basic
// plane as the system's encoder does, and the encoder's table writes the same bytes.
TEST(GbkTest, LookUpAndTableAgreeWithTheSystemOnEveryCharacter) {
    int held = 0;
    std::string mixed, mixedBySystem;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string utf8;
        if (c < 0x80) {
            utf8 = {char(c)};
        } else if (c < 0x800) {
            utf8 = {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        } else {
            utf8 = {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)),
                    char(0x80 | (c & 0x3F))};
        }
        std::string bySystem;
        const bool encodes = platform::EncodeGbk(utf8, bySystem) == platform::Encoded::kOk &&
                             bySystem.find('\xFF') == std::string::npos;
        ASSERT_EQ(FirstCharacterOutsideGbk(utf8).empty(), encodes) << std::hex << unsigned(c);
        if (encodes) {
            ASSERT_EQ(Utf8ToGbk(utf8), bySystem) << std::hex << unsigned(c);
            if (c % 97 == 0) {  // runs of ASCII and others of every length in one text
                mixed += utf8 + std::string(c % 11, 'a');
                mixedBySystem += bySystem + std::string(c % 11, 'a');
            }
        } else {
            ASSERT_NE(ErrorOf([&] { Utf8ToGbk(utf8); }), "") << std::hex << unsigned(c);
        }
        held += encodes;
    }
    EXPECT_GT(held, 21000);
    EXPECT_EQ(Utf8ToGbk(mixed), mixedBySystem);
}

}  // namespace
}  // namespace mlk::test
