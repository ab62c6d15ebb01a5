#include "ExchangeFixtures.h"
#include "MlkRunner.h"

namespace mlk::test {
namespace {

class ExchangeCliTest : public CliTest {
  protected:
    void SetUp() override {
        Run("register --name 东城区节能管理机构 --level 4 --county 110101 --type 0 --person 张三");
    }
    std::string File(const char* name) const { return PathText(dir_ / name); }
};

// Start-up only reads a complete database: reading commands and a backup run while another
// program writes, and on a read-only file. Check finds damage, and export refuses it.
TEST_F(ExchangeCliTest, BackupAndCheck) {
    const std::string copy = File("copy.db");
    {
        Database other(Db());
        other.Exec("begin immediate");
        other.Exec("delete from MLK_CaoZDWXX");
        EXPECT_EQ(Run("unit").code, 0);
        EXPECT_EQ(Run({"--db", PathText(ReadOnlyName(Db())), "list", "agencies"}).code, 0);
        const MlkRun run = Run({"backup", copy});
        EXPECT_EQ(run.code, 0) << run.err;
    }
    EXPECT_EQ(Run({"--db", copy, "unit"}).out, Run("unit").out);
    EXPECT_NE(Run({"backup", copy}).err.find("已存在"), std::string::npos);
    EXPECT_EQ(Run({"backup", copy, "--force"}).code, 0);
    EXPECT_EQ(Run("check").out, "ok\n");

    SampleRecord("A").Insert(*std::make_unique<TMainDM>(Db()));
    DamageBTree(Db(), "IX_JiBXX_ZuZJGDM");
    MlkRun run = Run("check");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("\n"), std::string::npos) << run.out;  // the findings
    EXPECT_NE(run.err.find("已损坏，请从备份恢复"), std::string::npos) << run.err;
    run = Run({"export", File("out.txt")});
    EXPECT_NE(run.err.find("已损坏，请从备份恢复"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.txt"));
}

}  // namespace
}  // namespace mlk::test
