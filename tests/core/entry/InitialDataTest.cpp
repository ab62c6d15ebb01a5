#include "TestSupport.h"
#include "data/Gbk.h"
#include "entry/InitialData.h"

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
    RemoveInitialData(Dm());
    EXPECT_FALSE(InitialDataImported(Dm()));
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiBXX"), 1) << "the directory is kept";
    EXPECT_EQ(LoadInitialData(Dm(), path).stored, 2u);
}

}  // namespace
}  // namespace mlk::test
