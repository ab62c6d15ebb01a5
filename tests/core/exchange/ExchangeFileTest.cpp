#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "data/MlkError.h"
#include "data/Text.h"

namespace mlk::test {
namespace {

// Reads every record of a file.
std::vector<GGJG> ReadAll(const std::filesystem::path& file) {
    ExchangeReader reader(file);
    std::vector<GGJG> records;
    GGJG record;
    while (reader.Next(record))
        records.push_back(record);
    return records;
}

std::string ErrorOf(const std::filesystem::path& file) {
    try {
        ReadAll(file);
    } catch (const MlkError& error) {
        return error.what();
    }
    return "(no error)";
}

// A value written by the writer comes back byte for byte, in any text item.
TEST(ExchangeFileTest, AwkwardValuesComeBackUnchanged) {
    // clang-format off
    const std::string values[] = {" 前导空格", "尾随空格 ", "   ", "甲,乙,丙", ",", "他说\"好\"", "\"",
        "\"全部\"", "\",\",\"\"", "第一行\r\n第二行", "a\rb", "a\nb", "结尾\n", "a\tb", "",
        "北京市东城区第一中学（分校）", " 中,\"文\"\r\n\t"};
    // clang-format on
    for (const std::string& value : values) {
        TempDir dir;
        GGJG record = SampleRecord("110101AAAAAAAAAA");
        record.JiGMC = value;       // item 2
        record.QiT = value;         // item 22, out of column order
        record.ShangJBMID = value;  // item 36, the last text
        GGJG second = SampleRecord("110101BBBBBBBBBB");
        second.DiZhi_JieD = value;
        WriteFile(dir / "x.txt", GbkLine(record) + GbkLine(second));
        const std::vector<GGJG> read = ReadAll(dir / "x.txt");
        ASSERT_EQ(read.size(), 2u) << value;
        EXPECT_EQ(ExchangeItems(read[0]), ExchangeItems(record)) << value;
        EXPECT_EQ(ExchangeItems(read[1]), ExchangeItems(second)) << value;
    }
}

TEST(ExchangeWriterTest, QuotesOnlyWhatNeedsIt) {
    const struct {
        std::string value, written;
    } cases[] = {
        {"plain", "plain"}, {"中文", "中文"},       {"", ""},
        {"a b", "\"a b\""}, {"a,b", "\"a,b\""},     {"a\"b", "\"a\"\"b\""},
        {"\t", "\"\t\""},   {"x\r\n", "\"x\r\n\""}, {"-12", "-12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuoteExchangeItem(c.value), c.written) << c.value;
}

TEST(ExchangeWriterTest, IntegersAreDecimalWithSign) {
    GGJG record = SampleRecord("1");
    record.JiC = -3;
    record.ShunX = -2147483648LL;
    const std::vector<std::string> items = ExchangeItems(record);
    ASSERT_EQ(items.size(), 38u);
    EXPECT_EQ(items[36], "-3");
    EXPECT_EQ(items[37], "-2147483648");
    TempDir dir;
    WriteFile(dir / "x.txt", GbkLine(record));
    const std::vector<GGJG> read = ReadAll(dir / "x.txt");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].ShunX, -2147483648LL);
}

// Lines without quotes split exactly as a plain split at every comma with trimmed items.
TEST(ExchangeReaderTest, PlainLinesSplitAsPlainSplit) {
    const std::vector<std::string> lines = {
        "a,b,c", " a , b ,c ", "a,,c,", ",", "\ta\t,b", "ab\"c,d\"e,f", " \"x\",y", "中文,名 称,，",
    };
    for (const std::string& line : lines) {
        ExchangeSplit split;
        SplitExchangeRecord(line, split);
        EXPECT_EQ(split.items, SplitText(line, ',')) << line;
    }

    TempDir dir;
    std::string file;
    std::vector<std::string> expected;
    for (int n = 0; n < 3; ++n) {
        std::vector<std::string> items;
        for (int i = 0; i < 38; ++i)
            items.push_back(i < 36 ? " 值" + std::to_string(i) + " " : "7");
        items[5] = "";
        file += Utf8ToGbk(Join(items, ",")) + "\r\n";
    }
    WriteFile(dir / "plain.txt", file);
    const std::vector<GGJG> read = ReadAll(dir / "plain.txt");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2].JiGID, "值0");
    EXPECT_EQ(read[2].XingZLSJB, "");
    EXPECT_EQ(read[2].QiT, "值21");
    EXPECT_EQ(read[2].ShangJBMID, "值35");
    EXPECT_EQ(read[2].JiC, 7);
}

TEST(ExchangeReaderTest, LineEnds) {
    const GGJG a = SampleRecord("110101AAAAAAAAAA");
    const GGJG b = SampleRecord("110101BBBBBBBBBB");
    const struct {
        const char* name;
        std::string bytes;
        std::size_t records;
    } cases[] = {
        {"crlf", GbkLine(a) + GbkLine(b), 2},
        {"lone cr", GbkLine(a, "\r") + GbkLine(b, "\r"), 2},
        {"lone lf", GbkLine(a, "\n") + GbkLine(b, "\n"), 2},
        {"no final line end", GbkLine(a) + GbkLine(b, ""), 2},
        {"zero byte ends the text", GbkLine(a) + std::string(1, '\0') + "garbage", 1},
        {"empty file", "", 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / "x.txt", c.bytes);
        const std::vector<GGJG> read = ReadAll(dir / "x.txt");
        ASSERT_EQ(read.size(), c.records) << c.name;
        if (c.records == 2) {
            EXPECT_EQ(read[1].JiGID, b.JiGID) << c.name;
        }
    }
}

TEST(ExchangeReaderTest, Refusals) {
    std::vector<std::string> items = ExchangeItems(SampleRecord("110101AAAAAAAAAA"));
    const std::string good = GbkLine(SampleRecord("110101CCCCCCCCCC"));
    std::vector<std::string> short37(items.begin(), items.end() - 1);
    std::vector<std::string> long39 = items;
    long39.push_back("9");
    std::vector<std::string> badNumber = items;
    badNumber[36] = "1x";
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"37 items", good + Utf8ToGbk(Join(short37, ",")) + "\r\n",
         JoinExchangeItems(short37) + "数据项不正确，数据项不为38个"},
        {"39 items", good + Utf8ToGbk(Join(long39, ",")) + "\r\n",
         JoinExchangeItems(long39) + "数据项不正确，数据项不为38个"},
        {"trailing comma", Utf8ToGbk(Join(short37, ",")) + ",\r\n", "数据项不为38个"},
        {"empty line", good + "\r\n" + good, "数据项不正确，数据项不为38个"},
        {"blank item shown quoted", Utf8ToGbk("a b,c") + "\r\n", "\"a b\",c数据项不正确"},
        {"bad number", good + Utf8ToGbk(Join(badNumber, ",")) + "\r\n",
         "第2行：'1x' 不是有效的整数"},
        {"not GBK", good + "\x81\x20,x\r\n", "第2行"},
        {"open quote", good + Utf8ToGbk("\"unclosed,") + "\r\nno quotes\r\n",
         "第2行：双引号没有配对"},
        {"open quote closed on a later line", good + Utf8ToGbk("\"unclosed,") + "\r\n" + good,
         "数据项不为38个"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / "x.txt", c.bytes);
        EXPECT_NE(ErrorOf(dir / "x.txt").find(c.message), std::string::npos)
            << c.name << ": " << ErrorOf(dir / "x.txt");
    }
}

TEST(ExchangeReaderTest, QuotedLineEndsCountAsFileLines) {
    GGJG first = SampleRecord("110101AAAAAAAAAA");
    first.QiT = "一\r\n二\n三";
    std::vector<std::string> bad = ExchangeItems(SampleRecord("X"));
    bad.pop_back();
    TempDir dir;
    WriteFile(dir / "x.txt", GbkLine(first) + Utf8ToGbk(Join(bad, ",")) + "\r\n");
    ExchangeReader reader(dir / "x.txt");
    GGJG record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(reader.Line(), 1u);
    EXPECT_THROW(reader.Next(record), MlkError);
    EXPECT_EQ(reader.Line(), 4u);
    EXPECT_THROW(ExchangeReader(dir / "none.txt"), MlkError);
}

// Records cross the reader's buffer at every kind of byte: a file of several megabytes.
TEST(ExchangeReaderTest, LargeFileReadsBackRecordForRecord) {
    TempDir dir;
    std::string bytes;
    std::vector<GGJG> written;
    for (int i = 0; i < 12000; ++i) {
        GGJG r = SampleRecord("ID" + std::to_string(i));
        r.QiT = std::string(std::size_t(i % 7), '"') + "备注,\r\n" + std::to_string(i) + " ";
        r.JiGMC = i % 3 ? "名称" + std::to_string(i) : " \"" + std::to_string(i) + "\"";
        r.JiC = -i;
        bytes += GbkLine(r, i % 2 ? "\r\n" : "\n");
        written.push_back(r);
    }
    ASSERT_GT(bytes.size(), 3u << 20);
    WriteFile(dir / "big.txt", bytes);
    ExchangeReader reader(dir / "big.txt");
    GGJG record;
    std::size_t n = 0;
    while (reader.Next(record)) {
        ASSERT_LT(n, written.size());
        ASSERT_EQ(ExchangeItems(record), ExchangeItems(written[n])) << "record " << n;
        ++n;
    }
    EXPECT_EQ(n, written.size());
    EXPECT_EQ(reader.Line(), 12000u * 2 - 1);  // every record holds one line end in quotes
}

}  // namespace
}  // namespace mlk::test
