// mlk confirm JIGID... | --all: confirms own entries as the editors' confirm mode does, those
// that pass all at once; the entries that do not pass are listed with their message.
#include <ostream>

#include "Command.h"
#include "entry/BatchConfirm.h"
#include "model/TMainDM.h"

namespace mlk::cli {
namespace {

int RunConfirm(CommandContext& context) {
    if (context.Has("all") != context.positional.empty())
        throw UsageError("请给出机构ID，或者 --all（两者不能同时给出）");
    TMainDM& dm = context.Dm();
    const std::vector<std::string> ids =
        context.Has("all") ? UnconfirmedOwnEntries(dm) : context.positional;
    NoProgress quiet;  // stderr carries only the entries that do not pass
    const std::vector<ConfirmOutcome> outcomes = ConfirmOwnEntries(dm, ids, quiet);
    bool refused = false;
    for (const ConfirmOutcome& outcome : outcomes) {
        if (outcome.failure) {
            context.err << "未通过核查：" << outcome.JiGID << "\t" << outcome.JiGMC << "\t"
                        << outcome.failure->message << "\n";
            refused = true;
        } else {
            context.out << "已通过核查：" << outcome.JiGID << "\t" << outcome.JiGMC << "\n";
        }
    }
    context.out << ConfirmSummary(outcomes) << "\n";
    return refused ? kExitRefused : kExitDone;
}

const Registrar registrar(
    {.name = "confirm",
     .arguments = "[机构ID...]",
     .summary = "使机构通过核查（确认后不能再修改和删除），并列入上级的待导入机构",
     .options = {{"all", nullptr, "本单位录入的全部未确认机构"}},
     .maxArguments = kAnyNumber,
     .run = RunConfirm,
     .details =
         "逐条检查，通过的一次全部确认：通过的写在标准输出，未通过的连同提示写在标准错误输出；"
         "\n有未通过的机构时退出码为 1。"});

}  // namespace
}  // namespace mlk::cli
