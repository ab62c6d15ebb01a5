#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What differs between Windows and the other systems lives here and only here: the clock,
// flushing and replacing files, the system's error texts, code page 936, paths and the command
// line.

namespace mlk::platform {

// The current local time, broken down. The one place that needs the OS's own call.
std::tm LocalNow();

// Makes the system write a closed file's contents to the disk, so that a rename over an older
// file never leaves a name pointing at data that a power failure would lose.
std::error_code FlushToDisk(const std::filesystem::path& file);

// Puts the file from in to's place, replacing a file there in one step; the system's own error
// when it cannot. (The C++ library on Windows reports every failure but a refusal as an I/O
// error.)
std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);

// The system's own text for an error, as UTF-8 and without a closing full stop. Windows' codes
// come from its message table in the user's language; the C++ library would hand that text over
// in the ANSI code page, GBK bytes on a Chinese Windows.
std::string SystemErrorText(const std::error_code& error);

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
