// mlk audit --unit JIGID: approves every institution a directly subordinate unit delivered, as
// the audit window's "审核" does.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "exchange/Audit.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunAudit(CommandContext& context) {
    const std::string id = context.Required("unit");
    TMainDM& dm = context.Dm();
    const GGJG node = GGJG::LoadByJiGID(dm, id);
    if (node.JiGID.empty())
        throw MlkError("没有机构ID为 " + id + " 的机构");
    const long long approved = Approve(dm, node);
    context.out << "已审核通过" << node.JieDMC << "下的" << approved << "条机构信息。\n";
    return kExitDone;
}

const Registrar registrar(
    {.name = "audit",
     .arguments = "",
     .summary = "审核直属下级单位上报的全部机构信息",
     .options = {{"unit", "机构ID", "直属下级单位（同级主管部门或下级管理机构）的机构ID", true}},
     .run = RunAudit,
     .details = "审核后不能再次审核或删除；已审核的单位不能再次审核。"});

}  // namespace
}  // namespace mlk::cli
