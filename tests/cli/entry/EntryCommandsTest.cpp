// add, update, delete, confirm and list, and the initial data's load and selection: the editors'
// presets, checks and refusals without a window.
#include "MlkRunner.h"

namespace mlk::test {
namespace {

class EntryCommandsTest : public CliTest {
  protected:
    void SetUp() override {
        Run("register --name 东城区教育局 --level 4 --county 110101 --type 1 --person 李四");
    }
    GGJG Entry(const std::string& id) {
        TMainDM dm(Db());
        return GGJG::LoadByJiGID(dm, id);
    }
};

TEST_F(EntryCommandsTest, CodesAreChosenAsInTheEditorAndRefusedWhereItCannot) {
    const struct {
        std::string line;
        int code;
        const char* err;
    } cases[] = {
        {"add department --jigmc 甲", 1, "本单位是主管部门，只录入下属公共机构。"},
        {"add institution --jiedmc 甲", 2,
         "同级主管部门和下属公共机构的节点名称取单位详细名称，不能给出 --jiedmc"},
        {"add institution --jiglx 8200", 1,
         "机构类型 8200-教育 下还有分类，请给出下一级的类型代码"},
        {"add institution --jiglx 9900", 1, "机构类型代码无效：9900"},
        {"add institution --xingzjb 9", 1, "行政级别代码无效：9"},
        {"add institution --lianxdh 010-1", 1, "联系电话只能输入数字：010-1"},
        {"add institution --xingzqh 999999", 1, "行政区划代码不存在：999999"},
        {"add institution --jigmc 甲 --zuzjgdm 123456789 --hangydm P82 --jiglx 8230", 1,
         "行政级别不能为空！"},
        {"update NOPE --jigmc 甲", 1, "本单位录入的机构中没有机构ID为 NOPE 的机构"},
        {"list departments --type 8200", 1, "机构分类代码无效：8200"},
        {"list departments --page-size 0", 2, "每页条数必须是正整数：0"},
        {"list departments --page abc", 2, "页码必须是正整数：abc"},
        {"update NOPE", 2, "请给出要修改的项目，如 --jigmc 名称"},
        {"confirm NOPE --all", 2, "请给出机构ID，或者 --all（两者不能同时给出）"},
    };
    for (const auto& c : cases) {
        const MlkRun run = Run(c.line);
        EXPECT_EQ(run.code, c.code) << c.line;
        EXPECT_EQ(SplitText(run.err, '\n').at(0), c.err) << c.line;
    }
}

TEST_F(EntryCommandsTest, AnEntryIsChangedDeletedAndConfirmedUntilItIsConfirmed) {
    const std::string before = LocalDate();
    const std::string id = Done("add institution" + InstitutionFields("一中", "123456789"));
    GGJG r = Entry(id);
    EXPECT_EQ(id.substr(0, 6), "110101");
    EXPECT_EQ(r.JieDLB + r.GengXZT + r.QueRZT + std::to_string(r.JiC) + "|" + r.JieDMC + "|" +
                  r.ShangJXZZGBM + "|" + r.DiZhi_Shen + r.DiZhi_Shi + r.DiZhi_Xian,
              "1001|一中|东城区教育局|北京市市辖区东城区");
    EXPECT_TRUE(r.ChuSHSJ == before || r.ChuSHSJ == LocalDate()) << r.ChuSHSJ;
    // A city whose counties the county box offers is not yet a county.
    EXPECT_EQ(Run("update " + id + " --xingzqh 130100").err, "县区旗不能为空！\n");
    EXPECT_EQ(Run("update " + id + " --jigmc 二中 --shunx 7").out, "已修改：" + id + "\n");
    r = Entry(id);
    EXPECT_EQ(r.JiGMC + r.JieDMC + r.GengXZT + std::to_string(r.ShunX), "二中二中17");

    EXPECT_EQ(Run("delete " + id).code, 1) << "asks for --yes";
    EXPECT_EQ(Run("confirm " + id).out,
              "已通过核查：" + id + "\t二中\n通过核查 1 条，未通过 0 条\n");
    EXPECT_EQ(Entry(id).QueRZT, "1");
    const std::pair<std::string, std::string> refusals[] = {
        {"update " + id + " --jigmc 三中", "已经通过核查的机构不能进行修改操作！！！\n"},
        {"delete " + id + " --yes", "已经通过核查的机构不能删除！！！\n"},
        {"confirm " + id,
         "未通过核查：" + id + "\t二中\t已经通过核查的机构不能再次通过核查！！！\n"}};
    for (const auto& [line, message] : refusals) {
        const MlkRun run = Run(line);
        EXPECT_EQ(run.code, 1) << line;
        EXPECT_EQ(run.err, message) << line;
    }
}

// A unified social credit code stands for the organisation code it holds; what the editor says or
// asks of a code is a warning, and the entry is saved. An unchanged code is not looked at again.
TEST_F(EntryCommandsTest, CodesAreCheckedByTheirCheckCharactersAndSavedWithAWarning) {
    MlkRun run = Run("add institution" + InstitutionFields("一中", "91350100M000100Y44"));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err,
              "警告：已从统一社会信用代码91350100M000100Y44中取出组织机构代码（第9至17位）"
              "M000100Y4\n警告：统一社会信用代码校验位不正确，按国家标准应为3\n"
              "警告：统一社会信用代码中的行政区划代码350100与所选县区110101不符\n");
    const std::string id = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(Entry(id).ZuZJGDM, "M000100Y4");
    run = Run("update " + id + " --zuzjgdm 123456789");
    EXPECT_EQ(run.err, "警告：组织机构代码校验位不正确，按国家标准应为8\n");
    EXPECT_EQ(Run("update " + id + " --jigmc 二中").err, "");
    EXPECT_EQ(Entry(id).ZuZJGDM + Entry(id).JiGMC, "123456789二中");
}

TEST_F(EntryCommandsTest, ListShowsTheFilteredEntriesWithThePagerLine) {
    const std::string first = Done("add institution" + InstitutionFields("甲中", "100000001"));
    Done("add institution" + InstitutionFields("乙中", "100000002", "8240"));
    Done("confirm " + first);
    const struct {
        const char* line;
        std::vector<std::string> names;  // the third cell of each row
        const char* pager;
    } cases[] = {
        {"list institutions", {"乙中", "甲中"}, "共 2 条，分 1 页，当前第 1 页"},
        {"list departments --confirm-state 1", {"甲中"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list institutions --name 乙 --type 8240", {"乙中"}, "共 1 条，分 1 页，当前第 1 页"},
        {"list institutions --finance 1", {}, "共 0 条，分 0 页，当前第 1 页"},
        {"list agencies", {}, "共 0 条，分 0 页，当前第 1 页"},
        {"list institutions --page 5 --page-size 1", {"甲中"}, "共 2 条，分 2 页，当前第 2 页"},
        {"list institutions --page-size 9223372036854775807 --page 2",
         {"乙中", "甲中"},
         "共 2 条，分 1 页，当前第 1 页"},
    };
    for (const auto& c : cases) {
        const std::string out = Run(c.line).out;
        const std::vector<std::string> lines = SplitText(out, '\n');
        ASSERT_EQ(lines.size(), c.names.size() + 2) << c.line;
        EXPECT_EQ(lines[0].rfind("序号\t机构ID\t机构名称\t", 0), 0u) << c.line;
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(OutputCell(out, i + 1, 0) + OutputCell(out, i + 1, 2),
                      std::to_string(i + 1) + c.names[i])
                << c.line;
        }
        EXPECT_EQ(lines.back(), c.pager) << c.line;
    }
    // A value with tabs and line ends stays in its cell: one line a row, as many cells as titles.
    TMainDM(Db()).ExecSQL("update MLK_JiBXX set JiGMC = ?1, JieDMC = ?1", {"甲\t=1+2\r\n中"});
    for (const char* line : {"list institutions", "summary directory"}) {
        const std::vector<std::string> lines = SplitText(Run(line).out, '\n');
        ASSERT_GE(lines.size(), 2u) << line;
        for (const std::string& row : lines) {
            if (!row.starts_with("共 ")) {  // the pager's line
                EXPECT_EQ(SplitText(row, '\t').size(), SplitText(lines[0], '\t').size()) << row;
            }
        }
    }
}

TEST_F(CliTest, SelectsByIdSkippingRowsAlreadyAddedAndRemovesTheInitialData) {
    WriteFile(dir_ / "下发.txt", Utf8ToGbk("A1,东城一中,x,北京市,市辖区,东城区,x,x,路1,x,x,x,x\r\n"
                                           "A2,火星学校,x,火星省,甲市,乙县,x,x,路2,x,x,x,x\r\n"));
    Run("register --name 单位 --level 4 --county 110101 --type 1 --person 张三");
    // A folder is no file: refused with the reason.
    EXPECT_NE(Run("load-initial .").err.find("：这是一个文件夹，不是文件"), std::string::npos);
    EXPECT_EQ(Run("load-initial 下发.txt").out, "已成功导入2条机构信息数据。\n");
    EXPECT_EQ(Run("select --ids A1").out, "1条机构信息成功添加到名录库中！\n");
    const MlkRun again = Run("select --ids A1,A2");
    EXPECT_EQ(again.err.rfind("已入库，跳过：A1 东城一中\n", 0), 0u);
    EXPECT_EQ(again.out.rfind(
                  "0条机构信息成功添加到名录库中！\n1条机构的省、市、县在行政区划中找不到", 0),
              0u)
        << again.out;
    // Only with --yes, as the window only on OK.
    const MlkRun asked = Run("remove-initial --no-backup");
    EXPECT_EQ(asked.err,
              "将删除已导入的2条初始数据（已添加到名录库的机构不受影响）；确认删除请加 --yes。\n");
    EXPECT_EQ(asked.code, 1);
    EXPECT_EQ(Run("remove-initial --no-backup --yes").out, "成功删除已导入的数据！\n");
}

}  // namespace
}  // namespace mlk::test
