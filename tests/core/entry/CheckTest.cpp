#include <functional>

#include "EntryFixture.h"
#include "data/Gbk.h"
#include "entry/AgencyEntry.h"

namespace mlk::test {
namespace {

struct CheckCase {
    const char* what;
    std::function<void(InstitutionForm&)> change;
    const char* message;  // nullptr: the check passes
    const char* focus;
};

const CheckCase kCheckCases[] = {
    {"complete form", [](InstitutionForm&) {}, nullptr, ""},
    {"blank name", [](InstitutionForm& f) { f.JiGMC = "   "; }, "单位详细名称不能为空！",
     "EDJiGMC"},
    {"name before code", [](InstitutionForm& f) { f.JiGMC = f.ZuZJGDM = ""; },
     "单位详细名称不能为空！", "EDJiGMC"},
    {"blank code", [](InstitutionForm& f) { f.ZuZJGDM = " "; }, "组织机构代码不能为空！",
     "EDZuZJGDM"},
    {"8 characters", [](InstitutionForm& f) { f.ZuZJGDM = "12345678"; },
     "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {"leading blank and 8 characters", [](InstitutionForm& f) { f.ZuZJGDM = " 12345678"; },
     "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {"blanks around 9 characters", [](InstitutionForm& f) { f.ZuZJGDM = " 123456789 "; }, nullptr,
     ""},
    {"Chinese counts two bytes", [](InstitutionForm& f) { f.ZuZJGDM = "代码12345"; }, nullptr, ""},
    {"10 characters", [](InstitutionForm& f) { f.ZuZJGDM = "1234567890"; },
     "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {"code of another entry", [](InstitutionForm& f) { f.ZuZJGDM = "999999999"; },
     "组织机构代码已经存在，请查证后重新录入！", "EDZuZJGDM"},
    {"blank industry code", [](InstitutionForm& f) { f.HangYDM = ""; }, "行业代码不能为空！",
     "EDHangYDM"},
    {"industry code of 5", [](InstitutionForm& f) { f.HangYDM = "12345"; }, nullptr, ""},
    {"industry code of 6", [](InstitutionForm& f) { f.HangYDM = "123456"; },
     "行业代码长度不能超过5位！", "EDHangYDM"},
    {"type not chosen", [](InstitutionForm& f) { f.Jigfl = ""; }, "机构分类不能为空！", "cbJigfl1"},
    {"type at all item, level 2 shown",
     [](InstitutionForm& f) {
         f.Jigfl = "--全部--";
         f.jigfl2Visible = true;
     },
     "机构分类不能为空！", "cbJigfl2"},
    {"empty type, level 3 shown",
     [](InstitutionForm& f) {
         f.Jigfl = "9900-空";
         f.jigfl2Visible = f.jigfl3Visible = true;
     },
     "机构分类不能为空！", "cbJigfl3"},
    {"level", [](InstitutionForm& f) { f.XingZJB = "--全部--"; }, "行政级别不能为空！",
     "cbXingZJB"},
    {"node type", [](InstitutionForm& f) { f.JieDLB = "--全部--"; }, "节点类别不能为空！",
     "cbJieDLB"},
    {"finance", [](InstitutionForm& f) { f.CaiZJFSY = "--全部--"; }, "财政经费来源方式不能为空！",
     "cbCaiZJFSY"},
    {"province", [](InstitutionForm& f) { f.Xingzqhss = f.Xingzqhxq = "--全部--"; },
     "省市区不能为空！", "cbXingzqhss"},
    {"city", [](InstitutionForm& f) { f.Xingzqhds = "--全部--"; }, "地市州不能为空！",
     "cbXingzqhds"},
    {"county", [](InstitutionForm& f) { f.Xingzqhxq = "--全部--"; }, "县区旗不能为空！",
     "cbXingzqhxq"},
    {"street", [](InstitutionForm& f) { f.JieD = f.LianXDH = " "; }, "街道不能为空！", "EDJieD"},
    {"number", [](InstitutionForm& f) { f.HaoP = ""; }, "号牌不能为空！", "EDHaoP"},
    {"post code", [](InstitutionForm& f) { f.YouZBM = ""; }, "邮政编码不能为空！", "EDYouZBM"},
    {"contact", [](InstitutionForm& f) { f.LianXR = ""; }, "机构联系人不能为空！", "EDLianXR"},
    {"telephone", [](InstitutionForm& f) { f.LianXDH = ""; }, "联系电话不能为空！", "EDLianXDH"},
    {"date", [](InstitutionForm& f) { f.TianBRQ = ""; }, "填表日期不能为空！", "EDTianBRQ"},
    {"order", [](InstitutionForm& f) { f.ShunX = " "; }, "显示顺序不能为空！", "EDShunX"},
    {"pasted order text", [](InstitutionForm& f) { f.ShunX = "第3"; }, "显示顺序必须为整数！",
     "EDShunX"},
    {"order with a fraction", [](InstitutionForm& f) { f.ShunX = "1.5"; }, "显示顺序必须为整数！",
     "EDShunX"},
    {"order with blanks", [](InstitutionForm& f) { f.ShunX = " 12 "; }, nullptr, ""},
};

// Another unit's entry holds the code 999999999; a unit without a name is refused last, with no
// field to focus.
TEST_F(EntryTest, InstitutionCheckStopsAtFirstFailureWithItsFocus) {
    GGJG other;
    other.JiGID = "110101OTHER00000";
    other.ZuZJGDM = "999999999";
    other.ShangJBMID = "someone else";
    other.Insert(Dm());
    for (const CheckCase& c : kCheckCases) {
        InstitutionForm form = ValidForm();
        c.change(form);
        const CheckResult result = CheckInstitution(Dm(), form, GGJG{}, 0);
        EXPECT_EQ(result, c.message ? CheckResult(CheckFailure{c.message, c.focus}) : std::nullopt)
            << c.what;
    }
    Dm().ExecSQL("update MLK_CaoZDWXX set DanWMC = ' '");
    Dm().LoadCaoZDWXX();
    InstitutionForm form = ValidForm();
    EXPECT_EQ(CheckInstitution(Dm(), form, GGJG{}, 0),
              (CheckFailure{"直属主管部门全称不能为空！", ""}));
}

// The node name and the departments are set even when a later step fails.
TEST_F(EntryTest, CheckSetsNodeNameAndDepartments) {
    for (const auto& [mode, administrative] : {std::pair{0, ""}, {9, "东城区教育局"}, {4, ""}}) {
        InstitutionForm form = ValidForm();
        form.JieD = "";
        EXPECT_TRUE(CheckInstitution(Dm(), form, GGJG{}, mode));
        EXPECT_EQ(form.JieDMC + form.ZhiSZGBMQC + "|" + form.YeWZGBMQC,
                  std::string("北京市第一中学东城区教育局|") + administrative)
            << mode;
    }
}

struct AgencyCase {
    AgencyForm form;
    const char* message;
    const char* focus;
};

TEST(AgencyCheck, FiveFieldsInOrderThenAWholeOrder) {
    const AgencyCase cases[] = {
        {{"节能中心", "李四", "123", "节点", "1"}, nullptr, ""},
        {{" ", "", "", "", ""}, "单位详细名称不能为空！", "EDJiGMC"},
        {{"节能中心", "", "", " ", ""}, "节点名称不能为空！", "EDJieDMC"},
        {{"节能中心", "", "", "节点", ""}, "机构联系人不能为空！", "EDLianXR"},
        {{"节能中心", "李四", "", "节点", ""}, "联系电话不能为空！", "EDLianXDH"},
        {{"节能中心", "李四", "123", "节点", " "}, "排序不能为空！", "EDShunX"},
        {{"节能中心", "李四", "123", "节点", "x1"}, "排序必须为整数！", "EDShunX"},
    };
    for (const AgencyCase& c : cases) {
        EXPECT_EQ(CheckAgency(c.form),
                  c.message ? CheckResult(CheckFailure{c.message, c.focus}) : std::nullopt);
    }
}

TEST_F(EntryTest, TypeCascadeOffersChildrenUntilALeaf) {
    struct Case {
        const char* chosen;
        std::size_t children;
        const char* first;
    } cases[] = {{"70-国家机关", 8, "7010-中国共产党机关"},
                 {"80-事业单位", 6, "8200-教育"},
                 {"8200-教育", 6, "8210-高等教育"},
                 {"8230-普通中学", 0, ""},
                 {"--全部--", 0, ""},
                 {"无代码", 0, ""}};
    for (const Case& c : cases) {
        const std::vector<std::string> items = ChildTypesOfItem(Dm(), c.chosen);
        EXPECT_EQ(items.size(), c.children) << c.chosen;
        EXPECT_EQ(items.empty() ? "" : items[0], c.first) << c.chosen;
    }
}

}  // namespace
}  // namespace mlk::test
