#include "MlkRunner.h"

namespace mlk::test {
namespace {

TEST_F(DbTest, ListPrintsTheFilteredEntriesOfAKindWithThePagerLine) {
    EXPECT_EQ(Mlk(dir_.Path(), "list departments").err, "尚未注册操作单位\n");
    RegisterUnit("0");
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"甲局", "1", "1"}, {"乙局", "1", "0"}, {"节能中心", "0", "0"}};
    for (const auto& [name, node, confirmed] : rows) {
        GGJG r;
        r.JiGID = TMainDM::NewID();
        r.JiGMC = name;
        r.JieDLB = node;
        r.QueRZT = confirmed;
        r.ShuJLY = "0";
        r.JiGLX = "8230";
        r.ShunX = Dm().QueryInt("select count(*) from MLK_JiBXX");
        r.ShangJBMID = Dm().Unit().DanWID;
        r.Insert(Dm());
    }
    const struct {
        const char* line;
        std::vector<std::string> names;  // the third cell of each row
        const char* pager;
    } cases[] = {
        {"list departments", {"甲局", "乙局"}, "共 2 条，分 1 页，当前第 1 页"},
        {"list institutions --confirm-state 1", {"甲局"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --name 乙 --type 8230", {"乙局"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --type 8240", {}, "共 0 条，分 0 页，当前第 1 页"},
        {"list agencies", {"节能中心"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list departments --page 5 --page-size 1", {"乙局"}, "共 2 条，分 2 页，当前第 2 页"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = SplitText(Mlk(dir_.Path(), c.line).out, '\n');
        ASSERT_EQ(lines.size(), c.names.size() + 2) << c.line;
        EXPECT_EQ(lines[0].rfind("序号\t机构ID\t机构名称\t", 0), 0u) << c.line;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const std::vector<std::string> cells = SplitText(lines[i + 1], '\t');
            EXPECT_EQ(cells[0] + cells[2], std::to_string(i + 1) + c.names[i]) << c.line;
        }
        EXPECT_EQ(lines.back(), c.pager) << c.line;
    }
    for (const auto& [line, message] :
         {std::pair{"list departments --type 8200", "机构分类代码无效：8200\n"},
          {"list departments --page-size 0", "每页条数必须是正整数：0\n"}}) {
        const MlkRun run = Mlk(dir_.Path(), line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, message) << line;
    }
}

}  // namespace
}  // namespace mlk::test
