#include "platform/Platform.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>
#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef _WIN32
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>
#else
#include <sys/file.h>
#include <sys/stat.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <memory>

#include "base/MlkError.h"
#endif

namespace mlk::platform {

#ifdef _WIN32

namespace {

constexpr UINT kGbk = 936;

std::string Narrow(const wchar_t* wide, int length) {
    if (length == 0)
        return {};
    std::string utf8(std::size_t(length) * 3, '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), int(utf8.size()),
                                            nullptr, nullptr);
    utf8.resize(std::size_t(written));
    return utf8;
}

// UTF-8 to UTF-16; false when the bytes are not UTF-8.
bool ToWide(std::string_view utf8, std::wstring& wide) {
    wide.resize(utf8.size());
    if (utf8.empty())
        return true;
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           int(utf8.size()), wide.data(), int(wide.size()));
    wide.resize(std::size_t(length));
    return length > 0;
}

}  // namespace

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}

namespace {

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::error_code LastSystemError() {
    return std::error_code(int(GetLastError()), std::system_category());
}

}  // namespace

OwnFile OwnFile::Create(const std::filesystem::path& file, bool, std::error_code& error) {
    // Without FILE_SHARE_DELETE no other run can remove the file while it is held; CREATE_NEW
    // refuses any name that exists, a link included.
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    OwnFile created;
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS
                    ? std::make_error_code(std::errc::file_exists)
                    : std::error_code(int(code), std::system_category());
        return created;
    }
    error.clear();
    created.path_ = file;
    created.handle_ = reinterpret_cast<std::intptr_t>(handle);
    return created;
}

std::error_code OwnFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(Handle(handle_), bytes.data(), chunk, &written, nullptr))
            return LastSystemError();
        bytes.remove_prefix(written);
    }
    return {};
}

void OwnFile::TakePermissionsOf(const std::filesystem::path&) {}

void OwnFile::LetOthersOpen() {
    Close();
}

std::error_code OwnFile::FlushToDisk() {
    if (IsOpen())
        return FlushFileBuffers(Handle(handle_)) ? std::error_code() : LastSystemError();
    // Another writer filled it by name and has closed it.
    const HANDLE handle = CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastSystemError();
    const bool flushed = FlushFileBuffers(handle);
    const std::error_code error = flushed ? std::error_code() : LastSystemError();
    CloseHandle(handle);
    return error;
}

std::error_code OwnFile::MoveOver(const std::filesystem::path& to) {
    Close();
    if (MoveFileExW(path_.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return LastSystemError();
}

void OwnFile::Remove() {
    Close();
    DeleteFileW(path_.c_str());
}

void OwnFile::Close() {
    if (IsOpen())
        CloseHandle(Handle(handle_));
    handle_ = -1;
}

bool RemoveLeftover(const std::filesystem::path& file) {
    // A running writer holds its file without letting others delete it.
    return DeleteFileW(file.c_str());
}

std::filesystem::path FinalTarget(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return file;
    const HANDLE handle =
        CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return file;  // a link to nothing is replaced itself
    std::wstring name(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(handle, name.data(), DWORD(name.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    if (length == 0 || length >= name.size())
        return file;
    name.resize(length);
    if (name.starts_with(L"\\\\?\\UNC\\"))
        return L"\\" + name.substr(7);
    if (name.starts_with(L"\\\\?\\"))
        return name.substr(4);
    return name;
}

std::filesystem::path TemporaryFolder() {
    // GetTempPathW, as the engine asks it.
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ignored);
    return folder.empty() ? std::filesystem::path(".") : folder;
}

SilencedStderr::SilencedStderr() {
    std::fflush(stderr);
    saved_ = _dup(2);
    const int nothing = _open("NUL", _O_WRONLY);
    if (nothing >= 0) {
        _dup2(nothing, 2);
        _close(nothing);
    }
}

SilencedStderr::~SilencedStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
        _dup2(saved_, 2);
        _close(saved_);
    }
}

std::string SystemErrorText(const std::error_code& error) {
    if (error.category() != std::system_category())
        return error.message();
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(error.value()), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // The table's texts end in a full stop and a line end; the program's messages go on after them.
    while (length > 0 && std::wcschr(L"\r\n .\u3002", text[length - 1]))
        --length;
    const std::string utf8 = Narrow(text, int(length));
    LocalFree(text);
    return utf8.empty() ? "系统错误 " + std::to_string(error.value()) : utf8;
}

bool DecodeGbk(std::string_view gbk, std::string& utf8) {
    thread_local std::wstring wide;
    wide.resize(gbk.size());
    if (gbk.empty()) {
        utf8.clear();
        return true;
    }
    const int length = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), int(gbk.size()),
                                           wide.data(), int(wide.size()));
    if (length == 0)
        return false;
    utf8 = Narrow(wide.data(), length);
    return true;
}

Encoded EncodeGbk(std::string_view utf8, std::string& gbk) {
    thread_local std::wstring wide;
    if (!ToWide(utf8, wide))
        return Encoded::kNotUtf8;
    gbk.resize(wide.size() * 2);
    if (wide.empty())
        return Encoded::kOk;
    // Without WC_NO_BEST_FIT_CHARS Windows writes "a" for "ä"; with it, any character without
    // an exact form becomes the default character and sets usedDefault.
    BOOL usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), gbk.data(),
                            int(gbk.size()), nullptr, &usedDefault);
    if (written == 0 || usedDefault)
        return Encoded::kNotInGbk;
    gbk.resize(std::size_t(written));
    return Encoded::kOk;
}

std::vector<std::string> Arguments(int, char**) {
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Narrow(wide[i], int(wcslen(wide[i]))));
    LocalFree(wide);
    return arguments;
}

std::wstring Widen(std::string_view utf8) {
    std::wstring wide;
    ToWide(utf8, wide);
    return wide;
}

#else

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// ICU's own stop callback lets characters such as U+200B (zero width space) through as
// nothing; this one stops at every character without a GBK form, as Windows does.
void StopAtAnyUnmapped(const void*, UConverterFromUnicodeArgs*, const UChar*, int32_t, UChar32,
                       UConverterCallbackReason, UErrorCode*) {}

// One converter per thread, opened once: opening costs far more than converting a line.
// It stops at the first byte or character that code page 936 does not hold.
UConverter& Converter() {
    thread_local std::unique_ptr<UConverter, ConverterCloser> converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open("windows-936", &status);
        if (U_FAILURE(status))
            throw MlkError("无法打开GBK编码转换器：" + std::string(u_errorName(status)));
        ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(c, StopAtAnyUnmapped, nullptr, nullptr, nullptr, &status);
        return std::unique_ptr<UConverter, ConverterCloser>(c);
    }();
    return *converter;
}

}  // namespace

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

namespace {

std::error_code Errno() {
    return std::error_code(errno, std::generic_category());
}

bool SameFile(int fd, const std::filesystem::path& file) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(file.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

OwnFile OwnFile::Create(const std::filesystem::path& file, bool privately, std::error_code& error) {
    OwnFile created;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          privately ? 0600 : 0666);
    if (fd < 0) {
        error = Errno();
        return created;
    }
    // The lock is what tells a running writer's file from a leftover. Should a run clearing
    // leftovers have opened the new file before it was locked, it is taken to be gone.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !SameFile(fd, file)) {
        ::close(fd);
        error = std::make_error_code(std::errc::file_exists);
        return created;
    }
    error.clear();
    created.path_ = file;
    created.handle_ = fd;
    return created;
}

std::error_code OwnFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(int(handle_), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Errno();
        }
        bytes.remove_prefix(std::size_t(written));
    }
#ifdef __linux__
    // The system starts putting what is written on the disk at once, beside the work that goes
    // on, instead of all of it at the flush before the rename, which the user would wait for.
    ::sync_file_range(int(handle_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    return {};
}

void OwnFile::TakePermissionsOf(const std::filesystem::path& model) {
    struct stat original {};
    if (::stat(model.c_str(), &original) != 0)
        return;
    // The owner first: changing it clears the set-id bits. Only the group, where the system
    // lets this user give the file no other owner.
    if (::fchown(int(handle_), original.st_uid, original.st_gid) != 0 &&
        ::fchown(int(handle_), uid_t(-1), original.st_gid) != 0) {
    }
    ::fchmod(int(handle_), original.st_mode & 07777);
}

void OwnFile::LetOthersOpen() {}

std::error_code OwnFile::FlushToDisk() {
    return ::fsync(int(handle_)) == 0 ? std::error_code() : Errno();
}

std::error_code OwnFile::MoveOver(const std::filesystem::path& to) {
    // Renamed while still locked, so that no run clearing leftovers takes it meanwhile.
    std::error_code error;
    if (::rename(path_.c_str(), to.c_str()) != 0) {
        error = Errno();
    } else {
        // The folder's new entry, too, must outlast a power failure.
        const std::filesystem::path folder = to.parent_path().empty() ? "." : to.parent_path();
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    Close();
    return error;
}

void OwnFile::Remove() {
    ::unlink(path_.c_str());
    Close();
}

void OwnFile::Close() {
    if (IsOpen())
        ::close(int(handle_));
    handle_ = -1;
}

bool RemoveLeftover(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat held {};
    const bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, file) &&
                           ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode);
    const bool removed = abandoned && ::unlink(file.c_str()) == 0;
    ::close(fd);
    return removed;
}

std::filesystem::path FinalTarget(const std::filesystem::path& file) {
    std::filesystem::path current = file;
    std::error_code error;
    // As many links as the system itself follows.
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(current, error); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error)
            break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

std::filesystem::path TemporaryFolder() {
    const char* const folders[] = {std::getenv("SQLITE_TMPDIR"), std::getenv("TMPDIR"), "/var/tmp",
                                   "/usr/tmp", "/tmp"};
    for (const char* folder : folders) {
        struct stat info {};
        if (folder && ::stat(folder, &info) == 0 && S_ISDIR(info.st_mode) &&
            ::access(folder, W_OK | X_OK) == 0)
            return folder;
    }
    return ".";
}

SilencedStderr::SilencedStderr() {
    std::fflush(stderr);
    saved_ = ::dup(2);
    const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nothing >= 0) {
        ::dup2(nothing, 2);
        ::close(nothing);
    }
}

SilencedStderr::~SilencedStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
        ::dup2(saved_, 2);
        ::close(saved_);
    }
}

std::string SystemErrorText(const std::error_code& error) {
    return error.message();
}

bool DecodeGbk(std::string_view gbk, std::string& utf8) {
    UConverter& converter = Converter();
    ucnv_resetToUnicode(&converter);
    thread_local std::vector<UChar> wide;
    wide.resize(gbk.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(&converter, wide.data(), int32_t(wide.size()), gbk.data(),
                                         int32_t(gbk.size()), &status);
    if (U_FAILURE(status))
        return false;
    utf8.resize(std::size_t(length) * 3);
    int32_t written = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), int32_t(utf8.size()), &written, wide.data(), length, &status);
    utf8.resize(std::size_t(written));
    return true;
}

Encoded EncodeGbk(std::string_view utf8, std::string& gbk) {
    thread_local std::vector<UChar> wide;
    wide.resize(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(wide.data(), int32_t(wide.size()), &length, utf8.data(), int32_t(utf8.size()),
                  &status);
    if (U_FAILURE(status))
        return Encoded::kNotUtf8;
    UConverter& converter = Converter();
    ucnv_resetFromUnicode(&converter);
    gbk.resize(std::size_t(length) * 2 + 2);
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(&converter, gbk.data(), int32_t(gbk.size()), wide.data(), length, &status);
    if (U_FAILURE(status))
        return Encoded::kNotInGbk;
    gbk.resize(std::size_t(written));
    return Encoded::kOk;
}

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

#endif

OwnFile::~OwnFile() {
    Close();
}

OwnFile::OwnFile(OwnFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

OwnFile& OwnFile::operator=(OwnFile&& other) noexcept {
    if (this != &other) {
        Close();
        path_ = std::move(other.path_);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

bool OwnFile::IsOpen() const {
    return handle_ != -1;
}

void* AllocateLarge(std::size_t size) {
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    if (size % kHugePage == 0) {
        if (void* block = std::aligned_alloc(kHugePage, size)) {
            madvise(block, size, MADV_HUGEPAGE);
            return block;
        }
    }
#endif
    return std::malloc(size);
}

}  // namespace mlk::platform

namespace mlk {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace mlk
