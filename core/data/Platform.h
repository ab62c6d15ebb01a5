#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What differs between Windows and the other systems lives here and only here: the clock,
// flushing files, code page 936, paths and the command line.

namespace mlk::platform {

// The current local time, broken down. The one place that needs the OS's own call.
std::tm LocalNow();

// Makes the system write a closed file's contents to the disk, so that a rename over an older
// file never leaves a name pointing at data that a power failure would lose.
std::error_code FlushToDisk(const std::filesystem::path& file);

// Code page 936 conversion, exact or not at all: Windows converts with the system's own code
// page, elsewhere ICU does. Both refuse the same inputs (see Gbk.h for what the caller adds).
// Decodes GBK bytes to UTF-8; false at a byte sequence that is not GBK.
bool DecodeGbk(std::string_view gbk, std::string& utf8);
enum class Encoded { kOk, kNotUtf8, kNotInGbk };
// Encodes UTF-8 as GBK; refuses text that is not UTF-8 and characters that GBK has no exact
// form for (Windows would otherwise write a look-alike or "?", ICU would drop invisible ones).
Encoded EncodeGbk(std::string_view utf8, std::string& gbk);

// The program's arguments as UTF-8. Windows hands argv over in the ANSI code page, which loses
// every character outside it, so there they are taken from the wide command line; the console
// is also switched to UTF-8 so that what the program prints shows as written.
std::vector<std::string> Arguments(int argc, char** argv);

#ifdef _WIN32
// UTF-8 to the UTF-16 that Windows' own calls take.
std::wstring Widen(std::string_view utf8);
#endif

}  // namespace mlk::platform

namespace mlk {

// Paths travel as UTF-8 text between the windows, the command line and the core; these two
// convert at the edge, so that on Windows a path reaches the system as UTF-16 and Chinese
// folder names survive.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(const std::string& utf8);

}  // namespace mlk
