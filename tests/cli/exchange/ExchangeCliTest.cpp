#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <thread>

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
// institution marked, and every index in place; so does an import that runs to its end.
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
    // 1.01: while the first index is built again; 2: never, the import ends.
    for (const double killAt : {0.02, 0.5, 1.01, 2.0}) {
        SCOPED_TRACE(killAt);
        KillAt(dir_.Path(), {"import", "--pending", "110101DEPT000001", File("big.txt")},
               killAt * double(bytes.size()));
        {
            // Read before TMainDM, which would make a missing index again.
            Database left(Db());  // rolls back what the killed process left
            Statement indexesLeft(left, indexes);
            indexesLeft.Step();
            EXPECT_EQ(indexesLeft.Text(0), expectedIndexes);
        }
        TMainDM dm(Db());
        const long long rows = dm.QueryInt("select count(*) from MLK_JiBXX");
        const std::string state = LoadPending(dm, "110101DEPT000001")->DaoRZT;
        EXPECT_TRUE((rows == 0 && state == "0") || (rows == kLines && state == "1"))
            << rows << " rows, state " << state;
        EXPECT_EQ(rows, killAt < 1 ? 0 : killAt > 1.5 ? kLines : rows);
        EXPECT_EQ(dm.QueryText("pragma quick_check"), "ok");
        dm.ExecSQL("delete from MLK_JiBXX");
        dm.ExecSQL("update MLK_DaiDRJG set DaoRZT = '0'");
    }
}

// A file given as a pipe is read once, into a copy of the run's own that the look for its sender
// and the import both read and that goes with the run.
TEST_F(ExchangeCliTest, ImportsAFileGivenAsAPipe) {
    AddPending(*std::make_unique<TMainDM>(Db()), "H1", "东城区卫生健康委员会");
    AddPending(*std::make_unique<TMainDM>(Db()), "J1", "东城区教育局");
    const std::filesystem::path pipe = dir_ / "pipe", scratch = dir_ / "tmp";
    std::filesystem::create_directory(scratch);
    ASSERT_EQ(setenv("TMPDIR", scratch.c_str(), 1), 0);
    const struct {
        const char* pending;
        std::string said;
    } cases[] = {
        {"J1", "已成功导入2条机构信息数据。\n"},
        {"H1",
         "文件中的机构信息由“东城区教育局”上报，不是所选的“东城区卫生健康委员会”。"
         "确认导入请加 --force。\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
        std::atomic<bool> ended = false;
        std::thread writer([&] {
            WriteFile(pipe, GbkLine(SampleRecord("110101A")) + GbkLine(SampleRecord("110101B")));
            // A second reader of the pipe finds it empty instead of waiting for ever.
            while (!ended) {
                close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        const MlkRun run = Run({"import", "--pending", c.pending, PathText(pipe)});
        ended = true;
        writer.join();
        EXPECT_EQ(run.code == 0 ? run.out : run.err, c.said) << c.pending;
        EXPECT_TRUE(std::filesystem::is_empty(scratch)) << c.pending;
        std::filesystem::remove(pipe);
    }
    unsetenv("TMPDIR");
}
#endif

// A file that plainly comes from another unit than the pending institution needs --force; the
// check says what the import would refuse, stores nothing, and exits 0 only for a file it takes.
TEST_F(ExchangeCliTest, ImportOfAnotherUnitsFileNeedsForceAndTheCheckSaysSo) {
    AddPending(*std::make_unique<TMainDM>(Db()), "H1", "东城区卫生健康委员会");
    WriteFile(dir_ / "教育局.txt", GbkLine(SampleRecord("110101SCHOOL0001")));
    EXPECT_EQ(Run("import --pending H1 教育局.txt").err,
              "文件中的机构信息由“东城区教育局”上报，不是所选的“东城区卫生健康委员会”。"
              "确认导入请加 --force。\n");
    const std::string verdict = "检查未通过：文件共1条机构信息，0行有误，";
    const struct {
        const char* line;
        int code;
        std::string out;
    } checks[] = {
        {"import --check --pending H1 教育局.txt", 1,
         "文件中的机构信息由“东城区教育局”上报，不是所选的“东城区卫生健康委员会”。"
         "确认导入请加 --force。\n" +
             verdict + "0个机构ID重复，不能导入。\n"},
        {"import --check --force --pending H1 教育局.txt", 0,
         "检查通过：文件共1条机构信息，可以导入。\n"},
        {"import --pending H1 教育局.txt --force", 0, "已成功导入1条机构信息数据。\n"},
        {"import --check --force --pending H1 教育局.txt", 1,
         "该机构的数据已经导入，请先删除已导入数据再重新导入。\n第1行 机构ID 110101SCHOOL0001："
         "名录库中已有“测试学校”，所属单位：东城区卫生健康委员会\n" +
             verdict + "1个机构ID重复，不能导入。\n"},
    };
    for (const auto& c : checks) {
        const MlkRun run = Run(c.line);
        EXPECT_EQ(run.code, c.code) << c.line;
        EXPECT_EQ(run.out, c.out) << c.line;
    }
    EXPECT_EQ(TMainDM(Db()).QueryInt("select count(*) from MLK_JiBXX"), 1);
}

// A kill in the middle of a write leaves the file and its journal as they stood: check and backup
// undo the write first, as every opening does, instead of calling the file read-only; where the
// file cannot be written, the user is told what happened.
TEST_F(ExchangeCliTest, CheckAndBackupUndoAWriteAKillInterrupted) {
    const long long divisions = TMainDM(Db()).QueryInt("select count(*) from MLK_XingZQH");
    const auto interrupted = [&](const char* folder) {
        std::filesystem::create_directory(dir_ / folder);
        Database writer(Db());
        writer.Exec("pragma cache_size = 1");  // changed pages reach the file before the commit
        writer.Exec("begin immediate");
        writer.Exec("delete from MLK_XingZQH");
        for (const std::string suffix : {"", "-journal"}) {
            std::filesystem::copy_file(PathFromText(PathText(Db()) + suffix),
                                       dir_ / (std::string(folder) + "/GGJGMLK.DB" + suffix));
        }
        return dir_ / (std::string(folder) + "/GGJGMLK.DB");
    };
    const MlkRun check = Mlk(interrupted("甲").parent_path(), "check");
    EXPECT_EQ(check.out + check.err, "ok\n");
    const std::filesystem::path copy = interrupted("乙");
    EXPECT_EQ(Mlk(copy.parent_path(), "backup 备份.db").code, 0);
    EXPECT_EQ(TMainDM(copy.parent_path() / "备份.db").QueryInt("select count(*) from MLK_XingZQH"),
              divisions);
    const std::string readOnly =
        ErrorOf([&] { TMainDM(interrupted("丙"), Database::Access::ReadOnly); });
    EXPECT_NE(readOnly.find("上次的修改被中断"), std::string::npos) << readOnly;
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
        // A name is a file's name, never a URI that would open the database read-only.
        EXPECT_NE(Run({"--db", "file:" + PathText(Db()) + "?mode=ro", "list", "agencies"})
                      .err.find("不存在，请先运行 mlk init 或检查 --db"),
                  std::string::npos);
        const MlkRun run = Run({"backup", copy});
        EXPECT_EQ(run.code, 0) << run.err;
    }
    EXPECT_EQ(Run({"--db", copy, "unit"}).out, Run("unit").out);
    EXPECT_NE(Run({"backup", copy}).err.find("已存在"), std::string::npos);
    EXPECT_EQ(Run({"backup", copy, "--force"}).code, 0);
    EXPECT_EQ(Run("check").out, "ok\n");

    // A backup is written whole beside its target and checked first: a folder, a file beside a
    // journal and a damaged database are refused and leave nothing behind.
    std::filesystem::create_directory(dir_ / "目录");
    WriteFile(dir_ / "旧.db-journal", "");
    for (const auto& [target, message] : {std::pair{"目录", "这是一个文件夹，不是文件"},
                                          std::pair{"旧.db", "（一次被中断的数据库写入）"}}) {
        EXPECT_NE(Run(std::string("backup ") + target).err.find(message), std::string::npos);
    }
    std::filesystem::remove(dir_ / "旧.db-journal");
#ifndef _WIN32
    // A name is a file's name, never a URI.
    EXPECT_EQ(Run("backup file:备份.db").code, 0);
    EXPECT_EQ(Run({"--db", "file:备份.db", "unit"}).out, Run("unit").out);
#endif
    const std::vector<std::string> files = FileNames(dir_.Path());
    SampleRecord("A").Insert(*std::make_unique<TMainDM>(Db()));
    DamageBTree(Db(), "IX_JiBXX_ZuZJGDM");
    EXPECT_NE(Run("backup 坏.db").err.find("已损坏，请从备份恢复"), std::string::npos);
    EXPECT_EQ(FileNames(dir_.Path()), files);
    MlkRun run = Run("check");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("\n"), std::string::npos) << run.out;  // the findings
    EXPECT_NE(run.err.find("已损坏，请从备份恢复"), std::string::npos) << run.err;
    run = Run({"export", File("out.txt")});
    EXPECT_NE(run.err.find("已损坏，没有导出任何数据。\n请在“数据维护”菜单中"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out.txt"));
}

// The bulk deletions keep a safety copy unless --no-backup; restore checks the backup, wants
// --yes and, for another unit's, --other-unit, and keeps a copy of what it replaces.
TEST_F(ExchangeCliTest, RestoreAndSafetyCopies) {
    const std::filesystem::path backup = dir_ / "备份1.DB";
    Done("backup 备份1.DB");
    const auto copies = [&] {
        std::error_code error;
        const auto folder = std::filesystem::directory_iterator(dir_ / "备份", error);
        return std::distance(begin(folder), end(folder));
    };
    EXPECT_EQ(Run("remove-initial --no-backup --yes").out, "成功删除已导入的数据！\n");
    EXPECT_EQ(copies(), 0);
    EXPECT_EQ(Run("remove-initial --yes").out,
              "成功删除已导入的数据！\n删除前的数据库保存在文件夹 " + PathText(dir_ / "备份") +
                  " 中。\n");
    EXPECT_EQ(copies(), 1);

    Database(backup).Exec("update MLK_CaoZDWXX set DanWID = 'X', DanWMC = '西城区'");
    const std::pair<std::string, std::string> refusals[] = {
        {"restore 备份1.DB", "确认恢复另一单位的备份请加 --other-unit。"},
        {"restore 备份1.DB --other-unit", "确认恢复请加 --yes。"},
    };
    for (const auto& [line, message] : refusals)
        EXPECT_NE(Run(line).err.find(message), std::string::npos) << line;
    const MlkRun restored = Run("restore 备份1.DB --other-unit --yes");
    EXPECT_EQ(restored.out, "数据库已从备份恢复。恢复前的数据库保存在文件夹 " +
                                PathText(dir_ / "备份") + " 中。\n");
    // A line for each step, each run to its end.
    const std::vector<std::string> steps = SplitText(restored.err, '\n');
    ASSERT_EQ(steps.size(), 3u) << restored.err;
    for (std::size_t i = 0; const char* step : {"检查备份", "安全副本", "恢复"}) {
        const std::string& line = steps[i++];
        const std::string last = line.substr(line.rfind('\r') + 1);  // "恢复: 1000/1000"
        const std::size_t from = last.find(": ") + 2, slash = last.find('/');
        EXPECT_EQ(last.substr(0, from), std::string(step) + ": ");
        EXPECT_EQ(last.substr(from, slash - from), last.substr(slash + 1)) << last;
    }
    EXPECT_NE(Run("unit").out.find("西城区"), std::string::npos);
    EXPECT_EQ(copies(), 2);
    DamageBTree(backup, "MLK_JiBXX");
    EXPECT_NE(Run("restore 备份1.DB --yes").err.find("已损坏，不能用来恢复"), std::string::npos);
}

// What an earlier build let in: export names every value that cannot travel, and correct
// replaces exactly those, in a confirmed row too.
TEST_F(ExchangeCliTest, ExportNamesWhatCannotTravelAndCorrectReplacesIt) {
    const std::string emoji = "\xF0\x9F\x98\x80", id = "110101OLD0000001";
    GGJG old = SampleRecord(id, "一中" + emoji);
    old.ShunX = 2147483648LL;
    old.Insert(*std::make_unique<TMainDM>(Db()));
    const MlkRun run = Run("export x.txt");
    EXPECT_EQ(run.code, 1);
    for (const std::string& named : std::vector<std::string>{
             "的单位详细名称：字符“" + emoji + "”无法用GBK编码保存\n",
             "的节点名称：字符“" + emoji + "”无法用GBK编码保存\n",
             "的显示顺序：2147483648超出整数范围（-2147483648至2147483647）\n"}) {
        EXPECT_NE(run.err.find("机构 " + id + "（一中" + emoji + "）" + named), std::string::npos)
            << run.err;
    }
    const std::pair<std::string, std::string> refusals[] = {
        {"correct " + id + " zuzjgdm 1", "机构 " + id + " 的组织机构代码可以导出，不需要改正。\n"},
        {"correct " + id + " NoSuch 1", "MLK_JiBXX 中没有 NoSuch 一列\n"},
    };
    for (const auto& [line, message] : refusals)
        EXPECT_EQ(Run(line).err, message) << line;
    EXPECT_EQ(Done("correct " + id + " JiGMC 一中"), "已改正：" + id + " 的单位详细名称");
    Done("correct " + id + " jiedmc 一中");
    Done("correct " + id + " shunx 7");
    EXPECT_EQ(Done("export x.txt"), "导出完成，共导出1条数据！");
}

}  // namespace
}  // namespace mlk::test
