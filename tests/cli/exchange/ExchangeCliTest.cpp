#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "MlkRunner.h"
#include "TestSupport.h"

namespace mlk::test {
namespace {

class ExchangeCliTest : public CliTest {
  protected:
    void SetUp() override {
        Run("register --name 东城区节能管理机构 --level 4 --county 110101 --type 0 --person 张三");
    }
    std::string File(const char* name) const { return PathText(dir_ / name); }
};

#ifndef _WIN32
// The position that the last whole progress line of mlk shows ("\r导入: 12/56"): the bytes of
// the file read, then beyond them the indexes built again.
double Shown(const std::string& err) {
    const std::string shown = err.substr(0, err.rfind('\r'));
    const std::size_t colon = shown.rfind(": ");
    return colon == std::string::npos ? 0 : std::strtod(&shown[colon + 2], nullptr);
}

// Runs mlk in the folder and kills it as soon as its progress shows the position (or when it
// ends first).
void KillAt(const std::filesystem::path& folder, std::vector<std::string> args, double position) {
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv = {const_cast<char*>(MLK_CLI_PATH)};
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        dup2(err[1], STDERR_FILENO);
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        if (chdir(folder.c_str()) == 0)
            execv(MLK_CLI_PATH, argv.data());
        _exit(127);
    }
    close(err[1]);
    std::string shown;
    char buffer[4096];
    for (ssize_t n = 1; n > 0 && Shown(shown) < position;) {
        n = read(err[0], buffer, sizeof buffer);
        shown.append(buffer, std::size_t(std::max<ssize_t>(n, 0)));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(err[0]);
}

// Ended at any moment, while it reads and inserts or while it builds the indexes again after a
// large file, an import leaves either none of the file's rows or all of them with the pending
// institution marked, and every index in place.
TEST_F(ExchangeCliTest, AnImportKilledAtAnyMomentLeavesAllOrNothing) {
    constexpr int kLines = 60000;
    std::string bytes;
    for (int i = 0; i < kLines; ++i)
        bytes += GbkLine(SampleRecord("110101" + std::to_string(1000000000 + i)));
    WriteFile(dir_ / "big.txt", bytes);
    const std::string indexes =
        "select group_concat(name) from (select name from sqlite_master "
        "where tbl_name = 'MLK_JiBXX' order by name)";
    const std::string expectedIndexes = TMainDM(Db()).QueryText(indexes);
    AddPending(*std::make_unique<TMainDM>(Db()), "110101DEPT000001", "东城区教育局");
    for (const double killAt : {0.02, 0.5, 1.01}) {
        SCOPED_TRACE(killAt);
        KillAt(dir_.Path(), {"import", "--pending", "110101DEPT000001", File("big.txt")},
               killAt * double(bytes.size()));
        TMainDM dm(Db());  // rolls back what the killed process left
        const long long rows = dm.QueryInt("select count(*) from MLK_JiBXX");
        const std::string state = LoadPending(dm, "110101DEPT000001")->DaoRZT;
        EXPECT_TRUE((rows == 0 && state == "0") || (rows == kLines && state == "1"))
            << rows << " rows, state " << state;
        if (killAt < 1) {
            EXPECT_EQ(rows, 0);
        }
        EXPECT_EQ(dm.QueryText(indexes), expectedIndexes);
        EXPECT_EQ(dm.QueryText("pragma quick_check"), "ok");
        dm.ExecSQL("delete from MLK_JiBXX");
        dm.ExecSQL("update MLK_DaiDRJG set DaoRZT = '0'");
    }
}
#endif

// A file that plainly comes from another unit than the pending institution needs --force.
TEST_F(ExchangeCliTest, ImportOfAnotherUnitsFileNeedsForce) {
    AddPending(*std::make_unique<TMainDM>(Db()), "H1", "东城区卫生健康委员会");
    WriteFile(dir_ / "教育局.txt", GbkLine(SampleRecord("110101SCHOOL0001")));
    EXPECT_EQ(Run("import --pending H1 教育局.txt").err,
              "文件中的机构信息由“东城区教育局”上报，不是所选的“东城区卫生健康委员会”。"
              "确认导入请加 --force。\n");
    EXPECT_EQ(Run("import --pending H1 教育局.txt --force").out, "已成功导入1条机构信息数据。\n");
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
