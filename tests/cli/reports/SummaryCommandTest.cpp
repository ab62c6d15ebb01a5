#include "../../core/reports/SampleDirectory.h"
#include "MlkRunner.h"
#include "data/Platform.h"
#include "data/Text.h"
#include "reports/Save2Excel.h"
#include "reports/TypeSummary.h"

namespace mlk::test {
namespace {

class SummaryCommandTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理办公室");
        InsertSampleRows(Dm(), {OwnRow(Dm(), "T1", "教育局", "1", "8210", 1),
                                ImportedRow("a1", "一中", "T1", "T1", "1", "8220", 2, 1),
                                ImportedRow("a2", "党委", "T1", "T1", "1", "7010", 2, 2)});
    }
    MlkRun Run(const std::vector<std::string>& args) { return Mlk(dir_.Path(), args); }
};

TEST_F(SummaryCommandTest, PrintsEachTableAsTabSeparatedText) {
    struct Case {
        std::string arguments;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"summary counts",
         {"序号\t机构ID\t所辖地区或所属部门名称\t合计\t国家机关\t事业单位\t教育类\t科技类\t文化类\t"
          "卫生类\t体育类\t其他类\t团体组织",
          "1\tT1\t教育局\t3\t1\t2\t2\t0\t0\t0\t0\t0\t0",
          "2\t" + Dm().Unit().DanWID + "\t合计\t3\t1\t2\t2\t0\t0\t0\t0\t0\t0"}},
        {"summary state-organs",
         {"序号\t机构ID\t地区或部门名称\t合计\t中国共产党\t人大\t政府\t政协\t民主党派\t审判\t检察\t"
          "其他类",
          "1\tT1\t教育局\t1\t1\t0\t0\t0\t0\t0\t0\t0"}},
        {"summary types --type2 8200 --type3 8220",
         {"序号\t机构ID\t地区或部门名称\t类型编码\t类型名称\t数量",
          "1\tT1\t教育局\t8220\t中等职业教育\t1"}},
    };
    for (const Case& c : cases) {
        const MlkRun run = Run(SplitText(c.arguments, ' '));
        EXPECT_EQ(run.code, 0) << c.arguments << run.err;
        EXPECT_EQ(SplitText(run.out, '\n'), c.lines) << c.arguments;
    }
    const std::vector<std::string> lines = SplitText(Run({"summary", "directory"}).out, '\n');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].substr(0, 7), "1.1\ta1\t");
}

TEST_F(SummaryCommandTest, WritesTheXlsFileAndRefusesWithAMessage) {
    const auto file = dir_ / "汇总.xls";
    ASSERT_EQ(Run({"summary", "types", "--xls", PathText(file)}).code, 0);
    const SummaryTable table = TypeSummary(Dm());
    EXPECT_EQ(ReadFile(file), XlsRecords(true, table.Captions(), table.rows));
    const MlkRun run = Run({"summary", "counts", "--xls", PathText(dir_ / "无此目录" / "a.xls")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("无此目录"), std::string::npos);
}

}  // namespace
}  // namespace mlk::test
