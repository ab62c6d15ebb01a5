#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "forms/ColumnDefs.h"
#include "reports/Save2Excel.h"
#include "reports/Xlsx.h"

namespace mlk {

class TMainDM;
struct CaoZDWXX;

// What a summary window shows: its columns and its rows, every cell as text, column 0 (the
// running or outline number) included.
struct SummaryTable {
    std::vector<ColumnDef> columns;
    TextRows rows;
    // The columns of counts, totals and running numbers, numbers in an .xlsx file.
    std::vector<std::size_t> figureColumns = {};
    // Whether an .xlsx file offers a filter on the captions: for a list to narrow and sort, not
    // for a table that ends in its totals.
    bool filtered = false;

    std::vector<std::string> Captions() const;
    // The figure columns, the filter, and the columns the window hides (width 0) hidden.
    XlsxLayout SheetLayout() const;
};

// The four summaries, and the check of the directory's contents shown as they are.
enum class SummaryKind { Directory, Counts, StateOrgans, Types, Quality };

// What heads a summary wherever it is shown, printed or saved: its title and the name of the
// unit it is of.
struct SummaryHeading {
    std::string title;
    std::string unit;
};
SummaryHeading HeadingOf(SummaryKind kind, const CaoZDWXX& unit);

// Lets a set or map of strings be searched with a string view, without making a string of it.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// CodeLabel remembered per code: a summary labels the same few codes on every row.
class LabelCache {
  public:
    explicit LabelCache(const TMainDM& dm) : dm_(dm) {}
    const std::string& Label(std::string_view code, std::string_view key);

  private:
    const TMainDM& dm_;
    // Per key, per code; a few keys, so a short list of them.
    using LabelsOfKey = std::unordered_map<std::string, std::string, TextHash, std::equal_to<>>;
    std::vector<std::pair<std::string, LabelsOfKey>> labels_;
};

// Whether a file name asks for the .xlsx format (its extension, in any letter case).
bool IsXlsxName(const std::string& fileUtf8);
// Writes the table, captions first, as an .xlsx file when the name ends in .xlsx (see
// SaveListToXlsx, which reports to progress), else as an .xls file (see SaveListToXls; at most
// 65535 rows, written at once).
void SaveSummary(const std::string& fileUtf8, const SummaryTable& table,
                 Progress* progress = nullptr);

}  // namespace mlk
