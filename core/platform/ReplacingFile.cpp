#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "base/MlkError.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

namespace mlk {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

}  // namespace

std::filesystem::path ReplacingFile::TemporaryFor(const std::filesystem::path& target) {
    // FNV-1a of the file name, letter case ignored as Windows ignores it.
    std::uint32_t hash = 2166136261u;
    for (char c : PathText(target.filename())) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char name[24];
    std::snprintf(name, sizeof name, "~mlk%08X.tmp", static_cast<unsigned>(hash));
    return target.parent_path() / name;
}

ReplacingFile::ReplacingFile(const std::filesystem::path& target)
    : target_(target), temporary_(TemporaryFor(target)), buffer_(kBufferSize) {
    // Refused before anything is written: a file is never put in a folder's place.
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored))
        throw MlkError("无法创建文件 " + PathText(target) + "：" +
                       FileErrorReason(std::make_error_code(std::errc::is_a_directory)));
    out_.rdbuf()->pubsetbuf(buffer_.data(), std::streamsize(buffer_.size()));
    errno = 0;
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        throw MlkError("无法创建文件 " + PathText(target) + "：" +
                       FileErrorReason(LastError(EACCES), true));
    }
}

ReplacingFile::~ReplacingFile() {
    if (committed_)
        return;
    out_.close();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

void ReplacingFile::Fail(const std::string& reason) const {
    throw MlkError("无法写入文件 " + PathText(target_) + "：" + reason);
}

const std::filesystem::path& ReplacingFile::HandOver() {
    out_.close();
    return temporary_;
}

void ReplacingFile::Commit() {
    errno = 0;
    if (out_.is_open())
        out_.close();
    if (!out_)
        Fail(FileErrorReason(LastError(EIO), true));
    if (const std::error_code error = platform::FlushToDisk(temporary_))
        Fail(FileErrorReason(error, true));
    if (const std::error_code error = platform::MoveOver(temporary_, target_))
        Fail(FileErrorReason(error, true));
    committed_ = true;
}

}  // namespace mlk
