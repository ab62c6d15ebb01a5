// Code page 936 as the exchange files and .xls cells carry it. The same tables run on Debian
// (ICU) and on Windows (the system's own conversion): both must agree byte for byte.
#include "TestSupport.h"
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

// Decoding knows every character of the code page: each two-byte code that decodes, between
// other text, is encoded back to the same bytes.
TEST(GbkTest, EveryTwoByteCodeDecodesToItsCharacter) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string gbk = {'a', char(lead), char(trail), 'b'};
            try {
                ASSERT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk) << lead << " " << trail;
                ++characters;
            } catch (const MlkError&) {
            }
        }
    }
    EXPECT_GT(characters, 21000);
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
// plane as the encoder does.
TEST(GbkTest, LookUpAgreesWithTheEncoderOnEveryCharacter) {
    int held = 0;
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
        const bool encodes = ErrorOf([&] { Utf8ToGbk(utf8); }).empty();
        ASSERT_EQ(FirstCharacterOutsideGbk(utf8).empty(), encodes) << std::hex << unsigned(c);
        held += encodes;
    }
    EXPECT_GT(held, 21000);
}

}  // namespace
}  // namespace mlk::test
