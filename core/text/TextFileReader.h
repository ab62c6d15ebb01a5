#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "text/Encoding.h"

namespace mlk {

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

}  // namespace mlk
