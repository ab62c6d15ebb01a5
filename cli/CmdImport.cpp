// mlk import --pending JIGID FILE: imports a subordinate unit's exchange file under its pending
// institution; with --check it only reads the file and lists what the import would refuse.
#include <ostream>

#include "Command.h"
#include "PendingOption.h"
#include "base/MlkError.h"
#include "exchange/FileSender.h"
#include "exchange/ImportCheck.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "text/TextFileReader.h"

namespace mlk::cli {
namespace {

// Every problem on stdout, the verdict last; exit 0 only when the import would store the file.
int CheckOnly(CommandContext& context, TMainDM& dm, const DaiDRJG& pending,
              const std::filesystem::path& file) {
    ImportCheckResult result;
    {
        StderrProgress progress(context.err, "检查");
        result = CheckExchangeFile(dm, file, progress);
    }
    if (const CheckResult refusal = CheckImport(pending))
        result.refusals.push_back(refusal->message);
    if (!context.Has("force") && result.badLines.empty()) {
        if (const std::optional<std::string> mismatch =
                SenderMismatch(pending, ReadFileSender(file)))
            result.refusals.push_back(*mismatch + "确认导入请加 --force。");
    }
    for (const std::string& line : ImportCheckReport(result))
        context.out << line << "\n";
    return result.Passes() ? kExitDone : kExitRefused;
}

int RunImport(CommandContext& context) {
    TMainDM& dm = context.Dm();
    const DaiDRJG pending = PendingOfOption(dm, context);
    if (context.Has("check"))
        return CheckOnly(context, dm, pending,
                         StreamAsFile(PathFromText(context.positional[0])).Path());
    if (const CheckResult refusal = CheckImport(pending))
        throw MlkError(refusal->message);
    // Read twice, for its sender and then its rows: standard input is kept in a file meanwhile.
    const StreamAsFile file(PathFromText(context.positional[0]));
    if (!context.Has("force")) {
        if (const std::optional<std::string> mismatch =
                SenderMismatch(pending, ReadFileSender(file.Path())))
            throw MlkError(*mismatch + "确认导入请加 --force。");
    }
    StderrProgress progress(context.err, "导入");
    const long long rows = ImportExchangeFile(dm, pending, file.Path(), progress);
    if (rows == 0) {
        context.out << "文件中没有机构数据，未导入。\n";
    } else {
        context.out << ImportDoneMessage(rows) << "\n";
    }
    return 0;
}

const Registrar registrar(
    {.name = "import",
     .arguments = "文件",
     .summary = "在待导入机构下导入下级单位的上报文件",
     .options =
         {kPendingOption,
          {"force", nullptr, "文件看来是另一单位上报的，仍然导入到该待导入机构下", false},
          {"check", nullptr,
           "只检查文件：列出导入时会被拒绝的每一行和已在名录库中的每个机构ID，不存入任何数据；"
           "可以导入时退出码为0",
           false}},
     .minArguments = 1,
     .maxArguments = 1,
     .run = RunImport});

}  // namespace
}  // namespace mlk::cli
