#include "model/CodeTables.h"

#include "base/MlkError.h"
#include "text/Text.h"

namespace mlk {

bool IsChosen(std::string_view text) {
    const std::string trimmed = Trim(text);
    return !trimmed.empty() && trimmed != kAllItem && trimmed != kEmptyTypeItem;
}

CodeTables::CodeTables(std::vector<std::string> jiGLXEntries) {
    tables_["GengXZT"] = {"0-新增", "1-修改", "2-删除", "3-导入"};
    tables_["DaoRZT"] = {"0-未导入", "1-已导入"};
    tables_["QueRZT"] = {"0-未确认", "1-已确认"};
    tables_["XingZLSJB"] = {"1-中央", "2-省(自治区、直辖市)", "3-地(区、市、州、盟)",
                            "4-县(区、市、旗)"};
    tables_["XingZJB"] = {"0-省（部）级",   "1-副省（部）级", "2-厅（司）级",
                          "3-副厅（司）级", "4-县(处)级",     "5-副县(处)级",
                          "6-乡(科)级",     "7-副乡(科)级",   "8-副乡(科)级以下"};
    tables_["CaiZJFSY"] = {"0-全额财政", "1-部分财政"};
    tables_["ShenHZT"] = {"0-未审核", "1-已审核"};
    tables_["JieDLB"] = {"0-节能管理机构", "1-主管部门"};
    tables_["JiGLX"] = std::move(jiGLXEntries);
    tables_["XuanZBZ"] = {"0-未入库", "1-已入库"};
}

const std::vector<std::string>* CodeTables::CodeList(std::string_view key) const {
    const auto found = tables_.find(key);
    return found == tables_.end() ? nullptr : &found->second;
}

std::string CodeTables::CodeLabel(std::string_view code, std::string_view key) const {
    const std::vector<std::string>* table = CodeList(key);
    if (!table)
        return {};
    for (const std::string& entry : *table) {
        if (Trim(entry).empty() || entry.find('-') == std::string::npos)
            continue;
        const std::vector<std::string> pieces = SplitText(entry, '-');
        if (!pieces.empty() && pieces[0] == code)
            return pieces.size() > 1 ? pieces[1] : "";
    }
    return {};
}

std::string CodeTables::ChooseCode(std::string_view code, std::string_view key,
                                   std::string_view what) const {
    if (code.empty())
        return std::string(kAllItem);
    const std::string label = CodeLabel(code, key);
    if (label.empty())
        throw MlkError(std::string(what) + "代码无效：" + std::string(code));
    return std::string(code) + "-" + label;
}

std::vector<std::string> CodeTables::ComboItems(std::string_view key) const {
    std::vector<std::string> items{std::string(kAllItem)};
    if (const std::vector<std::string>* table = CodeList(key)) {
        items.insert(items.end(), table->begin(), table->end());
    }
    return items;
}

}  // namespace mlk
