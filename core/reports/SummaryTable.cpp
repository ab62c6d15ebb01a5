#include "reports/SummaryTable.h"

#include "data/Platform.h"
#include "data/TMainDM.h"

namespace mlk {

std::vector<std::string> SummaryTable::Captions() const {
    std::vector<std::string> captions;
    captions.reserve(columns.size());
    for (const ColumnDef& column : columns)
        captions.push_back(column.title);
    return captions;
}

const std::string& LabelCache::Label(const std::string& code, std::string_view key) {
    std::string cacheKey(key);
    cacheKey += '\t';
    cacheKey += code;
    auto found = labels_.find(cacheKey);
    if (found == labels_.end()) {
        found = labels_.emplace(std::move(cacheKey), dm_.CodeLabel(code, key)).first;
    }
    return found->second;
}

void SaveSummaryToXls(const std::string& fileUtf8, const SummaryTable& table) {
    SaveListToXls(PathFromText(fileUtf8), true, table.Captions(), table.rows);
}

}  // namespace mlk
