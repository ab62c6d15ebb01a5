// mlk select: adds loaded initial-data rows to the directory, as the selection window does.
//   mlk select --ids ID,ID...
//   mlk select --all-unselected [--name TEXT] [--address TEXT]
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "data/Text.h"
#include "entry/Selection.h"

namespace mlk::cli {
namespace {

std::vector<InitialRow> ChosenRows(TMainDM& dm, const CommandContext& context) {
    if (context.Has("ids") == context.Has("all-unselected")) {
        throw MlkError("请给出 --ids 或 --all-unselected 之一");
    }
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
    TMainDM dm(context.db);
    const std::vector<InitialRow> rows = ChosenRows(dm, context);
    SelectionResult result;
    {
        StderrProgress progress(context.err, "添加到名录库");
        result = AddToDirectory(dm, rows, &progress);
    }
    context.out << SelectionMessage(result) << "\n";
    return 0;
}

const Registrar registrar("select",
                          "--ids ID,ID...|--all-unselected [--name 文本] [--address 文本]  "
                          "将初始数据添加到名录库",
                          RunSelect);

}  // namespace
}  // namespace mlk::cli
