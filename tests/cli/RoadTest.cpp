// The yearly road through three installations, each a folder of its own, driven by mlk alone:
// a county department enters and confirms its institutions and exports them; the county agency
// imports them under its entry for the department, audits and exports; the prefecture agency
// imports the county's file under its entry for the county agency.
#include "MlkRunner.h"
#include "XlsxCells.h"

namespace mlk::test {
namespace {

struct Installation {
    Installation() { Done("init"); }
    TempDir dir;

    MlkRun Run(const std::string& line) { return Mlk(dir.Path(), line); }
    std::string Done(const std::string& line) { return MlkDone(dir.Path(), line); }
    // Files travel between installations by copy; each command names them in its own folder.
    void Receive(const Installation& from, const std::string& file) {
        std::filesystem::copy_file(from.dir / file, dir / file);
    }
};

TEST(Road, ThreeInstallationsThroughMlkAlone) {
    Installation department;
    department.Done(
        "register --name 东城区教育局 --level 4 --county 110101 --type 1 --person 李四");
    EXPECT_EQ(department.Run("export x.txt").err, "名录库中没有已确认的机构，无法导出。\n");
    const std::string school1 =
        department.Done("add institution" + InstitutionFields("第一中学", "100000001", "8230"));
    // The second school comes from the initial data, without its codes: it cannot be confirmed
    // until it is completed.
    WriteFile(department.dir / "下发.txt",
              Utf8ToGbk("A1,第二中学,x,北京市,市辖区,东城区,x,x,路2,x,x,x,x\r\n"));
    department.Done("load-initial 下发.txt");
    department.Done("select --all-unselected");
    const std::string school2 =
        OutputCell(department.Run("list institutions --name 第二").out, 1, 1);
    MlkRun run = department.Run("confirm --all");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "已通过核查：" + school1 + "\t第一中学\n通过核查 1 条，未通过 1 条\n");
    EXPECT_EQ(run.err, "未通过核查：" + school2 + "\t第二中学\t组织机构代码不能为空！\n");
    EXPECT_EQ(department.Run("export x.txt").err,
              "请核查全部机构信息后再导出机构列表！\n尚有1条机构信息未通过核查。\n");
    department.Done("update " + school2 + InstitutionFields("第二中学", "100000002", "8240") +
                    " --chushsj 2024-05-06");
    department.Done("confirm " + school2);
    EXPECT_EQ(department.Done("export 教育局.txt"), "导出完成，共导出2条数据！");

    Installation county;
    county.Done(
        "register --name 东城区节能监察中心 --level 4 --county 110101 --type 0 --person 张三");
    EXPECT_EQ(county.Run("add institution --jigmc 一中").err,
              "本单位是节能管理机构，录入同级主管部门和下级管理机构，不录入下属公共机构。\n");
    const std::string dept =
        county.Done("add department" + InstitutionFields("东城区教育局", "100000009", "7012"));
    county.Done("confirm " + dept);
    EXPECT_NE(
        county.Run("pending").out.find(dept + "\t东城区教育局\t主管部门\t未导入\t\t0\t未审核\n"),
        std::string::npos);
    county.Receive(department, "教育局.txt");
    const std::string importLine = "import --pending " + dept + " 教育局.txt";
    const std::pair<std::string, std::string> refusals[] = {
        {"import --pending NONE 教育局.txt", "没有机构ID为 NONE 的待导入机构\n"},
        {"remove-import --pending NONE", "没有机构ID为 NONE 的待导入机构\n"},
        {"import --pending " + dept + " 无此文件.txt", "无法打开文件"}};
    for (const auto& [line, message] : refusals)
        EXPECT_EQ(county.Run(line).err.rfind(message, 0), 0u) << line;
    EXPECT_EQ(county.Done(importLine), "已成功导入2条机构信息数据。");
    EXPECT_NE(county.Run(importLine).err.find("已经导入"), std::string::npos);
    EXPECT_EQ(county.Run("remove-import --pending " + dept).err,
              "将删除东城区教育局下已导入的2条机构信息；确认删除请加 --yes。\n");
    EXPECT_EQ(county.Done("remove-import --pending " + dept + " --yes"),
              "已删除2条导入的机构信息数据。");
    county.Done(importLine);
    EXPECT_EQ(county.Run("audit --unit " + school1).err,
              "第一中学不是本单位的直属下级单位，不能审核。\n");
    EXPECT_EQ(county.Done("audit --unit " + dept), "已审核通过东城区教育局下的2条机构信息。");
    EXPECT_EQ(county.Run("audit --unit " + dept).err, "该单位的数据已审核\n");
    // The logs hold both imports and the audit, filtered as in their windows.
    const std::pair<std::string, std::size_t> logs[] = {
        {"log imports", 2},
        {"log audits --unit 教育局 --from 2000-01-01", 1},
        {"log imports --unit 卫生", 0},
        {"log audits --to 2000-01-01", 0}};
    for (const auto& [line, rows] : logs)
        EXPECT_EQ(SplitText(county.Run(line).out, '\n').size(), rows + 1) << line;
    EXPECT_EQ(OutputCell(county.Run("log imports").out, 2, 2), "东城区教育局");
    EXPECT_EQ(county.Run("log imports --from 2024-02-30").err,
              "起始日期应为“年-月-日”（如2024-05-06）：2024-02-30\n");
    // Audited data can be neither removed nor imported again.
    for (const std::string& line : {"remove-import --yes --pending " + dept, importLine})
        EXPECT_EQ(county.Run(line).err, "该机构的数据已审核，不能再导入或删除。\n") << line;
    const std::string counts = county.Run("summary counts").out;
    EXPECT_EQ(OutputCell(counts, 1, 1) + "|" + OutputCell(counts, 1, 2), dept + "|东城区教育局");
    // Saved as .xlsx, the same cells.
    EXPECT_EQ(county.Done("summary counts --xls 汇总.xlsx").rfind("已导出", 0), 0u);
    const std::vector<std::vector<std::string>> sheet = XlsxCells(county.dir / "汇总.xlsx");
    EXPECT_EQ(sheet.size(), 3u) << "captions, the department and the totals";
    EXPECT_EQ(sheet.at(1).at(1) + "|" + sheet.at(1).at(2), dept + "|东城区教育局");
    EXPECT_EQ(county.Done("export 东城区.txt"), "导出完成，共导出3条数据！");

    Installation prefecture;
    prefecture.Done(
        "register --name 北京市节能监察中心 --level 3 --county 110101 --type 0 --person 王五");
    const std::string agencyFields = " --jiedmc 东城 --lianxrxm 张三 --lianxdh 0101 --shunx 1";
    const std::string mistake = prefecture.Done("add agency --jigmc 朝阳区节能中心" + agencyFields);
    EXPECT_EQ(prefecture.Done("delete " + mistake + " --yes"),
              "已删除：" + mistake + "\t朝阳区节能中心");
    const std::string agency =
        prefecture.Done("add agency --jigmc 东城区节能监察中心" + agencyFields);
    EXPECT_EQ(agency.size(), 10u);
    prefecture.Done("update " + agency + " --jiedmc 东城区");
    prefecture.Done("confirm " + agency);
    prefecture.Receive(county, "东城区.txt");
    EXPECT_EQ(prefecture.Done("import --pending " + agency + " 东城区.txt"),
              "已成功导入3条机构信息数据。");
    EXPECT_EQ(prefecture.Done("audit --unit " + agency), "已审核通过东城区下的1条机构信息。");

    // Each row keeps the unit that entered it and names the unit it came through.
    TMainDM dm(prefecture.dir / "GGJGMLK.DB");
    const GGJG d = GGJG::LoadByJiGID(dm, dept);
    EXPECT_EQ(d.ShuJLY + "|" + d.ShangJBMID + "|" + d.ShangBJGID + "|" + std::to_string(d.JiC),
              "1|" + agency + "|" + agency + "|2");
    for (const std::string& id : {school1, school2}) {
        const GGJG s = GGJG::LoadByJiGID(dm, id);
        EXPECT_EQ(s.ShuJLY + "|" + s.ShangJBMID + "|" + s.ShangBJGID + "|" + s.QueRZT + s.ShenHZT +
                      "|" + s.ShangJHYZGBM,
                  "1|" + dept + "|" + agency + "|11|东城区教育局")
            << id;
    }
    // Two imports above the department that entered it, entered or taken from the initial data.
    EXPECT_EQ(GGJG::LoadByJiGID(dm, school1).JiC, 3);
    EXPECT_EQ(GGJG::LoadByJiGID(dm, school2).JiC, 3);
}

// An emoji and a display order of 2^31 try every door into a department's directory: the
// editors' checks (add, update), the unit and the divisions, the initial data and the import of a
// UTF-8 file. Every door is shut, nothing is stored, and the export carries neither.
TEST(Road, NoDoorLetsInAValueThatCannotTravel) {
    const std::string emoji = "\xF0\x9F\x98\x80";
    const auto refused = [&](const std::string& name) {
        return name + "中的字符“" + emoji + "”无法用GBK编码保存，请改用其他字\n";
    };
    const std::string tooLarge = "显示顺序超出整数范围（-2147483648至2147483647）！\n";
    const auto fields = [](const std::string& name, const std::string& code,
                           const std::string& order = "1") {
        const std::string all = InstitutionFields(name, code);
        return all.substr(0, all.rfind(" --shunx ")) + " --shunx " + order;
    };
    Installation unit;
    const std::string registration = " --level 4 --county 110101 --type 1 --person 李四";
    EXPECT_EQ(unit.Run("register --name 教育局" + emoji + registration).err, refused("单位全称"));
    unit.Done("register --name 东城区教育局" + registration);
    const std::string school = unit.Done("add institution" + fields("一中", "100000001"));
    const std::string draft = unit.Done("add institution" + fields("二中", "100000002"));
    unit.Done("confirm " + school);

    std::vector<std::string> items = ExchangeItems(SampleRecord("110101BELOW00001"));
    items[1] = "小学" + emoji;
    WriteFile(unit.dir / "上报.txt", JoinExchangeItems(items) + "\r\n");
    items[1] = "小学";
    items[37] = "2147483648";
    WriteFile(unit.dir / "大数.txt", JoinExchangeItems(items) + "\r\n");
    WriteFile(unit.dir / "下发.txt",
              "A1,一中" + emoji + ",x,北京市,市辖区,东城区,x,x,路,x,x,x,x\r\n");
    const std::pair<std::string, std::string> doors[] = {
        {"add institution" + fields("三中" + emoji, "100000003"), refused("单位详细名称")},
        {"add institution" + fields("三中", "100000003", "2147483648"), tooLarge},
        {"update " + draft + " --dizhi_jied 路" + emoji, refused("街道")},
        {"update " + draft + " --shunx 2147483648", tooLarge},
        {"add-division --parent 110100 --code 110199 --name 新区" + emoji, refused("行政区划名称")},
        {"rename-division --code 110106 --name 丰台" + emoji, refused("行政区划名称")},
        {"load-initial 下发.txt", "第1行第2项：" + refused("名称")},
        {"import --pending " + school + " 上报.txt", "第1行第2项：" + refused("单位详细名称")},
        {"import --pending " + school + " 大数.txt",
         "第1行：第38项 '2147483648' 超出整数范围（-2147483648至2147483647）\n"},
    };
    for (const auto& [line, message] : doors) {
        const MlkRun run = unit.Run(line);
        EXPECT_EQ(run.code, 1) << line;
        // The import's progress comes first.
        EXPECT_EQ(run.err.substr(run.err.find_last_of('\n', run.err.size() - 2) + 1), message)
            << line;
    }
    unit.Done("confirm " + draft);
    EXPECT_EQ(unit.Done("export 教育局.txt"), "导出完成，共导出2条数据！");
    const std::vector<GGJG> sent = ReadExchangeFile(unit.dir / "教育局.txt");
    ASSERT_EQ(sent.size(), 2u);
    for (const GGJG& r : sent) {
        EXPECT_EQ(FirstCharacterOutsideGbk(Join(ExchangeItems(r), ",")), "") << r.JiGID;
        EXPECT_EQ(r.ShunX, 1) << r.JiGID;
    }
}

}  // namespace
}  // namespace mlk::test
