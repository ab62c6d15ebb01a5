#include "reports/TextRows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "base/MlkError.h"
#include "platform/Platform.h"

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

// Each cell's length carries its kind in its two low bits: a text of that length follows; or it
// is the index of a shared text, or how many columns back the repeated cell is.
std::size_t Tagged(std::size_t value, unsigned kind) {
    return value << 2 | kind;
}

std::size_t LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    for (; length >= 0x80; length >>= 7)
        ++bytes;
    return bytes;
}

char* PutLength(char* at, std::size_t length) {
    while (length >= 0x80) {
        *at++ = char(0x80 | (length & 0x7F));
        length >>= 7;
    }
    *at++ = char(length);
    return at;
}

// Rows are written into blocks of this size; a larger row gets a block of its own, and begins
// at its start. So a kept row is found by its block and an offset of kOffsetBits.
constexpr unsigned kOffsetBits = 21;
constexpr std::size_t kBlockBytes = std::size_t(1) << kOffsetBits;
constexpr std::size_t kMaxBlocks = std::size_t(1) << (32 - kOffsetBits);

// A block of rows, of huge pages where the system has them: the hundreds of megabytes of a large
// directory's cells would otherwise be faulted in four kilobytes at a time, which took a tenth of
// the time of the directory summary.
char* NewBlock(std::size_t size) {
    void* block = platform::AllocateLarge(size);
    if (!block)
        throw std::bad_alloc();
    return static_cast<char*>(block);
}

// A row without cells.
constexpr char kEmptyRow[1] = {0};

}  // namespace

std::string_view TextRows::Row::operator[](std::size_t column) const {
    if (numbered_)
        return column == 0 ? std::string_view(number_) : Cell(column - 1);
    return Cell(column);
}

std::string_view TextRows::Row::Cell(std::size_t column) const {
    const char* at = cells_;
    for (std::size_t i = 0;; ++i) {
        const std::size_t tagged = TakeLength(at);
        const std::size_t value = tagged >> 2;
        const unsigned kind = tagged & 3;
        if (i == column) {
            if (kind == kShared)
                return owner_->SharedText(value);
            if (kind == kRepeat)
                return Cell(column - value);
            return {at, value};
        }
        if (kind == kText)
            at += value;
    }
}

std::vector<std::string> TextRows::Row::ToVector() const {
    std::vector<std::string_view> views;
    Views(views);
    return {views.begin(), views.end()};
}

void TextRows::Row::Views(std::vector<std::string_view>& cells) const {
    cells.clear();
    if (numbered_)
        cells.push_back(number_);
    const std::size_t first = cells.size();
    const char* at = cells_;
    for (std::size_t i = 0; i < count_; ++i) {
        const std::size_t tagged = TakeLength(at);
        const std::size_t value = tagged >> 2;
        switch (tagged & 3) {
            case kText:
                cells.emplace_back(at, value);
                at += value;
                break;
            case kShared:
                cells.push_back(owner_->SharedText(value));
                break;
            default:
                cells.push_back(cells[first + i - value]);
        }
    }
}

bool TextRows::Row::operator==(const std::vector<std::string>& cells) const {
    return cells.size() == size() && ToVector() == cells;
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

TextRows::TextRows(const TextRows& other) {
    *this = other;
}

TextRows& TextRows::operator=(const TextRows& other) {
    if (this != &other) {
        TextRows copy;
        copy.reserve(other.size());
        for (const Row row : other)
            copy.push_back(row.ToVector());
        *this = std::move(copy);
    }
    return *this;
}

TextRows::TextRows(TextRows&& other) noexcept {
    *this = std::move(other);
}

TextRows& TextRows::operator=(TextRows&& other) noexcept {
    rows_ = std::move(other.rows_);
    outline_ = std::move(other.outline_);
    places_ = std::move(other.places_);
    blocks_ = std::move(other.blocks_);
    shared_ = std::move(other.shared_);
    sharedIndex_ = std::move(other.sharedIndex_);
    free_ = std::exchange(other.free_, nullptr);
    left_ = std::exchange(other.left_, 0);
    other.rows_.clear();
    other.outline_.clear();
    other.places_.clear();
    return *this;
}

TextRows::Row TextRows::operator[](std::size_t row) const {
    if (outline_.empty())
        return OpenAt(rows_[row]);
    Row numbered = Open(Placed(outline_[row].place));
    numbered.numbered_ = true;
    numbered.number_ = Number(row);
    return numbered;
}

TextRows::Row TextRows::Open(Kept kept) const {
    return OpenAt(blocks_[kept.at >> kOffsetBits].get() + (kept.at & (kBlockBytes - 1)));
}

TextRows::Row TextRows::OpenAt(const char* row) const {
    const char* at = row;
    const std::size_t count = TakeLength(at);
    return {this, at, count};
}

std::string TextRows::Number(std::size_t row) const {
    // The places among their siblings, from the row up to its top row.
    std::vector<std::uint32_t> places;
    for (std::size_t at = row;;) {
        const OutlineRow& listed = outline_[at];
        const std::size_t first = listed.parent == kTop ? 0 : std::size_t(listed.parent) + 1;
        places.push_back(listed.place - outline_[first].place + 1);
        if (listed.parent == kTop)
            break;
        at = listed.parent;
    }
    std::string number;
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
        if (!number.empty())
            number += '.';
        number += std::to_string(*place);
    }
    return number;
}

void TextRows::resize(std::size_t count) {
    rows_.resize(count, kEmptyRow);
}

TextRows::Shared TextRows::Share(std::string_view text) {
    const std::lock_guard lock(sharing_);
    const auto found = sharedIndex_.find(text);
    if (found != sharedIndex_.end())
        return {found->second};
    const auto index = std::uint32_t(shared_.size());
    sharedIndex_.emplace(shared_.emplace_back(text), index);
    return {index};
}

TextRows::Kept TextRows::Keep(std::span<const Cell> cells) {
    const char* const row = Store(cells);
    // A row is stored in the last block.
    if (blocks_.size() > kMaxBlocks)
        throw MlkError("汇总表过大，超出了能在内存中列出的行数。");
    return {std::uint32_t((blocks_.size() - 1) << kOffsetBits |
                          std::size_t(row - blocks_.back().get()))};
}

std::uint32_t TextRows::Adopt(TextRows&& other) {
    if (blocks_.size() + other.blocks_.size() > kMaxBlocks)
        throw MlkError("汇总表过大，超出了能在内存中列出的行数。");
    const auto shift = std::uint32_t(blocks_.size() << kOffsetBits);
    std::move(other.blocks_.begin(), other.blocks_.end(), std::back_inserter(blocks_));
    other = TextRows();
    // The last block is another's now: a row kept later begins a block of its own.
    free_ = nullptr;
    left_ = 0;
    return shift;
}

std::uint32_t TextRows::Place(Kept kept) {
    places_.push_back(kept.at);
    return std::uint32_t(places_.size() - 1);
}

void TextRows::PushOutline(std::uint32_t parent, std::uint32_t place) {
    // Each placed row is listed about once.
    if (outline_.empty())
        outline_.reserve(places_.size());
    outline_.push_back({place, parent});
}

const char* TextRows::Store(std::span<const Cell> cells) {
    const auto tagged = [](const Cell& cell) {
        return Tagged(cell.kind == kText ? cell.text.size() : cell.value, cell.kind);
    };
    std::size_t bytes = LengthBytes(cells.size());
    for (const Cell& cell : cells)
        bytes += LengthBytes(tagged(cell)) + (cell.kind == kText ? cell.text.size() : 0);
    char* const row = Allocate(bytes);
    char* at = PutLength(row, cells.size());
    for (const Cell& cell : cells) {
        at = PutLength(at, tagged(cell));
        if (cell.kind == kText && !cell.text.empty()) {
            std::memcpy(at, cell.text.data(), cell.text.size());
            at += cell.text.size();
        }
    }
    return row;
}

void TextRows::FreeBlock::operator()(char* block) const {
    std::free(block);
}

char* TextRows::Allocate(std::size_t bytes) {
    if (bytes > left_) {
        const std::size_t size = std::max(kBlockBytes, bytes);
        blocks_.emplace_back(NewBlock(size));
        free_ = blocks_.back().get();
        left_ = size;
    }
    char* const at = free_;
    free_ += bytes;
    left_ -= bytes;
    return at;
}

bool TextRows::operator==(const TextRows& other) const {
    if (other.size() != size())
        return false;
    for (std::size_t i = 0; i < size(); ++i) {
        if (!((*this)[i] == other[i].ToVector()))
            return false;
    }
    return true;
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
