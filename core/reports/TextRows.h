#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace mlk {

// The rows of a list as the summary windows and the spreadsheet writers see them: cell texts
// (UTF-8), column 0 first. A row may hold fewer cells than the list has columns.
//
// Each row is one string that holds its cells one after another, each behind its length: the
// directory summary of the whole country has two million rows of seventeen cells, and a string
// object per cell would take several times the texts themselves.
class TextRows {
  public:
    // One row, read in place; valid while its TextRows lives.
    class Row {
      public:
        std::size_t size() const { return count_; }
        bool empty() const { return count_ == 0; }
        std::string_view operator[](std::size_t column) const;
        // The cells as strings, for a caller that keeps or changes them.
        std::vector<std::string> ToVector() const;
        operator std::vector<std::string>() const { return ToVector(); }
        bool operator==(const std::vector<std::string>& cells) const;

      private:
        friend class TextRows;
        Row(const char* cells, const char* end, std::size_t count)
            : cells_(cells), end_(end), count_(count) {}
        const char* cells_;
        const char* end_;
        std::size_t count_;
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

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    Row operator[](std::size_t row) const;
    Row front() const { return (*this)[0]; }
    Row back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    void reserve(std::size_t rows) { rows_.reserve(rows); }
    // Drops the rows past the first count, or adds rows without cells up to count.
    void resize(std::size_t count) { rows_.resize(count, std::string(1, '\0')); }

    // Adds a row of cells: strings or string views.
    template <class Cells>
    void push_back(const Cells& cells) {
        std::size_t bytes = LengthBytes(std::size(cells));
        for (const auto& cell : cells)
            bytes += LengthBytes(std::string_view(cell).size()) + std::string_view(cell).size();
        std::string packed;
        packed.reserve(bytes);
        PutLength(packed, std::size(cells));
        for (const auto& cell : cells) {
            PutLength(packed, std::string_view(cell).size());
            packed += std::string_view(cell);
        }
        rows_.push_back(std::move(packed));
    }
    void push_back(std::initializer_list<std::string_view> cells) {
        push_back<std::initializer_list<std::string_view>>(cells);
    }
    // Adds a row of the cell first followed by the cells of rest.
    void push_back(std::string_view first, Row rest);

    bool operator==(const TextRows& other) const = default;
    bool operator==(const std::vector<std::vector<std::string>>& rows) const;

  private:
    static std::size_t LengthBytes(std::size_t length);
    static void PutLength(std::string& packed, std::size_t length);

    std::vector<std::string> rows_;
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
