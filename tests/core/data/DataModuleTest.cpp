#include <filesystem>
#include <set>

#include "TestSupport.h"
#include "data/MlkError.h"

namespace mlk::test {
namespace {

class DataModuleTest : public DbTest {
  protected:
    long long Count(const std::string& table) {
        return Dm().QueryInt("select count(*) from " + table);
    }
    SqlStatement InsertType(const std::string& code) {
        return {"insert into MLK_JiGLX (LXBM,LXMC,parent,jici,shifmx) values (?,?,?,?,?)",
                {code, "测试", "0", "1", "0"}};
    }
};

TEST_F(DataModuleTest, NewDatabaseHasTablesAndReferenceRows) {
    for (const char* table : {"MLK_JiBXX", "MLK_CaoZDWXX", "MLK_YuanJGXX", "MLK_DaiDRJG",
                              "MLK_DaoRRZ", "MLK_ShenHRZ"}) {
        EXPECT_EQ(Count(table), 0) << table;
    }
    EXPECT_GT(Count("MLK_XingZQH"), 3000);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_XingZQH where XZJB='省'"), 31);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_XingZQH where parentCode='100000'"), 31);
    // Every city hangs under a province and every county under a city.
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_XingZQH c left join MLK_XingZQH p on "
                            "p.code = c.parentCode where c.XZJB <> '省' and (p.code is null or "
                            "(c.XZJB = '市' and p.XZJB <> '省') or (c.XZJB = '县' and p.XZJB <> "
                            "'市'))"),
              0);
    for (const char* code : {"70", "7010", "7017", "80", "8200", "7300", "8600", "8300", "8800",
                             "8015", "94", "9900"}) {
        EXPECT_TRUE(Dm().HasRow("select 1 from MLK_JiGLX where LXBM=?", {code})) << code;
    }
    EXPECT_FALSE(Dm().Unit().ZhuCeBZ);
}

// A file of an older build is brought up to date: missing tables and reference rows, and the
// index that the current schema no longer has.
TEST_F(DataModuleTest, ReopeningKeepsRowsAndUpgradesAnOlderFile) {
    RegisterUnit("1");
    Dm().ExecSQL("drop table MLK_ShenHRZ");
    Dm().ExecSQL("delete from MLK_JiGLX");
    Dm().ExecSQL("drop index IX_JiBXX_TypeCounts");
    Dm().ExecSQL(
        "create index IX_JiBXX_ShangJBMID on MLK_JiBXX (ShangJBMID, ShuJLY, JieDLB, ShunX)");
    Dm().ExecSQL("pragma user_version = 2");
    Reopen();
    EXPECT_TRUE(Dm().Unit().ZhuCeBZ);
    EXPECT_EQ(Count("MLK_ShenHRZ"), 0);
    EXPECT_GT(Count("MLK_JiGLX"), 10);  // an emptied reference table gets its rows again
    EXPECT_FALSE(Dm().HasRow("select 1 from sqlite_master where name = 'IX_JiBXX_ShangJBMID'"));
    EXPECT_TRUE(Dm().HasRow("select 1 from sqlite_master where name = 'IX_JiBXX_TypeCounts'"));
    EXPECT_EQ(Dm().QueryInt("pragma user_version"), 3);
}

TEST_F(DataModuleTest, BatchCommitsEveryStatementSkipsEmptyOnesAndReportsProgress) {
    std::vector<SqlStatement> batch;
    for (int i = 0; i < 1001; ++i)
        batch.push_back(InsertType("T" + std::to_string(i)));
    batch.insert(batch.begin() + 500, SqlStatement{"", {}});
    struct Recorder : Progress {
        std::int64_t range = -1, last = -1;
        void SetRange(std::int64_t m) override { range = m; }
        void SetPosition(std::int64_t p) override { last = p; }
    } progress;
    Dm().ExecSQLBatch(batch, &progress);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiGLX where LXBM like 'T%'"), 1001);
    EXPECT_EQ(progress.range, 1002);
    EXPECT_EQ(progress.last, 1002);
}

TEST_F(DataModuleTest, FailingStatementRollsBackTheWholeBatch) {
    std::vector<SqlStatement> batch;
    for (int i = 0; i < 1200; ++i)
        batch.push_back(InsertType("T" + std::to_string(i)));
    batch.push_back(InsertType("T5"));  // duplicate key, after the 500th and 1000th statements
    for (int i = 1200; i < 1300; ++i)
        batch.push_back(InsertType("T" + std::to_string(i)));
    EXPECT_THROW(Dm().ExecSQLBatch(batch), DbError);
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_JiGLX where LXBM like 'T%'"), 0);
    // The connection is usable again and outside any transaction.
    Dm().ExecSQLBatch({InsertType("OK")});
    EXPECT_TRUE(Dm().HasRow("select 1 from MLK_JiGLX where LXBM='OK'"));
}

TEST_F(DataModuleTest, EngineErrorsNameTheirCause) {
    try {
        Dm().ExecSQLBatch({{"insert into MLK_Nothing values (1)", {}}});
        FAIL();
    } catch (const DbError& error) {
        EXPECT_NE(std::string(error.what()).find("MLK_Nothing"), std::string::npos);
    }
}

TEST_F(DataModuleTest, IdsAreTenUpperHexDigitsAndDistinct) {
    std::set<std::string> ids;
    for (int i = 0; i < 10000; ++i) {
        const std::string id = TMainDM::NewID();
        ASSERT_EQ(id.size(), 10u);
        ASSERT_EQ(id.find_first_not_of("0123456789ABCDEF"), std::string::npos) << id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 10000u);
}

TEST_F(DataModuleTest, TimeTexts) {
    const std::string now = TMainDM::NowText();
    ASSERT_EQ(now.size(), 19u);
    EXPECT_EQ((std::string{now[4], now[10], now[13]}), "- :");
    EXPECT_EQ(now.substr(0, 10), TMainDM::TodayText());  // may fail only exactly at midnight
}

TEST_F(DataModuleTest, LoadsTheRegisteredUnitWithItsDivisionAndLabels) {
    RegisterUnit("0", "110101", "东城区节能办", "4");
    const CaoZDWXX& unit = Dm().Unit();
    EXPECT_TRUE(unit.ZhuCeBZ);
    EXPECT_EQ(unit.DanWLXMC + unit.XingZLSJBMC, "节能管理机构县(区、市、旗)");
    EXPECT_EQ(unit.ssbm + unit.ssmc + unit.dsbm + unit.xqmc, "110000北京市110100东城区");
    EXPECT_EQ(unit.DanWID.substr(0, 6), "110101");
}

// Missing and empty files are created: see the startup tests.
TEST(DataModuleStartTest, RefusesACorruptFileAndLeavesItUntouched) {
    TempDir dir;
    const std::string garbage(4096, 'x');
    WriteFile(dir / "GGJGMLK.DB", garbage);
    try {
        TMainDM dm(dir / "GGJGMLK.DB");
        FAIL() << "a file that is not a database was opened";
    } catch (const MlkError& error) {
        EXPECT_NE(std::string(error.what()).find("GGJGMLK.DB"), std::string::npos);
    }
    EXPECT_EQ(ReadFile(dir / "GGJGMLK.DB"), garbage);
}

}  // namespace
}  // namespace mlk::test
