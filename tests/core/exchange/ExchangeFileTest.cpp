#include <gtest/gtest.h>

#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "TestSupport.h"
#include "base/MlkError.h"
#include "text/Text.h"

// The record below names only the fields of the file; the labels stay empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace mlk::test {
namespace {

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

// Lines without quotes split exactly as a plain split at every comma with trimmed items; quoted
// items lose their quotes, however many of them in a line need their doubled quotes undone.
TEST(ExchangeReaderTest, SplitsPlainAndQuotedItems) {
    const auto split = [](const std::string& line) {
        ExchangeSplit split;
        SplitExchangeRecord(line, split);
        return std::vector<std::string>(split.items.begin(), split.items.end());
    };
    const std::vector<std::string> lines = {
        "a,b,c", " a , b ,c ", "a,,c,", ",", "\ta\t,b", "ab\"c,d\"e,f", " \"x\",y", "中文,名 称,，",
    };
    for (const std::string& line : lines)
        EXPECT_EQ(split(line), SplitText(line, ',')) << line;
    const struct {
        std::string line;
        std::vector<std::string> items;
    } quoted[] = {
        {"\"a b\"", {"a b"}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\"\",\"\"", {"", ""}},
        {"\"a\"x,b", {"ax", "b"}},
        {"\"a\"\"b\",\"c\"\"d\",\"e\"\"\"", {"a\"b", "c\"d", "e\""}},
    };
    for (const auto& c : quoted)
        EXPECT_EQ(split(c.line), c.items) << c.line;

    // Items map to the fields in the file's order, trimmed.
    std::vector<std::string> items;
    for (int i = 0; i < 38; ++i)
        items.push_back(i < 36 ? " 项" + std::to_string(i) + " " : "7");
    items[5] = "";
    TempDir dir;
    WriteFile(dir / "plain.txt", Utf8ToGbk(Join(items, ",")));
    const GGJG r = ReadExchangeFile(dir / "plain.txt").at(0);
    EXPECT_EQ(Join({r.JiGID, r.XingZLSJB, r.QiT, r.ShangJBMID, std::to_string(r.JiC)}, "|"),
              "项0||项21|项35|7");
}

// Every line end, and GBK and UTF-8 files, short and long, read back to the same texts. Short
// UTF-8 texts are valid GBK as well (丸山小学 reads as the GBK "涓稿北灏忓", Café as "Caf茅"):
// valid UTF-8 decides. A stream is read once, front to back.
TEST(ExchangeReaderTest, LineEndsAndEncodings) {
    const auto lines = [](const std::string& name, int count, bool utf8, const char* end = "\r\n") {
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            GGJG r = SampleRecord("ID" + std::to_string(i), name);
            r.ZuZJGDM = r.HangYDM = r.ShangJHYZGBM = r.ShangJXZZGBM = r.DiZhi_Shen = r.DiZhi_Shi =
                r.DiZhi_Xian = r.DiZhi_JieD = r.DiZhi_HaoP = r.LianXRXM = r.TianBRXM = r.TongJY =
                    r.DanWFZR = r.QueRRXM = r.QiT = r.JieDMC = "";
            const std::string line = JoinExchangeItems(ExchangeItems(r)) + end;
            bytes += utf8 ? line : Utf8ToGbk(line);
        }
        return bytes;
    };
    const std::string name = "北京市东城区第一中学（分校）";
    const struct {
        const char* what;
        std::string bytes;
        std::size_t records;
        std::string last;   // the last record's JiGMC
        bool pipe = false;  // given through a named pipe (not on Windows)
    } cases[] = {
        {"lone cr", lines("甲", 2, false, "\r"), 2, "甲"},
        {"lone lf", lines("甲", 2, false, "\n"), 2, "甲"},
        {"no final line end", lines("甲", 1, false) + lines("乙", 1, false, ""), 2, "乙"},
        {"empty file", "", 0, ""},
        {"UTF-8 mark only", "\xEF\xBB\xBF", 0, ""},
        {"short GBK", lines("中学", 1, false), 1, "中学"},
        {"short UTF-8", lines("学校", 1, true), 1, "学校"},
        {"UTF-8 that is GBK as well", lines("丸山小学", 1, true), 1, "丸山小学"},
        {"UTF-8 of two-byte characters", lines("Café", 1, true), 1, "Café"},
        {"short UTF-8 with a mark", "\xEF\xBB\xBF" + lines("学校", 1, true), 1, "学校"},
        {"long GBK", lines(name, 3000, false), 3000, name},
        {"long UTF-8", lines(name, 3000, true), 3000, name},
        {"UTF-8 after a megabyte of ASCII", lines("school", 12000, true) + lines("学校", 1, true),
         12001, "学校"},
        {"GBK after a megabyte of ASCII", lines("school", 12000, false) + lines("中学", 1, false),
         12001, "中学"},
        {"a pipe", lines("school", 12000, false) + lines("中学", 1, false), 12001, "中学", true},
        {"a pipe with a mark", "\xEF\xBB\xBF" + lines("学校", 2, true), 2, "学校", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::thread writer;
        if (c.pipe) {
#ifdef _WIN32
            continue;
#else
            ASSERT_EQ(mkfifo((dir / "x.txt").c_str(), 0600), 0);
            writer = std::thread([&] { WriteFile(dir / "x.txt", c.bytes); });
#endif
        } else {
            WriteFile(dir / "x.txt", c.bytes);
        }
        const std::vector<GGJG> read = ReadExchangeFile(dir / "x.txt");
        if (writer.joinable())
            writer.join();
        ASSERT_EQ(read.size(), c.records) << c.what;
        if (!read.empty()) {
            EXPECT_EQ(read.back().JiGMC + "|" + read.front().JiGID, c.last + "|ID0") << c.what;
        }
    }
}

// Every bad file is refused at its line, with a message of bounded length.
TEST(ExchangeReaderTest, Refusals) {
    std::vector<std::string> items = ExchangeItems(SampleRecord("110101AAAAAAAAAA"));
    const std::string good = GbkLine(SampleRecord("110101CCCCCCCCCC"));
    std::vector<std::string> short37(items.begin(), items.end() - 1);
    std::vector<std::string> long39 = items;
    long39.push_back("9");
    const auto with = [&](std::size_t item, const std::string& value) {
        std::vector<std::string> changed = items;
        changed[item] = value;
        return Utf8ToGbk(JoinExchangeItems(changed)) + "\r\n";
    };
    const auto withUtf8 = [&](std::size_t item, const std::string& value) {
        std::vector<std::string> changed = items;
        changed[item] = value;
        return JoinExchangeItems(changed) + "\r\n";
    };
    enum Path { kFile, kFolder, kMissing };
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
        Path path = kFile;
    } cases[] = {
        {"37 items", good + Utf8ToGbk(Join(short37, ",")) + "\r\n",
         "第2行：" + JoinExchangeItems(short37) + "数据项不正确，数据项不为38个"},
        {"39 items", good + Utf8ToGbk(Join(long39, ",")) + "\r\n",
         "第2行：" + JoinExchangeItems(long39).substr(0, 100)},
        {"trailing comma", Utf8ToGbk(Join(short37, ",")) + ",\r\n", "数据项不为38个"},
        {"empty line", good + "\r\n" + good, "第2行：数据项不正确，数据项不为38个"},
        {"blank item shown quoted", Utf8ToGbk("a b,c") + "\r\n", "第1行：\"a b\",c数据项不正确"},
        {"a 6 MB record, then a bad line", with(1, std::string(6 << 20, 'x')) + good + "x,y",
         "第3行：x,y数据项不正确"},
        {"a 50 MB line shown in part", Utf8ToGbk("甲,") + std::string(50 << 20, 'y'),
         "第1行：甲," + std::string(198, 'y') + "……数据项不正确，数据项不为38个"},
        {"bad number", good + with(36, "1x"), "第2行：第37项 '1x' 不是有效的整数"},
        {"item 37 past 32 bits", good + with(36, "2147483648"), "第2行：第37项 '2147483648' 超出"},
        {"item 37 below 32 bits", with(36, "-2147483649"), "第37项 '-2147483649' 超出"},
        {"item 38 past 64 bits", with(37, "9223372036854775807"),
         "第38项 '9223372036854775807' 超出"},
        {"not GBK", good + "\x81\x20,x\r\n", "第2行含有不是GBK编码的字节"},
        {"zero byte inside a line", good + std::string("ab\0cd\r\n", 7), "第2行含有零字节"},
        {"UTF-16 mark", "\xFF\xFE" + std::string("I\0D\0", 4), "UTF-16"},
        {"GBK after a UTF-8 mark", "\xEF\xBB\xBF" + Join(items, ",") + "\r\n" + Utf8ToGbk("北京"),
         "第2行的编码与前面的行不同（GBK/UTF-8），文件可能由两个文件拼接而成"},
        {"a UTF-8 line after GBK ones",
         good + good + std::string(36, ',') + "1,2\r\n" + Join(items, ","),
         "第4行的编码与前面的行不同（UTF-8/GBK），文件可能由两个文件拼接而成"},
        {"UTF-8 that GBK cannot hold",
         Join(items, ",") + "\r\n" + withUtf8(16, "路\xF0\x9F\x98\x80"),
         "第2行第17项：街道中的字符“\xF0\x9F\x98\x80”无法用GBK编码保存，请改用其他字"},
        {"bytes of neither in a UTF-8 file", Join(items, ",") + "\r\n\x81\x20",
         "第2行含有不是UTF-8"},
        {"a mark starting a later line", good + "\xEF\xBB\xBF" + good,
         "第2行含有字节顺序标记（BOM）"},
        {"a mark inside UTF-8", Join(items, ",") + "\xEF\xBB\xBF\r\n", "第1行含有字节顺序标记"},
        {"a 50 MB line of commas", std::string(50 << 20, ','),
         "第1行：" + std::string(38, ',') + "……数据项不正确"},
        {"open quote", good + Utf8ToGbk("\"unclosed,") + "\r\nno quotes\r\n",
         "第2行：双引号没有配对"},
        {"line ends in quotes count as lines",
         with(21, "一\r\n二\n三") + Utf8ToGbk(Join(short37, ",")), "第4行："},
        {"open quote closed on a later line", good + Utf8ToGbk("\"unclosed,") + "\r\n" + good,
         "数据项不为38个"},
        {"a folder", "", "：这是一个文件夹，不是文件", kFolder},
        {"a missing file", "", "：文件不存在", kMissing},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.path == kFolder)
            std::filesystem::create_directory(dir / "x.txt");
        if (c.path == kFile)
            WriteFile(dir / "x.txt", c.bytes);
        const std::string error = ErrorOf([&] { ReadExchangeFile(dir / "x.txt"); });
        EXPECT_NE(error.find(c.message), std::string::npos)
            << c.name << ": " << error.substr(0, 300);
        EXPECT_LT(error.size(), 1000u) << c.name;
    }
}

// A line written out by hand, item after item in the file's order. The writer and the reader
// share one field list, so a round trip cannot tell two neighbouring items changed places: the
// writer must make this line from a record filled field by field, and the reader must give each
// field back from it.
TEST(ExchangeFileTest, AHandWrittenLineMatchesTheRecordItemByItem) {
    const std::string line =
        "110101A1B2C3D4E5,北京市第一中学,12345678X,P8230,110105,4,5,1,一中,东城区教育局,"
        "东城区人民政府,0,8230,北京市,市辖区,东城区,东华门街道,12号,100010,王老师,01065123456,"
        "备注,李四,2024-03-01,2,王五,赵六,110101FFFFFFFFFF,钱七,\"2024-03-02 10:00:00\",1,孙八,"
        "\"2024-03-03 11:00:00\",1,0,110101ABCDEF0123,2,-7";
    // clang-format off
    const GGJG record{.JiGID = "110101A1B2C3D4E5", .JiGMC = "北京市第一中学",
        .ZuZJGDM = "12345678X", .HangYDM = "P8230", .XingZQH = "110105", .XingZLSJB = "4",
        .XingZJB = "5", .JieDLB = "1", .JieDMC = "一中", .ShangJHYZGBM = "东城区教育局",
        .ShangJXZZGBM = "东城区人民政府", .CaiZJFLYFS = "0", .JiGLX = "8230",
        .DiZhi_Shen = "北京市", .DiZhi_Shi = "市辖区", .DiZhi_Xian = "东城区",
        .DiZhi_JieD = "东华门街道", .DiZhi_HaoP = "12号", .YouZBM = "100010",
        .LianXRXM = "王老师", .LianXDH = "01065123456", .TianBRXM = "李四",
        .ChuSHSJ = "2024-03-01", .GengXZT = "2", .TongJY = "王五", .DanWFZR = "赵六",
        .ShangBJGID = "110101FFFFFFFFFF", .QueRRXM = "钱七", .QueRSJ = "2024-03-02 10:00:00",
        .QueRZT = "1", .ShenHRXM = "孙八", .ShenHSJ = "2024-03-03 11:00:00", .ShenHZT = "1",
        .ShuJLY = "0", .ShangJBMID = "110101ABCDEF0123", .QiT = "备注", .JiC = 2, .ShunX = -7};
    // clang-format on
    const std::vector<std::string> items = SplitText(line, ',');  // no value holds a comma
    const std::vector<std::string> written = ExchangeItems(record);
    ASSERT_EQ(items.size(), kExchangeItems);
    ASSERT_EQ(written.size(), kExchangeItems);
    for (std::size_t i = 0; i < kExchangeItems; ++i)
        EXPECT_EQ(QuoteExchangeItem(written[i]), items[i]) << "item " << i + 1;

    TempDir dir;
    WriteFile(dir / "line.txt", Utf8ToGbk(line) + "\r\n");
    const std::vector<GGJG> read = ReadExchangeFile(dir / "line.txt");
    ASSERT_EQ(read.size(), 1u);
    // Compared field by field through the record's names: a field the reader put in the wrong
    // place differs from the record filled by hand.
    const std::vector<std::string> back = ExchangeItems(read[0]);
    for (std::size_t i = 0; i < kExchangeItems; ++i)
        EXPECT_EQ(back[i], written[i]) << "item " << i + 1;
}

// A value written by the writer comes back byte for byte, in any text item, and items 37 and 38
// hold any 32-bit number. Records cross the reader's buffer at every kind of byte: a file of
// several megabytes.
TEST(ExchangeFileTest, LargeFileOfAwkwardValuesReadsBackRecordForRecord) {
    // clang-format off
    const std::string values[] = {" 前导空格", "尾随空格 ", "   ", "甲,乙,丙", ",", "他说\"好\"", "\"",
        "\"全部\"", "\",\",\"\"", "第一行\r\n第二行", "a\rb", "a\nb", "结尾\n", "a\tb", "",
        "北京市东城区第一中学（分校）", " 中,\"文\"\r\n\t"};
    // clang-format on
    TempDir dir;
    std::string bytes;
    std::vector<GGJG> written;
    std::size_t line = 1, lastStart = 0;  // line ends in quotes count as lines
    for (int i = 0; i < 12000; ++i) {
        GGJG r = SampleRecord("ID" + std::to_string(i));
        r.QiT = std::string(std::size_t(i % 7), '"') + "备注,\r\n" + std::to_string(i) + " ";
        r.JiGMC = r.ShangJBMID = values[std::size_t(i) % std::size(values)];
        r.DiZhi_JieD = i % 3 ? "名称" + std::to_string(i) : " \"" + std::to_string(i) + "\"";
        r.JiC = i % 2 ? 2147483647 : -i;
        r.ShunX = i % 3 ? -2147483648LL : i;
        const std::string text = GbkLine(r, i % 2 ? "\r\n" : "\n");
        lastStart = line;
        for (std::size_t k = 0; k < text.size(); ++k)
            line += text[k] == '\n' || (text[k] == '\r' && text[k + 1] != '\n');
        bytes += text;
        written.push_back(r);
    }
    ASSERT_GT(bytes.size(), 2u << 20);
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
    EXPECT_EQ(reader.Line(), lastStart);
}

}  // namespace
}  // namespace mlk::test
