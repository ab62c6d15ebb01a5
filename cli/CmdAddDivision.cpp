// mlk add-division --parent CODE --code CODE --name NAME: adds a city under a province or a
// county under a city, with the checks of the division window.
#include <ostream>

#include "Command.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "setup/DivisionTree.h"

namespace mlk::cli {
namespace {

int RunAddDivision(CommandContext& context) {
    TMainDM dm(context.db);
    const std::string parentCode = context.Required("parent");
    const XingZQH parent = dm.GetXingZQH(parentCode);
    if (parent.code.empty())
        throw MlkError("上级行政区划不存在：" + parentCode);
    if (const CheckResult refused = CheckAddUnder(&parent))
        throw MlkError(refused->message);
    const std::string name = context.Option("name");
    const std::string code = context.Option("code");
    if (const CheckResult refused = CheckNewDivision(dm, name, code)) {
        throw MlkError(refused->message);
    }
    const XingZQH division = NewDivision(parent, name, code);
    InsertDivision(dm, division);
    context.out << "已新增" << division.XZJB << "：" << division.code << " " << division.name
                << "（上级：" << parent.code << " " << parent.name << "）\n";
    return 0;
}

const Registrar registrar("add-division", "--parent 代码 --code 代码 --name 名称  新增行政区划",
                          RunAddDivision);

}  // namespace
}  // namespace mlk::cli
