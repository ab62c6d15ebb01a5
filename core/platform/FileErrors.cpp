#include "platform/FileErrors.h"

#include <cerrno>

#include "platform/Platform.h"

namespace mlk {

std::error_code LastError(int fallback) {
    return std::error_code(errno ? errno : fallback, std::generic_category());
}

std::string FileErrorReason(const std::error_code& error, bool writing) {
    // Windows' own codes are told in its own words: the C library's mapping of them is too coarse
    // (an invalid name would count as a missing folder).
    if (error.category() == std::system_category())
        return platform::SystemErrorText(error);
    if (error == std::errc::no_such_file_or_directory)
        return writing ? "文件夹不存在" : "文件不存在";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "没有访问权限";
    if (error == std::errc::is_a_directory)
        return "这是一个文件夹，不是文件";
    if (error == std::errc::no_space_on_device)
        return "磁盘空间不足";
    return platform::SystemErrorText(error);
}

}  // namespace mlk
