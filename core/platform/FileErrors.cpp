#include "platform/FileErrors.h"

#include <cerrno>
#include <filesystem>
#include <new>

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
    if (error == std::errc::read_only_file_system)
        return "磁盘或文件夹是只读的";
    if (error == std::errc::is_a_directory)
        return "这是一个文件夹，不是文件";
    if (error == std::errc::not_a_directory)
        return "路径中的一项不是文件夹";
    if (error == std::errc::no_space_on_device)
        return "磁盘空间不足";
#ifdef EDQUOT
    if (error.value() == EDQUOT)
        return "磁盘空间不足（超出了磁盘配额）";
#endif
    if (error == std::errc::file_too_large)
        return "文件超过了系统允许的大小";
    if (error == std::errc::filename_too_long)
        return "文件名太长";
    if (error == std::errc::too_many_symbolic_link_levels)
        return "链接太多或链接成环";
    if (error == std::errc::io_error)
        return "读写出错（磁盘或网络故障）";
    if (error == std::errc::file_exists)
        return "文件已存在";
    if (error == std::errc::too_many_files_open ||
        error == std::errc::too_many_files_open_in_system)
        return "打开的文件太多";
    return "系统错误 " + std::to_string(error.value()) + "（" + platform::SystemErrorText(error) +
           "）";
}

std::string ErrorMessage(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "内存不足，操作没有完成。";
    if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        return "无法访问" + (file->path1().empty() ? "文件" : "文件 " + PathText(file->path1())) +
               "：" + FileErrorReason(file->code()) + "。";
    }
    return error.what();
}

}  // namespace mlk
