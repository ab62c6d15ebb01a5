#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "exchange/Export.h"
#include "platform/ReplacingFile.h"
#include "reports/Save2Excel.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

class ExportTest : public DepartmentTest {
  protected:
    void Add(const std::string& id, const std::string& xzqh, const std::string& fund,
             const std::string& type, const std::string& rank) {
        GGJG r = SampleRecord(id);
        r.XingZQH = xzqh;
        r.CaiZJFLYFS = fund;
        r.JiGLX = type;
        r.XingZJB = rank;
        r.Insert(Dm());
    }
    std::vector<std::string> FileIds(const std::filesystem::path& file) {
        return Ids(ReadExchangeFile(file));
    }
    long FileCount() {
        return long(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                                  std::filesystem::directory_iterator()));
    }
    NoProgress progress_;
};

TEST_F(ExportTest, WritesEveryRowInOrder) {
    Add("E", "110102", "0", "8210", "5");
    Add("A", "110101", "1", "8210", "5");
    Add("B", "110101", "0", "8310", "5");
    Add("C", "110101", "0", "8210", "6");
    Add("D", "110101", "0", "8210", "5");
    Add("F", "110101", "0", "8210", "5");  // equal to D: database order
    const auto file = dir_ / "out.txt";
    WriteFile(file, "old content");  // replaced, and no temporary file is left
    EXPECT_EQ(ExportDirectory(Dm(), file, progress_), 6);
    EXPECT_EQ(FileCount(), 2);  // the database and the file
    EXPECT_EQ(FileIds(file), (std::vector<std::string>{"D", "F", "C", "B", "A", "E"}));

    const std::string bytes = ReadFile(file);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(SplitText(bytes, '\n').size(), 6u);
    EXPECT_EQ(bytes.find(Utf8ToGbk("测试学校")) != std::string::npos, true);
}

TEST_F(ExportTest, GuardCountsEveryUnconfirmedRow) {
    const struct {
        const char* name;
        const char* update;
    } cases[] = {
        {"unconfirmed", "update MLK_JiBXX set QueRZT='0' where JiGID='B'"},
        {"empty", "update MLK_JiBXX set QueRZT='' where JiGID='B'"},
        {"missing", "update MLK_JiBXX set QueRZT=null where JiGID='B'"},
    };
    Add("A", "110101", "0", "8210", "5");
    Add("B", "110101", "0", "8210", "5");
    for (const auto& c : cases) {
        Dm().ExecSQL(c.update);
        const CheckResult refusal = CheckExport(Dm());
        ASSERT_TRUE(refusal) << c.name;
        EXPECT_EQ(refusal->message,
                  "请核查全部机构信息后再导出机构列表！\n尚有1条机构信息未通过核查。");
        EXPECT_THROW(ExportDirectory(Dm(), dir_ / "out.txt", progress_), MlkError) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "out.txt")) << c.name;
        EXPECT_EQ(ConfirmedCount(Dm()), 1) << c.name;
    }
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='1'");
    EXPECT_FALSE(CheckExport(Dm()));
}

TEST_F(ExportTest, FailureKeepsThePreviousFileAndNamesTheRow) {
    Add("A", "110101", "0", "8210", "5");
    GGJG r = SampleRecord("Z");
    r.JiGMC = "不能编码\xF0\x9F\x98\x80";  // a character that GBK does not hold
    r.Insert(Dm());
    const auto file = dir_ / "out.txt";
    WriteFile(file, "good old file");
    EXPECT_NE(ErrorOf([&] { ExportDirectory(Dm(), file, progress_); }).find("Z"),
              std::string::npos);
    EXPECT_EQ(ReadFile(file), "good old file");
    EXPECT_EQ(FileCount(), 2);
    EXPECT_THROW(ExportDirectory(Dm(), dir_ / "no-such-folder" / "out.txt", progress_), MlkError);
    EXPECT_EQ(ExportFileName(Dm().Unit()), "东城区教育局-核查数据.txt");
}

// Both writers replace their target through one short temporary name beside it: a target name
// of 253 bytes still fits, and the leftover of a crash goes with the next write.
TEST_F(ExportTest, WritersReplaceTheTargetThroughAShortTemporaryName) {
    Add("A", "110101", "0", "8210", "5");
    std::string stem;
    for (int i = 0; i < 83; ++i)
        stem += "长";
    const struct {
        const char* extension;
        std::function<void(const std::filesystem::path&)> write;
    } cases[] = {
        {".txt", [&](const auto& file) { ExportDirectory(Dm(), file, progress_); }},
        {".xls", [&](const auto& file) { SaveListToXls(file, true, {"n"}, {{"1"}}); }},
    };
    for (const auto& c : cases) {
        const auto file = dir_ / (stem + c.extension);
        WriteFile(ReplacingFile::TemporaryFor(file), "left by a crash");
        EXPECT_LT(ReplacingFile::TemporaryFor(file).filename().string().size(), 20u);
        c.write(file);
        EXPECT_GT(std::filesystem::file_size(file), 20u) << c.extension;
        EXPECT_FALSE(std::filesystem::exists(ReplacingFile::TemporaryFor(file))) << c.extension;
    }
    EXPECT_EQ(FileCount(), 3);  // the database and the two files
}

}  // namespace
}  // namespace mlk::test
