#include "MlkRunner.h"
#include "data/GGJG.h"
#include "data/Text.h"

namespace mlk::test {
namespace {

class ListCommandTest : public DbTest {
  protected:
    void AddEntry(const std::string& name, const std::string& node, const std::string& confirmed,
                  long long order) {
        GGJG r;
        r.JiGID = "110101" + TMainDM::NewID();
        r.JiGMC = name;
        r.JieDLB = node;
        r.QueRZT = confirmed;
        r.ShuJLY = "0";
        r.JiGLX = "8230";
        r.ShunX = order;
        r.ShangJBMID = Dm().Unit().DanWID;
        r.Insert(Dm());
    }
};

TEST_F(ListCommandTest, PrintsTheFilteredEntriesOfAKindWithThePagerLine) {
    RegisterUnit("0");
    AddEntry("甲局", "1", "1", 1);
    AddEntry("乙局", "1", "0", 2);
    AddEntry("节能中心", "0", "0", 3);
    dm_.reset();

    struct Case {
        const char* arguments;
        std::vector<std::string> names;  // column 3 of each row
        const char* pager;
    } cases[] = {
        {"list departments", {"甲局", "乙局"}, "共 2 条，分 1 页，当前第 1 页"},
        {"list institutions --confirm-state 1", {"甲局"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --name 乙 --type 8230", {"乙局"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --type 8240", {}, "共 0 条，分 0 页，当前第 1 页"},
        {"list agencies", {"节能中心"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --page 2 --page-size 1", {"乙局"}, "共 2 条，分 2 页，当前第 2 页"},
    };
    for (const Case& c : cases) {
        const MlkRun run = Mlk(dir_.Path(), c.arguments);
        ASSERT_EQ(run.code, 0) << c.arguments << run.err;
        const std::vector<std::string> lines = SplitText(run.out, '\n');
        ASSERT_EQ(lines.size(), c.names.size() + 2) << c.arguments;
        EXPECT_EQ(SplitText(lines[0], '\t')[0], "序号");
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const std::vector<std::string> cells = SplitText(lines[i + 1], '\t');
            EXPECT_EQ(cells[0], std::to_string(i + 1)) << c.arguments;
            EXPECT_EQ(cells[2], c.names[i]) << c.arguments;
        }
        EXPECT_EQ(lines.back(), c.pager) << c.arguments;
    }
}

TEST_F(ListCommandTest, RefusesWhatTheListCannotShow) {
    EXPECT_EQ(Mlk(dir_.Path(), "list departments").err, "尚未注册操作单位\n");
    RegisterUnit("0");
    const std::pair<const char*, const char*> cases[] = {
        {"list departments --level 9", "行政级别代码无效：9\n"},
        {"list departments --type 8200", "机构分类代码无效：8200\n"},
        {"list departments --page-size 0", "每页条数必须是正整数：0\n"},
        {"list departments --page x", "页码必须是正整数：x\n"},
    };
    for (const auto& [line, message] : cases) {
        const MlkRun run = Mlk(dir_.Path(), line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, message) << line;
    }
}

}  // namespace
}  // namespace mlk::test
