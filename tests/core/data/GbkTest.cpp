#include "TestSupport.h"
#include "data/Gbk.h"
#include "data/MlkError.h"

namespace mlk::test {
namespace {

TEST(GbkTest, RoundTripsChineseAndAscii) {
    for (const char* text : {"", "abc 123", "公共机构名录库", "（全角）、，。", "混合 text 文本"}) {
        EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text);
    }
    EXPECT_EQ(Utf8ToGbk("中").size(), 2u);
    EXPECT_EQ(GbkLength("12345678中"), 10u);
    EXPECT_EQ(GbkLength("123456789"), 9u);
}

TEST(GbkTest, InvalidBytesNameTheLine) {
    const std::string bad = Utf8ToGbk("好") + "\x81";  // a lead byte without its trail byte
    try {
        GbkToUtf8(bad, 17);
        FAIL();
    } catch (const MlkError& error) {
        EXPECT_NE(std::string(error.what()).find("第17行"), std::string::npos) << error.what();
    }
    EXPECT_THROW(GbkToUtf8(std::string("ab\x81") + " cd"), MlkError);  // a trail byte out of range
}

TEST(GbkTest, CharactersOutsideGbkAreRefusedNotDropped) {
    EXPECT_THROW(Utf8ToGbk("表情😀"), MlkError);
    EXPECT_EQ(GbkLength("😀"), 2u);
}

}  // namespace
}  // namespace mlk::test
