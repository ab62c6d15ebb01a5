// mlk register: registers the operating unit with the checks and messages of the window.
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "setup/ZhuCe.h"

namespace mlk::cli {
namespace {

int RunRegister(CommandContext& context) {
    TMainDM dm(context.db);
    const setup::ZhuCeInput input = setup::InputFromCodes(
        dm, {context.Option("name"), context.Option("level"), context.Option("county"),
             context.Option("type"), context.Option("node"), context.Option("person")});
    if (const CheckResult failure = setup::ZhuCe(dm, input))
        throw MlkError(failure->message);
    const CaoZDWXX& unit = dm.Unit();
    context.out << "已注册：" << unit.DanWMC << "（" << unit.DanWLXMC << "，节点名称 "
                << unit.JieDMC << "，单位ID " << unit.DanWID << "）\n";
    return 0;
}

const Registrar registrar(
    "register",
    "--name 单位全称 --level 行政隶属级别代码(1-4) --county 区县代码 --type 单位类型(0 节能管理"
    "机构, 1 主管部门) [--node 节点名称] --person 填表人姓名\n"
    "            注册操作单位；不给节点名称时按单位类型自动生成",
    RunRegister);

}  // namespace
}  // namespace mlk::cli
