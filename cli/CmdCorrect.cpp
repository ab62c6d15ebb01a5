// mlk correct JIGID COLUMN VALUE: replaces a stored value that the exchange file cannot carry, as
// the export names them, in any row of the directory; the way out for what an earlier build let
// in.
#include <ostream>

#include "Command.h"
#include "exchange/Correction.h"
#include "exchange/ExchangeFile.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunCorrect(CommandContext& context) {
    TMainDM dm(context.db);
    const Correction correction{context.positional[0], ItemOfColumn(context.positional[1]),
                                context.positional[2]};
    CorrectUntravelable(dm, {correction});
    context.out << "已改正：" << correction.jiGID << " 的"
                << kExchangeItemsInOrder[correction.item].name << "\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "correct",
     .arguments = "机构ID 列名 新值",
     .summary = "改正无法导出的数据（GBK编码无法表示的字符、超出32位的整数）",
     .minArguments = 3,
     .maxArguments = 3,
     .run = RunCorrect,
     .details = "只能改正 mlk export 列出的项目，已通过核查和已审核的机构也可以改正；其他项目"
                "请用 update 修改。\n列名是 MLK_JiBXX 的列名（如 JiGMC、ShunX），新值须能用GBK编码"
                "保存，整数须在-2147483648至2147483647之间。"});

}  // namespace
}  // namespace mlk::cli
