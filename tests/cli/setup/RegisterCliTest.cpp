#include "MlkRunner.h"
#include "data/Platform.h"
#include "data/TMainDM.h"

namespace mlk::test {
namespace {

const char* const kAgency =
    "register --name 东城区节能监察中心 --level 4 --county 110101 --type 0 --person 张三";

// From a clean folder: init, unit (refused before registration), register, unit, register again
// (refused).
TEST_F(CliTest, InitRegisterUnitFromACleanFolder) {
    EXPECT_EQ(Run("init").code, 0);
    EXPECT_TRUE(std::filesystem::exists(Db()));
    const std::string other = PathText(dir_ / "另一个 库.DB");
    EXPECT_EQ(Run({"--db", other, "init"}).out, "数据库已就绪：" + other + "\n");
    const MlkRun before = Run("unit");
    EXPECT_EQ(before.code, 1);
    EXPECT_NE(before.err.find("尚未注册"), std::string::npos) << before.err;

    const MlkRun registered = Run(kAgency);
    EXPECT_EQ(registered.code, 0) << registered.err;
    EXPECT_EQ(registered.err, "");

    const MlkRun unit = Run("unit");
    EXPECT_EQ(unit.code, 0) << unit.err;
    for (const char* line :
         {"DanWMC\t单位全称\t东城区节能监察中心\n", "XingZQH\t区县代码\t110101\n",
          "xqmc\t所在区县\t东城区\n", "DanWLXMC\t单位类型名称\t节能管理机构\n",
          "JieDMC\t节点名称\t东城区\n", "TianBRXM\t填表人姓名\t张三\n"}) {
        EXPECT_NE(unit.out.find(line), std::string::npos) << line << "\n" << unit.out;
    }

    const MlkRun again = Run(kAgency);
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.err.find("不能再次注册"), std::string::npos) << again.err;
    EXPECT_EQ(TMainDM(Db()).Unit().DanWID.substr(0, 6), "110101");
}

TEST(RegisterCli, RefusalsGoToStderrWithExitCodeOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"register --level 4 --county 110101 --type 0 --person 张三", "单位全称不能为空。"},
        {"register --name 某单位 --county 110101 --type 0 --person 张三", "行政隶属级别不能为空。"},
        {"register --name 某单位 --level 3 --county 130100 --type 0 --person 张三",
         "行政区划县区不能为空。"},  // a city that has counties
        {"register --name 某单位 --level 4 --county 110101 --person 张三", "单位类型不能为空。"},
        {"register --name 某单位 --level 4 --county 110101 --type 1", "填表人姓名不能为空。"},
        {"register --name 某单位 --level 4 --county 999999 --type 1 --person 张三",
         "行政区划代码不存在：999999"},
    };
    for (const auto& [line, message] : cases) {
        TempDir dir;
        const MlkRun run = Mlk(dir.Path(), line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, std::string(message) + "\n") << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_FALSE(TMainDM(dir / "GGJGMLK.DB").Unit().ZhuCeBZ) << line;
    }
}

TEST_F(CliTest, RegisterWithAGivenNodeNameAsADepartment) {
    ASSERT_EQ(Run("register --name 东莞市教育局 --level 3 --county 441900 --type 1 --node 东莞教育 "
                  "--person 李四")
                  .code,
              0);
    TMainDM dm(Db());
    EXPECT_EQ(dm.Unit().JieDMC, "东莞教育");
    EXPECT_EQ(dm.Unit().DanWLXMC, "主管部门");
    EXPECT_EQ(dm.Unit().dsmc, "东莞市");
}

}  // namespace
}  // namespace mlk::test
