// mlk import --pending JIGID FILE: imports a subordinate unit's exchange file under its pending
// institution.
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/Platform.h"
#include "data/TMainDM.h"
#include "exchange/Import.h"

namespace mlk::cli {
namespace {

int RunImport(CommandContext& context) {
    TMainDM dm(context.db);
    const std::string id = context.Required("pending");
    const std::optional<DaiDRJG> pending = LoadPending(dm, id);
    if (!pending)
        throw MlkError("没有机构ID为 " + id + " 的待导入机构");
    if (const CheckResult refusal = CheckImport(*pending))
        throw MlkError(refusal->message);
    StderrProgress progress(context.err, "导入");
    const long long rows =
        ImportExchangeFile(dm, *pending, PathFromText(context.positional[0]), progress);
    if (rows == 0) {
        context.out << "文件中没有机构数据，未导入。\n";
    } else {
        context.out << ImportDoneMessage(rows) << "\n";
    }
    return 0;
}

const Registrar registrar({.name = "import",
                           .arguments = "文件",
                           .summary = "在待导入机构下导入下级单位的上报文件",
                           .options = {{"pending", "机构ID", "待导入机构的机构ID（见 mlk pending）",
                                        true}},
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunImport});

}  // namespace
}  // namespace mlk::cli
