#include "db/Schema.h"

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>

#include "base/MlkError.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace mlk {

extern const char* const kXingZQHRows[];
extern const std::size_t kXingZQHRowsCount;
extern const char* const kJiGLXRows[];
extern const std::size_t kJiGLXRowsCount;

namespace {

// Every column is text except JiC and ShunX. CREATE ... IF NOT EXISTS lets a database that lacks
// some tables be completed at start-up without touching the tables it has.
constexpr const char* kTables = R"SQL(
create table if not exists MLK_JiBXX (
    JiGID text not null primary key, JiGMC text default '', ZuZJGDM text default '',
    HangYDM text default '', XingZQH text default '', XingZLSJB text default '',
    XingZJB text default '', JieDLB text default '', JieDMC text default '',
    ShangJHYZGBM text default '', ShangJXZZGBM text default '', CaiZJFLYFS text default '',
    JiGLX text default '', DiZhi_Shen text default '', DiZhi_Shi text default '',
    DiZhi_Xian text default '', DiZhi_JieD text default '', DiZhi_HaoP text default '',
    YouZBM text default '', LianXRXM text default '', LianXDH text default '',
    TianBRXM text default '', ChuSHSJ text default '', GengXZT text default '',
    TongJY text default '', DanWFZR text default '', ShangBJGID text default '',
    QueRRXM text default '', QueRSJ text default '', QueRZT text default '',
    ShenHRXM text default '', ShenHSJ text default '', ShenHZT text default '',
    ShuJLY text default '', ShangJBMID text default '', QiT text default '',
    JiC integer default 0, ShunX integer default 0);
create table if not exists MLK_CaoZDWXX (
    DanWID text, DanWMC text default '', XingZQH text default '', XingZLSJB text default '',
    DanWLX text default '', YouZBM text default '', JieDMC text default '',
    TianBRXM text default '', ChuSHSJ text default '', TongJY text default '',
    DanWFZR text default '');
create table if not exists MLK_XingZQH (
    code text not null primary key, name text default '', parentCode text default '',
    XZJB text default '');
create table if not exists MLK_JiGLX (
    LXBM text not null primary key, LXMC text default '', parent text default '',
    jici text default '', shifmx text default '');
create table if not exists MLK_YuanJGXX (
    ID text, NAME text default '', BM text default '', SF text default '', DS text default '',
    XQ text default '', JIED text default '', BH1 text default '', XuanZBZ text default '');
create table if not exists MLK_DaiDRJG (
    JiGID text, JiGMC text default '', JieDLB text default '', XingZJB text default '',
    JieDMC text default '', XingZQH text default '', CaiZJFLYFS text default '',
    JiGLX text default '', DaoRZT text default '', DaoRSJ text default '',
    DaoRSL text default '', ShenHZT text default '', ShenHSJ text default '');
create table if not exists MLK_DaoRRZ (
    ID text, DanWID text default '', DanWMC text default '', JieDLB text default '',
    DaoRSL text default '', DaoRSJ text default '', DaoRRXM text default '');
create table if not exists MLK_ShenHRZ (
    ID text, DanWID text default '', DanWMC text default '', JieDLB text default '',
    ShenHSJ text default '', ShenHRXM text default '');
)SQL";

// The columns that the lists, the imports and the summaries filter, join or group on. Every
// index slows the import of a large exchange file, so each must serve statements that no other
// index serves.
// IX_JiBXX_EntryList answers the entry lists' where, order and name filter from the index alone,
// so a page deep in a long list skips its earlier rows without reading the table.
// IX_JiBXX_TypeCounts leads with the type, which every count of the summaries fixes: each count
// reads only the rows it counts, already grouped by the row they were imported for.
// IX_JiBXX_OwnRows holds the unit's own rows only: the summaries list the own confirmed rows in
// their order, which would otherwise cost a pass over every imported row; imported rows never
// enter it, so an import pays nothing for it.
constexpr const char* kIndexes = R"SQL(
create index if not exists IX_JiBXX_EntryList on MLK_JiBXX (ShangJBMID, ShuJLY, JieDLB, ShunX,
    CaiZJFLYFS desc, JiGLX desc, JiGMC);
create index if not exists IX_JiBXX_ShangBJGID on MLK_JiBXX (ShangBJGID);
create index if not exists IX_JiBXX_ZuZJGDM on MLK_JiBXX (ZuZJGDM);
create index if not exists IX_JiBXX_TypeCounts on MLK_JiBXX (JiGLX, ShuJLY, QueRZT, JieDLB,
    ShangBJGID, JiGID);
create index if not exists IX_JiBXX_OwnRows on MLK_JiBXX (QueRZT, ShunX) where ShuJLY = '0';
-- Dropped by schema version 2: no statement needs them.
drop index if exists IX_JiBXX_QueRZT;
drop index if exists IX_JiBXX_JieDLB;
-- Dropped by schema version 3: IX_JiBXX_EntryList begins with the columns of the first and
-- IX_JiBXX_TypeCounts with the column of the second; the third, led by the states, made the
-- summaries read every imported row once per count, and drew the child query away from
-- IX_JiBXX_EntryList.
drop index if exists IX_JiBXX_ShangJBMID;
drop index if exists IX_JiBXX_JiGLX;
drop index if exists IX_JiBXX_Counts;
create index if not exists IX_XingZQH_parentCode on MLK_XingZQH (parentCode, XZJB);
create index if not exists IX_JiGLX_parent on MLK_JiGLX (parent);
create index if not exists IX_YuanJGXX_ID on MLK_YuanJGXX (ID);
create index if not exists IX_DaiDRJG_JiGID on MLK_DaiDRJG (JiGID);
)SQL";

// Raised each time the tables or indexes above change or stored rows need a step of their own,
// so a file from an older build is told apart from a current one.
constexpr int kSchemaVersion = 5;

// The steps that mend the rows of a file an older build made, each run once: by the version
// that the file had.
void UpgradeRows(Database& db, int version) {
    if (version < 4) {
        // Rows taken from the initial data were stored at level 0; an own entry is level 1, as the
        // editors enter it, and arrives above at the level of the other entries.
        db.Exec("update MLK_JiBXX set JiC = 1 where ShuJLY = '0' and coalesce(JiC, 0) = 0");
    }
}

bool HasRows(Database& db, const char* table) {
    Statement probe(db, std::string("select 1 from ") + table + " limit 1");
    return probe.Step();
}

void FillWhenEmpty(Database& db, const char* table, const char* insertSql, const char* const* rows,
                   std::size_t count, std::size_t columns) {
    if (HasRows(db, table))
        return;
    Statement insert(db, insertSql);
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<std::string> values = SplitText(rows[i], '\t');
        values.resize(columns);
        insert.BindAll(values).Run();
        insert.Reset();
    }
}

std::set<std::string> ObjectNames(Database& db) {
    std::set<std::string> names;
    Statement query(db, "select name from sqlite_master where type in ('table','index')");
    while (query.Step())
        names.insert(query.Text(0));
    return names;
}

// The tables and indexes that the statements above make, taken from a scratch database in
// memory so that the list can never drift from them.
const std::set<std::string>& ExpectedNames() {
    static const std::set<std::string> names = [] {
        Database scratch(":memory:");
        scratch.Exec(kTables);
        scratch.Exec(kIndexes);
        return ObjectNames(scratch);
    }();
    return names;
}

// The columns of a table, their names in lower case (SQL matches them without regard to case);
// none when the table is missing.
std::vector<std::string> ColumnNames(Database& db, const std::string& table) {
    std::vector<std::string> names;
    Statement query(db, "select lower(name) from pragma_table_info(?)");
    query.Bind(1, table);
    while (query.Step())
        names.push_back(query.Text(0));
    return names;
}

int SchemaVersion(Database& db) {
    Statement query(db, "pragma user_version");
    query.Step();
    return int(query.Int(0));
}

// Reads only, so that a complete database opens on a read-only file or folder and while
// another program holds the write lock. A version below the current one means that an older
// build made the file and the steps above still have to run (indexes to drop, for one).
bool SchemaComplete(Database& db) {
    // Reading the schema is the first touch of the file: a file that is not a database fails
    // here, before anything is written to it.
    const std::set<std::string> present = ObjectNames(db);
    for (const std::string& name : ExpectedNames()) {
        if (!present.count(name))
            return false;
    }
    return SchemaVersion(db) >= kSchemaVersion && HasRows(db, "MLK_XingZQH") &&
           HasRows(db, "MLK_JiGLX");
}

}  // namespace

void EnsureSchema(Database& db) {
    if (SchemaComplete(db))
        return;
    Transaction transaction(db);
    const int version = SchemaVersion(db);
    db.Exec(kTables);
    db.Exec(kIndexes);
    FillWhenEmpty(db, "MLK_XingZQH",
                  "insert into MLK_XingZQH (code,name,parentCode,XZJB) values (?,?,?,?)",
                  kXingZQHRows, kXingZQHRowsCount, 4);
    FillWhenEmpty(db, "MLK_JiGLX",
                  "insert into MLK_JiGLX (LXBM,LXMC,parent,jici,shifmx) values (?,?,?,?,?)",
                  kJiGLXRows, kJiGLXRowsCount, 5);
    if (version < kSchemaVersion) {
        UpgradeRows(db, version);
        db.Exec("pragma user_version = " + std::to_string(kSchemaVersion));
    }
    transaction.Commit();
}

void RequireProgramSchema(Database& db) {
    const std::string file = PathText(db.Path());
    if (SchemaVersion(db) > kSchemaVersion)
        throw MlkError("文件 " + file + " 由更新版本的程序保存，本程序不能使用它。");
    Database scratch(":memory:");
    scratch.Exec(kTables);
    Statement tables(scratch, "select name from sqlite_master where type = 'table'");
    while (tables.Step()) {
        const std::string table = tables.Text(0);
        const std::vector<std::string> present = ColumnNames(db, table);
        if (present.empty())
            throw MlkError("文件 " + file + " 不是名录库的数据库：没有表 " + table + "。");
        Statement columns(scratch, "select name, lower(name) from pragma_table_info(?)");
        columns.Bind(1, table);
        while (columns.Step()) {
            if (std::find(present.begin(), present.end(), columns.Text(1)) == present.end()) {
                throw MlkError("文件 " + file + " 不是名录库的数据库：表 " + table + " 没有列 " +
                               columns.Text(0) + "。");
            }
        }
    }
}

}  // namespace mlk
