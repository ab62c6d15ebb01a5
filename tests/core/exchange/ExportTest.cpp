#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "TestSupport.h"
#include "db/EngineError.h"
#include "exchange/Correction.h"
#include "exchange/Export.h"
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
        added_[id] = r;
    }
    std::vector<std::string> FileIds(const std::filesystem::path& file) {
        return Ids(ReadExchangeFile(file));
    }
    long FileCount() {
        return long(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                                  std::filesystem::directory_iterator()));
    }
    NoProgress progress_;
    std::map<std::string, GGJG> added_;
};

TEST_F(ExportTest, WritesEveryRowInOrder) {
    Add("E", "110102", "0", "8210", "5");
    Add("A", "110101", "1", "8210", "5");
    Add("B", "110101", "0", "8310", "5");
    Add("C", "110101", "0", "8210", "6");
    Add("D", "110101", "0", "8210", "5");
    Add("F", "110101", "0", "8210", "5");  // equal to D: database order
    // Values the writer quotes, and a negative number.
    Dm().ExecSQL("update MLK_JiBXX set QiT = ?, ShunX = -7 where JiGID = 'E'",
                 {added_["E"].QiT = " 备注，含\"引号\",逗号"});
    added_["E"].ShunX = -7;
    const auto file = dir_ / "out.txt";
    WriteFile(file, "old content");  // replaced, and no temporary file is left
    EXPECT_EQ(ExportDirectory(Dm(), file, progress_), 6);
    EXPECT_EQ(FileCount(), 2);  // the database and the file
    EXPECT_EQ(FileIds(file), (std::vector<std::string>{"D", "F", "C", "B", "A", "E"}));

    std::string lines;
    for (const char* id : {"D", "F", "C", "B", "A", "E"})
        lines += GbkLine(added_[id]);
    EXPECT_EQ(ReadFile(file), lines);
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
        EXPECT_EQ(ErrorOf([&] { ExportDirectory(Dm(), dir_ / "out.txt", progress_); }),
                  refusal->message)
            << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "out.txt")) << c.name;
        EXPECT_EQ(ConfirmedCount(Dm()), 1) << c.name;
    }
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='1'");
    EXPECT_FALSE(CheckExport(Dm()));
}

// A directory of more rows than are handed to the writing at once: every row in order, or, when
// stopped half-way, with a value that cannot travel near the end or on a full disk, no file at
// all.
TEST_F(ExportTest, ALargeDirectoryIsWrittenWholeOrNotAtAll) {
    std::vector<SampleRow> rows;
    std::vector<std::string> order;
    for (int i = 0; i < 1500; ++i)
        rows.push_back(OwnRow(Dm(), "R" + std::to_string(10000 + i), "学校", "1", "8230", i));
    InsertSampleRows(Dm(), rows);
    // The file's order runs against the database's.
    Dm().ExecSQL("update MLK_JiBXX set XingZJB = 90000 - substr(JiGID, 2)");
    for (int i = 1499; i >= 0; --i)
        order.push_back(rows[std::size_t(i)].id);
    const auto file = dir_ / "out.txt";
    EXPECT_EQ(ExportDirectory(Dm(), file, progress_), 1500);
    EXPECT_EQ(FileIds(file), order);

    WriteFile(file, "good old file");
    StopPast stop(1199);  // 取消 half-way
    EXPECT_EQ(ErrorOf([&] { ExportDirectory(Dm(), file, stop); }), "操作已取消。");
    Dm().ExecSQL("update MLK_JiBXX set ShunX = 2147483648 where JiGID = 'R10042'");
    const std::string error = ErrorOf([&] { ExportDirectory(Dm(), file, progress_); });
    EXPECT_NE(error.find("机构 R10042（学校全称）的显示顺序：2147483648超出整数范围"),
              std::string::npos)
        << error;
#ifndef _WIN32
    Dm().ExecSQL("update MLK_JiBXX set ShunX = 1 where JiGID = 'R10042'");
    EXPECT_EQ(ErrorOf([&] {
                  FileSizeLimit full(64 << 10);  // the disk fills while the rows are written
                  ExportDirectory(Dm(), file, progress_);
              }).substr(0, 19),
              "无法写入文件 ");
#endif
    EXPECT_EQ(ReadFile(file), "good old file");
    EXPECT_EQ(FileCount(), 2);
}

// The file is checked for damage while the rows are written: a damaged index that the export
// does not read still refuses it, damage that the counting or the writing meets is told the same
// way, and the old file stays as it was.
TEST_F(ExportTest, ADamagedDatabaseIsRefusedAndTheOldFileKept) {
    Add("A", "110101", "0", "8210", "5");
    const auto file = dir_ / "out.txt";
    WriteFile(file, "good old file");
    for (const char* damaged : {"IX_JiBXX_ZuZJGDM", "IX_JiBXX_TypeCounts", "MLK_JiBXX"}) {
        DamageBTree(Dm().Db().Path(), damaged);
        Reopen();
        EXPECT_EQ(ErrorOf([&] { ExportDirectory(Dm(), file, progress_); }),
                  DamagedMessage(Dm().Db().Path(), "没有导出任何数据"))
            << damaged;
        EXPECT_EQ(ReadFile(file), "good old file");
        EXPECT_EQ(FileCount(), 2);
    }
}

// Values an earlier build let in that the file cannot carry: the export names every one, writes
// nothing, and exactly those values can then be corrected, in any row.
TEST_F(ExportTest, NamesEveryValueThatCannotTravelAndWritesNothing) {
    const std::string emoji = "\xF0\x9F\x98\x80", beyondGbk = "\xF0\xA0\x80\x80";
    Add("A", "110101", "0", "8210", "5");
    GGJG own = SampleRecord("Z");
    own.JiGMC = own.JieDMC = "一中" + emoji;
    own.Insert(Dm());
    GGJG imported = SampleRecord(ImportedRow("Y", "小学", "T1", "T1", "1", "8210", 2, 0));
    imported.DiZhi_JieD = "路" + beyondGbk;
    imported.ShunX = 2147483648LL;
    imported.Insert(Dm());
    const auto file = dir_ / "out.txt";
    WriteFile(file, "good old file");
    std::vector<std::string> named;
    try {
        ExportDirectory(Dm(), file, progress_);
    } catch (const UntravelableError& error) {
        for (const UntravelableValue& value : error.Values())
            named.push_back(DescribeUntravelable(value));
        EXPECT_NE(std::string(error.what()).find(named.back()), std::string::npos);
    }
    EXPECT_EQ(
        named,
        (std::vector<std::string>{
            "机构 Z（一中" + emoji + "）的单位详细名称：字符“" + emoji + "”无法用GBK编码保存",
            "机构 Z（一中" + emoji + "）的节点名称：字符“" + emoji + "”无法用GBK编码保存",
            "机构 Y（小学全称，下级单位上报）的街道：字符“" + beyondGbk + "”无法用GBK编码保存",
            "机构 "
            "Y（小学全称，下级单位上报）的显示顺序：2147483648超出整数范围（-"
            "2147483648至2147483647）",
        }));
    EXPECT_EQ(ReadFile(file), "good old file");
    EXPECT_EQ(FileCount(), 2);
    EXPECT_THROW(ExportDirectory(Dm(), dir_ / "no-such-folder" / "out.txt", progress_), MlkError);
    EXPECT_EQ(ExportFileName(Dm().Unit()), "东城区教育局-核查数据.txt");
}

TEST_F(ExportTest, CorrectsExactlyTheValuesThatCannotTravel) {
    const std::string emoji = "\xF0\x9F\x98\x80";
    GGJG own = SampleRecord("W" + emoji, "五中" + emoji);
    own.ShunX = -2147483649LL;
    own.Insert(Dm());
    AddPending(Dm(), own.JiGID, own.JiGMC);
    InsertSampleRow(Dm(), ImportedRow("V", "小学", own.JiGID, own.JiGID, "1", "8210", 2, 0));
    const std::size_t kId = 0, kName = 1, kCode = 2, kNode = 8, kOrder = 37;
    const struct {
        std::vector<Correction> corrections;
        std::string error;  // empty: done
    } cases[] = {
        {{{"Q", kName, "x"}}, "名录库中没有机构ID为 Q 的机构"},
        {{{own.JiGID, kCode, "x"}}, "机构 W" + emoji + " 的组织机构代码可以导出，不需要改正。"},
        {{{own.JiGID, kName, "五中"}, {own.JiGID, kOrder, "2147483648"}},
         "机构 W" + emoji + " 的显示顺序必须是-2147483648至2147483647之间的整数。"},
        {{{own.JiGID, kName, "五" + emoji}},
         "机构 W" + emoji + " 的单位详细名称中的字符“" + emoji +
             "”无法用GBK编码保存，请改用其他字"},
        {{{own.JiGID, kId, "V"}}, "名录库中已有机构ID为 V 的机构"},
        {{{own.JiGID, kId, "W1"},
          {own.JiGID, kName, "五中"},
          {own.JiGID, kNode, "五中"},
          {own.JiGID, kOrder, "5"}},
         ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { CorrectUntravelable(Dm(), c.corrections); }), c.error);
        if (!c.error.empty()) {
            EXPECT_EQ(Column(own.JiGID, "JiGMC"), own.JiGMC) << c.error;
        }
    }
    // The new id is wherever the old one was; the pending row keeps the entry's name.
    EXPECT_EQ(Column("W1", "JiGMC") + Column("W1", "ShunX") + Column("V", "ShangBJGID") +
                  Column("V", "ShangJBMID"),
              "五中5W1W1");
    EXPECT_EQ(Dm().QueryText("select JiGID||JiGMC from MLK_DaiDRJG"), "W1五中");
    EXPECT_EQ(ExportDirectory(Dm(), dir_ / "out.txt", progress_), 2);
}

// Both writers replace their target through a short temporary name beside it: a target name of
// 253 bytes still fits.
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
        c.write(file);
        EXPECT_GT(std::filesystem::file_size(file), 20u) << c.extension;
    }
    EXPECT_EQ(FileCount(), 3);  // the database and the two files
}

}  // namespace
}  // namespace mlk::test
