// mlk select: adds loaded initial-data rows to the directory, as the selection window does.
//   mlk select --ids ID,ID...
//   mlk select --all-unselected [--name TEXT] [--address TEXT]
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "entry/Selection.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk::cli {
namespace {

void CheckChoice(const CommandContext& context) {
    if (context.Has("ids") == context.Has("all-unselected"))
        throw UsageError("请给出 --ids 或 --all-unselected 之一");
    if (context.Has("ids") && (context.Has("name") || context.Has("address")))
        throw UsageError("--name 和 --address 只与 --all-unselected 一起使用");
}

std::vector<InitialRow> ChosenRows(TMainDM& dm, const CommandContext& context) {
    if (context.Has("all-unselected")) {
        SelectionFilter filter;
        filter.name = context.Option("name");
        filter.address = context.Option("address");
        return UnchosenRows(dm, filter);
    }
    std::vector<std::string> ids;
    for (const std::string& id : SplitText(context.Required("ids"), ',')) {
        if (!Trim(id).empty())
            ids.push_back(Trim(id));
    }
    std::vector<InitialRow> rows;
    // As in the window, a row already added cannot be chosen again.
    for (InitialRow& row : RowsByIds(dm, ids)) {
        if (row.CanBeChosen()) {
            rows.push_back(std::move(row));
        } else {
            context.err << "已入库，跳过：" << row.ID << " " << row.NAME << "\n";
        }
    }
    return rows;
}

int RunSelect(CommandContext& context) {
    CheckChoice(context);
    TMainDM& dm = context.Dm();
    const std::vector<InitialRow> rows = ChosenRows(dm, context);
    SelectionResult result;
    {
        StderrProgress progress(context.err, "添加到名录库");
        result = AddToDirectory(dm, rows, &progress);
    }
    context.out << SelectionMessage(result) << "\n";
    return 0;
}

const Registrar registrar(
    {.name = "select",
     .arguments = "",
     .summary = "将初始数据中的机构添加到名录库",
     .options = {{"ids", "ID,ID...", "按初始数据ID选择；已入库的跳过", false, true},
                 {"all-unselected", nullptr, "选择全部未入库的机构"},
                 {"name", "文本", "与 --all-unselected 一起：名称包含该文本"},
                 {"address", "文本", "与 --all-unselected 一起：地址包含该文本"}},
     .run = RunSelect});

}  // namespace
}  // namespace mlk::cli
