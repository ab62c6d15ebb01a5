// mlk remove-import --pending JIGID [--yes]: removes what was imported under a pending
// institution; without --yes it only tells what it would remove.
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "exchange/Import.h"

namespace mlk::cli {
namespace {

int RunRemoveImport(CommandContext& context) {
    TMainDM dm(context.db);
    const std::string id = context.Required("pending");
    const std::optional<DaiDRJG> pending = LoadPending(dm, id);
    if (!pending)
        throw MlkError("没有机构ID为 " + id + " 的待导入机构");
    if (!context.Has("yes")) {
        throw MlkError("将删除" + pending->JiGMC + "下已导入的" +
                       std::to_string(ImportedRowCount(dm, *pending)) +
                       "条机构信息；确认删除请加 --yes。");
    }
    const long long removed = RemoveImport(dm, *pending);
    context.out << "已删除" << removed << "条导入的机构信息数据。\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "remove-import",
     .arguments = "",
     .summary = "删除在待导入机构下导入的数据",
     .options = {{"pending", "机构ID", "待导入机构的机构ID（见 mlk pending）", true},
                 {"yes", nullptr, "确认删除；不加时只显示将删除多少条，不删除", false}},
     .run = RunRemoveImport});

}  // namespace
}  // namespace mlk::cli
