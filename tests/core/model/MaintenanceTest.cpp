// Safety copies before the bulk deletions and the restore, and the checks a backup passes before
// it may replace the database: real files in a folder of their own.
#include <algorithm>
#include <functional>

#include "TestSupport.h"
#include "db/Backup.h"
#include "db/Integrity.h"
#include "db/SafetyCopy.h"
#include "entry/InitialData.h"
#include "exchange/Export.h"
#include "model/Maintenance.h"
#include "platform/Platform.h"

namespace mlk::test {
namespace {

class MaintenanceTest : public SampleDirectoryTest {
  protected:
    std::filesystem::path File() const { return dir_ / "GGJGMLK.DB"; }
    std::filesystem::path Copies() const { return SafetyCopyFolder(File()); }
    std::vector<std::string> CopyNames() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Copies(), error))
            names.push_back(PathText(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }
    // A backup of the database as it is now, changed as given.
    std::filesystem::path Backup(const std::string& change = "") {
        const std::filesystem::path file = dir_ / "备份文件.DB";
        BackupDatabase(Dm().Db(), file, quiet_);
        if (!change.empty())
            Database(file).Exec(change);
        return file;
    }
    long long Imported() {
        return Dm().QueryInt("select count(*) from MLK_JiBXX where ShangBJGID='T1'");
    }
    void Restore(const std::filesystem::path& file) {
        CheckedBackup backup(Dm(), file, quiet_);
        RestoreDatabase(Dm(), backup, SafetyCopy::Keep, quiet_);
    }

    NoProgress quiet_;
};

// Each bulk deletion first keeps a copy of the database as it was, named by the time and the
// operation; only the newest ten of those names stay, and other files are left alone.
TEST_F(MaintenanceTest, SafetyCopiesKeepTheNewestTen) {
    std::filesystem::create_directories(Copies());
    WriteFile(Copies() / PathFromText("我的备份.DB"), "");
    for (int i = 10; i < 20; ++i)
        WriteFile(Copies() / PathFromText("20240101-0000" + std::to_string(i) + "-删除初始数据.DB"),
                  "");
    RemoveImport(Dm(), *LoadPending(Dm(), "T1"), SafetyCopy::Keep, quiet_);
    RemoveInitialData(Dm(), SafetyCopy::Keep, quiet_);
    const std::vector<std::string> names = CopyNames();
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names[0], "20240101-000012-删除初始数据.DB");
    EXPECT_EQ(names[10], "我的备份.DB");
    // The two new ones, of this day and the same second: "20261207-103512-删除已导入数据.DB".
    std::string removal;
    for (const std::string& name : {names[8], names[9]}) {
        EXPECT_EQ(name.substr(0, 8), FileTimeStamp().substr(0, 8)) << name;
        if (name.find("-删除已导入数据.DB") == 15)
            removal = name;
    }
    ASSERT_FALSE(removal.empty()) << names[8] << " " << names[9];
    TMainDM before(Copies() / PathFromText(removal));
    EXPECT_EQ(before.QueryInt("select count(*) from MLK_JiBXX where ShangBJGID='T1'"), 3);
    EXPECT_EQ(Imported(), 0);
}

// A copy that cannot be made stops the operation before it changes anything, with the reason.
TEST_F(MaintenanceTest, FailedSafetyCopyStopsTheOperation) {
    WriteFile(Copies(), "a file where the folder belongs");
    const std::filesystem::path backup = Backup("delete from MLK_JiBXX");
    const std::function<void()> operations[] = {
        [&] { RemoveImport(Dm(), *LoadPending(Dm(), "T1"), SafetyCopy::Keep, quiet_); },
        [&] { RemoveInitialData(Dm(), SafetyCopy::Keep, quiet_); },
        [&] { Restore(backup); },
    };
    for (const auto& operation : operations) {
        const std::string error = ErrorOf(operation);
        EXPECT_EQ(error.rfind("操作前的安全副本没有保存成功，操作没有进行。\n", 0), 0u) << error;
        EXPECT_NE(error.find(PathText(Copies())), std::string::npos) << error;
    }
    EXPECT_EQ(Imported(), 3);
    EXPECT_EQ(Count("MLK_YuanJGXX"), 3);
    RemoveInitialData(Dm(), SafetyCopy::Skip, quiet_);  // mlk --no-backup
    EXPECT_EQ(Count("MLK_YuanJGXX"), 0);
}

// A backup is checked before anything changes; a refused one leaves the database and makes no
// copy.
TEST_F(MaintenanceTest, RestoreRefusesWhatIsNoBackupOfTheProgram) {
    const std::pair<std::function<std::filesystem::path()>, std::string> cases[] = {
        {[&] { return File(); }, "就是正在使用的数据库"},
        {[&] {
             WriteFile(dir_ / "文本.DB", "机构名称,地址\n");
             return dir_ / "文本.DB";
         },
         "不是数据库"},
        {[&] {
             const auto file = Backup();
             DamageBTree(file, "MLK_JiBXX");
             return file;
         },
         "已损坏，不能用来恢复"},
        {[&] { return Backup("drop table MLK_ShenHRZ"); }, "没有表 MLK_ShenHRZ"},
        {[&] { return Backup("alter table MLK_DaoRRZ drop column DaoRRXM"); },
         "表 MLK_DaoRRZ 没有列 DaoRRXM"},
        {[&] { return Backup("pragma user_version = 99"); }, "由更新版本的程序保存"},
        {[&] { return Backup("delete from MLK_CaoZDWXX"); }, "没有注册的操作单位"},
    };
    const long long rows = Count("MLK_JiBXX");
    for (const auto& [file, message] : cases) {
        const std::string error = ErrorOf([&] { Restore(file()); });
        EXPECT_NE(error.find(message), std::string::npos) << message << ": " << error;
    }
    EXPECT_EQ(Count("MLK_JiBXX"), rows);
    EXPECT_FALSE(std::filesystem::exists(Copies()));
}

// The restore brings back the backup's rows and unit, also into a file changed since, warns when
// the backup is another unit's, and keeps the database as it was in a safety copy.
TEST_F(MaintenanceTest, RestoreReplacesTheDatabaseAndKeepsItFirst) {
    const std::filesystem::path backup = Backup();
    EXPECT_FALSE(CheckedBackup(Dm(), backup, quiet_).OtherUnitWarning());
    RemoveImport(Dm(), *LoadPending(Dm(), "T1"), SafetyCopy::Skip, quiet_);
    Dm().ExecSQL("update MLK_CaoZDWXX set DanWMC = '改名', DanWID = 'X'");
    Dm().LoadCaoZDWXX();
    const std::optional<std::string> warning =
        CheckedBackup(Dm(), backup, quiet_).OtherUnitWarning();
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->rfind("备份文件属于另一单位“东城区节能办”，不是本单位“改名”的名录库。", 0),
              0u);
    Restore(backup);
    EXPECT_EQ(Imported(), 3);
    EXPECT_EQ(Dm().Unit().DanWMC, "东城区节能办");
    ASSERT_EQ(CopyNames().size(), 1u);
    TMainDM before(Copies() / PathFromText(CopyNames()[0]));
    EXPECT_EQ(before.Unit().DanWMC, "改名");
}

// 取消 in a window stops the work at its next progress report (an exception): a backup stopped
// half-way leaves no file, a check ends, and a restore stopped half-way leaves the database as it
// was and usable. The database is made larger than one step of the page copy.
TEST_F(MaintenanceTest, StopHalfWayLeavesEverythingAsItWas) {
    Dm().ExecSQL("create table Ballast(x)");
    Dm().ExecSQL(
        "insert into Ballast with recursive n(i) as (select 1 union all select i + 1 from n "
        "where i < 6000) select zeroblob(3500) from n");
    const std::filesystem::path backup = Backup("delete from MLK_JiBXX");
    StopPast stop(-1);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"backup", [&] { BackupDatabase(Dm().Db(), dir_ / "取消.DB", stop); }},
        {"check", [&] { CheckDatabase(Dm().Db(), CheckDepth::Full, stop); }},
        {"restore",
         [&] {
             CheckedBackup checked(Dm(), backup, quiet_);
             RestoreDatabase(Dm(), checked, SafetyCopy::Skip, stop);
         }},
        {"export",
         [&] {
             Dm().ExecSQL("update MLK_JiBXX set QueRZT = '1'");
             ExportDirectory(Dm(), dir_ / "取消.txt", stop);
         }},
    };
    const auto files = [&] {
        return std::distance(std::filesystem::directory_iterator(dir_.Path()), {});
    };
    const long long rows = Count("MLK_JiBXX");
    const auto before = files();
    for (const auto& [name, work] : cases) {
        EXPECT_EQ(ErrorOf(work), "操作已取消。") << name;
        EXPECT_EQ(files(), before) << name;
        EXPECT_EQ(Count("MLK_JiBXX"), rows) << name;
        Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = ?", {name});
    }
}

// The bar of a restore runs once from empty to full: the restore goes on after the safety copy.
TEST_F(MaintenanceTest, ARestoreShowsOneBar) {
    // Small pages and a large row: each copy reports several steps.
    for (const char* sql : {"pragma page_size = 512", "vacuum", "create table Pad (x)",
                            "insert into Pad values (zeroblob(5000000))"})
        Dm().Db().Exec(sql);
    struct Bar final : Progress {
        void SetRange(std::int64_t maximum) override { range = double(maximum); }
        void SetPosition(std::int64_t at) override { shown.push_back(double(at) / range); }
        double range = 1;
        std::vector<double> shown;
    } bar;
    CheckedBackup backup(Dm(), Backup(), quiet_);
    RestoreDatabase(Dm(), backup, SafetyCopy::Keep, bar);
    EXPECT_TRUE(std::is_sorted(bar.shown.begin(), bar.shown.end()));
    EXPECT_GT(bar.shown.back(), 0.75);
}

}  // namespace
}  // namespace mlk::test
