#include "TestSupport.h"
#include "model/CodeTables.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

class DataModuleTest : public DbTest {
  protected:
    static SqlStatement InsertType(const std::string& code) {
        return {"insert into MLK_JiGLX (LXBM,LXMC,parent,jici,shifmx) values (?,?,?,?,?)",
                {code, "测试", "0", "1", "0"}};
    }
};

// Every city hangs under a province and every county under a city; the types the summaries
// count are there.
TEST_F(DataModuleTest, NewDatabaseHasItsReferenceRows) {
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_XingZQH where XZJB='省' and "
                            "parentCode='100000'"),
              31);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_XingZQH c left join MLK_XingZQH p on "
                            "p.code = c.parentCode where c.XZJB <> '省' and (p.code is null or "
                            "(c.XZJB = '市' and p.XZJB <> '省') or (c.XZJB = '县' and p.XZJB <> "
                            "'市'))"),
              0);
    for (const char* code : {"7010", "7017", "8200", "7300", "8600", "8300", "8800", "8015", "94"})
        EXPECT_TRUE(Dm().HasRow("select 1 from MLK_JiGLX where LXBM=?", {code})) << code;
}

// A file of an older build is brought up to date: missing tables and reference rows, the index
// that the current schema no longer has, and own rows taken from the initial data at level 0.
// Each step runs once.
TEST_F(DataModuleTest, ReopeningKeepsRowsAndUpgradesAnOlderFile) {
    RegisterUnit("1");
    InsertSampleRows(Dm(), {OwnRow(Dm(), "OWN0", "选择的", "1", "9900", 0),
                            OwnRow(Dm(), "OWN2", "其他", "1", "9900", 0),
                            ImportedRow("IMP0", "导入的", "OWN2", "OWN2", "1", "9900", 0, 0)});
    Dm().ExecSQL("update MLK_JiBXX set JiC = case JiGID when 'OWN2' then 2 else 0 end");
    Dm().ExecSQL("delete from MLK_JiGLX");
    Dm().ExecSQL("drop index IX_JiBXX_TypeCounts");
    Dm().ExecSQL("drop index IX_JiBXX_OwnRows");
    Dm().ExecSQL(
        "create index IX_JiBXX_ShangJBMID on MLK_JiBXX (ShangJBMID, ShuJLY, JieDLB, ShunX)");
    Dm().ExecSQL("pragma user_version = 3");
    Reopen();
    EXPECT_TRUE(Dm().Unit().ZhuCeBZ);
    const auto levels = [&] {
        return Dm().QueryText(
            "select group_concat(JiGID || ' ' || JiC, ', ') from "
            "(select JiGID, JiC from MLK_JiBXX order by JiGID)");
    };
    EXPECT_EQ(levels(), "IMP0 0, OWN0 1, OWN2 2");
    Dm().ExecSQL("update MLK_JiBXX set JiC = 0 where JiGID = 'OWN0'");
    Reopen();
    EXPECT_EQ(levels(), "IMP0 0, OWN0 0, OWN2 2");
    EXPECT_EQ(Count("MLK_ShenHRZ"), 0);
    EXPECT_GT(Count("MLK_JiGLX"), 10);  // an emptied reference table gets its rows again
    EXPECT_FALSE(Dm().HasRow("select 1 from sqlite_master where name = 'IX_JiBXX_ShangJBMID'"));
    for (const char* index : {"IX_JiBXX_TypeCounts", "IX_JiBXX_OwnRows"})
        EXPECT_TRUE(Dm().HasRow("select 1 from sqlite_master where name = ?", {index})) << index;
    EXPECT_EQ(Dm().QueryInt("pragma user_version"), 5);
}

// A batch skips empty statements and reports its progress. It commits nowhere in between (not
// after the 500th or the 1000th statement): a failure later keeps no row of it, and the
// connection is usable again outside any transaction.
TEST_F(DataModuleTest, BatchIsOneTransactionWithProgress) {
    std::vector<SqlStatement> batch;
    for (int i = 0; i < 1300; ++i)
        batch.push_back(InsertType("T" + std::to_string(i)));
    batch.insert(batch.begin() + 500, SqlStatement{"", {}});
    struct Recorder : Progress {
        std::int64_t range = -1, last = -1;
        void SetRange(std::int64_t m) override { range = m; }
        void SetPosition(std::int64_t p) override { last = p; }
    } progress;
    Dm().ExecSQLBatch(batch, &progress);
    EXPECT_EQ(progress.range + progress.last, 2 * 1301);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiGLX where LXBM like 'T%'"), 1300);
    Dm().ExecSQL("delete from MLK_JiGLX where LXBM like 'T%'");
    batch.insert(batch.begin() + 1200, InsertType("T5"));  // a duplicate key
    EXPECT_THROW(Dm().ExecSQLBatch(batch), DbError);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiGLX where LXBM like 'T%'"), 0);
    Dm().ExecSQLBatch({InsertType("OK")});
    EXPECT_TRUE(Dm().HasRow("select 1 from MLK_JiGLX where LXBM='OK'"));
}

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

// A division without children offers itself; the longest name, which the windows make room
// for, counts added divisions too.
TEST_F(DataModuleTest, DivisionItems) {
    EXPECT_EQ(Dm().CountyItems("441900"), (std::vector<std::string>{"441900-东莞市"}));
    Dm().ExecSQL(
        "insert into MLK_XingZQH (code,name,parentCode,XZJB) values ('990000','测试省','100000',"
        "'省'), ('980100','测试省一个名字非常非常长的自治州','980000','市')");
    EXPECT_EQ(Dm().CityItems("990000"), (std::vector<std::string>{"990000-测试省"}));
    EXPECT_EQ(Dm().LongestDivisionItem("市"), "980100-测试省一个名字非常非常长的自治州");
}

// A city without counties and a province fill the missing levels with themselves; codes are
// bound, never spliced into the statement.
TEST_F(DataModuleTest, GetXingZQHFillsThreeLevels) {
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

// Values are bound, never spliced: quotes, commas, line ends and tabs come back as given. Every
// column but the two numbers is text, so codes keep their leading zeros.
TEST_F(DataModuleTest, InsertAndLoadRoundTripKeepsEveryCharacter) {
    GGJG original = SampleRecord("110101ABCDEF0123", "北京市\"第一\"中学, 东城'校区'");
    original.DiZhi_JieD = "东华门街道,1号";
    original.QiT = "多行\r\n备注\t";
    original.ZuZJGDM = "012345678";
    original.JiGLX = "";
    original.ShunX = -7;
    original.Insert(Dm());
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), original.JiGID);
    for (const auto& [got, want] : {std::pair{loaded.JiGMC, original.JiGMC},
                                    {loaded.DiZhi_JieD, original.DiZhi_JieD},
                                    {loaded.QiT, original.QiT},
                                    {loaded.ZuZJGDM, original.ZuZJGDM},
                                    {loaded.JiGLX, std::string("9900")},  // an empty type: none
                                    {std::to_string(loaded.ShunX), std::string("-7")},
                                    {loaded.XingZJBMC + loaded.JieDLBMC, "县(处)级主管部门"}})
        EXPECT_EQ(got, want);
    EXPECT_EQ(Dm().QueryText("select typeof(ShunX) from MLK_JiBXX"), "integer");
    for (std::size_t i = 0; i < 36; ++i) {
        const std::string column = GGJG::kColumns[i];
        EXPECT_EQ(Dm().QueryText("select typeof(" + column + ") from MLK_JiBXX"), "text") << column;
    }
    EXPECT_THROW(original.Insert(Dm()), DbError);
    EXPECT_TRUE(GGJG::LoadByJiGID(Dm(), "nothing").JiGID.empty());
}

}  // namespace
}  // namespace mlk::test
