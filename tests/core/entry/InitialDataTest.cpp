// The initial data: its load, the division lookup, and the selection into the directory.
#include "TestSupport.h"
#include "entry/DivisionLookup.h"
#include "entry/InitialData.h"
#include "entry/Selection.h"
#include "model/GGJG.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

// A line of 13 pieces with the six that are read; the others carry filler.
std::string Line(const std::string& id, const std::string& name, const std::string& province,
                 const std::string& city, const std::string& county,
                 const std::string& address = "解放路1号") {
    return id + "," + name + ",类别," + province + "," + city + "," + county + ",x,y," + address +
           ",a,b,c,d";
}

std::string Good(int n) {
    return Line("ID" + std::to_string(n), "第" + std::to_string(n) + "中学", "北京市", "市辖区",
                "东城区");
}

class InitialDataTest : public DbTest {
  protected:
    std::filesystem::path Write(const std::string& utf8) {
        const auto path = dir_ / "initial.txt";
        WriteFile(path, Utf8ToGbk(utf8));
        return path;
    }
    long long Rows() { return Count("MLK_YuanJGXX"); }
    std::string LoadError(const std::filesystem::path& path) {
        return ErrorOf([&] { LoadInitialData(Dm(), path); });
    }
};

// Whole files: the rows stored and the first of them, or the error that stops the load with
// nothing stored.
TEST_F(InitialDataTest, AcceptsOnlyLinesOfThirteenPieces) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t stored;
        std::string result;  // the first row's ID and NAME, or a part of the error
    };
    const std::string good = Utf8ToGbk(Good(1) + "\r\n" + Good(2) + "\r\n");
    const std::vector<Case> cases = {
        {"empty file", "", 0, ""},
        {"final line break", good, 2, "ID1|第1中学"},
        {"trailing comma", Utf8ToGbk(Good(1) + ",\r\n" + Good(2) + ","), 2, "ID1|第1中学"},
        {"empty last field", "1,2,3,4,5,6,7,8,9,10,11,12,", 0,
         "第1行：1,2,3,4,5,6,7,8,9,10,11,12数据项不正确，数据项不为13个"},
        {"blank line in the middle", Utf8ToGbk(Good(1) + "\r\n\r\n" + Good(2)), 0,
         "第2行：数据项不正确，数据项不为13个"},
        {"comma in a name", Utf8ToGbk(Line("ID1", "甲,乙学校", "北京市", "市辖区", "东城区")), 0,
         "第1行：ID1,甲,乙学校,类别,北京市,市辖区,东城区,x,y,解放路1号,a,b,c,d"
         "数据项不正确，数据项不为13个"},
        {"pieces shown quoted", Utf8ToGbk("a b,,c,say \"hi\",\tx"), 0,
         "第1行：\"a b\",,c,\"say \"\"hi\"\"\",\"\tx\"数据项不正确"},
        {"a 50 MB line", good + std::string(50 << 20, 'x'), 0,
         "第3行：" + std::string(200, 'x') + "……数据项不正确"},
        {"UTF-8 that GBK cannot hold",
         Good(1) + "\n" + Line("ID2", "二中", "北京市", "市辖区", "东城区", "路\xF0\xA0\x80\x80"),
         0, "第2行第9项：街道中的字符“\xF0\xA0\x80\x80”无法用GBK编码保存，请改用其他字"},
        {"a 50 MB line of commas", std::string(50 << 20, ','), 0,
         "第1行：" + std::string(200, ',') + "……数据项不正确"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dm().ExecSQL("delete from MLK_YuanJGXX");
        const auto path = dir_ / c.what;
        WriteFile(path, c.bytes);
        const std::string error = LoadError(path);
        EXPECT_EQ(Rows(), (long long)c.stored);
        if (c.stored == 0) {
            EXPECT_NE(error.find(c.result), std::string::npos) << error.substr(0, 300);
            EXPECT_LT(error.size(), 1000u);
        } else {
            EXPECT_EQ(error, "");
            EXPECT_EQ(Dm().QueryText("select ID||'|'||NAME from MLK_YuanJGXX order by rowid"),
                      c.result);
        }
    }
}

TEST_F(InitialDataTest, SkipsLinesWithoutIdNameOrPlaceAndCountsThem) {
    // Ten lines, three of them without an identifier, a name or a county.
    std::string text;
    for (int i = 1; i <= 10; ++i) {
        std::string line = Good(i);
        if (i == 3)
            line = Line("  ", "学校", "北京市", "市辖区", "东城区");
        if (i == 6)
            line = Line("ID6", " ", "北京市", "市辖区", "东城区");
        if (i == 10)
            line = Line("ID10", "学校", "北京市", "市辖区", "\t");
        text += line + "\r\n";
    }
    const InitialLoadResult result = LoadInitialData(Dm(), Write(text));
    EXPECT_EQ(result.lines, 10u);
    EXPECT_EQ(result.stored, 7u);
    EXPECT_EQ(result.skippedLines, (std::vector<std::size_t>{3, 6, 10}));
    EXPECT_EQ(Rows(), 7);
    EXPECT_EQ(InitialLoadMessage(result),
              "已成功导入7条机构信息数据。\n另有3行因机构ID、名称、省、市或县为空未导入：第3、6、"
              "10行。");
}

TEST_F(InitialDataTest, StoresTrimmedFieldsWithQuotesAsTheyAre) {
    LoadInitialData(
        Dm(), Write(Line(" O'ID ", " 王'二\"小学 ", " 北京市", "市辖区 ", "东城区", " 路 1 号 ")));
    EXPECT_EQ(
        Dm().QueryText("select ID||'|'||NAME||'|'||BM||'|'||SF||'|'||DS||'|'||XQ||'|'||JIED||'|'||"
                       "BH1||'|'||XuanZBZ from MLK_YuanJGXX"),
        "O'ID|王'二\"小学|O'ID|北京市|市辖区|东城区|路 1 号|9900|0");
    EXPECT_EQ(Rows(), 1);
}

TEST_F(InitialDataTest, RefusesASecondLoadUntilRemoved) {
    const auto path = Write(Good(1) + "\r\n" + Good(2));
    EXPECT_FALSE(InitialDataImported(Dm()));
    LoadInitialData(Dm(), path);
    EXPECT_TRUE(InitialDataImported(Dm()));
    // Even once every row was added to the directory, the data stays loaded.
    Dm().ExecSQL("update MLK_YuanJGXX set XuanZBZ = '1'");
    EXPECT_EQ(LoadError(path), kAlreadyImportedMessage);
    EXPECT_EQ(Rows(), 2);

    Dm().ExecSQL("insert into MLK_JiBXX (JiGID,JiGMC) values ('ID1','第1中学')");
    NoProgress quiet;
    RemoveInitialData(Dm(), SafetyCopy::Skip, quiet);
    EXPECT_FALSE(InitialDataImported(Dm()));
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiBXX"), 1) << "the directory is kept";
    EXPECT_EQ(LoadInitialData(Dm(), path).stored, 2u);
}

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
    // Added rows follow the unit's own institutions, not its agencies or another unit's rows.
    InsertSampleRows(Dm(), {OwnRow(Dm(), "O1", "本单位机构", "1", "8210", 5),
                            OwnRow(Dm(), "O2", "本单位节能机构", "0", "9900", 8),
                            SampleRow{"O3", "他单位", "0", "OTHER", "", "1", "8210", 1, 9}});

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
    EXPECT_EQ(Count("MLK_JiBXX"), 6);

    const GGJG added = GGJG::LoadByJiGID(Dm(), "A1");
    // Division names as stored among the divisions; level 1 as an entered row.
    EXPECT_EQ(
        Join({added.JiGMC, added.XingZQH, added.DiZhi_Shen + added.DiZhi_Shi + added.DiZhi_Xian,
              added.DiZhi_JieD, added.JiGLX,
              added.CaiZJFLYFS + added.GengXZT + added.ShenHZT + added.QueRZT + added.JieDLB +
                  added.ShuJLY + std::to_string(added.JiC),
              added.ZuZJGDM, added.ShangJBMID, std::to_string(added.ShunX)},
             "|"),
        "东城一中|110101|北京市市辖区东城区|人民路8号|9900|0300101||" + Dm().Unit().DanWID + "|6");
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "A4").ShunX, 7);
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
