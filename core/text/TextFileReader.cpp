#include "text/TextFileReader.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>

#include "base/MlkError.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

// CR, LF and the zero byte stop the copy of a line; every other byte is taken as it is.
bool StopsLine(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= '\r' && (b == '\r' || b == '\n' || b == 0);
}

// The first byte from p on that may stop the line: eight bytes at a time pass when none of them
// is below 0x0E (the test may flag a word that holds none, never miss one that does).
const char* SkipToLineStop(const char* p, const char* end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (((word - kOnes * 0x0E) & ~word & kHighBits) != 0)
            break;
        p += 8;
    }
    while (p < end && !StopsLine(*p))
        ++p;
    return p;
}

[[noreturn]] void CannotKeep(const std::filesystem::path& stream, const std::error_code& error) {
    throw MlkError("无法在临时文件夹中保存 " + PathText(stream) + " 的内容：" +
                   FileErrorReason(error, true));
}

}  // namespace

StreamAsFile::StreamAsFile(const std::filesystem::path& file) : path_(file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    // A missing file, a folder or one without permission: the reader says why.
    if (error || std::filesystem::is_regular_file(status) || std::filesystem::is_directory(status))
        return;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    // The copy is created exclusively under a new name that still shows the stream's own.
    std::random_device random;
    for (int attempt = 0; attempt < 16 && !copy_.IsOpen(); ++attempt) {
        path_ = platform::TemporaryFolder() /
                ("mlk-" + std::to_string(random()) + "-" + PathText(file.filename()));
        copy_ = platform::OwnFile::Create(path_, true, error);
        if (error && error != std::errc::file_exists)
            break;
    }
    if (!copy_.IsOpen())
        CannotKeep(file, error);
    copied_ = true;
    std::vector<char> buffer(kBufferSize);
    errno = 0;
    while (!error && (in.read(buffer.data(), std::streamsize(buffer.size())) || in.gcount() > 0))
        error = copy_.Write(std::string_view(buffer.data(), std::size_t(in.gcount())));
    if (error || in.bad()) {
        const std::error_code reason = error ? error : LastError(EIO);
        copy_.Remove();
        copied_ = false;
        if (error)
            CannotKeep(file, reason);
        throw MlkError("读取文件 " + PathText(file) + " 失败：" + FileErrorReason(reason));
    }
    copy_.LetOthersOpen();
}

StreamAsFile::~StreamAsFile() {
    if (copied_)
        copy_.Remove();
}

TextFileReader::TextFileReader(const std::filesystem::path& path)
    : path_(path), buffer_(kBufferSize) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::is_directory(status))
        error = std::make_error_code(std::errc::is_a_directory);
    if (!error) {
        errno = 0;
        in_.open(path, std::ios::binary);
        if (!in_)
            error = LastError(EACCES);
    }
    if (error)
        throw MlkError("无法打开文件 " + PathText(path) + "：" + FileErrorReason(error));
    std::error_code sizeError;
    size_ = std::filesystem::file_size(path, sizeError);
    if (sizeError)
        size_ = 0;

    Refill();
    switch (FindByteOrderMark(std::string_view(buffer_.data(), end_))) {
        case ByteOrderMark::Utf16:
            throw MlkError(
                "无法读取文件 " + PathText(path) +
                "：文件是UTF-16（Unicode）编码，请将它另存为GBK（ANSI）或UTF-8编码后再导入。");
        case ByteOrderMark::Utf8:
            encoding_ = TextEncoding::Utf8;
            pos_ = kUtf8Bom.size();
            break;
        case ByteOrderMark::None:
            break;
    }
}

void TextFileReader::Refill() {
    if (atEnd_)
        return;
    base_ += end_;
    pos_ = 0;
    errno = 0;
    in_.read(buffer_.data(), std::streamsize(buffer_.size()));
    end_ = std::size_t(in_.gcount());
    if (end_ > 0)
        return;
    if (in_.bad()) {
        throw MlkError("读取文件 " + PathText(path_) + " 失败：" + FileErrorReason(LastError(EIO)));
    }
    atEnd_ = true;
}

bool TextFileReader::AppendLine(std::string& line) {
    if (pos_ == end_)
        Refill();
    if (atEnd_)
        return false;
    ++line_;
    for (;;) {
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + end_;
        const char* p = SkipToLineStop(begin, end);
        line.append(begin, p);
        pos_ += std::size_t(p - begin);
        if (p == end) {
            Refill();
            if (!atEnd_)
                continue;
            lineEnd_ = {};
            return true;
        }
        const char stop = *p;
        if (stop == '\0') {
            throw MlkError(LineName(line_) +
                           "含有零字节，无法读取：文件已损坏，或不是GBK编码的文本文件。");
        }
        ++pos_;
        lineEnd_ = "\n";
        if (stop == '\r') {
            if (pos_ == end_)
                Refill();
            lineEnd_ = "\r";
            if (!atEnd_ && buffer_[pos_] == '\n') {
                ++pos_;
                lineEnd_ = "\r\n";
            }
        }
        return true;
    }
}

void TextFileReader::RequireSameEncoding(TextEncoding found, std::string_view bytes,
                                         std::size_t line) const {
    if (!encoding_ || found == *encoding_)
        return;
    // Bytes of neither encoding in a UTF-8 file are damage rather than a second file.
    std::string decoded;
    if (found == TextEncoding::Gbk && !platform::DecodeGbk(bytes, decoded))
        throw MlkError(LineName(line) + "含有不是UTF-8编码的字节，无法读取。");
    throw MlkError(LineName(line) + "的编码与前面的行不同（" + EncodingName(found) + "/" +
                   EncodingName(*encoding_) + "），文件可能由两个文件拼接而成");
}

std::optional<TextEncoding> TextFileReader::ToUtf8(std::string& bytes, std::size_t line) {
    const Utf8Form form = FormOfUtf8(bytes);
    // A mark inside the file is where a second file was pasted on; at the start of a line it
    // cannot be GBK text either (锘 before a character of lead byte BF).
    if (bytes.starts_with(kUtf8Bom) ||
        (form != Utf8Form::NotUtf8 && bytes.find(kUtf8Bom) != std::string::npos)) {
        throw MlkError(LineName(line) +
                       "含有字节顺序标记（BOM），它只能出现在文件开头，文件可能由两个文件拼接而成");
    }
    if (form == Utf8Form::Ascii)
        return std::nullopt;
    const TextEncoding found = form == Utf8Form::Utf8 ? TextEncoding::Utf8 : TextEncoding::Gbk;
    RequireSameEncoding(found, bytes, line);
    encoding_ = found;
    if (found == TextEncoding::Gbk) {
        // Decoded into the buffer of the line before, which takes the bytes' buffer in turn:
        // reading a file makes no allocation per line.
        GbkToUtf8(bytes, converted_, line);
        bytes.swap(converted_);
    }
    return found;
}

}  // namespace mlk
