#include "TestSupport.h"
#include "data/Gbk.h"
#include "data/MlkError.h"
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
    long long Rows() { return Dm().QueryInt("select count(*) from MLK_YuanJGXX"); }
    // The message of the error that stops the load, or "" when it succeeds.
    std::string LoadError(const std::filesystem::path& path) {
        try {
            LoadInitialData(Dm(), path);
        } catch (const MlkError& e) {
            return e.what();
        }
        return "";
    }
};

TEST(SplitLines, EndsLinesAtCrLfCrAndLf) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"\n", {""}},
        {"a\n\r", {"a", ""}},
    };
    for (const Case& c : cases) {
        const auto lines = SplitLines(c.bytes);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.lines) << c.bytes;
    }
}

TEST(WrongPieceCountMessage, QuotesPiecesWithBlanksControlsAndQuotes) {
    struct Case {
        std::vector<std::string> pieces;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, "数据项不正确，数据项不为13个"},
        {{"a", "b"}, "a,b数据项不正确，数据项不为13个"},
        {{"a b", "", "c"}, "\"a b\",,c数据项不正确，数据项不为13个"},
        {{"say \"hi\"", "\tx"}, "\"say \"\"hi\"\"\",\"\tx\"数据项不正确，数据项不为13个"},
        {{"北京市"}, "北京市数据项不正确，数据项不为13个"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrongPieceCountMessage(c.pieces), c.message);
}

// The thirteen-piece rule over whole files: the rows stored, or the error that stops the load.
TEST_F(InitialDataTest, AcceptsOnlyLinesOfThirteenPieces) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t stored;
        std::string error;  // empty: the load succeeds
    };
    const std::vector<Case> cases = {
        {"empty file", "", 0, ""},
        {"plain lines", Good(1) + "\r\n" + Good(2), 2, ""},
        {"final line break", Good(1) + "\r\n" + Good(2) + "\r\n", 2, ""},
        {"trailing comma", Good(1) + ",\r\n" + Good(2) + ",", 2, ""},
        {"bare LF and CR", Good(1) + "\n" + Good(2) + "\r" + Good(3), 3, ""},
        {"empty last field", "1,2,3,4,5,6,7,8,9,10,11,12,", 0,
         "1,2,3,4,5,6,7,8,9,10,11,12数据项不正确，数据项不为13个"},
        {"blank line in the middle", Good(1) + "\r\n\r\n" + Good(2), 0,
         "数据项不正确，数据项不为13个"},
        {"comma in a name", Line("ID1", "甲,乙学校", "北京市", "市辖区", "东城区"), 0,
         "ID1,甲,乙学校,类别,北京市,市辖区,东城区,x,y,解放路1号,a,b,c,d"
         "数据项不正确，数据项不为13个"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Dm().ExecSQL("delete from MLK_YuanJGXX");
        const auto path = Write(c.text);
        if (c.error.empty()) {
            const InitialLoadResult result = LoadInitialData(Dm(), path);
            EXPECT_EQ(result.stored, c.stored);
            EXPECT_EQ(Rows(), (long long)c.stored);
        } else {
            EXPECT_EQ(LoadError(path), c.error);
            EXPECT_EQ(Rows(), 0) << "nothing is written";
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

    InitialLoadResult clean;
    clean.lines = clean.stored = 4;
    EXPECT_EQ(InitialLoadMessage(clean), "已成功导入4条机构信息数据。");
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

TEST_F(InitialDataTest, FailuresLeaveTheTableEmpty) {
    EXPECT_NE(LoadError(dir_ / "missing.txt"), "");
    // A byte sequence that is not GBK, on the third line.
    const auto path = dir_ / "bad.txt";
    WriteFile(path, Utf8ToGbk(Good(1) + "\r\n" + Good(2) + "\r\n") + "\x81\x20,x\r\n");
    EXPECT_NE(LoadError(path).find("第3行"), std::string::npos) << LoadError(path);
    EXPECT_EQ(Rows(), 0);
}

}  // namespace
}  // namespace mlk::test
