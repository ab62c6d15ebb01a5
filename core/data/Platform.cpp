#include "data/Platform.h"

#include <fcntl.h>

#include <cerrno>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace mlk::platform {

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::error_code FlushToDisk(const std::filesystem::path& file) {
#ifdef _WIN32
    const int fd = _wopen(file.c_str(), _O_WRONLY | _O_BINARY);
    const bool synced = fd >= 0 && _commit(fd) == 0;
#else
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
#endif
    const std::error_code error =
        synced ? std::error_code() : std::error_code(errno, std::generic_category());
    if (fd >= 0) {
#ifdef _WIN32
        _close(fd);
#else
        ::close(fd);
#endif
    }
    return error;
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
