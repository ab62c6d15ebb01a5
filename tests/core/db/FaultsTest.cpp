#include <chrono>
#include <functional>
#include <thread>

#include "TestSupport.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

namespace mlk::test {
namespace {

class FaultsTest : public DepartmentTest {
  protected:
    void SetUp() override {
        DepartmentTest::SetUp();
        SampleRecord("A").Insert(Dm());
    }
    std::filesystem::path File() const { return dir_ / "GGJGMLK.DB"; }
    // Inserts records B0..B(n-1) and then A again, which is already there.
    void InsertBatch(TMainDM& dm, int n) {
        std::vector<SqlStatement> batch;
        for (int i = 0; i <= n; ++i) {
            GGJG r = SampleRecord(i < n ? "B" + std::to_string(i) : "A");
            batch.push_back({GGJG::InsertSQL(), r.InsertParams()});
        }
        dm.ExecSQLBatch(batch);
    }
};

// The user reads the file's name and the fault in Chinese, the engine's words in brackets and
// no SQL; nothing of the failed change stays.
TEST_F(FaultsTest, EngineFailuresReachTheUserInChinese) {
    const std::function<void()> locked = [&] {
        Database other(File());
        other.Exec("begin immediate");
        Dm().Db().SetBusyTimeout(std::chrono::milliseconds(10));
        Dm().ExecSQL("delete from MLK_JiBXX");  // after the busy timeout
    };
    const std::function<void()> full = [&] {
        Dm().Db().Exec("pragma max_page_count = " +
                       std::to_string(Dm().QueryInt("pragma page_count")));
        InsertBatch(Dm(), 200);
    };
    const std::function<void()> damaged = [&] {
        DamageBTree(File(), "MLK_JiBXX");
        TMainDM(File()).QueryInt("select count(DiZhi_JieD) from MLK_JiBXX");
    };
    // Tests run as root, whom the system lets write a file without write permission; a read-only
    // open is what the engine falls back to when the system refuses it the file.
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { InsertBatch(*std::make_unique<TMainDM>(File(), Database::Access::ReadOnly), 1); },
         "是只读的"},
        {[&] { InsertBatch(Dm(), 1); }, "已有相同的数据"},
        {locked, "正被其他程序使用"},
        {full, "磁盘已满"},
        {damaged, "已损坏，请从备份恢复"},
    };
    for (const auto& [act, message] : cases) {
        const std::string text = ErrorOf(act);
        for (const std::string& part :
             {PathText(File()), std::string(message), std::string("（SQLite：")})
            EXPECT_NE(text.find(part), std::string::npos) << message << ": " << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;  // no statement
        EXPECT_FALSE(Dm().HasRow("select 1 from MLK_JiBXX where JiGID = 'B0'")) << message;
    }
}

// What the C++ library raises by itself reaches the user as a sentence in Chinese too.
TEST(ErrorMessageTest, LibraryFailuresAreSentencesInChinese) {
    const std::filesystem::path missing = PathFromText("没有的.txt");
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { throw std::bad_alloc(); }, "内存不足，操作没有完成。"},
        {[&] { static_cast<void>(std::filesystem::file_size(missing)); },
         "无法访问文件 没有的.txt：文件不存在。"},
        {[] { throw MlkError("自己的话"); }, "自己的话"},
    };
    for (const auto& [act, message] : cases) {
        try {
            act();
            ADD_FAILURE() << message;
        } catch (const std::exception& error) {
            EXPECT_EQ(ErrorMessage(error), message);
        }
    }
}

#ifndef _WIN32
// Reading writes no database: a disk that fills up where the engine sorts (a file size limit
// stands for it) is told as the temporary folder's, not as a full database.
TEST_F(FaultsTest, AFullTemporaryFolderIsNotAFullDatabase) {
    std::vector<SampleRow> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back(OwnRow(Dm(), "R" + std::to_string(i), "学校", "1", "8230", i));
    InsertSampleRows(Dm(), rows);
    // The engine sorts in memory up to about a megabyte.
    Dm().ExecSQL("update MLK_JiBXX set QiT = hex(randomblob(300))");
    Dm().Db().Exec("pragma cache_size = 2");
    const std::string error = ErrorOf([&] {
        FileSizeLimit full(64 << 10);
        Dm().QueryText("select * from MLK_JiBXX order by QiT || JiGID");
    });
    EXPECT_TRUE(error.starts_with("无法写入临时文件夹 " + PathText(platform::TemporaryFolder())))
        << error;
}
#endif

// A transaction that reads before it writes waits for another program's commit instead of
// failing at once.
TEST_F(FaultsTest, TransactionWaitsForAnotherProgramsCommit) {
    Database other(File());
    other.Exec("begin immediate");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.Exec("commit");
    });
    Transaction transaction(Dm().Db());
    Dm().ExecSQL("delete from MLK_JiBXX where JiGID = ?",
                 {Dm().QueryText("select min(JiGID) from MLK_JiBXX")});
    transaction.Commit();
    release.join();
    EXPECT_EQ(Count("MLK_JiBXX"), 0);
}

}  // namespace
}  // namespace mlk::test
