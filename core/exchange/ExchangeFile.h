#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/GGJG.h"
#include "text/TextFileReader.h"

namespace mlk {

// The exchange file that carries a directory to the level above: GBK text (a UTF-8 file is read
// too), one institution per line, 38 comma-separated items, CR LF after every line.
//
// The writer puts a value in double quotes (inner quotes doubled) when it holds a blank, a
// control character, a double quote or a comma. The reader undoes exactly that: an item that
// starts with a double quote runs to its closing quote, and commas, blanks and line ends inside
// belong to it. A line without quotes splits at every comma, as files of older programs expect.

inline constexpr std::size_t kExchangeItems = 38;
// Items 1 to 36 are texts, 37 and 38 numbers.
inline constexpr std::size_t kExchangeTextItems = 36;

// Each item's column of MLK_JiBXX and the name messages give it, in file order.
struct ExchangeItem {
    const char* column;
    const char* name;
};
extern const ExchangeItem kExchangeItemsInOrder[kExchangeItems];

// The value as the writer puts it into a line.
std::string QuoteExchangeItem(std::string_view value);
// The same, appended to line.
void AppendExchangeItem(std::string& line, std::string_view value);
// The items joined by the writer's rule, without the line end.
std::string JoinExchangeItems(const std::vector<std::string>& items);

// The 38 items of a record in file order (JiC and ShunX as decimal text).
std::vector<std::string> ExchangeItems(const GGJG& record);

// One record's items as the reader splits them: values with their quotes removed, and whether
// each was quoted (only unquoted items are trimmed later). A value is a view of the record, or of
// composed where removing the quotes changed it (a doubled quote, text after the closing quote);
// the views hold until the next split, and as long as the record itself is unchanged.
struct ExchangeSplit {
    std::vector<std::string_view> items;
    std::vector<bool> quoted;
    std::string composed;
    bool cut = false;  // the record goes on past the items split
};

// Splits one record (UTF-8 or GBK: the separators are ASCII and never part of a GBK character)
// into at most `most` items: a record that has more is wrong whatever they hold, and splitting a
// line of millions of commas would take many times its size. A quote left open runs to the end
// of the record and is reported by unclosed.
void SplitExchangeRecord(std::string_view record, ExchangeSplit& split, bool* unclosed = nullptr,
                         std::size_t most = kExchangeItems + 1);

// Checks a split record and makes its items the values to store: there must be 38 of them;
// unquoted items are trimmed, quoted ones kept byte for byte; items 37 and 38 must be 32-bit
// whole numbers, returned in jic and shunx. line names the record in errors. A record read from
// UTF-8 (maybeOutsideGbk) may hold characters that GBK has none for, which could never travel
// further: such an item is refused.
void CheckExchangeItems(ExchangeSplit& split, std::size_t line, long long& jic, long long& shunx,
                        bool maybeOutsideGbk = false);

// Fills a record's 36 text fields from checked items, in file order.
void FillRecordTexts(const std::vector<std::string_view>& items, GGJG& record);

// Reads an exchange file record by record without holding it: pass over a file of any size in
// memory that grows only with its longest record. The file may be GBK or UTF-8 (TextFileReader).
class ExchangeReader {
  public:
    // Opens the file; one that cannot be read raises an MlkError with the reason.
    explicit ExchangeReader(const std::filesystem::path& path);

    // Reads, converts, splits and checks the next record. False at the end of the text. A bad
    // record (item count, quoting, encoding, zero byte, numbers) raises an MlkError naming its
    // line.
    bool Next();
    // The same, into a record.
    bool Next(GGJG& record);

    // The 38 values of the record last read (UTF-8), in file order, valid until the next record.
    const std::vector<std::string_view>& Items() const { return split_.items; }
    long long JiC() const { return jic_; }
    long long ShunX() const { return shunx_; }

    // The file line on which the record last read begins (from 1).
    std::size_t Line() const { return line_; }
    // The bytes read so far, and in all, for progress.
    std::uint64_t Offset() const { return file_.Offset(); }
    std::uint64_t Size() const { return file_.Size(); }

  private:
    bool ReadRecord();

    TextFileReader file_;
    std::size_t line_ = 0;
    std::string record_;  // the record's bytes, then its UTF-8 text
    ExchangeSplit split_;
    long long jic_ = 0;
    long long shunx_ = 0;
};

}  // namespace mlk
