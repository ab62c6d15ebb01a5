// mlk pending: the pending institutions with their import and audit states.
#include <ostream>

#include "Command.h"
#include "exchange/Import.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunPending(CommandContext& context) {
    TMainDM& dm = context.Dm();
    context.out << "机构ID\t机构名称\t节点类别\t导入状态\t导入时间\t导入数量\t审核状态\n";
    for (const DaiDRJG& p : PendingInstitutions(dm)) {
        context.out << p.JiGID << "\t" << p.JiGMC << "\t" << dm.CodeLabel(p.JieDLB, "JieDLB")
                    << "\t" << dm.CodeLabel(p.DaoRZT, "DaoRZT") << "\t" << p.DaoRSJ << "\t"
                    << p.DaoRSL << "\t" << dm.CodeLabel(p.ShenHZT, "ShenHZT") << "\n";
    }
    return 0;
}

const Registrar registrar({.name = "pending",
                           .arguments = "",
                           .summary = "列出待导入机构及其导入、审核状态",
                           .run = RunPending});

}  // namespace
}  // namespace mlk::cli
