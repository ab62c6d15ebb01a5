#include "forms/ColumnDefs.h"

#include "text/Text.h"

namespace mlk {

std::vector<ColumnDef> ParseColumnDefs(const std::vector<std::string>& descriptions) {
    std::vector<ColumnDef> columns;
    columns.reserve(descriptions.size());
    for (const std::string& description : descriptions) {
        const std::vector<std::string> pieces = SplitText(description, '-');
        ColumnDef column;
        if (!pieces.empty())
            column.field = pieces[0];
        if (pieces.size() > 1)
            column.title = pieces[1];
        long long width = 0;
        if (pieces.size() > 2 && ParseInt(Trim(pieces[2]), width) && width > 0) {
            column.width = int(width);
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

}  // namespace mlk
