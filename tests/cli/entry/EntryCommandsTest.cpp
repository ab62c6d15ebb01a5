// add, update, delete and confirm: the editors' presets, checks and refusals without a window.
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
        {"add firm", 2, "未知的机构种类：firm（department、agency 或 institution）"},
        {"add institution --jiglx 8200", 1,
         "机构类型 8200-教育 下还有分类，请给出下一级的类型代码"},
        {"add institution --jiglx 9900", 1, "机构类型代码无效：9900"},
        {"add institution --xingzjb 9", 1, "行政级别代码无效：9"},
        {"add institution --lianxdh 010-1", 1, "联系电话只能输入数字：010-1"},
        {"add institution --xingzqh 999999", 1, "行政区划代码不存在：999999"},
        {"add institution --jigmc 甲 --zuzjgdm 123456789 --hangydm P82 --jiglx 8230", 1,
         "行政级别不能为空！"},
        {"update NOPE --jigmc 甲", 1, "本单位录入的机构中没有机构ID为 NOPE 的机构"},
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
    const std::string id = Done("add institution" + InstitutionFields("一中", "123456789"));
    GGJG r = Entry(id);
    EXPECT_EQ(id.substr(0, 6), "110101");
    EXPECT_EQ(r.JieDLB + r.GengXZT + r.QueRZT + std::to_string(r.JiC) + "|" + r.JieDMC + "|" +
                  r.ShangJXZZGBM + "|" + r.DiZhi_Shen + r.DiZhi_Shi + r.DiZhi_Xian + "|" +
                  r.ChuSHSJ,
              "1001|一中|东城区教育局|北京市市辖区东城区|" + TMainDM::TodayText());
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

}  // namespace
}  // namespace mlk::test
