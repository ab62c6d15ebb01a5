// The command line itself: help, wrong usage and the exit codes that `mlk help` explains. A
// refused command line, and any command but init without a database, leave the folder empty.
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
        {"--db= init", 2, "", "选项 --db 的值不能为空"},
        {"list --db= departments", 2, "", "选项 --db 的值不能为空"},
        {"add-division --parent=", 2, "", "选项 --parent 的值不能为空（代码）\n"},
        {"import --pending= x.txt", 2, "", "选项 --pending 的值不能为空"},
        {"select --ids=", 2, "", "选项 --ids 的值不能为空"},
        {"summary directory --xls=", 2, "", "选项 --xls 的值不能为空"},
        {"backup  --force", 2, "", "参数不能为空\n"},
        {"list departments --page abc", 2, "", "页码必须是正整数：abc\n"},
        {"export --out.txt", 2, "", "未知选项 --out.txt\n"},
        {"pending", 1, "", "数据库文件 "},
        {"summary counts", 1, "", "数据库文件 "},
        {"register --name=", 1, "", "数据库文件 "},
        {"check", 1, "", "数据库文件 "},
        {"export -- --out.txt", 1, "", "数据库文件 "},
        {"add institution --jigmc -h", 1, "", "数据库文件 "},
        {"--db 没有/库.DB unit", 1, "",
         "数据库文件 没有/库.DB 不存在，请先运行 mlk init 或检查 --db\n"},
        {"--db file:库.DB?mode=rwc unit", 1, "", "数据库文件 file:库.DB?mode=rwc 不存在"},
        {"--db . unit", 1, "", "数据库文件 . 是一个文件夹，不是文件。\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const MlkRun run = Mlk(dir.Path(), c.line);
        EXPECT_EQ(run.code, c.code) << c.line << "\n" << run.err;
        EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << c.line << "\n" << run.out;
        EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << c.line << "\n" << run.err;
        EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{}) << c.line;
    }
}

TEST(CommandLine, GeneralHelpSaysTheExitCodesAndGoesToStderrWithoutACommand) {
    TempDir dir;
    const MlkRun help = Mlk(dir.Path(), "help");
    EXPECT_NE(help.out.find("退出码：0 完成；1 被拒绝或失败（原因写在标准错误输出）；2 用法错误。"),
              std::string::npos);
    EXPECT_NE(help.out.find("mlk help guide 显示全文"), std::string::npos);
    EXPECT_EQ(Mlk(dir.Path(), "help guide").out.rfind("# 公共机构名录库 用户指南\n", 0), 0u);
    const MlkRun bare = Mlk(dir.Path(), std::vector<std::string>{});
    EXPECT_EQ(bare.code, 2);
    EXPECT_EQ(bare.err, help.out);
}

}  // namespace
}  // namespace mlk::test
