#include "MlkRunner.h"

namespace mlk::test {
namespace {

TEST_F(CliTest, RegisterOnceAndShowTheUnit) {
    EXPECT_EQ(Run("init").code, 0);
    const std::string other = PathText(dir_ / "另一个 库.DB");
    EXPECT_EQ(Run({"--db", other, "init"}).out, "数据库已就绪：" + other + "\n");
    // What the menu offers only to a registered unit, mlk refuses in one message.
    for (const char* line : {"unit", "list departments", "confirm --all", "pending",
                             "load-initial x.txt", "summary counts", "export x.txt"}) {
        const MlkRun run = Run(line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, "尚未注册操作单位（请先运行 mlk register）。\n") << line;
    }
    const std::pair<const char*, const char*> refusals[] = {
        {"register --name 某单位 --county 110101 --type 0 --person 张三",
         "行政隶属级别不能为空。\n"},
        {"register --name 某单位 --level 4 --county 999999 --type 1 --person 张三",
         "行政区划代码不存在：999999\n"},
    };
    for (const auto& [line, message] : refusals) {
        const MlkRun run = Run(line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, message) << line;
    }
    const char* const agency =
        "register --name 东城区节能监察中心 --level 4 --county 110101 --type 0 --node 东城节能 "
        "--person 张三";
    EXPECT_EQ(Run(agency).err, "");
    const std::string unit = Run("unit").out;
    for (const char* line : {"xqmc\t所在区县\t东城区\n", "JieDMC\t节点名称\t东城节能\n"})
        EXPECT_NE(unit.find(line), std::string::npos) << line << unit;
    EXPECT_NE(Run(agency).err.find("不能再次注册"), std::string::npos);
}

// Before registration, as in the window: a city or a county is added, and one that nothing uses
// renamed or removed; a refusal comes before the window's question, which --yes answers.
TEST_F(CliTest, ChangesDivisionsWithTheWindowsChecks) {
    EXPECT_EQ(Run("add-division --parent 130000 --code 139900 --name 新市").out,
              "已新增市：139900 新市（上级：130000 河北省）\n");
    EXPECT_EQ(Run("add-division --parent 139900 --code 139901 --name 新县").code, 0);
    EXPECT_EQ(TMainDM(Db()).CountyItems("139900"),
              (std::vector<std::string>{"--全部--", "139901-新县"}));
    EXPECT_EQ(Run("add-division --parent 139901 --code 139902 --name 下面").err,
              "不可以新增区县以下的行政区划\n");
    const std::tuple<const char*, int, std::string> changes[] = {
        {"remove-division --code 139900", 1, "该行政区划下还有下级行政区划，不能删除\n"},
        {"rename-division --code 139901 --name 新区", 0, "已修改县：139901 新区（原名：新县）\n"},
        {"remove-division --code 139901", 1,
         "确认删除行政区划“新区”（139901）？\n确认删除请加 --yes。\n"},
        {"remove-division --code 139901 --yes", 0, "已删除县：139901 新区\n"},
        {"remove-division --code 139901 --yes", 1, "行政区划不存在：139901\n"},
    };
    for (const auto& [line, code, said] : changes) {
        const MlkRun run = Run(line);
        EXPECT_EQ(run.code, code) << line;
        EXPECT_EQ(code == 0 ? run.out : run.err, said) << line;
    }
}

}  // namespace
}  // namespace mlk::test
