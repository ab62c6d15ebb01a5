#include "TestSupport.h"
#include "setup/DivisionTree.h"

namespace mlk::test {
namespace {

class DivisionTreeTest : public DbTest {};

TEST_F(DivisionTreeTest, ListsLevelByLevel) {
    const auto provinces = ProvinceDivisions(Dm());
    ASSERT_EQ(provinces.size(), 31u);
    EXPECT_EQ(provinces.front().code + provinces.front().name, "110000北京市");
    const auto cities = ChildDivisions(Dm(), "130000");
    ASSERT_FALSE(cities.empty());
    for (const auto& city : cities)
        EXPECT_EQ(city.XZJB + city.parentCode, "市130000");
    EXPECT_TRUE(std::is_sorted(cities.begin(), cities.end(),
                               [](const XingZQH& a, const XingZQH& b) { return a.code < b.code; }));
    EXPECT_TRUE(ChildDivisions(Dm(), "441900").empty()) << "东莞市 has no counties";
    EXPECT_TRUE(CanHaveChildren(cities.front()));
    EXPECT_FALSE(CanHaveChildren(ChildDivisions(Dm(), "110100").front()));
}

TEST_F(DivisionTreeTest, SaveChecksInOrder) {
    struct Case {
        std::string name, code;
        std::string message, focus;  // empty: passes
    };
    const std::vector<Case> cases = {
        {"", "", "名称不能为空", "EDName"},
        {"  ", "110199", "名称不能为空", "EDName"},
        {"新区", " \t", "行政区划不能为空", "EDCode"},
        {"新区", "11019", "行政区划长度必须为6位", "EDCode"},
        {"新区", "1101999", "行政区划长度必须为6位", "EDCode"},
        {"新区", "11O199", "行政区划只能由0到9的数字组成", "EDCode"},
        {"新区", "1101一", "行政区划只能由0到9的数字组成", "EDCode"},  // 6 GBK bytes
        {"新区", "+11019", "行政区划只能由0到9的数字组成", "EDCode"},
        {"新区", "110101", "行政区划已经存在", "EDCode"},
        {"新区", " 110199 ", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.code);
        EXPECT_EQ(CheckNewDivision(Dm(), c.name, c.code),
                  c.message.empty() ? std::nullopt : CheckResult(CheckFailure{c.message, c.focus}));
    }
}

// A new division takes its level from its parent, trimmed, and every division list sees it;
// nothing is added without a parent or below a county.
TEST_F(DivisionTreeTest, AddsUnderProvincesAndCitiesOnly) {
    EXPECT_EQ(CheckAddUnder(nullptr)->message, "请选择一个上级行政区划");
    const XingZQH province = ProvinceDivisions(Dm()).front();
    EXPECT_FALSE(CheckAddUnder(&province));
    const XingZQH city = NewDivision(province, " 新市 ", " 119900 ");
    EXPECT_EQ(city.XZJB + city.parentCode + city.name + city.code, "市110000新市119900");
    EXPECT_FALSE(CheckAddUnder(&city));
    InsertDivision(Dm(), city);
    const XingZQH county = NewDivision(city, "新县", "119901");
    EXPECT_EQ(county.XZJB, "县");
    EXPECT_EQ(CheckAddUnder(&county)->message, "不可以新增区县以下的行政区划");
    InsertDivision(Dm(), county);
    EXPECT_EQ(CheckNewDivision(Dm(), "重复", "119901")->message, "行政区划已经存在");
    EXPECT_EQ(Dm().CountyItems("119900").back(), "119901-新县");
    const XingZQH found = Dm().GetXingZQH("119901");
    EXPECT_EQ(found.ssbm + found.dsmc, "110000新市");
}

}  // namespace
}  // namespace mlk::test
