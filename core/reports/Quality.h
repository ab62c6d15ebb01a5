#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "reports/SummaryTable.h"

namespace mlk {

class TMainDM;

// What 数据质量检查 looks for in the whole directory, own and imported rows alike, in the order
// the report lists them.
inline constexpr std::array<const char*, 8> kQualityCategories = {
    "组织机构代码校验位", "组织机构代码重复", "名称重复",         "邮政编码与省份不符",
    "联系电话格式",       "行政区划代码无效", "机构类型代码无效", "行业代码格式"};

// The five columns of a finding.
inline constexpr std::array<const char*, 5> kQualityColumns = {"类别", "机构ID", "机构名称",
                                                               "所属单位", "说明"};

struct QualityReport {
    TextRows findings;      // the five columns, by category, each in the directory's order
    std::vector<bool> own;  // per finding: an own entry of the operating unit
    std::array<std::size_t, kQualityCategories.size()> counts{};
};

// Looks through every row of the directory once. Energy-saving management agencies carry only a
// name, a contact and a telephone number: only the number is looked at.
QualityReport CheckQuality(TMainDM& dm, Progress& progress);

// The report as the window and the files show it: the running number, then the five columns.
SummaryTable QualityTable(const QualityReport& report);

// "共N条问题" and the count of each category that has any.
std::string QualityCounts(const QualityReport& report);

}  // namespace mlk
