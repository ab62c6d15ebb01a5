// The command line itself: help, wrong usage and the exit codes that `mlk help` explains.
#include "MlkRunner.h"

namespace mlk::test {
namespace {

TEST(CommandLine, HelpAndWrongUsage) {
    struct Case {
        const char* line;
        int code;
        const char* out;  // the start of stdout
        const char* err;  // the start of stderr
    } cases[] = {
        {"help list", 0,
         "用法：mlk [--db 数据库文件] list [选项] departments|agencies|institutions\n", ""},
        {"register --help", 0, "用法：mlk [--db 数据库文件] register [选项]\n", ""},
        {"help nothing", 2, "", "未知命令：nothing\n"},
        {"list --bogus departments", 2, "",
         "未知选项 --bogus\n用法：mlk [--db 数据库文件] list [选项] "
         "departments|agencies|institutions\n"},
        {"list --name 甲 --name 乙 departments", 2, "", "选项 --name 重复\n"},
        {"list departments --page", 2, "", "选项 --page 缺少值（N）\n"},
        {"list agencies --type 8230", 2, "", "agencies 的列表没有 --type 和 --finance 条件\n"},
        {"list things", 2, "", "未知的名录种类：things"},
        {"select --all-unselected=1", 2, "", "选项 --all-unselected 不带值\n"},
        {"select --ids A1 --name 甲", 2, "",
         "--name 和 --address 只与 --all-unselected 一起使用\n"},
        {"import x.txt", 2, "", "缺少选项 --pending\n"},
        {"export", 2, "", "缺少参数：文件\n"},
        {"export a.txt b.txt", 2, "", "多余的参数：b.txt\n"},
        {"summary counts --type2 8200", 2, "", "--type2 和 --type3 只用于 types\n"},
        {"--db", 2, "", "选项 --db 缺少值"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const MlkRun run = Mlk(dir.Path(), c.line);
        EXPECT_EQ(run.code, c.code) << c.line << "\n" << run.err;
        EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << c.line << "\n" << run.out;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.line << "\n" << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "GGJGMLK.DB")) << c.line;
    }
}

TEST(CommandLine, GeneralHelpSaysTheExitCodesAndGoesToStderrWithoutACommand) {
    TempDir dir;
    const MlkRun help = Mlk(dir.Path(), "help");
    EXPECT_NE(help.out.find("退出码：0 完成；1 被拒绝或失败（原因写在标准错误输出）；2 用法错误。"),
              std::string::npos);
    const MlkRun bare = Mlk(dir.Path(), std::vector<std::string>{});
    EXPECT_EQ(bare.code, 2);
    EXPECT_EQ(bare.err, help.out);
}

}  // namespace
}  // namespace mlk::test
