#include "TestSupport.h"

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

}  // namespace
}  // namespace mlk::test
