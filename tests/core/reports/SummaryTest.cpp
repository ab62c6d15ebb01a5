#include <sqlite3.h>

#include <algorithm>
#include <functional>

#include "TestSupport.h"
#include "XlsxCells.h"
#include "platform/Platform.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/Quality.h"
#include "reports/TextRows.h"
#include "reports/TypeSummary.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

using Cells = std::vector<std::string>;

// The directory every summary below is checked against.
class SummaryTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理办公室");
        InsertSampleRows(Dm(), Rows());
    }

    std::vector<SampleRow> Rows() {
        TMainDM& dm = Dm();
        return {
            OwnRow(dm, "T1", "教育局", "1", "8210", 1),
            OwnRow(dm, "T2", "节能办", "0", "9900", 2),
            OwnRow(dm, "T3", "卫生局", "1", "8015", 3),
            OwnRow(dm, "T4", "公安局", "1", "70", 4),
            OwnRow(dm, "U", "未确认局", "1", "70", 0, "0"),
            ImportedRow("U1", "未确认局下属", "U", "U", "1", "8210", 2, 1),
            // The file imported for T1.
            ImportedRow("a1", "机关甲", "T1", "T1", "1", "70", 2, 2),
            ImportedRow("a2", "党委", "T1", "T1", "1", "7010", 2, 1),
            ImportedRow("a3", "一中", "T1", "T1", "1", "8220", 2, 3),
            ImportedRow("a4", "教育组", "T1", "T1", "1", "8200", 2, 4),
            ImportedRow("a5", "其他单位", "T1", "T1", "1", "8015", 2, 5),
            ImportedRow("a6", "工会", "T1", "T1", "1", "9410", 2, 6),
            ImportedRow("a7", "研究所", "T1", "T1", "1", "7310", 2, 7),
            ImportedRow("a8", "图书馆", "T1", "T1", "1", "8610", 2, 8),
            ImportedRow("a9", "医院", "T1", "T1", "1", "8310", 2, 9),
            ImportedRow("a10", "体育馆", "T1", "T1", "1", "8810", 2, 10),
            ImportedRow("a11", "节能站", "T1", "T1", "0", "8210", 2, 11),
            ImportedRow("a12", "未确认校", "T1", "T1", "1", "8210", 2, 12, "0"),
            ImportedRow("z1", "未确认校分校", "a12", "T1", "1", "8210", 3, 1),
            ImportedRow("b1", "二中", "a3", "T1", "1", "8230", 3, 1),
            ImportedRow("c1", "小学", "b1", "T1", "1", "8240", 4, 1),
            ImportedRow("d1", "幼儿园", "c1", "T1", "1", "8250", 5, 1),
            // The file imported for T3.
            ImportedRow("e1", "法院", "T3", "T3", "1", "7016", 2, 1),
            ImportedRow("e2", "检察院", "T3", "T3", "1", "7015", 2, 2),
            ImportedRow("f1", "其他机关", "e2", "T3", "1", "7017", 3, 1),
            ImportedRow("g1", "政府节能站", "T3", "T3", "0", "7012", 2, 3),
            ImportedRow("h1", "人大未确认", "T3", "T3", "1", "7011", 2, 4, "0"),
        };
    }

    // Confirmed institutions of a type, as many as count, in the file imported for reporter: each
    // column of a count below gets a figure of its own, so that two columns that changed places
    // show.
    void AddImported(const std::string& reporter, const std::string& type, int count) {
        std::vector<SampleRow> rows;
        for (int i = 0; i < count; ++i) {
            rows.push_back(ImportedRow(reporter + "-" + type + "-" + std::to_string(i), "增补",
                                       reporter, reporter, "1", type, 2, 100 + i));
        }
        InsertSampleRows(Dm(), rows);
    }

    // The ids of a table's rows with their numbers: "1 T1", "1.1 a2", ...
    static std::vector<std::string> Outline(const SummaryTable& table) {
        std::vector<std::string> outline;
        for (const Cells& row : table.rows)
            outline.push_back(row.at(0) + " " + row.at(1));
        return outline;
    }

    static Cells RowOf(const SummaryTable& table, const std::string& id) {
        for (const Cells& row : table.rows) {
            if (row.at(1) == id)
                return row;
        }
        throw std::runtime_error("no row " + id);
    }

    // The counts of a row (everything after number, id and name).
    static Cells Counts(const Cells& row) { return Cells(row.begin() + 3, row.end()); }
};

// Rows of another unit (another ShangJBMID) are not the operating unit's own rows.
TEST_F(SummaryTest, DirectoryListsConfirmedOwnRowsDepthFirstWithOutlineNumbersAndCells) {
    InsertSampleRow(Dm(), SampleRow{"X1", "他单位", "0", "OTHER", "", "1", "8210", 1, 0});
    const SummaryTable table = DirectorySummary(Dm());
    const std::vector<std::string> expected = {
        "1 T1",   "1.1 a2", "1.2 a1", "1.3 a3", "1.3.1 b1", "1.3.1.1 c1", "1.4 a4",
        "1.5 a5", "1.6 a6", "1.7 a7", "1.8 a8", "1.9 a9",   "1.10 a10",   "1.11 a11",
        "2 T2",   "3 T3",   "3.1 e1", "3.2 e2", "3.2.1 f1", "3.3 g1",     "4 T4"};
    EXPECT_EQ(Outline(table), expected);
    EXPECT_EQ(Join(RowOf(table, "a3"), "|"),
              "1.3|a3|一中|中等职业教育|123456783|P82|110101|县(处)级|一中|全额财政|"
              "北京市市辖区东城区东华门街道3号|100010|张三|010-1234567|4|8220|0");
    EXPECT_EQ(Join(RowOf(table, "a11"), "|"), "1.11|a11|节能站||||||||||||||");
    EXPECT_EQ(RowOf(table, "T2").at(3), "");
}

// Children of equal display order come in the order they were stored, whatever their ids, also
// when the rows are read in two ranges of row ids at once (y0 ties with a2, stored long before
// it), and the directory is the same where a second connection cannot share the read (a
// write-ahead log).
TEST_F(SummaryTest, DirectoryChildrenOfEqualOrderComeAsStored) {
    InsertSampleRows(Dm(), {ImportedRow("y9", "乙", "T2", "T2", "1", "8210", 2, 5),
                            ImportedRow("y1", "甲", "T2", "T2", "1", "8210", 2, 5),
                            ImportedRow("y5", "丙", "T2", "T2", "1", "8210", 2, 1),
                            ImportedRow("y0", "丁", "T1", "T1", "1", "8210", 2, 1)});
    const std::vector<std::string> outline = Outline(DirectorySummary(Dm()));
    const auto at = [&](const char* row, std::size_t count) {
        const auto found = std::find(outline.begin(), outline.end(), row);
        return std::vector<std::string>(
            found, found + std::min<std::ptrdiff_t>(count, outline.end() - found));
    };
    EXPECT_EQ(at("1 T1", 4), (std::vector<std::string>{"1 T1", "1.1 a2", "1.2 y0", "1.3 a1"}));
    EXPECT_EQ(at("2 T2", 4), (std::vector<std::string>{"2 T2", "2.1 y5", "2.2 y9", "2.3 y1"}));
    Dm().Db().Exec("pragma journal_mode = wal");
    EXPECT_EQ(Outline(DirectorySummary(Dm())), outline);
}

// A summary reads inside one snapshot with a small page cache: afterwards the connection has its
// own cache again and no transaction open, or every later statement would pay for it.
// Nor does any of them pass over every row of the directory: the own rows are a few among
// millions of imported ones (only the derived tables hzb and hzsj are read whole).
TEST_F(SummaryTest, EverySummaryLeavesTheConnectionAsItFoundIt) {
    const long long cache = Dm().QueryInt("pragma cache_size");
    const std::function<SummaryTable(TMainDM&)> summaries[] = {
        [](TMainDM& dm) {
            NoProgress watched;
            return DirectorySummary(dm, &watched);
        },
        CountSummary, StateOrganSummary, [](TMainDM& dm) { return TypeSummary(dm); }};
    std::vector<std::string> statements;
    sqlite3_trace_v2(
        Dm().Db().Handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* to, void* statement, void*) {
            static_cast<std::vector<std::string>*>(to)->push_back(
                sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
            return 0;
        },
        &statements);
    for (std::size_t i = 0; i < std::size(summaries); ++i) {
        EXPECT_FALSE(summaries[i](Dm()).rows.empty()) << i;
        EXPECT_EQ(Dm().QueryInt("pragma cache_size"), cache) << i;
        EXPECT_NO_THROW(Dm().Db().Exec("begin immediate; commit")) << i;
    }
    sqlite3_trace_v2(Dm().Db().Handle(), 0, nullptr, nullptr);
    for (const std::string& sql : statements) {
        Statement plan(Dm().Db(), "explain query plan " + sql);
        while (plan.Step()) {
            const std::string step = plan.Text("detail");
            EXPECT_TRUE(!step.starts_with("SCAN ") || step == "SCAN hzb" || step == "SCAN hzsj" ||
                        step == "SCAN CONSTANT ROW")
                << step << " in " << sql;
        }
    }
}

// No confirmed own rows: an empty directory, and counts of only the totals row.
TEST_F(SummaryTest, WithoutConfirmedOwnRowsDirectoryIsEmptyAndCountsHaveOnlyTotals) {
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='0' where ShuJLY='0'");
    EXPECT_TRUE(DirectorySummary(Dm()).rows.empty());
    Dm().ExecSQL("delete from MLK_JiBXX where ShuJLY='0'");
    const SummaryTable table = CountSummary(Dm());
    ASSERT_EQ(table.rows.size(), 1u);
    Cells totals = {"1", Dm().Unit().DanWID, "合计"};
    totals.resize(13, "0");
    EXPECT_EQ(table.rows[0], totals);
}

// A database file made elsewhere may lack the key on JiGID, and two rows may then share one id:
// a row whose ShangJBMID is its own id would be listed under itself for ever.
TEST_F(SummaryTest, ARowOnTheCurrentPathIsListedButNotEnteredAgain) {
    Dm().Db().Exec(
        "create table JiBXX_NoKey as select * from MLK_JiBXX where 0;"
        "drop table MLK_JiBXX; alter table JiBXX_NoKey rename to MLK_JiBXX");
    InsertSampleRow(Dm(), OwnRow(Dm(), "T", "部门", "1", "8210", 1));
    InsertSampleRow(Dm(), ImportedRow("X", "上级", "T", "T", "1", "8210", 2, 1));
    InsertSampleRow(Dm(), ImportedRow("X", "同号", "X", "T", "1", "8210", 2, 1));
    InsertSampleRow(Dm(), ImportedRow("Y", "下级", "X", "T", "1", "8210", 3, 2));
    std::vector<std::string> outline;
    for (const Cells& row : DirectorySummary(Dm()).rows)
        outline.push_back(row.at(0) + " " + row.at(2));
    EXPECT_EQ(outline,
              (std::vector<std::string>{"1 部门", "1.1 上级", "1.1.1 同号", "1.1.2 下级"}));
}

// ---- Counts ---------------------------------------------------------------------------------

TEST_F(SummaryTest, CountsPerOwnRowWithItsOwnContributionAndTotals) {
    InsertSampleRow(Dm(), ImportedRow("k1", "区政府", "T4", "T4", "1", "7012", 2, 1));
    for (const auto& [type, count] :
         {std::pair{"8610", 1}, {"8310", 2}, {"8810", 3}, {"8015", 4}, {"9410", 6}, {"70", 6}})
        AddImported("T1", type, count);
    const SummaryTable table = CountSummary(Dm());
    // number id name, then heji guojjg shiydw jiaoy kej wenh weis tiy qit tuantzz
    const std::vector<Cells> expected = {
        // a1 "70" and a2 "7010" are state organs; a4 "8200" counts nowhere; the agency a11 and
        // the unconfirmed a12 are left out, z1 below a12 counts; the own row adds 82.
        {"1", "T1", "教育局", "36", "8", "21", "6", "1", "2", "3", "4", "5", "7"},
        {"2", "T2", "节能办", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
        // The kinds 7015..7017 are state organs; own 8015 begins with 80.
        {"3", "T3", "卫生局", "4", "3", "1", "0", "0", "0", "0", "0", "1", "0"},
        {"4", "T4", "公安局", "2", "2", "0", "0", "0", "0", "0", "0", "0", "0"},
        {"5", Dm().Unit().DanWID, "合计", "42", "13", "22", "6", "1", "2", "3", "4", "6", "7"},
    };
    EXPECT_EQ(table.rows, expected);
}

TEST_F(SummaryTest, OwnRowCountsItselfByTheFirstMatchingTypeRule) {
    // type, node type, then the counts heji guojjg shiydw jiaoy kej wenh weis tiy qit tuantzz
    const char* const cases[][3] = {
        {"70", "1", "1100000000"},   {"7012", "1", "1100000000"}, {"9420", "1", "1000000001"},
        {"8015", "1", "1010000010"}, {"8200", "1", "1011000000"}, {"8250", "1", "1011000000"},
        {"7390", "1", "1010100000"}, {"8690", "1", "1010010000"}, {"8340", "1", "1010001000"},
        {"8890", "1", "1010000100"}, {"9900", "1", "1000000000"}, {"8210", "0", "0000000000"},
    };
    for (const auto& [type, node, counts] : cases) {
        Dm().ExecSQL("update MLK_JiBXX set JiGLX=?, JieDLB=? where JiGID='T4'", {type, node});
        EXPECT_EQ(Join(Counts(RowOf(CountSummary(Dm()), "T4")), ""), counts) << type << "/" << node;
    }
}

// g1 is an agency and still counts; h1 is unconfirmed, and so, at last, is the own row T3.
TEST_F(SummaryTest, StateOrgansByKindForOwnRowsThatHaveAny) {
    for (const auto& [type, count] :
         {std::pair{"7013", 2}, {"7014", 3}, {"7016", 3}, {"7015", 4}, {"7017", 5}})
        AddImported("T3", type, count);
    const auto byId = [&] {
        std::vector<Cells> rows;
        for (const Cells& row : StateOrganSummary(Dm()).rows)
            rows.emplace_back(row.begin() + 1, row.end());  // the database sets the order
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    // heji gongcd rend zhengf zhengx minzdp shenp(7016) jianc(7015) qit
    EXPECT_EQ(byId(),
              (std::vector<Cells>{{"T1", "教育局", "1", "1", "0", "0", "0", "0", "0", "0", "0"},
                                  {"T3", "卫生局", "21", "0", "0", "1", "2", "3", "4", "5", "6"}}));
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='0' where JiGID='T3'");
    EXPECT_EQ(byId().size(), 1u);
}

// ---- Types ----------------------------------------------------------------------------------

TEST_F(SummaryTest, TypesPerOwnRowAndTypeWithTheFilters) {
    struct Case {
        std::string second, third;
        std::vector<std::string> rows;  // "number id type count"
    };
    const std::vector<Case> cases = {
        {"",
         "",
         {"1 T1 7310 1", "2 T1 8015 1", "3 T1 8210 2", "4 T1 8220 1", "5 T1 8230 1", "6 T1 8240 1",
          "7 T1 8250 1", "8 T1 8310 1", "9 T1 8610 1", "10 T1 8810 1", "11 T3 8015 1"}},
        {"8200", "8210", {"1 T1 8210 2"}},
        {"8015", "", {"1 T1 8015 1", "2 T3 8015 1"}},
        {"8800", "8890", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second + "/" + c.third);
        std::vector<std::string> rows;
        for (const Cells& row : TypeSummary(Dm(), c.second, c.third).rows) {
            rows.push_back(row.at(0) + " " + row.at(1) + " " + row.at(3) + " " + row.at(5));
        }
        EXPECT_EQ(rows, c.rows);
    }
    const SummaryTable all = TypeSummary(Dm());
    ASSERT_FALSE(all.rows.empty());
    const Cells first = all.rows[0];
    EXPECT_EQ(first, (Cells{"1", "T1", "教育局", "7310", "科学研究", "1"}));
    // A row with no ShangBJGID value at all counts for no own row.
    Dm().ExecSQL("update MLK_JiBXX set ShangBJGID=NULL where JiGID='T3'");
    const SummaryTable table = TypeSummary(Dm(), "8015");
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][1], "T1");
}

// In an .xlsx file the counts and running numbers are numbers, names, ids and outline numbers
// texts; only the directory, which ends in no totals row, carries a filter.
TEST_F(SummaryTest, SheetsHoldFiguresAsNumbers) {
    const struct {
        SummaryTable (*make)(TMainDM&);
        Cells last;  // the last row, "#" before a number
        bool filtered;
    } cases[] = {
        {[](TMainDM& dm) { return DirectorySummary(dm); },
         {"4", "T4", "公安局", "", "123456784", "P82", "110101"},
         true},
        {CountSummary, {"#5", Dm().Unit().DanWID, "合计", "#19", "#6"}, false},
        {StateOrganSummary, {"#2", "T3", "卫生局", "#4", "#0"}, false},
        {[](TMainDM& dm) { return TypeSummary(dm); },
         {"#11", "T3", "卫生局", "8015", "其他事业单位", "#1"},
         false},
    };
    for (const auto& c : cases) {
        const SummaryTable table = c.make(Dm());
        const std::string file = PathText(dir_ / "汇总表.xlsx");
        SaveSummary(file, table);
        const auto cells = XlsxCells(PathFromText(file), true);
        ASSERT_EQ(cells.size(), table.rows.size() + 1);
        const Cells& last = cells.back();
        EXPECT_EQ(Cells(last.begin(), last.begin() + std::ptrdiff_t(c.last.size())), c.last);
        EXPECT_EQ(XlsxMember(PathFromText(file), "xl/worksheets/sheet1.xml").find("<autoFilter") !=
                      std::string::npos,
                  c.filtered);
    }
}

// Cells of every length class of the packing come back byte for byte, in their rows, and a row
// put under a new first cell keeps the cells after it.
// The sample directory's codes end in wrong check characters and repeat; a few rows more bring
// every other category. Agencies are looked at for their telephone number only.
TEST_F(SampleDirectoryTest, QualityFindsEachCategoryOverOwnAndImportedRows) {
    const auto add = [&](const std::string& id, const std::string& node,
                         std::vector<std::pair<std::string GGJG::*, std::string>> values) {
        GGJG row = SampleRecord(OwnRow(Dm(), id, "新单位" + id, node, "8230", 7));
        row.ZuZJGDM = "D2143569X";
        for (const auto& [field, value] : values)
            row.*field = value;
        row.Insert(Dm());
    };
    add("Q1", "1",
        {{&GGJG::YouZBM, "200010"},
         {&GGJG::LianXDH, "12345"},
         {&GGJG::XingZQH, "119999"},
         {&GGJG::HangYDM, "82P"}});
    add("Q2", "1", {{&GGJG::JiGMC, "教育局全称"}, {&GGJG::ZuZJGDM, "000000000"}});
    // Telephone numbers, on agencies, which nothing else is looked at for: "!" marks a wrong one.
    const char* phones[] = {"010-65123456",    "(010)65123456",
                            "01065123456",     "0755-1234567",
                            "13912345678",     "010-65123456-123",
                            "010-65123456转8", "!12345",
                            "!1391234567",     "!010-123456",
                            "!65123456",       "!23912345678",
                            "!010-6512345a",   "!"};
    std::vector<std::string> wrong;
    for (std::size_t i = 0; i < std::size(phones); ++i) {
        const std::string id = "P" + std::to_string(i);
        add(id, "0",
            {{&GGJG::LianXDH, phones[i][0] == '!' ? phones[i] + 1 : phones[i]},
             {&GGJG::ZuZJGDM, "bad"},
             {&GGJG::JiGLX, "9900"}});
        if (phones[i][0] == '!')
            wrong.push_back(id);
    }
    NoProgress progress;
    const QualityReport report = CheckQuality(Dm(), progress);
    EXPECT_EQ(QualityCounts(report),
              "共 28 条问题　组织机构代码校验位 8　组织机构代码重复 6　名称重复 2　"
              "邮政编码与省份不符 1　联系电话格式 8　行政区划代码无效 1　机构类型代码无效 1　"
              "行业代码格式 1");
    std::vector<std::string> lines, phoned;
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        lines.push_back(Join(report.findings[i].ToVector(), "|"));
        if (report.findings[i][0] == "联系电话格式" && report.findings[i][1][0] == 'P')
            phoned.push_back(std::string(report.findings[i][1]));
        EXPECT_EQ(report.own[i], report.findings[i][3] == "东城区节能办") << lines.back();
    }
    EXPECT_EQ(phoned, wrong);
    const char* expected[] = {
        "组织机构代码校验位|a3|体育场全称|卫生局|"
        "123456781：组织机构代码校验位不正确，按国家标准应为8",
        "组织机构代码重复|T1|教育局全称|东城区节能办|"
        "组织机构代码123456781还用于：一中全称（教育局）、"
        "体育场全称（卫生局）、一中分校全称（教育局）",
        "组织机构代码重复|a2|党委全称|教育局|"
        "组织机构代码123456782还用于：卫生局全称（东城区节能办）",
        "名称重复|Q2|教育局全称|东城区节能办|行政区划110101中还有同名机构：T1（东城区节能办）",
        "邮政编码与省份不符|Q1|新单位Q1全称|东城区节能办|"
        "邮政编码200010与北京市不符，北京市的邮政编码以10开头",
        "联系电话格式|Q1|新单位Q1全称|东城区节能办|"
        "联系电话“12345”既不是带区号的固定电话，也不是11位手机号码",
        "联系电话格式|P13|新单位P13全称|东城区节能办|没有联系电话",
        "行政区划代码无效|Q1|新单位Q1全称|东城区节能办|行政区划代码“119999”不在行政区划代码表中",
        "机构类型代码无效|T4|民政局全称|东城区节能办|机构类型代码“9900”不是可以选择的机构类型",
        "行业代码格式|Q1|新单位Q1全称|东城区节能办|"
        "行业代码“82P”应为一个字母（A至T）后跟至多4位数字",
    };
    for (const char* line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    // By category, each in the directory's order.
    EXPECT_EQ(lines.front().substr(0, lines.front().find("：")),
              "组织机构代码校验位|T1|教育局全称|东城区节能办|123456781");
    EXPECT_EQ(QualityTable(report).rows[1][0], "2");
}

TEST(TextRowsTest, CellsComeBackAsTheyWentIn) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {""},
        {"1.2.3", "东城区教育局", std::string(127, 'a'), std::string(128, 'b')},
        {std::string(16383, 'c'), std::string(16384, 'd'), std::string(70000, '\0'), "尾"},
    };
    TextRows packed;
    for (const auto& row : rows)
        packed.push_back(row);
    ASSERT_EQ(packed, rows);
    EXPECT_EQ(packed[2][2].size(), 127u);
    packed.resize(2);
    EXPECT_EQ(packed, (std::vector<std::vector<std::string>>{{}, {""}}));
}

// Shared texts, repeated cells and outline rows read back as the texts they stand for, in
// place, through a copy and after a move; an outline row's number is its parent's and its place
// among its siblings, whichever parent lists the same siblings.
TEST(TextRowsTest, SharedRepeatedAndOutlineCellsReadAsTheirTexts) {
    using Cell = TextRows::Cell;
    TextRows rows;
    const TextRows::Shared label = rows.Share("全额财政");
    EXPECT_EQ(rows.Share("全额财政").index, label.index);
    const std::string wide(200, 'x');
    const Cell kept[][6] = {{"A1", label, TextRows::Repeat{2}, "", rows.Share("差额"), label},
                            {"B", wide, TextRows::Repeat{1}}};
    for (int i = 0; i < 6; ++i)
        rows.Place(rows.Keep(kept[i % 2]));
    // Places 0 and 1 are the top rows, 2 to 5 children of one parent each.
    const std::pair<std::uint32_t, std::uint32_t> listed[] = {
        {TextRows::kTop, 0}, {0, 3}, {1, 4}, {2, 5}, {TextRows::kTop, 1}, {4, 2}, {4, 4}};
    for (const auto& [parent, place] : listed)
        rows.PushOutline(parent, place);
    const std::vector<std::string> a = {"A1", "全额财政", "A1", "", "差额", "全额财政"},
                                   b = {"B", wide, wide, "", "", ""};
    std::vector<std::vector<std::string>> expected;
    for (const auto& [number, cells] : {std::pair{"1", a},
                                        {"1.1", b},
                                        {"1.1.1", a},
                                        {"1.1.1.1", b},
                                        {"2", b},
                                        {"2.1", a},
                                        {"2.3", a}}) {
        expected.push_back({number});
        expected.back().insert(expected.back().end(), cells.begin(), cells.end());
    }
    ASSERT_EQ(rows, expected);
    EXPECT_EQ(rows[6][3], "A1");
    EXPECT_EQ(rows[6][6], "全额财政");
    std::vector<std::string_view> views;
    const TextRows::Row row = rows[3];
    row.Views(views);
    EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), expected[3]);
    const TextRows copy = rows;
    TextRows moved = std::move(rows);
    moved.PushOutline(TextRows::kTop, 1);
    expected.push_back(expected[4]);
    EXPECT_EQ(copy, std::vector(expected.begin(), expected.end() - 1));
    EXPECT_EQ(moved, expected);
}

}  // namespace
}  // namespace mlk::test
