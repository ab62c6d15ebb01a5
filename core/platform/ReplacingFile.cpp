#include "platform/ReplacingFile.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>

#include "base/MlkError.h"
#include "platform/FileErrors.h"

namespace mlk {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr int kNameAttempts = 16;

// The name of this program's pattern for a random number: its last four digits follow from the
// first eight, so that a user's file that merely looks alike is never taken for a leftover.
std::string NameFor(std::uint32_t random) {
    const unsigned check = unsigned((random * 2654435761u) >> 16) & 0xFFFF;
    char name[24];
    std::snprintf(name, sizeof name, "~mlk%08X%04X.tmp", unsigned(random), check);
    return name;
}

std::string TemporaryName() {
    thread_local std::mt19937 engine{std::random_device{}()};
    return NameFor(std::uint32_t(engine()));
}

void RemoveLeftovers(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entry(
        folder, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (ReplacingFile::IsTemporaryName(PathText(entry->path().filename())))
            platform::RemoveLeftover(entry->path());
    }
}

}  // namespace

bool ReplacingFile::IsTemporaryName(const std::string& name) {
    std::uint32_t random = 0;
    const char* digits = name.data() + 4;
    return name.size() == 20 && std::from_chars(digits, digits + 8, random, 16).ptr == digits + 8 &&
           name == NameFor(random);
}

ReplacingFile::ReplacingFile(const std::filesystem::path& target)
    : target_(target), final_(platform::FinalTarget(target)) {
    if (target.empty())
        throw MlkError("没有给出文件名。");
    // Refused before anything is written: a file is never put in a folder's place.
    std::error_code error;
    if (std::filesystem::is_directory(final_, error))
        throw MlkError("无法创建文件 " + PathText(target) + "：" +
                       FileErrorReason(std::make_error_code(std::errc::is_a_directory)));
    const std::filesystem::path folder =
        final_.parent_path().empty() ? std::filesystem::path(".") : final_.parent_path();
    RemoveLeftovers(folder);
    // An existing target's contents stay its owner's to read until they take its permissions.
    const bool replacing = std::filesystem::exists(final_, error);
    for (int attempt = 0; attempt < kNameAttempts && !file_.IsOpen(); ++attempt) {
        temporary_ = folder / TemporaryName();
        file_ = platform::OwnFile::Create(temporary_, replacing, error);
        if (error && error != std::errc::file_exists)
            break;
    }
    if (!file_.IsOpen()) {
        throw MlkError("无法创建文件 " + PathText(target) + "：" + FileErrorReason(error, true));
    }
    buffer_.reserve(kBufferSize);
}

ReplacingFile::~ReplacingFile() {
    if (!committed_)
        file_.Remove();
}

void ReplacingFile::Fail(const std::string& reason) const {
    throw MlkError("无法写入文件 " + PathText(target_) + "：" + reason);
}

void ReplacingFile::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize)
        Flush();
    if (bytes.size() >= kBufferSize) {
        if (!error_)
            error_ = file_.Write(bytes);
    } else {
        buffer_.append(bytes);
    }
}

void ReplacingFile::Flush() {
    if (!error_ && !buffer_.empty())
        error_ = file_.Write(buffer_);
    buffer_.clear();
}

const std::filesystem::path& ReplacingFile::HandOver() {
    file_.LetOthersOpen();
    return temporary_;
}

void ReplacingFile::Commit() {
    Flush();
    if (error_)
        Fail(FileErrorReason(error_, true));
    std::error_code missing;
    if (std::filesystem::exists(final_, missing))
        file_.TakePermissionsOf(final_);
    if (const std::error_code error = file_.FlushToDisk())
        Fail(FileErrorReason(error, true));
    if (const std::error_code error = file_.MoveOver(final_))
        Fail(FileErrorReason(error, true));
    committed_ = true;
}

}  // namespace mlk
