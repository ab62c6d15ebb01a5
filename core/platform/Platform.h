#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// What differs between Windows and the other systems lives here and only here: the clock,
// creating, flushing and replacing files, the system's error texts, code page 936, paths and the
// command line.

namespace mlk::platform {

// The current local time, broken down. The one place that needs the OS's own call.
std::tm LocalNow();

// A file this run created and holds while it writes it. It is created exclusively, never
// through a link and never under a name that exists, so it can be no other run's file nor one
// planted beside the target; while it is held, no other run removes it as a leftover (see
// RemoveLeftover). The destructor only closes it.
class OwnFile {
  public:
    OwnFile() = default;
    ~OwnFile();
    OwnFile(OwnFile&& other) noexcept;
    OwnFile& operator=(OwnFile&& other) noexcept;

    // Creates file; privately lets only its owner read it until TakePermissionsOf. An error that
    // compares equal to std::errc::file_exists when the name is taken (try another).
    static OwnFile Create(const std::filesystem::path& file, bool privately,
                          std::error_code& error);

    bool IsOpen() const;
    std::error_code Write(std::string_view bytes);
    // The permissions and, where the system lets it, the owner of model (which exists). On
    // Windows the file keeps those it took from its folder, as the model did.
    void TakePermissionsOf(const std::filesystem::path& model);
    // Lets another writer open the file by its name. Windows' libraries open it for themselves
    // alone, so there the file is closed (and held by that writer meanwhile).
    void LetOthersOpen();
    // Makes the system write the file's contents to the disk, so that the rename that follows
    // never leaves a name pointing at data that a power failure would lose.
    std::error_code FlushToDisk();
    // Puts the file in to's place, replacing a file there in one step, and closes it.
    std::error_code MoveOver(const std::filesystem::path& to);
    // Removes and closes the file.
    void Remove();

  private:
    void Close();

    std::filesystem::path path_;
    std::intptr_t handle_ = -1;
};

// Removes a file that a run of the program left behind (killed while writing it), unless a
// running one still holds it; true when it was removed.
bool RemoveLeftover(const std::filesystem::path& file);

// The file that a symbolic link leads to, through every link in turn; the name itself when it
// is no link. A replaced target stays the file the user's link points to.
std::filesystem::path FinalTarget(const std::filesystem::path& file);

// The folder in which the database engine and the spreadsheet library keep their scratch files,
// chosen as the engine chooses it; never fails.
std::filesystem::path TemporaryFolder();

// A block of size bytes for a large array, released with std::free; null when there is no memory.
// Where the system gives huge pages on request and size is a whole number of them, the block is
// made of them: hundreds of megabytes are then faulted in two megabytes at a time rather than
// four kilobytes. Elsewhere it is an ordinary block.
void* AllocateLarge(std::size_t size);

// While it lives, what libraries print on the standard error stream goes nowhere: the user is
// told of their failures in this program's own words.
class SilencedStderr {
  public:
    SilencedStderr();
    ~SilencedStderr();
    SilencedStderr(const SilencedStderr&) = delete;
    SilencedStderr& operator=(const SilencedStderr&) = delete;

  private:
    int saved_ = -1;
};

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
