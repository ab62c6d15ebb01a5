// mlk add-division --parent CODE --code CODE --name NAME: adds a city under a province or a
// county under a city, with the checks of the division window.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "setup/DivisionTree.h"

namespace mlk::cli {
namespace {

int RunAddDivision(CommandContext& context) {
    const std::string parentCode = context.Required("parent");
    TMainDM& dm = context.Dm();
    const XingZQH parent = dm.GetXingZQH(parentCode);
    if (parent.code.empty())
        throw MlkError("上级行政区划不存在：" + parentCode);
    if (const CheckResult refused = CheckAddUnder(&parent))
        throw MlkError(refused->message);
    const std::string name = context.Option("name");
    const std::string code = context.Option("code");
    if (const CheckResult refused = CheckNewDivision(dm, parent, name, code)) {
        throw MlkError(refused->message);
    }
    const XingZQH division = NewDivision(parent, name, code);
    InsertDivision(dm, division);
    context.out << "已新增" << division.XZJB << "：" << division.code << " " << division.name
                << "（上级：" << parent.code << " " << parent.name << "）\n";
    return 0;
}

const Registrar registrar({.name = "add-division",
                           .arguments = "",
                           .summary = "在省下新增市，或在市下新增县",
                           .options = {{"parent", "代码", "上级行政区划代码", true},
                                       {"code", "代码", "新行政区划的六位代码"},
                                       {"name", "名称", "新行政区划的名称"}},
                           .run = RunAddDivision,
                           .needs = Needs::kDatabase});

}  // namespace
}  // namespace mlk::cli
