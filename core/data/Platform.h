#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace mlk::platform {

// The current local time, broken down. The one place that needs the OS's own call.
std::tm LocalNow();

}  // namespace mlk::platform

namespace mlk {

// Paths travel as UTF-8 text between the windows, the command line and the core; these two
// convert at the edge so that Chinese folder names survive on Windows too.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(const std::string& utf8);

}  // namespace mlk
