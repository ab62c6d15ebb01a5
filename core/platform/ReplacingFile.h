#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/Platform.h"

namespace mlk {

// Writes a file whole beside its target and only then puts it in the target's place, flushed to
// disk first, so that neither a failure nor a kill leaves a half-written file under the target's
// name. The temporary file gets a new name of this program's own pattern at every write, created
// exclusively: two writers of one target never share it, and no file or link found under such a
// name is ever written. What a killed write left in the folder goes with the next write there;
// a file that a running write holds is left alone. A target that is a link keeps being one: the
// file it leads to is replaced, with its permissions.
class ReplacingFile {
  public:
    // Creates the temporary file; an MlkError names the target and the reason when it cannot.
    explicit ReplacingFile(const std::filesystem::path& target);
    // Removes the temporary file unless Commit put it in place.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(std::string_view bytes);
    // Gives the temporary file's name to a writer that fills it by name itself; Commit then puts
    // what that writer wrote in place.
    const std::filesystem::path& HandOver();
    // Flushes to disk and renames over the target.
    void Commit();
    // Raises the MlkError that names the target and why writing it failed.
    [[noreturn]] void Fail(const std::string& reason) const;

    // Whether a file name is of the pattern the temporary files take.
    static bool IsTemporaryName(const std::string& name);

  private:
    void Flush();

    std::filesystem::path target_;  // as the user named it
    std::filesystem::path final_;   // the file replaced: the target or where its links lead
    std::filesystem::path temporary_;
    platform::OwnFile file_;
    std::string buffer_;
    std::error_code error_;  // the first failed write
    bool committed_ = false;
};

}  // namespace mlk
