#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace mlk {

// Writes a file whole beside its target and only then puts it in the target's place, flushed to
// disk first, so that neither a failure nor a crash leaves a half-written file under the target's
// name. The temporary file has a short name of its own in the target's folder, the same at every
// write of that target: a leftover of a crash is overwritten and removed by the next write.
class ReplacingFile {
  public:
    // Creates the temporary file; an MlkError names the target and the reason when it cannot.
    explicit ReplacingFile(const std::filesystem::path& target);
    // Removes the temporary file unless Commit put it in place.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(std::string_view bytes) { out_.write(bytes.data(), std::streamsize(bytes.size())); }
    // Closes the temporary file, still empty, and gives its name to a writer that fills it by
    // name itself; Commit then puts what that writer wrote in place.
    const std::filesystem::path& HandOver();
    // Closes, flushes to disk and renames over the target.
    void Commit();
    // Raises the MlkError that names the target and why writing it failed.
    [[noreturn]] void Fail(const std::string& reason) const;

    // The temporary file that a write of target uses.
    static std::filesystem::path TemporaryFor(const std::filesystem::path& target);

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::vector<char> buffer_;
    std::ofstream out_;
    bool committed_ = false;
};

}  // namespace mlk
