// mlk backup FILE [--force]: a consistent copy of the database, also while another program
// writes to it.
#include <ostream>

#include "Command.h"
#include "base/MlkError.h"
#include "db/Backup.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"

namespace mlk::cli {
namespace {

int RunBackup(CommandContext& context) {
    const std::filesystem::path target = PathFromText(context.positional[0]);
    std::error_code error;
    if (std::filesystem::exists(target, error) && !std::filesystem::is_directory(target, error) &&
        !context.Has("force"))
        throw MlkError("文件 " + context.positional[0] + " 已存在；要覆盖它，请加 --force。");
    context.RequireDatabaseFile();
    // Read and write: a write that a kill interrupted is undone before the copy is taken.
    Database db(context.db, Database::Access::Existing);
    {
        StderrProgress progress(context.err, "备份");
        BackupDatabase(db, target, progress);
    }
    context.out << "已备份到 " << context.positional[0] << "\n";
    return kExitDone;
}

const Registrar registrar({.name = "backup",
                           .arguments = "文件",
                           .summary = "把数据库备份到文件（其他程序正在写入时也可备份）",
                           .options = {{"force", nullptr, "覆盖已有的文件", false}},
                           .minArguments = 1,
                           .maxArguments = 1,
                           .run = RunBackup,
                           .details = "备份文件是一个完整的数据库文件，可以用 mlk --db 文件 打开，"
                                      "或改名为 GGJGMLK.DB 放回程序的工作文件夹。\n"
                                      "备份先写到同一文件夹中的临时文件，检查完好后才替换目标文件；"
                                      "损坏的数据库不能备份。",
                           .needs = Needs::kDatabaseFile});

}  // namespace
}  // namespace mlk::cli
