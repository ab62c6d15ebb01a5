#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "text/Encoding.h"

namespace mlk {

// A text file from another program, read line by line in flat memory and front to back only, so
// that a pipe or standard input reads as a file does. A UTF-8 byte-order mark at the start makes
// the file UTF-8, a UTF-16 one is refused; otherwise the first line beyond ASCII settles the
// encoding by its bytes (FormOfUtf8), and every later line must show the same one: a file made
// of two files of different encodings is refused at the first line of the second. So is a
// byte-order mark after the start, and a zero byte anywhere, naming its line.
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

    // Turns bytes of this file into UTF-8, in place, and tells what they were: nothing for
    // ASCII, which needs no conversion. Bytes of the other encoding than the lines before, bytes
    // of neither, and a byte-order mark raise an MlkError naming the line.
    std::optional<TextEncoding> ToUtf8(std::string& bytes, std::size_t line);

    // Bytes read so far, and in all (0 for a pipe), for progress.
    std::uint64_t Offset() const { return base_ + pos_; }
    std::uint64_t Size() const { return size_; }

  private:
    void Refill();
    // Refuses a line whose encoding differs from the lines' before it.
    void RequireSameEncoding(TextEncoding found, std::string_view bytes, std::size_t line) const;

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
    std::optional<TextEncoding> encoding_;  // none until a line beyond ASCII
    std::string converted_;
};

// A pipe, a FIFO or standard input can be read only once. Where a file is read twice (the import
// looks for the unit that sent it first), such a stream is first copied whole into a temporary
// file of this run's own, removed again with this object; any other path is used as it is.
class StreamAsFile {
  public:
    explicit StreamAsFile(const std::filesystem::path& file);
    ~StreamAsFile();
    StreamAsFile(const StreamAsFile&) = delete;
    StreamAsFile& operator=(const StreamAsFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
    platform::OwnFile copy_;
    bool copied_ = false;
};

}  // namespace mlk
