#include "MlkRunner.h"

#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "platform/Platform.h"
#include "text/Text.h"

namespace mlk::test {

namespace {

#ifdef _WIN32
const char* const kChangeFolder = "cd /d ";

// cmd.exe and the program's own reading of its command line both take a double-quoted
// argument as it is (no argument here holds a double quote).
std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

// Printed lines end in CR LF on Windows, as its text does; the tests compare lines.
std::string Lines(std::string text) {
    for (std::size_t cr = text.find("\r\n"); cr != std::string::npos; cr = text.find("\r\n", cr))
        text.erase(cr, 1);
    return text;
}
#else
const char* const kChangeFolder = "cd ";

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Lines(std::string text) {
    return text;
}
#endif

}  // namespace

MlkRun Mlk(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    // Under Wine the build folder's path has no drive letter: tie it to the drive the tests
    // start on, before "cd /d" moves to another.
    static const std::filesystem::path mlk = std::filesystem::absolute(PathFromText(MLK_CLI_PATH));
    const TempDir outputs;
    std::string line = kChangeFolder + Quote(PathText(folder)) + " && " + Quote(PathText(mlk));
    for (const std::string& arg : args)
        line += " " + Quote(arg);
    line += " >" + Quote(PathText(outputs / "out")) + " 2>" + Quote(PathText(outputs / "err"));
#ifdef _WIN32
    // cmd /c keeps what stands between the line's first and last double quote.
    const std::wstring command = platform::Widen("\"" + line + "\"");
    int code = _wsystem(command.c_str());
    // Wine, busy with other programs starting, now and then fails to start one: cmd.exe itself
    // (-1) or mlk.exe, which cmd then reports as no such program (9009). Neither ran: once more.
    if (code == -1 || code == 9009)
        code = _wsystem(command.c_str());
#else
    const int status = std::system(line.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {code, Lines(ReadFile(outputs / "out")), Lines(ReadFile(outputs / "err"))};
}

MlkRun Mlk(const std::filesystem::path& folder, const std::string& line) {
    return Mlk(folder, SplitText(line, ' '));
}

}  // namespace mlk::test
