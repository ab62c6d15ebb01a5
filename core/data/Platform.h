#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

namespace mlk::platform {

// The current local time, broken down. The one place that needs the OS's own call.
std::tm LocalNow();

// Makes the system write a closed file's contents to the disk, so that a rename over an older
// file never leaves a name pointing at data that a power failure would lose.
std::error_code FlushToDisk(const std::filesystem::path& file);

}  // namespace mlk::platform

namespace mlk {

// Paths travel as UTF-8 text between the windows, the command line and the core; these two
// convert at the edge so that Chinese folder names survive on Windows too.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(const std::string& utf8);

}  // namespace mlk
