#include "../../core/exchange/ExchangeFixtures.h"
#include "MlkRunner.h"
#include "data/Platform.h"

namespace mlk::test {
namespace {

class ExchangeCliTest : public CliTest {
  protected:
    void SetUp() override {
        TMainDM dm(Db());
        dm.ExecSQL(
            "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,YouZBM,JieDMC,"
            "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values ('110101UNIT000001','东城区节能管理机构',"
            "'110101','4','0','110101','东城区','填表人','2024-01-01 00:00:00','统计员','')");
        AddPending(dm, "110101DEPT000001", "东城区教育局");
    }
    std::string File(const char* name) const { return PathText(dir_ / name); }
};

TEST_F(ExchangeCliTest, Refusals) {
    const std::pair<const char*, const char*> cases[] = {
        {"import --pending NONE x.txt", "没有机构ID为 NONE 的待导入机构"},
        {"remove-import --pending NONE", "没有机构ID为 NONE"},
        {"import --pending 110101DEPT000001 missing.txt", "无法打开文件"},
    };
    for (const auto& [line, message] : cases) {
        const MlkRun run = Run(line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_NE(run.err.find(message), std::string::npos) << line << ": " << run.err;
    }
}

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
