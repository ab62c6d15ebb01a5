#include "platform/Platform.h"

#include <fcntl.h>

#include <cerrno>
#ifdef _WIN32
#include <cwchar>

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>
#else
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

std::error_code FlushToDisk(const std::filesystem::path& file) {
    const int fd = _wopen(file.c_str(), _O_WRONLY | _O_BINARY);
    const bool synced = fd >= 0 && _commit(fd) == 0;
    const std::error_code error =
        synced ? std::error_code() : std::error_code(errno, std::generic_category());
    if (fd >= 0)
        _close(fd);
    return error;
}

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return std::error_code(int(GetLastError()), std::system_category());
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

std::error_code FlushToDisk(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const std::error_code error =
        synced ? std::error_code() : std::error_code(errno, std::generic_category());
    if (fd >= 0)
        ::close(fd);
    return error;
}

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error;
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
