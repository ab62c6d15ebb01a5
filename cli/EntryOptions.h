#pragma once

#include <iosfwd>
#include <vector>

#include "Command.h"
#include "entry/OwnEntries.h"

namespace mlk::cli {

// The options of the editors' fields for add and update: the MLK_JiBXX column names in lower
// case, so that a script maps table columns to options mechanically.
const std::vector<OptionSpec>& EntryFieldOptions();

// The field options given, as values for the editor of an agency or of an institution; a field
// that editor does not have is wrong usage.
EntryValues EntryValuesOf(const CommandContext& context, bool agency);

// What the editor would have said or asked, each a warning line on stderr.
void PrintNotes(std::ostream& err, const EntryNotes& notes);

// What add and update say about the fields in their help.
inline constexpr const char* kEntryFieldsHelp =
    "选项名是 MLK_JiBXX 的列名（小写），代码按代码给出（如 --jiglx 8230 --xingzjb 4）。\n"
    "下级管理机构（agency）只有 --jigmc、--jiedmc、--lianxrxm、--lianxdh、--shunx "
    "五项；其余机构的\n"
    "节点名称取单位详细名称，上级主管部门由程序填写，与编辑窗口相同。检查的次序和提示也与编辑窗口相"
    "同。";

}  // namespace mlk::cli
