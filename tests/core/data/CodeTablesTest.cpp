#include "TestSupport.h"
#include "data/CodeTables.h"
#include "data/Text.h"

namespace mlk::test {
namespace {

TEST(CodeTablesTest, LabelsComboItemsAndChoices) {
    const CodeTables codes({"7010-中国共产党机关", "8210-高等-教育"});
    const char* const cases[][3] = {
        {"3", "GengXZT", "导入"}, {"5", "QueRZT", ""},
        {"1", "NoSuchKey", ""},   {"7010", "JiGLX", "中国共产党机关"},
        {"9900", "JiGLX", ""},    {"8210", "JiGLX", "高等"},  // a name's first piece
        {" 1", "QueRZT", ""},                                 // codes match exactly
    };
    for (const auto& [code, key, label] : cases)
        EXPECT_EQ(codes.CodeLabel(code, key), label) << code << " " << key;
    EXPECT_EQ(codes.ComboItems("QueRZT"),
              (std::vector<std::string>{"--全部--", "0-未确认", "1-已确认"}));
    for (const char* text : {"", "   ", "--全部--", " --全部-- ", "9900-空"})
        EXPECT_FALSE(IsChosen(text)) << text;
    EXPECT_TRUE(IsChosen("0-未确认"));
}

// Division and type lookups over the shipped reference rows.
class LookupTest : public DbTest {};

// A division without children offers itself; the longest name, which the windows make room
// for, counts added divisions too.
TEST_F(LookupTest, DivisionItems) {
    EXPECT_EQ(Dm().CountyItems("441900"), (std::vector<std::string>{"441900-东莞市"}));
    Dm().ExecSQL(
        "insert into MLK_XingZQH (code,name,parentCode,XZJB) values ('990000','测试省','100000',"
        "'省'), ('980100','测试省一个名字非常非常长的自治州','980000','市')");
    EXPECT_EQ(Dm().CityItems("990000"), (std::vector<std::string>{"990000-测试省"}));
    EXPECT_EQ(Dm().LongestDivisionItem("市"), "980100-测试省一个名字非常非常长的自治州");
}

// A city without counties and a province fill the missing levels with themselves; codes are
// bound, never spliced into the statement.
TEST_F(LookupTest, GetXingZQHFillsThreeLevels) {
    for (const auto& [code, levels] : std::vector<std::pair<const char*, const char*>>{
             {"440106", "440000广东省440100广州市440106天河区"},
             {"441900", "440000广东省441900东莞市441900东莞市"},
             {"110000", "110000北京市110000北京市110000北京市"},
             {"000000", ""},
             {"'; drop table MLK_XingZQH; --", ""},
         }) {
        const XingZQH d = Dm().GetXingZQH(code);
        EXPECT_EQ(d.ssbm + d.ssmc + d.dsbm + d.dsmc + d.xqbm + d.xqmc, levels) << code;
    }
    EXPECT_GT(Count("MLK_XingZQH"), 3000);
    EXPECT_EQ(Dm().LookupDivisionName("441900"), "东莞市");
}

}  // namespace
}  // namespace mlk::test
