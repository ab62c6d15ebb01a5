#include "Fixtures.h"
#include "data/GGJG.h"
#include "data/Text.h"
#include "entry/DivisionLookup.h"
#include "entry/Selection.h"

namespace mlk::test {
namespace {

class SelectionTest : public DepartmentTest {
  protected:
    std::vector<InitialRow> AllRows() {
        std::vector<InitialRow> rows;
        Dm().ForEachRow("Select ID,NAME,BM,SF,DS,XQ,JIED,XuanZBZ From MLK_YuanJGXX order by rowid",
                        {},
                        [&](const Statement& row) { rows.push_back(InitialRow::FromRow(row)); });
        return rows;
    }
    std::string Flag(const std::string& id) {
        return Dm().QueryText("select XuanZBZ from MLK_YuanJGXX where ID = ?", {id});
    }
};

// Names as they come in the initial data, and the county they resolve to.
TEST_F(SelectionTest, DivisionLookupPrefersExactNamesOverLowerCodes) {
    struct Case {
        std::string province, city, county;
        std::string county_code;  // empty: not found
    };
    const std::vector<Case> cases = {
        {"北京市", "市辖区", "东城区", "110101"},
        {"北京", "市辖", "东城", "110101"},
        // 新绛县 (140825) holds 绛县 (140826) and has the lower code: the exact name wins.
        {"山西省", "运城市", "绛县", "140826"},
        {"山西", "运城", "绛县", "140826"},
        {"山西省", "运城市", "绛", "140825"},
        {"甘肃省", "庆阳市", "宁县", "621026"},
        // The province decides first: 朝阳区 of Beijing has the lowest code, but Liaoning is
        // named exactly.
        {"辽宁省", "朝阳", "朝阳", "211321"},
        {"北京市", "市辖区", "朝阳", "110105"},
        {"吉林", "长春", "朝阳区", "220104"},
        {"火星省", "市辖区", "东城区", ""},
        {"北京市", "市辖区", "不存在区", ""},
        // A city without counties has no county to offer.
        {"广东省", "东莞市", "东莞市", ""},
        {"", "市辖区", "东城区", ""},
    };
    DivisionLookup lookup(Dm());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.province + "/" + c.city + "/" + c.county);
        const XingZQH& found = lookup.Find(c.province, c.city, c.county);
        EXPECT_EQ(found.xqbm, c.county_code);
        // The data module's single lookup follows the same rule.
        const XingZQH single = Dm().FindXingZQHByNames(c.province, c.city, c.county);
        EXPECT_EQ(single.xqbm, c.county_code);
        EXPECT_EQ(single.dsbm, found.dsbm);
        EXPECT_EQ(single.ssmc, found.ssmc);
    }
}

TEST_F(SelectionTest, AddsFoundRowsAndReportsTheOthers) {
    AddInitialRow(Dm(), "A1", "东城一中", "北京", "市辖区", "东城");
    AddInitialRow(Dm(), "A2", "火星学校", "火星省", "甲市", "乙县");
    AddInitialRow(Dm(), "A3", "已有学校", "北京市", "市辖区", "西城区");
    AddInitialRow(Dm(), "A4", "绛县医院", "山西省", "运城市", "绛县", "");
    Dm().ExecSQL("insert into MLK_JiBXX (JiGID,JiGMC) values ('A3','已有学校')");

    const SelectionResult result = AddToDirectory(Dm(), AllRows());
    EXPECT_EQ(result.added, 2u);
    ASSERT_EQ(result.divisionNotFound.size(), 1u);
    EXPECT_EQ(result.divisionNotFound[0].ID, "A2");
    ASSERT_EQ(result.alreadyInDirectory.size(), 1u);
    EXPECT_EQ(result.alreadyInDirectory[0].ID, "A3");
    EXPECT_EQ(SelectionMessage(result),
              "2条机构信息成功添加到名录库中！\n"
              "1条机构的省、市、县在行政区划中找不到，未添加，仍为未入库：火星学校。\n"
              "1条机构已在名录库中，未重复添加，已标为已入库：已有学校。");

    // A2 can be added once its division exists.
    EXPECT_EQ(Flag("A1") + Flag("A2") + Flag("A3") + Flag("A4"), "1011");
    EXPECT_EQ(Count("MLK_JiBXX"), 3);

    const GGJG added = GGJG::LoadByJiGID(Dm(), "A1");
    // Division names as stored among the divisions.
    EXPECT_EQ(
        Join({added.JiGMC, added.XingZQH, added.DiZhi_Shen + added.DiZhi_Shi + added.DiZhi_Xian,
              added.DiZhi_JieD, added.JiGLX,
              added.CaiZJFLYFS + added.GengXZT + added.ShenHZT + added.QueRZT + added.JieDLB +
                  added.ShuJLY + std::to_string(added.JiC),
              added.ZuZJGDM, added.ShangJBMID},
             "|"),
        "东城一中|110101|北京市市辖区东城区|人民路8号|9900|0300100||" + Dm().Unit().DanWID);
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "A3").XingZQH, "") << "the existing entry is untouched";
}

TEST_F(SelectionTest, SameIdTwiceIsAddedOnceAndDoubleQuotesNeverReachTheDirectory) {
    AddInitialRow(Dm(), "D1", "一号", "北京市", "市辖区", "东城区");
    AddInitialRow(Dm(), "D1", "一号重复", "北京市", "市辖区", "西城区");
    AddInitialRow(Dm(), "Q\"1", "\"红星\"小学", "北京市", "市辖区", "东城区", "O'Brien路\"1\"号");
    const SelectionResult result = AddToDirectory(Dm(), AllRows());
    EXPECT_EQ(result.added, 2u);
    EXPECT_EQ(result.alreadyInDirectory.size(), 1u);
    EXPECT_EQ(Count("MLK_JiBXX"), 2);
    const GGJG added = GGJG::LoadByJiGID(Dm(), "Q1");
    EXPECT_EQ(added.JiGMC, "红星小学");
    EXPECT_EQ(added.DiZhi_JieD, "O'Brien路1号");
    EXPECT_EQ(Flag("Q\"1"), "1");
    // Taken again after a reload, the entry is recognised as already there.
    Dm().ExecSQL("update MLK_YuanJGXX set XuanZBZ = '0'");
    EXPECT_EQ(AddToDirectory(Dm(), AllRows()).alreadyInDirectory.size(), 3u);
}

TEST_F(SelectionTest, AFailureLeavesBothTablesAsTheyWere) {
    AddInitialRow(Dm(), "F1", "好学校", "北京市", "市辖区", "东城区");
    AddInitialRow(Dm(), "F2", "坏学校", "北京市", "市辖区", "西城区");
    Dm().Db().Exec(
        "create trigger refuse before insert on MLK_JiBXX when new.JiGMC = '坏学校' "
        "begin select raise(abort, '拒绝写入'); end");
    EXPECT_THROW(AddToDirectory(Dm(), AllRows()), MlkError);
    EXPECT_EQ(Count("MLK_JiBXX"), 0);
    EXPECT_EQ(Flag("F1"), "0");
}

TEST_F(SelectionTest, SearchFiltersNameAddressAndState) {
    AddInitialRow(Dm(), "S1", "第一中学", "北京市", "市辖区", "东城区", "人民路1号");
    AddInitialRow(Dm(), "S2", "第二中学", "北京市", "市辖区", "西城区", "中山路");
    AddInitialRow(Dm(), "S3", "人民医院", "山西省", "运城市", "绛县", "人民路9号");
    AddInitialRow(Dm(), "S4", "O'Neil 学校", "北京市", "市辖区", "人民区", "");
    Dm().ExecSQL("update MLK_YuanJGXX set XuanZBZ = '1' where ID = 'S2'");
    struct Case {
        SelectionFilter filter;
        std::vector<std::string> ids;  // in list order
    };
    const std::vector<Case> cases = {
        {{}, {"S1", "S4", "S2", "S3"}},  // ordered by province, city, county, code
        {{" 中学 ", "", "", false}, {"S1", "S2"}},
        {{"", "人民", "", false}, {"S1", "S3"}},  // the address only, not the places
        {{"", "", "0-未入库", true}, {"S1", "S4", "S3"}},
        {{"", "", "1-已入库", true}, {"S2"}},
        {{"", "", "--全部--", false}, {"S1", "S4", "S2", "S3"}},
        {{"", "", "1abc", true}, {"S2"}},  // typed text: its first character
        {{"O'Neil", "", "", false}, {"S4"}},
        {{"中学", "中山", "1", true}, {"S2"}},
        {{"   ", "  ", "", false}, {"S1", "S4", "S2", "S3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.name + "|" + c.filter.address + "|" + c.filter.stateText);
        const ListQueryBuilder query = SelectionQuery(c.filter);
        EXPECT_EQ(query.Count(Dm().Db()), (long long)c.ids.size());
        std::vector<std::string> ids;
        Statement page = query.PageStatement(Dm().Db(), 2, 1);
        while (page.Step())
            ids.push_back(page.Text("ID"));
        EXPECT_EQ(ids, std::vector<std::string>(
                           c.ids.begin(), c.ids.begin() + std::min<std::size_t>(2, c.ids.size())));
    }
    const auto unchosen = UnchosenRows(Dm(), {"", "人民", "1", true});
    ASSERT_EQ(unchosen.size(), 2u) << "only rows not yet added, whatever the state box says";
    EXPECT_EQ(unchosen[0].ID, "S1");

    const auto byIds = RowsByIds(Dm(), {"S3", "S1"});
    ASSERT_EQ(byIds.size(), 2u);
    EXPECT_EQ(byIds[0].NAME, "人民医院");
    EXPECT_THROW(RowsByIds(Dm(), {"S1", "nope"}), MlkError);
}

TEST_F(SelectionTest, MessagesNameAtMostTenRows) {
    SelectionResult result;
    for (int i = 1; i <= 12; ++i) {
        InitialRow row;
        row.NAME = "机构" + std::to_string(i);
        result.divisionNotFound.push_back(row);
    }
    const std::string message = SelectionMessage(result);
    EXPECT_NE(message.find("12条机构的省、市、县在行政区划中找不到"), std::string::npos);
    EXPECT_NE(message.find("机构10等。"), std::string::npos) << message;
    EXPECT_EQ(message.find("机构11"), std::string::npos);
}

}  // namespace
}  // namespace mlk::test
