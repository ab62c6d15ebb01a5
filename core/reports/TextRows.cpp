#include "reports/TextRows.h"

#include "base/MlkError.h"

namespace mlk {

namespace {

// Lengths as base-128 digits, low first, the high bit marking that more follow: one byte for
// the short texts of nearly every cell.
std::size_t TakeLength(const char*& at) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= std::size_t(byte & 0x7F) << shift;
        if (byte < 0x80)
            return length;
    }
}

}  // namespace

std::size_t TextRows::LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    for (; length >= 0x80; length >>= 7)
        ++bytes;
    return bytes;
}

void TextRows::PutLength(std::string& packed, std::size_t length) {
    while (length >= 0x80) {
        packed += char(0x80 | (length & 0x7F));
        length >>= 7;
    }
    packed += char(length);
}

std::string_view TextRows::Row::operator[](std::size_t column) const {
    const char* at = cells_;
    for (std::size_t i = 0; i < column; ++i)
        at += TakeLength(at);
    const std::size_t length = TakeLength(at);
    return {at, length};
}

std::vector<std::string> TextRows::Row::ToVector() const {
    std::vector<std::string> cells;
    cells.reserve(count_);
    const char* at = cells_;
    for (std::size_t i = 0; i < count_; ++i) {
        const std::size_t length = TakeLength(at);
        cells.emplace_back(at, length);
        at += length;
    }
    return cells;
}

bool TextRows::Row::operator==(const std::vector<std::string>& cells) const {
    if (cells.size() != count_)
        return false;
    const char* at = cells_;
    for (const std::string& cell : cells) {
        const std::size_t length = TakeLength(at);
        if (std::string_view(at, length) != cell)
            return false;
        at += length;
    }
    return true;
}

TextRows::TextRows(std::initializer_list<std::vector<std::string>> rows) {
    rows_.reserve(rows.size());
    for (const std::vector<std::string>& row : rows)
        push_back(row);
}

TextRows::TextRows(std::size_t count, const std::vector<std::string>& row) {
    if (count == 0)
        return;
    push_back(row);
    rows_.resize(count, rows_.front());
}

TextRows::Row TextRows::operator[](std::size_t row) const {
    const std::string& packed = rows_[row];
    const char* at = packed.data();
    const std::size_t count = TakeLength(at);
    return {at, packed.data() + packed.size(), count};
}

void TextRows::push_back(std::string_view first, Row rest) {
    const std::string_view tail(rest.cells_, std::size_t(rest.end_ - rest.cells_));
    std::string packed;
    packed.reserve(LengthBytes(rest.size() + 1) + LengthBytes(first.size()) + first.size() +
                   tail.size());
    PutLength(packed, rest.size() + 1);
    PutLength(packed, first.size());
    packed += first;
    packed += tail;
    rows_.push_back(std::move(packed));
}

bool TextRows::operator==(const std::vector<std::vector<std::string>>& rows) const {
    if (rows.size() != size())
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!((*this)[i] == rows[i]))
            return false;
    }
    return true;
}

void CheckRowCount(std::size_t rows, std::string_view format, std::size_t limit,
                   std::string_view advice) {
    if (rows > limit) {
        throw MlkError("列表有" + std::to_string(rows) + "行，超过" + std::string(format) +
                       "文件最多" + std::to_string(limit) + "行数据，无法导出。" +
                       std::string(advice));
    }
}

std::string CellPlace(std::size_t row, std::size_t column) {
    return "第" + std::to_string(row + 1) + "行第" + std::to_string(column + 1) + "列";
}

}  // namespace mlk
