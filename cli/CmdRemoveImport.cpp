// mlk remove-import --pending JIGID: removes what was imported under a pending institution.
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
    const long long removed = RemoveImport(dm, *pending);
    context.out << "已删除" << removed << "条导入的机构信息数据。\n";
    return 0;
}

const Registrar registrar({.name = "remove-import",
                           .arguments = "",
                           .summary = "删除在待导入机构下导入的数据",
                           .options = {{"pending", "机构ID", "待导入机构的机构ID（见 mlk pending）",
                                        true}},
                           .run = RunRemoveImport});

}  // namespace
}  // namespace mlk::cli
