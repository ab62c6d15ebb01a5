#include "reports/SummaryTable.h"

#include <algorithm>
#include <cctype>

#include "model/CaoZDWXX.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk {

std::vector<std::string> SummaryTable::Captions() const {
    std::vector<std::string> captions;
    captions.reserve(columns.size());
    for (const ColumnDef& column : columns)
        captions.push_back(column.title);
    return captions;
}

XlsxLayout SummaryTable::SheetLayout() const {
    XlsxLayout layout{figureColumns, {}, filtered};
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (columns[column].width == 0)
            layout.hiddenColumns.push_back(column);
    }
    return layout;
}

SummaryHeading HeadingOf(SummaryKind kind, const CaoZDWXX& unit) {
    switch (kind) {
        case SummaryKind::Directory:
            return {"公共机构名录汇总表", unit.JieDMC};
        case SummaryKind::Counts:
            return {"公共机构数量汇总表", unit.JieDMC};
        case SummaryKind::StateOrgans:
            return {"公共机构（国家机关）数量汇总表", unit.DanWMC};
        case SummaryKind::Types:
            break;
        case SummaryKind::Quality:
            return {"数据质量检查", unit.JieDMC};
    }
    return {"公共机构（事业单位）数量汇总表", unit.JieDMC};
}

const std::string& LabelCache::Label(std::string_view code, std::string_view key) {
    auto table = std::find_if(labels_.begin(), labels_.end(),
                              [&](const auto& entry) { return entry.first == key; });
    if (table == labels_.end())
        table = labels_.emplace(labels_.end(), std::string(key), LabelsOfKey{});
    auto found = table->second.find(code);
    if (found == table->second.end())
        found = table->second.emplace(std::string(code), dm_.CodeLabel(code, key)).first;
    return found->second;
}

bool IsXlsxName(const std::string& fileUtf8) {
    std::string extension = PathText(PathFromText(fileUtf8).extension());
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".xlsx";
}

void SaveSummary(const std::string& fileUtf8, const SummaryTable& table, Progress* progress) {
    if (IsXlsxName(fileUtf8))
        SaveListToXlsx(PathFromText(fileUtf8), true, table.Captions(), table.rows,
                       table.SheetLayout(), progress);
    else
        SaveListToXls(PathFromText(fileUtf8), true, table.Captions(), table.rows);
}

}  // namespace mlk
