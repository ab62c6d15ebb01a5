#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/Encoding.h"

namespace mlk {

// Why a file could not be read or written, as the user is told it: the common reasons in
// words of this program, any other in the system's own.
std::string FileErrorReason(const std::error_code& error, bool writing = false);
// The C library's error of the call just failed (errno), or fallback when it set none.
std::error_code LastError(int fallback = 0);

// A text file from another program, read line by line in flat memory. Its encoding is settled
// when it is opened: a UTF-8 byte-order mark is skipped, a UTF-16 one refused, and without a
// mark the bytes decide between GBK and UTF-8 (EncodingGuess). A zero byte anywhere refuses the
// file, naming its line.
class TextFileReader {
  public:
    // A path that cannot be read (missing, a folder, no permission) raises an MlkError with the
    // reason.
    explicit TextFileReader(const std::filesystem::path& path);

    // Appends the next line, without its end, to line; false at the end of the file. Line ends
    // are CR LF, a lone CR or a lone LF; the end of the last line adds no empty line.
    bool AppendLine(std::string& line);
    // The end of the line last read: "\r\n", "\r", "\n", or "" for a last line without one.
    std::string_view LineEnd() const { return lineEnd_; }
    // The number of the line last read, from 1.
    std::size_t Line() const { return line_; }

    // Turns bytes of this file into UTF-8, in place. Bytes that are not of the file's encoding
    // raise an MlkError naming the line.
    void ToUtf8(std::string& bytes, std::size_t line) const;

    TextEncoding Encoding() const { return encoding_; }
    // Bytes read so far, and in all, for progress.
    std::uint64_t Offset() const { return base_ + pos_; }
    std::uint64_t Size() const { return size_; }

  private:
    void Refill();
    TextEncoding GuessEncoding();

    std::filesystem::path path_;
    std::ifstream in_;
    std::uint64_t size_ = 0;
    std::vector<char> buffer_;
    std::uint64_t base_ = 0;  // file offset of buffer_[0]
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    std::size_t line_ = 0;
    std::string_view lineEnd_;
    TextEncoding encoding_ = TextEncoding::Gbk;
    mutable std::string converted_;
};

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
