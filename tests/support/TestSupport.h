#pragma once

// The fixtures every suite shares: a database in a temporary folder, files written as bytes, a
// record of the directory with every column filled and its exchange line, a valid entry form,
// pending institutions, a registered unit of either type, and a small directory of an
// energy-saving management agency with rows imported from below.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/MlkError.h"
#include "entry/InstitutionEntry.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Import.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "text/Gbk.h"

namespace mlk::test {

// A fresh folder "测试 目录" (a blank and Chinese, as users' folders have) in a folder of its
// own under the system's temporary directory, removed again with its contents.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // The name is UTF-8, whatever the system's own code page.
    std::filesystem::path operator/(const std::string& name) const;

  private:
    std::filesystem::path root_;
    std::filesystem::path path_;
};

// 取消 in a window: the work stops at its first progress report past position.
struct StopPast final : Progress {
    explicit StopPast(std::int64_t position) : last(position) {}
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t position) override {
        if (position > last)
            throw MlkError("操作已取消。");
    }
    std::int64_t last;
};

// A test with its own database file in its own folder.
class DbTest : public ::testing::Test {
  protected:
    void SetUp() override;
    TMainDM& Dm() { return *dm_; }
    // Registers an operating unit directly in MLK_CaoZDWXX and reloads it.
    // type "0" energy-saving management agency, "1" competent department.
    void RegisterUnit(const std::string& type, const std::string& county = "110101",
                      const std::string& name = "测试单位", const std::string& level = "4");
    // Closes and opens the database again, as a new start of the program would.
    void Reopen();
    // A column of the directory's row with this JiGID.
    std::string Column(const std::string& id, const std::string& column) {
        return dm_->QueryText("select " + column + " from MLK_JiBXX where JiGID = ?", {id});
    }
    long long Count(const std::string& table) {
        return dm_->QueryInt("select count(*) from " + table);
    }

    TempDir dir_;
    std::unique_ptr<TMainDM> dm_;
};

// Overwrites the first page of the named table's or index's b-tree with garbage, as a failing
// disk would, leaving the file's header and schema intact.
void DamageBTree(const std::filesystem::path& db, const std::string& name);

// The message of the error that act raises, or "" when it does not.
template <typename Act>
std::string ErrorOf(Act&& act) {
    try {
        act();
    } catch (const MlkError& error) {
        return error.what();
    }
    return "";
}

// Today's date "yyyy-mm-dd" by the test's own clock, not the program's. What an action dates is
// checked against the dates before and after it, so that a run across midnight passes too.
std::string LocalDate();

#ifndef _WIN32
// While it lives, no file of this process grows past bytes: a write beyond fails as on a full
// disk (with EFBIG), as the process's own limit makes it fail.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    unsigned long saved_[2];
    void (*handler_)(int);
};
#endif

// The names in a folder, sorted: what a write left there.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// Writes bytes to a file as they are.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// A confirmed own entry of the directory with every column filled.
GGJG SampleRecord(const std::string& id, const std::string& name = "测试学校");

// The line the writer makes for a record, as GBK bytes with its line end.
inline std::string GbkLine(const GGJG& record, const std::string& end = "\r\n") {
    return Utf8ToGbk(JoinExchangeItems(ExchangeItems(record))) + end;
}

// Every record of an exchange file, in the file's order.
std::vector<GGJG> ReadExchangeFile(const std::filesystem::path& file);

// The JiGID of each record.
std::vector<std::string> Ids(const std::vector<GGJG>& records);

// A complete, valid institution form in the county 110101.
InstitutionForm ValidForm(const std::string& code = "123456789");

// A row of MLK_DaiDRJG as the confirmation of an entry writes it; imported is the count of rows
// its file brought ("" while none came), audited whether they were approved.
DaiDRJG AddPending(TMainDM& dm, const std::string& id, const std::string& name,
                   const std::string& node = "1", const std::string& type = "9900",
                   const std::string& imported = "", bool audited = false);

// A test under the registered competent department 东城区教育局.
class DepartmentTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("1", "110101", "东城区教育局");
    }
};

// A row of the sample directory. Own rows have ShuJLY "0" and hang under the unit; imported
// rows have ShuJLY "1" and ShangBJGID set to the own row whose file brought them.
struct SampleRow {
    std::string id;
    std::string name;
    std::string source;    // ShuJLY
    std::string superior;  // ShangJBMID
    std::string reporter;  // ShangBJGID
    std::string node;      // JieDLB
    std::string type;      // JiGLX
    long long level = 1;   // JiC
    long long order = 0;   // ShunX
    std::string confirmed = "1";
};

// The shared sample record, placed and named as the row says.
GGJG SampleRecord(const SampleRow& s);

inline void InsertSampleRow(TMainDM& dm, const SampleRow& s) {
    SampleRecord(s).Insert(dm);
}

// Many rows in one transaction.
void InsertSampleRows(TMainDM& dm, const std::vector<SampleRow>& rows);

// An own row of the operating unit.
inline SampleRow OwnRow(TMainDM& dm, const std::string& id, const std::string& name,
                        const std::string& node, const std::string& type, long long order,
                        const std::string& confirmed = "1") {
    return {id, name, "0", dm.Unit().DanWID, "", node, type, 1, order, confirmed};
}

// A row imported under superior, delivered by the file imported for the own row reporter.
inline SampleRow ImportedRow(const std::string& id, const std::string& name,
                             const std::string& superior, const std::string& reporter,
                             const std::string& node, const std::string& type, long long level,
                             long long order, const std::string& confirmed = "1") {
    return {id, name, "1", superior, reporter, node, type, level, order, confirmed};
}

// A row of the initial data, taken into the directory or not ("1", "0").
void AddInitialRow(TMainDM& dm, const std::string& id, const std::string& name,
                   const std::string& province, const std::string& city, const std::string& county,
                   const std::string& street = "人民路8号", const std::string& taken = "0");

// The directory the window tests share, under the registered operating unit:
//   own entries   T1 教育局 (8210), T2 卫生局 (8015), T4 民政局 (9900), A1 朝阳节能中心 (an
//                 agency), all confirmed; T3 文化局 and the agency A2 西城节能中心 not confirmed
//   imported      a1 一中 (8220) and a2 党委 (7010) from T1's file, a3 体育场 (8810) from T2's;
//                 a4 一中分校 (8230) below a1, from the same file
//   pending       T1 imported, T2 imported and audited, T4 and A1 awaiting their files
//   initial data  C1 第一小学, C2 第二中学 (和平路, 和平街, 东城区) not yet taken, C3 第三中学
//                 (西城区) taken into the directory
void AddSampleDirectory(TMainDM& dm);

// A test over the sample directory of the energy-saving management agency 东城区节能办.
class SampleDirectoryTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能办");
        AddSampleDirectory(Dm());
    }
};

}  // namespace mlk::test
