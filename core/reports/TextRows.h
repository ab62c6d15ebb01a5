#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mlk {

// The rows of a list as the summary windows and the spreadsheet writers see them: cell texts
// (UTF-8), column 0 first. A row may hold fewer cells than the list has columns.
//
// The directory summary of the whole country has two million rows of seventeen cells, and a
// string object per cell, or even per row, would take several times the texts themselves. So the
// rows live one after another in large blocks, each cell behind its length; a text that many
// rows show (a label, a code) is kept once and the cells refer to it; and a cell may repeat an
// earlier cell of its row.
//
// A list may instead be an outline (the directory summary): each row is its outline number
// ("1.2.1") followed by the cells of a row kept before, and takes eight bytes. Its number is not
// kept but made when the row is read, from its parent's number and its place among its siblings.
// A list holds rows of cells or outline rows, not both.
class TextRows {
  public:
    // A text kept once for every cell that shows it: see Share.
    struct Shared {
        std::uint32_t index;
    };
    // A cell that shows the cell back columns before it in the same row.
    struct Repeat {
        std::uint32_t back;
    };
    // A cell as push_back and Keep take it: a text, a shared text or a repeat.
    struct Cell {
        Cell() = default;
        Cell(std::string_view text) : text(text) {}
        Cell(const std::string& text) : text(text) {}
        Cell(const char* text) : text(text) {}
        Cell(Shared shared) : kind(kShared), value(shared.index) {}
        Cell(Repeat repeat) : kind(kRepeat), value(repeat.back) {}
        std::string_view text;
        unsigned kind = kText;
        std::size_t value = 0;
    };

    // One row, read in place; valid while its TextRows lives. An outline row's number lives in
    // the Row itself: a view of it is valid while the Row lives.
    class Row {
      public:
        std::size_t size() const { return count_ + (numbered_ ? 1 : 0); }
        bool empty() const { return size() == 0; }
        std::string_view operator[](std::size_t column) const;
        // The cells as strings, for a caller that keeps or changes them.
        std::vector<std::string> ToVector() const;
        // The cells in place, in one pass over the row (the cell operator starts from the first
        // cell each time), into a vector that the caller uses again from row to row.
        void Views(std::vector<std::string_view>& cells) const;
        operator std::vector<std::string>() const { return ToVector(); }
        bool operator==(const std::vector<std::string>& cells) const;

      private:
        friend class TextRows;
        Row(const TextRows* owner, const char* cells, std::size_t count)
            : owner_(owner), cells_(cells), count_(count) {}
        std::string_view Cell(std::size_t column) const;
        const TextRows* owner_;
        const char* cells_;
        std::size_t count_;
        bool numbered_ = false;
        std::string number_;
    };

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Row;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Row;

        const_iterator() = default;
        Row operator*() const { return (*rows_)[index_]; }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator operator++(int) { return {rows_, index_++}; }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

      private:
        friend class TextRows;
        const_iterator(const TextRows* rows, std::size_t index) : rows_(rows), index_(index) {}
        const TextRows* rows_ = nullptr;
        std::size_t index_ = 0;
    };

    TextRows() = default;
    TextRows(std::initializer_list<std::vector<std::string>> rows);
    // count copies of one row.
    TextRows(std::size_t count, const std::vector<std::string>& row);
    // A copy holds the same cells, each a text of its own.
    TextRows(const TextRows& other);
    TextRows& operator=(const TextRows& other);
    TextRows(TextRows&& other) noexcept;
    TextRows& operator=(TextRows&& other) noexcept;
    ~TextRows() = default;

    std::size_t size() const { return rows_.size() + outline_.size(); }
    bool empty() const { return size() == 0; }
    Row operator[](std::size_t row) const;
    Row front() const { return (*this)[0]; }
    Row back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    void reserve(std::size_t rows) { rows_.reserve(rows); }
    // Drops the rows past the first count, or adds rows without cells up to count.
    void resize(std::size_t count);

    // The text kept once for the cells that show it. Rows that another thread keeps in a
    // TextRows of its own may share texts here meanwhile (see Adopt).
    Shared Share(std::string_view text);

    // Adds a row of cells: strings, string views or cells.
    template <class Cells>
    void push_back(const Cells& cells) {
        std::vector<Cell> row;
        row.reserve(std::size(cells));
        for (const auto& cell : cells)
            row.emplace_back(cell);
        push_back(std::span<const Cell>(row));
    }
    void push_back(std::initializer_list<std::string_view> cells) {
        push_back<std::initializer_list<std::string_view>>(cells);
    }
    void push_back(std::span<const Cell> cells) { rows_.push_back(Store(cells)); }
    // A row kept without being listed, in four bytes: its block and where it begins there.
    struct Kept {
        std::uint32_t at;
    };
    // Keeps a row without listing it, for an outline row to show later.
    Kept Keep(std::span<const Cell> cells);
    Row Open(Kept kept) const;
    // Takes over the rows that other keeps, whose shared texts are this one's, and returns what
    // to add to their Kept to open them here.
    std::uint32_t Adopt(TextRows&& other);

    // Outline rows. The kept rows that one parent's rows show are placed one after another, in
    // their order; placing returns the place.
    std::uint32_t Place(Kept kept);
    Kept Placed(std::uint32_t place) const { return {places_[place]}; }
    std::size_t PlacedCount() const { return places_.size(); }
    static constexpr std::uint32_t kTop = UINT32_MAX;
    // Lists the kept row placed at place under the outline row parent (kTop: a top row), numbered
    // by its place counted from its first sibling's: listed depth first, a parent's first row
    // comes right after it, and the top rows' first row first of all.
    void PushOutline(std::uint32_t parent, std::uint32_t place);

    bool operator==(const TextRows& other) const;
    bool operator==(const std::vector<std::vector<std::string>>& rows) const;

  private:
    static constexpr unsigned kText = 0, kShared = 1, kRepeat = 2;

    // Writes a row (its count, then its cells) and returns where it begins.
    const char* Store(std::span<const Cell> cells);
    char* Allocate(std::size_t bytes);
    std::string_view SharedText(std::size_t index) const { return shared_[index]; }
    Row OpenAt(const char* row) const;
    std::string Number(std::size_t row) const;

    std::vector<const char*> rows_;
    struct OutlineRow {
        std::uint32_t place, parent;
    };
    std::vector<OutlineRow> outline_;
    // The kept rows by place.
    std::vector<std::uint32_t> places_;
    struct FreeBlock {
        void operator()(char* block) const;
    };
    std::vector<std::unique_ptr<char[], FreeBlock>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
    // A deque keeps its texts where they are as it grows; the index finds them by text.
    std::deque<std::string> shared_;
    std::unordered_map<std::string_view, std::uint32_t, std::hash<std::string_view>> sharedIndex_;
    std::mutex sharing_;
};

// What the spreadsheet writers refuse, in the same words for each format.

// The rows of data a sheet of sheetRows rows holds, below the caption row when withCaptions.
constexpr std::size_t DataRowLimit(std::size_t sheetRows, bool withCaptions) {
    return sheetRows - (withCaptions ? 1 : 0);
}
// Refuses a list of more rows than limit for a file of format (".xls"); advice follows.
void CheckRowCount(std::size_t rows, std::string_view format, std::size_t limit,
                   std::string_view advice = {});
// A cell as a refusal names it ("第3行第2列"), row and column counted from 0.
std::string CellPlace(std::size_t row, std::size_t column);

}  // namespace mlk
