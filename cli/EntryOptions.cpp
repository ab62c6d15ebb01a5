#include "EntryOptions.h"

#include <ostream>

namespace mlk::cli {

const std::vector<OptionSpec>& EntryFieldOptions() {
    static const std::vector<OptionSpec> options = {
        {"jigmc", "名称", "单位详细名称"},
        {"zuzjgdm", "代码", "组织机构代码（9位；给出18位统一社会信用代码时取其第9至17位）"},
        {"hangydm", "代码", "行业代码（不超过5位）"},
        {"jiglx", "代码", "机构类型：最末一级的类型代码，如 8230 普通中学"},
        {"caizjflyfs", "代码", "财政经费来源方式：0 全额财政，1 部分财政"},
        {"xingzjb", "代码", "行政级别：0 省（部）级 至 8 副乡(科)级以下"},
        {"xingzqh", "代码", "所在区县的行政区划代码；单位地址的省、市、县随之选定"},
        {"dizhi_jied", "文本", "街道"},
        {"dizhi_haop", "文本", "号牌"},
        {"youzbm", "数字", "邮政编码"},
        {"lianxrxm", "姓名", "联系人"},
        {"lianxdh", "数字", "联系电话（只能是数字）"},
        {"chushsj", "日期", "填表日期；录入时默认今天"},
        {"shunx", "数字", "排序"},
        {"jiedmc", "名称", "节点名称（只用于下级管理机构）"},
    };
    return options;
}

void PrintNotes(std::ostream& err, const EntryNotes& notes) {
    for (const std::string& note : notes)
        err << "警告：" << note << "\n";
}

EntryValues EntryValuesOf(const CommandContext& context, bool agency) {
    EntryValues values;
    for (const OptionSpec& option : EntryFieldOptions()) {
        if (!context.Has(option.name))
            continue;
        if (agency && !AgencyHasColumn(option.name))
            throw UsageError(std::string("下级管理机构没有 --") + option.name + " 一项");
        if (!agency && std::string(option.name) == "jiedmc")
            throw UsageError(
                "同级主管部门和下属公共机构的节点名称取单位详细名称，不能给出 --jiedmc");
        values[option.name] = context.Option(option.name);
    }
    return values;
}

}  // namespace mlk::cli
