#include "db/SafetyCopy.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "base/MlkError.h"
#include "db/Backup.h"
#include "db/Integrity.h"
#include "db/Sqlite.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace mlk {

namespace {

// A second copy within the same second gets a number instead of replacing the first.
std::filesystem::path FreeName(const std::filesystem::path& folder, const std::string& stem) {
    std::error_code error;
    std::filesystem::path name = folder / PathFromText(stem + ".DB");
    for (int number = 2; std::filesystem::exists(name, error); ++number)
        name = folder / PathFromText(stem + "-" + std::to_string(number) + ".DB");
    return name;
}

// Only names this program gives are counted and removed.
void RemoveOldCopies(const std::filesystem::path& folder) {
    static const std::regex kCopyName(R"(\d{8}-\d{6}-.+\.DB)");
    struct Copy {
        std::string time;  // "yyyymmdd-hhnnss"; copies of one second by when they were written
        std::filesystem::file_time_type written;
        std::filesystem::path path;
    };
    std::vector<Copy> copies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = PathText(entry.path().filename());
        if (entry.is_regular_file(error) && std::regex_match(name, kCopyName))
            copies.push_back({name.substr(0, 15), entry.last_write_time(error), entry.path()});
    }
    if (copies.size() <= kSafetyCopiesKept)
        return;
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return std::tie(a.time, a.written) < std::tie(b.time, b.written);
    });
    // A copy that cannot be removed now is removed by a later one.
    for (std::size_t i = 0; i + kSafetyCopiesKept < copies.size(); ++i)
        std::filesystem::remove(copies[i].path, error);
}

// The engine does not copy a damaged database, yet the clerk may be about to restore it away: its
// bytes are kept as they are, read while no other program can write to it.
void CopyBytes(Database& db, const std::filesystem::path& copy) {
    Transaction hold(db);
    std::ifstream in(db.Path(), std::ios::binary);
    ReplacingFile out(copy);
    std::vector<char> buffer(std::size_t(1) << 20);
    while (in.read(buffer.data(), std::streamsize(buffer.size())) || in.gcount() > 0)
        out.Write(std::string_view(buffer.data(), std::size_t(in.gcount())));
    if (in.bad() || !in.eof())
        throw MlkError("无法读取数据库文件 " + PathText(db.Path()) + "。");
    out.Commit();
}

}  // namespace

std::string FileTimeStamp() {
    const std::tm t = platform::LocalNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::filesystem::path SafetyCopyFolder(const std::filesystem::path& database) {
    return database.parent_path() / PathFromText("备份");
}

std::filesystem::path KeepSafetyCopy(Database& db, std::string_view operation, Progress& progress) {
    const std::filesystem::path folder = SafetyCopyFolder(db.Path());
    try {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw MlkError("无法建立文件夹 " + PathText(folder) + "：" +
                           FileErrorReason(error, true));
        }
        const std::filesystem::path copy =
            FreeName(folder, FileTimeStamp() + "-" + std::string(operation));
        try {
            BackupDatabase(db, copy, progress);
        } catch (const MlkError&) {
            if (CheckDatabase(db, CheckDepth::Quick).empty())
                throw;
            CopyBytes(db, copy);
        }
        RemoveOldCopies(folder);
        return copy;
    } catch (const MlkError& error) {
        throw MlkError("操作前的安全副本没有保存成功，操作没有进行。\n" +
                       std::string(error.what()));
    }
}

}  // namespace mlk
