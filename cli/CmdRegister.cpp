// mlk register: registers the operating unit with the checks and messages of the window.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "setup/ZhuCe.h"

namespace mlk::cli {
namespace {

int RunRegister(CommandContext& context) {
    TMainDM& dm = context.Dm();
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
    {.name = "register",
     .arguments = "",
     .summary = "注册操作单位（只能注册一次）",
     .options = {{"name", "名称", "单位全称"},
                 {"level", "代码", "行政隶属级别：1 中央，2 省，3 地，4 县"},
                 {"county", "代码", "所在区县的行政区划代码（无下辖区县的市给市的代码）"},
                 {"type", "代码", "单位类型：0 节能管理机构，1 主管部门"},
                 {"node", "名称", "节点名称；不给时按单位类型生成，与窗口相同"},
                 {"person", "姓名", "填表人姓名"}},
     .run = RunRegister,
     .details = "检查的次序和提示与“软件使用单位信息”窗口相同。",
     .needs = Needs::kDatabase});

}  // namespace
}  // namespace mlk::cli
