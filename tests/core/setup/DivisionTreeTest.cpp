#include "TestSupport.h"
#include "setup/DivisionTree.h"

namespace mlk::test {
namespace {

class DivisionTreeTest : public DbTest {};

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

// What the check lets through is stored trimmed, one level below its parent.
TEST_F(DivisionTreeTest, NewDivisionIsTrimmedOneLevelBelowItsParent) {
    const XingZQH city = NewDivision(ProvinceDivisions(Dm()).front(), " 新市 ", " 119900 ");
    EXPECT_EQ(city.XZJB + city.parentCode + city.name + city.code, "市110000新市119900");
    EXPECT_EQ(NewDivision(city, "新县", "119901").XZJB, "县");
}

}  // namespace
}  // namespace mlk::test
