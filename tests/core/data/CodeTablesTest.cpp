#include "TestSupport.h"
#include "data/CodeTables.h"
#include "data/Text.h"

namespace mlk::test {
namespace {

TEST(CodeTablesTest, LabelsByKey) {
    const CodeTables codes({"7010-中国共产党机关", "8210-高等-教育"});
    struct Case {
        const char* code;
        const char* key;
        const char* label;
    };
    for (const Case& c : std::vector<Case>{
             {"3", "GengXZT", "导入"},
             {"1", "QueRZT", "已确认"},
             {"5", "QueRZT", ""},
             {"1", "NoSuchKey", ""},
             {"3", "XingZLSJB", "地(区、市、州、盟)"},
             {"0", "XingZJB", "省（部）级"},
             {"0", "XuanZBZ", "未入库"},
             {"7010", "JiGLX", "中国共产党机关"},
             {"9900", "JiGLX", ""},
             {"8210", "JiGLX", "高等"},  // a name with "-" keeps only its first piece
             {" 1", "QueRZT", ""},       // codes match exactly
         }) {
        EXPECT_EQ(codes.CodeLabel(c.code, c.key), c.label) << c.code << " " << c.key;
    }
}

TEST(CodeTablesTest, ComboItemsStartWithTheAllItem) {
    const CodeTables codes;
    EXPECT_EQ(codes.ComboItems("QueRZT"),
              (std::vector<std::string>{"--全部--", "0-未确认", "1-已确认"}));
    EXPECT_EQ(codes.ComboItems("XingZJB").size(), 10u);
    EXPECT_EQ(codes.CodeList("Nothing"), nullptr);
}

TEST(CodeTablesTest, IsChosen) {
    for (const char* text : {"", "   ", "--全部--", " --全部-- ", "9900-空"}) {
        EXPECT_FALSE(IsChosen(text)) << text;
    }
    EXPECT_TRUE(IsChosen("0-未确认"));
}

TEST(TextTest, SplitText) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitText("1-中央", '-'), (V{"1", "中央"}));
    EXPECT_EQ(SplitText("", '-'), V{});
    EXPECT_EQ(SplitText("a,,b,", ','), (V{"a", "", "b"}));
    EXPECT_EQ(SplitText(",", ','), (V{""}));
    EXPECT_EQ(SplitText("abc", ','), (V{"abc"}));
}

TEST(TextTest, TrimItemsAndNumbers) {
    EXPECT_EQ(Trim(" \t 名称 \r\n"), "名称");
    EXPECT_EQ(ItemCode(" 110000 -北京市"), "110000");
    EXPECT_EQ(ItemLabel("110000-北京市"), "北京市");
    EXPECT_EQ(ItemLabel("无分隔"), "");
    long long value = 0;
    EXPECT_TRUE(ParseInt("-12", value));
    EXPECT_EQ(value, -12);
    for (const char* bad : {"", "1.5", "12a", " 3", "+", "99999999999999999999"}) {
        EXPECT_FALSE(ParseInt(bad, value)) << bad;
    }
}

// ---- Division and type lookups over the shipped reference rows ---------------------------

class LookupTest : public DbTest {};

// A division without children offers itself.
TEST_F(LookupTest, ProvinceCityAndCountyItems) {
    const auto provinces = Dm().ProvinceItems();
    ASSERT_EQ(provinces.size(), 32u);
    EXPECT_EQ(provinces[0] + provinces[1], "--全部--110000-北京市");
    const auto cities = Dm().CityItems("440000");
    EXPECT_EQ(cities[0], "--全部--");
    EXPECT_NE(std::find(cities.begin(), cities.end(), "440100-广州市"), cities.end());
    EXPECT_EQ(Dm().CountyItems("110100")[1], "110101-东城区");
    EXPECT_EQ(Dm().CountyItems("441900"), (std::vector<std::string>{"441900-东莞市"}));
    Dm().ExecSQL(
        "insert into MLK_XingZQH (code,name,parentCode,XZJB) values "
        "('990000','测试省','100000','省')");
    EXPECT_EQ(Dm().CityItems("990000"), (std::vector<std::string>{"990000-测试省"}));
    // The longest names, which the windows make room for; an added division counts too.
    EXPECT_EQ(Dm().LongestDivisionItem("市"), "522300-黔西南布依族苗族自治州");
    EXPECT_EQ(Dm().LongestTypeItem(), "8330-疾病预防控制机构");
    Dm().ExecSQL(
        "insert into MLK_XingZQH (code,name,parentCode,XZJB) values "
        "('990100','测试省一个名字非常非常长的自治州','990000','市')");
    EXPECT_EQ(Dm().LongestDivisionItem("市"), "990100-测试省一个名字非常非常长的自治州");
}

// A city without counties and a province fill the missing levels with themselves.
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
    EXPECT_GT(Dm().QueryInt("select count(*) from MLK_XingZQH"), 3000);
}

TEST_F(LookupTest, FindByNamesAndTopTypes) {
    const XingZQH found = Dm().FindXingZQHByNames("广东", "广州", "天河");
    EXPECT_EQ(found.xqbm, "440106");
    EXPECT_TRUE(Dm().FindXingZQHByNames("广东", "", "天河").xqbm.empty());
    EXPECT_EQ(Dm().LookupDivisionName("441900"), "东莞市");
    EXPECT_EQ(Dm().TopTypeItems(),
              (std::vector<std::string>{"--全部--", "70-国家机关", "80-事业单位", "94-团体组织"}));
    const auto* types = Dm().Codes().CodeList("JiGLX");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->front(), "7010-中国共产党机关");  // ordered by level, then code
}

}  // namespace
}  // namespace mlk::test
