#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Progress.h"

namespace mlk {

class Database;

// Before an operation that deletes rows in bulk or replaces the database, a copy of the file is
// kept in the folder 备份 beside it, named by the time and the operation, for example
// "20261207-103512-删除已导入数据.DB": a wrong click there can be taken back with 恢复数据库.
enum class SafetyCopy { Keep, Skip };

inline constexpr std::size_t kSafetyCopiesKept = 10;

// What the question before such an operation adds.
inline constexpr std::string_view kSafetyCopyNote =
    "（操作前，数据库先复制到“备份”文件夹中保存。）";

std::filesystem::path SafetyCopyFolder(const std::filesystem::path& database);

// The local time as file names carry it: "20261207-103512".
std::string FileTimeStamp();

// Copies the database into the folder and then removes all but the newest kSafetyCopiesKept
// copies there (other files in the folder are left alone). A copy that cannot be made raises an
// MlkError with the reason, and the caller must not go on. Returns the copy's name.
std::filesystem::path KeepSafetyCopy(Database& db, std::string_view operation, Progress& progress);

}  // namespace mlk
