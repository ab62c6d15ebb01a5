#include <gtest/gtest.h>

#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "../../core/exchange/ExchangeFixtures.h"

namespace mlk::test {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};

class ExchangeCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TMainDM dm(Db());
        dm.ExecSQL(
            "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,YouZBM,JieDMC,"
            "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values ('110101UNIT000001','东城区节能管理机构',"
            "'110101','4','0','110101','东城区','填表人','2024-01-01 00:00:00','统计员','')");
        AddPending(dm, "110101DEPT000001", "东城区教育局");
    }
    std::filesystem::path Db() const { return dir_ / "GGJGMLK.DB"; }
    CliRun Mlk(const std::string& args) {
        const std::string command =
            std::string("\"") + MLK_CLI_PATH + "\" --db \"" + Db().string() + "\" " + args +
            " >\"" + (dir_ / "out").string() + "\" 2>\"" + (dir_ / "err").string() + "\"";
        const int status = std::system(command.c_str());
#ifdef _WIN32
        const int code = status;
#else
        const int code = WEXITSTATUS(status);
#endif
        return {code, ReadFile(dir_ / "out"), ReadFile(dir_ / "err")};
    }
    TempDir dir_;
};

TEST_F(ExchangeCliTest, ImportListRemoveAndLog) {
    WriteFile(dir_ / "in.txt", GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("B")));
    CliRun run = Mlk("import --pending 110101DEPT000001 \"" + (dir_ / "in.txt").string() + "\"");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "已成功导入2条机构信息数据。\n");
    EXPECT_NE(run.err.find("导入: "), std::string::npos);

    run = Mlk("pending");
    EXPECT_NE(run.out.find("110101DEPT000001\t东城区教育局\t主管部门\t已导入\t"), std::string::npos)
        << run.out;
    run = Mlk("log imports");
    EXPECT_NE(run.out.find("\t2\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\t统计员\n"), std::string::npos) << run.out;

    run = Mlk("import --pending 110101DEPT000001 \"" + (dir_ / "in.txt").string() + "\"");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("已经导入"), std::string::npos);

    run = Mlk("remove-import --pending 110101DEPT000001");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "已删除2条导入的机构信息数据。\n");
    EXPECT_NE(Mlk("pending").out.find("\t未导入\t"), std::string::npos);
}

TEST_F(ExchangeCliTest, ExportWithGuard) {
    const auto file = (dir_ / "out.txt").string();
    CliRun run = Mlk("export \"" + file + "\"");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("没有已确认的机构"), std::string::npos) << run.err;
    {
        TMainDM dm(Db());
        SampleRecord("A").Insert(dm);
        GGJG open = SampleRecord("B");
        open.QueRZT = "0";
        open.Insert(dm);
    }
    run = Mlk("export \"" + file + "\"");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("请核查全部机构信息后再导出机构列表！"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));
    {
        TMainDM dm(Db());
        dm.ExecSQL("update MLK_JiBXX set QueRZT='1'");
    }
    run = Mlk("export \"" + file + "\"");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "导出完成，共导出2条数据！\n");
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(ExchangeCliTest, Refusals) {
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"import --pending NONE x.txt", "没有机构ID为 NONE 的待导入机构"},
        {"import x.txt", "缺少选项 --pending"},
        {"remove-import --pending NONE", "没有机构ID为 NONE"},
        {"log other", "mlk log imports|audits"},
        {"import --pending 110101DEPT000001 missing.txt", "无法打开文件"},
    };
    for (const auto& c : cases) {
        const CliRun run = Mlk(c.args);
        EXPECT_EQ(run.code, 1) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
    }
}

}  // namespace
}  // namespace mlk::test
