// mlk confirm JIGID... | --all: confirms own entries one at a time as the editors' confirm mode
// does; the entries that do not pass are listed with their message.
#include <ostream>

#include "Command.h"
#include "entry/OwnEntries.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunConfirm(CommandContext& context) {
    if (context.Has("all") != context.positional.empty())
        throw UsageError("请给出机构ID，或者 --all（两者不能同时给出）");
    TMainDM& dm = context.Dm();
    const std::vector<std::string> ids =
        context.Has("all") ? UnconfirmedOwnEntries(dm) : context.positional;
    long long passed = 0, refused = 0;
    for (const std::string& id : ids) {
        const std::optional<GGJG> entry = FindOwnEntry(dm, id);
        const CheckResult failure =
            entry ? ConfirmOwnEntry(dm, *entry) : CheckFailure{NotOwnEntryMessage(id), ""};
        const std::string name = entry ? entry->JiGMC : "";
        if (failure) {
            context.err << "未通过核查：" << id << "\t" << name << "\t" << failure->message << "\n";
            ++refused;
        } else {
            context.out << "已通过核查：" << id << "\t" << name << "\n";
            ++passed;
        }
    }
    context.out << "通过核查 " << passed << " 条，未通过 " << refused << " 条\n";
    return refused ? kExitRefused : kExitDone;
}

const Registrar registrar(
    {.name = "confirm",
     .arguments = "[机构ID...]",
     .summary = "使机构通过核查（确认后不能再修改和删除），并列入上级的待导入机构",
     .options = {{"all", nullptr, "本单位录入的全部未确认机构"}},
     .maxArguments = kAnyNumber,
     .run = RunConfirm,
     .details = "逐条检查、确认：通过的写在标准输出，未通过的连同提示写在标准错误输出；\n"
                "有未通过的机构时退出码为 1。"});

}  // namespace
}  // namespace mlk::cli
