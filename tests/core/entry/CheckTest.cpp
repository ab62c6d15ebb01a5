#include "Fixtures.h"
#include "entry/AgencyEntry.h"

namespace mlk::test {
namespace {

using F = InstitutionForm;

// Values put into the valid form; with several faults, the first in the order is reported.
struct CheckCase {
    std::vector<std::pair<std::string F::*, const char*>> changes;
    const char* message;  // nullptr: the check passes
    const char* focus;
    int typeBoxes = 1;  // how many type boxes the editor shows
};

const CheckCase kCheckCases[] = {
    {{}, nullptr, ""},
    {{{&F::JiGMC, "   "}}, "单位详细名称不能为空！", "EDJiGMC"},
    {{{&F::JiGMC, ""}, {&F::ZuZJGDM, ""}}, "单位详细名称不能为空！", "EDJiGMC"},
    {{{&F::ZuZJGDM, " "}}, "组织机构代码不能为空！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "12345678"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, " 12345678"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},  // trimmed first
    {{{&F::ZuZJGDM, " 123456789 "}}, nullptr, ""},
    {{{&F::ZuZJGDM, "代码12345"}}, nullptr, ""},  // Chinese counts two bytes
    {{{&F::ZuZJGDM, "1234567890"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "999999999"}}, "组织机构代码已经存在，请查证后重新录入！", "EDZuZJGDM"},
    {{{&F::HangYDM, ""}}, "行业代码不能为空！", "EDHangYDM"},
    {{{&F::HangYDM, "12345"}}, nullptr, ""},
    {{{&F::HangYDM, "123456"}}, "行业代码长度不能超过5位！", "EDHangYDM"},
    {{{&F::Jigfl, ""}}, "机构分类不能为空！", "cbJigfl1"},
    {{{&F::Jigfl, "--全部--"}}, "机构分类不能为空！", "cbJigfl2", 2},
    {{{&F::Jigfl, "9900-空"}}, "机构分类不能为空！", "cbJigfl3", 3},
    {{{&F::XingZJB, "--全部--"}}, "行政级别不能为空！", "cbXingZJB"},
    {{{&F::JieDLB, "--全部--"}}, "节点类别不能为空！", "cbJieDLB"},
    {{{&F::CaiZJFSY, "--全部--"}}, "财政经费来源方式不能为空！", "cbCaiZJFSY"},
    {{{&F::Xingzqhss, "--全部--"}, {&F::Xingzqhxq, "--全部--"}}, "省市区不能为空！", "cbXingzqhss"},
    {{{&F::Xingzqhds, "--全部--"}}, "地市州不能为空！", "cbXingzqhds"},
    {{{&F::Xingzqhxq, "--全部--"}}, "县区旗不能为空！", "cbXingzqhxq"},
    {{{&F::JieD, " "}, {&F::LianXDH, " "}}, "街道不能为空！", "EDJieD"},
    {{{&F::HaoP, ""}}, "号牌不能为空！", "EDHaoP"},
    {{{&F::YouZBM, ""}}, "邮政编码不能为空！", "EDYouZBM"},
    {{{&F::LianXR, ""}}, "机构联系人不能为空！", "EDLianXR"},
    {{{&F::LianXDH, ""}}, "联系电话不能为空！", "EDLianXDH"},
    {{{&F::TianBRQ, ""}}, "填表日期不能为空！", "EDTianBRQ"},
    {{{&F::ShunX, " "}}, "显示顺序不能为空！", "EDShunX"},
    {{{&F::ShunX, "第3"}}, "显示顺序必须为整数！", "EDShunX"},
    {{{&F::ShunX, "1.5"}}, "显示顺序必须为整数！", "EDShunX"},
    {{{&F::ShunX, " 12 "}}, nullptr, ""},
};

// Another unit's entry holds the code 999999999; a unit without a name is refused last, with no
// field to focus.
TEST_F(DepartmentTest, InstitutionCheckStopsAtFirstFailureWithItsFocus) {
    GGJG other;
    other.JiGID = "110101OTHER00000";
    other.ZuZJGDM = "999999999";
    other.ShangJBMID = "someone else";
    other.Insert(Dm());
    for (const CheckCase& c : kCheckCases) {
        InstitutionForm form = ValidForm();
        for (const auto& [field, value] : c.changes)
            form.*field = value;
        form.jigfl2Visible = c.typeBoxes >= 2;
        form.jigfl3Visible = c.typeBoxes == 3;
        EXPECT_EQ(CheckInstitution(Dm(), form, GGJG{}, 0),
                  c.message ? CheckResult(CheckFailure{c.message, c.focus}) : std::nullopt)
            << (c.changes.empty() ? "" : c.changes[0].second);
    }
    Dm().ExecSQL("update MLK_CaoZDWXX set DanWMC = ' '");
    Dm().LoadCaoZDWXX();
    InstitutionForm form = ValidForm();
    EXPECT_EQ(CheckInstitution(Dm(), form, GGJG{}, 0),
              (CheckFailure{"直属主管部门全称不能为空！", ""}));
}

// The node name and the departments are set even when a later step fails.
TEST_F(DepartmentTest, CheckSetsNodeNameAndDepartments) {
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

}  // namespace
}  // namespace mlk::test
