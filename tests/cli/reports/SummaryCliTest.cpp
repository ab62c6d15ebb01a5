// mlk summary KIND --pdf: the pages read back with pdftotext.
#include "MlkRunner.h"
#include "PdfText.h"
#include "reports/DirectorySummary.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

class SummaryCliTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("1", "110101", "东城区教育局");
        Dm().ExecSQL("update MLK_CaoZDWXX set JieDMC='东城区'");
    }
};

// The directory printed as it is walked holds the lines of the whole table, captions first;
// also when its lines are made in batches on two threads, the last batch on either.
TEST_F(SummaryCliTest, PrintedDirectoryIsTheTableLineByLine) {
    InsertSampleRows(Dm(), {OwnRow(Dm(), "T1", "教育局", "1", "8210", 2),
                            OwnRow(Dm(), "T2", "节能办", "0", "9900", 1),
                            ImportedRow("a1", "一中", "T1", "T1", "1", "8220", 2, 2),
                            ImportedRow("a2", "二中", "T1", "T1", "1", "8230", 2, 1),
                            ImportedRow("b1", "分校", "a1", "T1", "1", "8240", 3, 1)});
    for (const int more : {0, 3000, 2000}) {
        std::vector<SampleRow> rows;
        for (int i = 0; i < more; ++i) {
            const std::string id = "c" + std::to_string(Count("MLK_JiBXX") + i);
            rows.push_back(ImportedRow(id, id, i % 2 ? "a2" : "T1", "T1", "1", "8220", 3, i % 7));
        }
        InsertSampleRows(Dm(), rows);
        const SummaryTable table = DirectorySummary(Dm());
        std::string expected = Join(table.Captions(), "\t") + "\n";
        for (const std::vector<std::string>& row : table.rows)
            expected += Join(row, "\t") + "\n";
        const MlkRun run = Mlk(dir_.Path(), "summary directory");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, expected) << more;
        EXPECT_EQ(SplitText(run.out, '\n').size(), table.rows.size() + 1) << more;
    }
}

// Enough rows for three pages and more: each page carries the title, the unit, the date, the
// captions and its number of the whole, and every row is printed once, on no page twice and
// on none left out, the last on the last page.
TEST_F(SummaryCliTest, PdfPagesCarryTheHeadingAndEveryRowOnce) {
#ifndef MLK_PDF
    GTEST_SKIP() << "mlk of this build makes no PDF";
#endif
    const int rows = 90;
    std::vector<SampleRow> own;
    for (int i = 1; i <= rows; ++i)
        own.push_back(OwnRow(Dm(), "T" + std::to_string(i), "第" + std::to_string(i) + "学校", "1",
                             "8210", i));
    InsertSampleRows(Dm(), own);
    const std::string before = LocalDate();
    WriteFile(dir_ / "名录.pdf", "old");
    const MlkRun run = Mlk(dir_.Path(), "summary directory --pdf 名录.pdf");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> pages = PdfPages(dir_ / "名录.pdf");
    const std::string count = std::to_string(pages.size());
    EXPECT_EQ(run.out, "已导出PDF文件，共" + count + "页：名录.pdf\n");
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page + 1);
        const std::string& text = pages[page];
        for (const char* part :
             {"公共机构名录汇总表", "行政区划/部门全称：东城区", "序号", "单位地址"})
            EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
        // pdftotext reads "第 1 页 共 3 页" without its narrow blanks.
        EXPECT_NE(text.find("第" + std::to_string(page + 1) + "页共" + count + "页"),
                  std::string::npos)
            << text;
        EXPECT_TRUE(text.find("日期：" + before) != std::string::npos ||
                    text.find("日期：" + LocalDate()) != std::string::npos);
        EXPECT_EQ(text.find("机构ID"), std::string::npos) << "hidden columns are not printed";
    }
    for (int i = 1; i <= rows; ++i)
        EXPECT_EQ(Occurrences(pages, "第" + std::to_string(i) + "学校\n"), 1u) << i;
    EXPECT_NE(pages.back().find("第90学校"), std::string::npos);
    EXPECT_TRUE(PdfFontsEmbedded(dir_ / "名录.pdf"));

    const MlkRun failed = Mlk(dir_.Path(), "summary counts --pdf 无此目录/数量.pdf");
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err.rfind("无法创建文件 无此目录/数量.pdf：文件夹不存在", 0), 0u)
        << failed.err;
}

// Tab-separated findings under the five captions, their number last; exit 0 only with none.
TEST_F(SummaryCliTest, QualityListsTheFindingsAndExitsOneWithAny) {
    const std::string captions = "类别\t机构ID\t机构名称\t所属单位\t说明\n";
    MlkRun run = Mlk(dir_.Path(), "quality");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, captions + "共 0 条问题\n");
    InsertSampleRow(Dm(), OwnRow(Dm(), "T1", "教育局", "1", "9900", 1));
    run = Mlk(dir_.Path(), "quality");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out,
              captions +
                  "组织机构代码校验位\tT1\t教育局全称\t东城区教育局\t123456781：组织机构代码"
                  "校验位不正确，按国家标准应为8\n机构类型代码无效\tT1\t教育局全称\t"
                  "东城区教育局\t机构类型代码“9900”不是可以选择的机构类型\n共 2 条问题\n");
    run = Mlk(dir_.Path(), "quality --xls 质量.xlsx");
    EXPECT_EQ(run.out, "已导出2行：质量.xlsx\n共 2 条问题\n");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "质量.xlsx"));
}

}  // namespace
}  // namespace mlk::test
