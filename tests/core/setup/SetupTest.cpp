// Registration of the operating unit and the division tree.
#include <vector>

#include "TestSupport.h"
#include "setup/DivisionTree.h"
#include "setup/ZhuCe.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

using setup::ZhuCeInput;

// A county-level agency in 东城区 with every value filled in.
ZhuCeInput Complete() {
    ZhuCeInput input;
    input.editJgmc = "北京市东城区节能监察中心";
    input.cbXingZLSJB = "4-县(区、市、旗)";
    input.cbXingZQHSS = "110000-北京市";
    input.cbXingZQHDS = "110100-市辖区";
    input.cbXingZQHXQ = "110101-东城区";
    input.cbJieDLB = "0-节能管理机构";
    input.EditJieDMC = "东城区";
    input.editTianBRXM = "张三";
    input.EditTianBSJ = "2024-05-06 07:08:09";
    return input;
}

// Values put into the complete input; with several faults, the first in the order is reported.
struct CheckCase {
    std::vector<std::pair<std::string ZhuCeInput::*, const char*>> changes;
    const char* message;
    const char* focus;

    ZhuCeInput Input() const {
        ZhuCeInput input = Complete();
        for (const auto& [field, value] : changes)
            input.*field = value;
        return input;
    }
};

using I = ZhuCeInput;
const char* const kAll = "--全部--";
const CheckCase kCheckCases[] = {
    {{{&I::editJgmc, "  \t "}}, "单位全称不能为空。", "editJgmc"},
    {{{&I::editJgmc, "中心\xF0\x9F\x98\x80"}, {&I::cbXingZLSJB, kAll}},
     "单位全称中的字符“\xF0\x9F\x98\x80”无法用GBK编码保存，请改用其他字",
     "editJgmc"},
    {{{&I::EditJieDMC, "\xF0\xA0\x80\x80"}},
     "节点名称中的字符“\xF0\xA0\x80\x80”无法用GBK编码保存，请改用其他字",
     "EditJieDMC"},
    {{{&I::editTianBRXM, "\xC3\xA4"}},
     "填表人姓名中的字符“\xC3\xA4”无法用GBK编码保存，请改用其他字",
     "editTianBRXM"},
    {{{&I::cbXingZLSJB, kAll}}, "行政隶属级别不能为空。", "cbXingZLSJB"},
    {{{&I::cbXingZQHSS, kAll}}, "行政区划省市不能为空。", "cbXingZQHSS"},
    {{{&I::cbXingZQHDS, kAll}}, "行政区划地市不能为空。", "cbXingZQHDS"},
    {{{&I::cbXingZQHDS, ""}}, "行政区划地市不能为空。", "cbXingZQHDS"},  // empty city list
    {{{&I::cbXingZQHXQ, kAll}}, "行政区划县区不能为空。", "cbXingZQHXQ"},
    {{{&I::cbJieDLB, kAll}}, "单位类型不能为空。", "cbJieDLB"},
    {{{&I::EditJieDMC, " "}}, "节点名称不能为空。", "EditJieDMC"},
    {{{&I::editTianBRXM, ""}}, "填表人姓名不能为空。", "editTianBRXM"},
    {{{&I::cbXingZLSJB, kAll}, {&I::editTianBRXM, ""}}, "行政隶属级别不能为空。", "cbXingZLSJB"},
    {{{&I::cbXingZQHXQ, kAll}, {&I::cbJieDLB, kAll}, {&I::EditJieDMC, ""}},
     "行政区划县区不能为空。",
     "cbXingZQHXQ"},
    {{{&I::cbJieDLB, kAll}, {&I::EditJieDMC, ""}}, "单位类型不能为空。", "cbJieDLB"},
};

// The node name is derived from the values before the type and stops at the same first fault;
// it needs neither the node name nor the person.
TEST(ZhuCeChecks, FirstFailureInOrderWithItsControl) {
    EXPECT_EQ(setup::CheckZhuCe(Complete()), std::nullopt);
    for (const CheckCase& c : kCheckCases) {
        EXPECT_EQ(setup::CheckZhuCe(c.Input()), (CheckFailure{c.message, c.focus})) << c.focus;
        const std::string focus = c.focus;
        const bool beforeType = focus == "editJgmc" || focus.starts_with("cbXingZ");
        const setup::NodeNameResult derived = setup::DeriveJieDMC(c.Input());
        EXPECT_EQ(derived.failure ? derived.failure->message + derived.name : "",
                  beforeType ? c.message : "")
            << c.focus;
    }
}

// An agency's node is its division at its level; a department's node is its name.
TEST(ZhuCeNodeName, FollowsTypeAndLevel) {
    const char* const cases[][3] = {
        {"1-中央", "0-节能管理机构", "中华人民共和国"},
        {"2-省(自治区、直辖市)", "0-节能管理机构", "北京市"},
        {"3-地(区、市、州、盟)", "0-节能管理机构", "市辖区"},
        {"4-县(区、市、旗)", "0-节能管理机构", "东城区"},
        {"1-中央", "1-主管部门", "北京市东城区节能监察中心"},
        {"3-地(区、市、州、盟)", "--全部--", ""},
    };
    for (const auto& [level, type, name] : cases) {
        ZhuCeInput input = Complete();
        input.editJgmc = "  北京市东城区节能监察中心 ";
        input.cbXingZLSJB = level;
        input.cbJieDLB = type;
        const setup::NodeNameResult result = setup::DeriveJieDMC(input);
        EXPECT_EQ(result.failure ? "failed" : result.name, name) << level << " " << type;
    }
}

class SetupTest : public DbTest {};

TEST_F(SetupTest, RegistrationWritesTheUnitAndReloadsIt) {
    ZhuCeInput input = Complete();
    input.editJgmc = " 北京市东城区节能监察中心 ";
    ASSERT_EQ(setup::ZhuCe(Dm(), input), std::nullopt);
    // Reloaded from the file; a second registration is refused and writes nothing.
    Reopen();
    const CaoZDWXX& unit = Dm().Unit();
    EXPECT_TRUE(unit.ZhuCeBZ);
    EXPECT_EQ(unit.DanWID.size(), 16u);
    EXPECT_EQ(Join({unit.DanWID.substr(0, 6), unit.DanWMC, unit.XingZQH, unit.YouZBM,
                    unit.XingZLSJB + unit.XingZLSJBMC, unit.DanWLX + unit.DanWLXMC,
                    unit.JieDMC + unit.TianBRXM, unit.ChuSHSJ, unit.ssbm + unit.dsmc + unit.xqmc},
                   "|"),
              "110101|北京市东城区节能监察中心|110101|110101|4县(区、市、旗)|0节能管理机构|"
              "东城区张三|2024-05-06 07:08:09|110000市辖区东城区");
    EXPECT_THROW(setup::ZhuCe(Dm(), Complete()), MlkError);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_CaoZDWXX"), 1);
}

// Registrations given by codes walk the same cascade as the window.
TEST_F(SetupTest, RegistrationCodesBecomeTheItemsTheWindowWouldSelect) {
    const struct {
        const char *division, *province, *city, *county;
    } cases[] = {
        {"441900", "440000-广东省", "441900-东莞市", "441900-东莞市"},
        // A city that has counties is not a county entry; a province is not a city entry.
        {"130100", "130000-河北省", "130100-石家庄市", "--全部--"},
        {"130000", "130000-河北省", "--全部--", "--全部--"},
        {"", "--全部--", "--全部--", "--全部--"},
    };
    for (const auto& c : cases) {
        const ZhuCeInput input =
            setup::InputFromCodes(Dm(), {"某单位", "3", c.division, "0", "", "李四"});
        EXPECT_EQ(
            Join({input.cbXingZQHSS, input.cbXingZQHDS, input.cbXingZQHXQ, input.cbXingZLSJB,
                  input.cbJieDLB},
                 "|"),
            Join({c.province, c.city, c.county, "3-地(区、市、州、盟)", "0-节能管理机构"}, "|"))
            << c.division;
    }
    // A city without counties is its own county and registers.
    const ZhuCeInput input =
        setup::InputFromCodes(Dm(), {"东莞市节能办", "3", "441900", "0", "", "王五"});
    EXPECT_EQ(input.EditJieDMC, "东莞市");
    ASSERT_EQ(setup::ZhuCe(Dm(), input), std::nullopt);
    EXPECT_EQ(Dm().Unit().XingZQH + Dm().Unit().ssmc + Dm().Unit().DanWID.substr(0, 6),
              "441900广东省441900");
}

TEST_F(SetupTest, DivisionSaveChecksInOrder) {
    struct Case {
        std::string name, code;
        std::string message, focus;  // empty: passes
        std::string parent = "110100";
    };
    const std::string city = "地市的行政区划代码须以所属省份代码的前两位“11”开头、以“00”结尾";
    const std::string county =
        "区县的行政区划代码须以所属地市代码的前四位“1101”开头，且不能以“00”结尾";
    const std::vector<Case> cases = {
        {"", "", "名称不能为空", "EDName"},
        {"  ", "110199", "名称不能为空", "EDName"},
        {"新区", " \t", "行政区划不能为空", "EDCode"},
        {"新\xF0\x9F\x98\x80区", "",
         "行政区划名称中的字符“\xF0\x9F\x98\x80”无法用GBK编码保存，请改用其他字", "EDName"},
        {"新区", "11019", "行政区划长度必须为6位", "EDCode"},
        {"新区", "1101999", "行政区划长度必须为6位", "EDCode"},
        {"新区", "11O199", "行政区划只能由0到9的数字组成", "EDCode"},
        {"新区", "1101一", "行政区划只能由0到9的数字组成", "EDCode"},  // 6 GBK bytes
        {"新区", "+11019", "行政区划只能由0到9的数字组成", "EDCode"},
        {"新区", "370199", county, "EDCode"},
        {"新区", "110100", county, "EDCode"},
        {"新区", "110101", "行政区划已经存在", "EDCode"},
        {"新区", " 110199 ", "", ""},
        {"新市", "129900", city, "EDCode", "110000"},
        {"新市", "119901", city, "EDCode", "110000"},
        {"新市", "119900", "", "", "110000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.code);
        EXPECT_EQ(CheckNewDivision(Dm(), Dm().GetXingZQH(c.parent), c.name, c.code),
                  c.message.empty() ? std::nullopt : CheckResult(CheckFailure{c.message, c.focus}));
    }
}

// A province, a division with divisions below it (for removal) and one that a pending
// institution, the unit or the initial data uses (like an entry) stay as they are.
TEST_F(SetupTest, OnlyAnUnusedDivisionChanges) {
    RegisterUnit("1", "110102");     // 西城区
    AddPending(Dm(), "P1", "某局");  // in 东城区
    AddInitialRow(Dm(), "C1", "第一小学", "河北省", "石家庄", "长安区");
    const std::tuple<const char*, bool, std::string> cases[] = {
        {"110000", false, "省级行政区划不能修改或删除"},
        {"110100", true, "该行政区划下还有下级行政区划，不能删除"},
        {"110100", false, "该行政区划已被待导入机构使用，不能修改或删除"},  // through 东城区
        {"110102", true, "该行政区划已被操作单位使用，不能修改或删除"},
        {"130102", true, "该行政区划已被初始数据使用，不能修改或删除"},
        {"130100", false, "该行政区划已被初始数据使用，不能修改或删除"},
        {"110106", true, ""},
    };
    for (const auto& [code, removing, message] : cases) {
        const CheckResult refused = CheckChangeDivision(Dm(), Dm().GetXingZQH(code), removing);
        EXPECT_EQ(refused ? refused->message : "", message) << code;
    }
}

// What the check lets through is stored trimmed, one level below its parent.
TEST_F(SetupTest, NewDivisionIsTrimmedOneLevelBelowItsParent) {
    const XingZQH city = NewDivision(ProvinceDivisions(Dm()).at(0), " 新市 ", " 119900 ");
    EXPECT_EQ(city.XZJB + city.parentCode + city.name + city.code, "市110000新市119900");
    EXPECT_EQ(NewDivision(city, "新县", "119901").XZJB, "县");
}

}  // namespace
}  // namespace mlk::test
