// The one way files are written whole: every fault a second writer, a planted link, a kill or a
// full disk brings, against the writer that export, both spreadsheets and backup go through.
#include <csignal>
#include <functional>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "TestSupport.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace mlk::test {
namespace {

namespace fs = std::filesystem;

void Replace(const fs::path& target, const std::string& bytes) {
    ReplacingFile out(target);
    out.Write(bytes);
    out.Commit();
}

// A link where the system lets this user make one (Windows: developer mode or an administrator).
bool Link(const fs::path& link, const fs::path& to) {
    std::error_code error;
    fs::create_symlink(to, link, error);
    return !error;
}

TEST(ReplacingFileTest, FaultsLeaveTheOldTargetOrTheWholeNewOneAndNoLitter) {
    const std::string big(3 << 20, 'n');  // more than the writer buffers
    const struct {
        const char* name;
        std::function<void(const TempDir& dir, const fs::path& target)> run;
    } cases[] = {
        {"two writers of one target at once: each its own temporary file, the last one whole",
         [&](const TempDir& dir, const fs::path& target) {
             ReplacingFile first(target), second(target);
             first.Write(big);
             second.Write("second");
             first.Write("first");
             first.Commit();
             EXPECT_TRUE(ReadFile(target) == big + "first");
             second.Commit();
             EXPECT_EQ(ReadFile(target), "second");
             EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"目标.txt"}));
         }},
        {"a link or a file already under a temporary name is never opened",
         [&](const TempDir& dir, const fs::path&) {
             WriteFile(dir / "other.txt", "someone's");
             if (!Link(dir / "~mlk.tmp", dir / "other.txt"))
                 WriteFile(dir / "~mlk.tmp", "someone's");
             std::error_code error;
             platform::OwnFile planted = platform::OwnFile::Create(dir / "~mlk.tmp", false, error);
             EXPECT_FALSE(planted.IsOpen());
             EXPECT_EQ(error, std::errc::file_exists);
             EXPECT_EQ(ReadFile(dir / "other.txt"), "someone's");
         }},
        {"a link as the target: the file it leads to is replaced, the link stays",
         [&](const TempDir& dir, const fs::path& target) {
             fs::create_directory(dir / "真的");
             WriteFile(dir / "真的/表.txt", "old");
             fs::remove(target);
             if (!Link(target, fs::path("真的") / PathFromText("表.txt")))
                 return;  // no links here
             Replace(target, "new");
             EXPECT_TRUE(fs::is_symlink(target));
             EXPECT_EQ(ReadFile(dir / "真的/表.txt"), "new");
             EXPECT_EQ(FileNames(dir / "真的"), (std::vector<std::string>{"表.txt"}));
         }},
        {"a user's own files that look like temporary ones are left alone",
         [&](const TempDir& dir, const fs::path& target) {
             for (const char* name : {"~mlk0123456789AB.tmp", "~mlk00000000ABCD.tmp"})
                 WriteFile(dir / name, "mine");
             Replace(target, "new");
             EXPECT_EQ(ReadFile(dir / "~mlk0123456789AB.tmp"), "mine");
             EXPECT_EQ(FileNames(dir.Path()).size(), 3u);
         }},
#ifndef _WIN32
        {"the target's permissions stay",
         [&](const TempDir&, const fs::path& target) {
             const fs::perms mode = fs::perms::owner_read | fs::perms::group_read;
             fs::permissions(target, mode);
             Replace(target, "new");
             EXPECT_EQ(fs::status(target).permissions(), mode);
         }},
        {"a killed write leaves the old target, and its leftover goes with the next write into "
         "the folder, while a running write's file stays",
         [&](const TempDir& dir, const fs::path& target) {
             const pid_t child = fork();
             if (child == 0) {
                 try {
                     ReplacingFile killed(target);
                     killed.Write(big);
                     killed.Write(big);  // on disk, past the buffer
                     std::raise(SIGKILL);
                 } catch (...) {
                 }
                 _exit(1);
             }
             int status = 0;
             waitpid(child, &status, 0);
             ASSERT_TRUE(WIFSIGNALED(status));
             EXPECT_EQ(ReadFile(target), "old");
             EXPECT_EQ(FileNames(dir.Path()).size(), 2u);  // the target and the leftover
             ReplacingFile running(dir / "另一个.txt");
             running.Write("running");
             Replace(dir / "第三个.txt", "third");
             running.Commit();
             EXPECT_EQ(FileNames(dir.Path()),
                       (std::vector<std::string>{"另一个.txt", "目标.txt", "第三个.txt"}));
         }},
        {"a full disk (a file size limit stands for it) leaves the old target and says why",
         [&](const TempDir& dir, const fs::path& target) {
             const std::string error = ErrorOf([&] {
                 FileSizeLimit full(1 << 20);
                 Replace(target, big);
             });
             EXPECT_EQ(error, "无法写入文件 " + PathText(target) + "：文件超过了系统允许的大小");
             EXPECT_TRUE(ReadFile(target) == "old");
             EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"目标.txt"}));
         }},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFile(dir / "目标.txt", "old");
        c.run(dir, dir / "目标.txt");
    }
}

}  // namespace
}  // namespace mlk::test
