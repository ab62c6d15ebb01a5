// mlk rename-division --code CODE --name NAME and mlk remove-division --code CODE --yes: change a
// city or a county that nothing uses, with the checks and messages of the division window.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "model/TMainDM.h"
#include "setup/DivisionTree.h"
#include "text/Text.h"

namespace mlk::cli {
namespace {

// The division of --code, refused as the window refuses it before it asks for anything.
XingZQH ChangeableDivision(CommandContext& context, bool removing) {
    const std::string code = context.Required("code");
    TMainDM& dm = context.Dm();
    const XingZQH division = dm.GetXingZQH(code);
    if (division.code.empty())
        throw MlkError("行政区划不存在：" + code);
    if (const CheckResult refused = CheckChangeDivision(dm, division, removing))
        throw MlkError(refused->message);
    return division;
}

int RunRenameDivision(CommandContext& context) {
    const XingZQH division = ChangeableDivision(context, false);
    const std::string name = context.Option("name");
    RenameDivision(context.Dm(), division, name);
    context.out << "已修改" << division.XZJB << "：" << division.code << " " << Trim(name)
                << "（原名：" << division.name << "）\n";
    return kExitDone;
}

int RunRemoveDivision(CommandContext& context) {
    const XingZQH division = ChangeableDivision(context, true);
    // The window asks before it removes; --yes is the answer given in advance.
    if (!context.Has("yes"))
        throw MlkError(RemoveDivisionQuestion(division) + "\n确认删除请加 --yes。");
    RemoveDivision(context.Dm(), division);
    context.out << "已删除" << division.XZJB << "：" << division.code << " " << division.name
                << "\n";
    return kExitDone;
}

constexpr const char* kUnchangeable =
    "省级行政区划，以及已被操作单位、名录库中的机构、待导入机构或初始数据使用的行政区划（市包括其下"
    "的县），不能修改或删除。";

const Registrar renamer({.name = "rename-division",
                         .arguments = "",
                         .summary = "修改市或县的名称（未被使用的）",
                         .options = {{"code", "代码", "要修改的行政区划代码", true},
                                     {"name", "名称", "新的名称"}},
                         .run = RunRenameDivision,
                         .details = kUnchangeable,
                         .needs = Needs::kDatabase});

const Registrar remover({.name = "remove-division",
                         .arguments = "",
                         .summary = "删除没有下级、未被使用的市或县",
                         .options = {{"code", "代码", "要删除的行政区划代码", true},
                                     {"yes", nullptr, "确认删除；不加时只检查并说明将删除哪个"}},
                         .run = RunRemoveDivision,
                         .details = std::string(kUnchangeable) + "有下级的市也不能删除。",
                         .needs = Needs::kDatabase});

}  // namespace
}  // namespace mlk::cli
