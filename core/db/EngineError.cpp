#include "db/EngineError.h"

#include <sqlite3.h>

#include <string>

#include "platform/Platform.h"

namespace mlk {

namespace {

// What went wrong, in the user's words; empty for failures that only a developer can mend.
std::string Reason(int code, const std::filesystem::path& path) {
    const std::string file = PathText(path);
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "数据库文件 " + file + " 正被其他程序使用，请等其他程序完成后再试。";
        case SQLITE_READONLY:
            if (code == SQLITE_READONLY_ROLLBACK) {
                return "数据库文件 " + file + " 上次的修改被中断（旁边留有 " + file +
                       "-journal），要先撤销它才能打开，但文件或所在文件夹不允许写入：请把这两个"
                       "文件一起复制到可以写入的文件夹后再打开。";
            }
            return "数据库文件 " + file +
                   " 是只读的（文件或所在文件夹不允许写入，例如光盘或共享文件夹上的文件），"
                   "无法保存修改。";
        case SQLITE_FULL:
            return "磁盘已满，无法写入数据库文件 " + file + "，修改没有保存。";
        case SQLITE_CORRUPT:
            return DamagedMessage(path);
        case SQLITE_NOTADB:
            return "文件 " + file + " 不是数据库文件。";
        case SQLITE_CONSTRAINT:
            return "数据库文件 " + file + " 中已有相同的数据（如相同的机构ID），修改没有保存。";
        case SQLITE_IOERR:
            return "读写数据库文件 " + file + " 时出错（磁盘或网络故障），操作没有完成。";
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return "无法打开数据库文件 " + file + "（文件或所在文件夹不存在，或不允许访问）。";
        case SQLITE_NOMEM:
            return "内存不足，无法处理数据库文件 " + file + "。";
        default:
            return {};
    }
}

}  // namespace

std::string DamagedMessage(const std::filesystem::path& file) {
    return "数据库文件 " + PathText(file) + " 已损坏，请从备份恢复。";
}

std::string DamagedMessage(const std::filesystem::path& file, std::string_view notDone) {
    return "数据库文件 " + PathText(file) + " 已损坏，" + std::string(notDone) +
           "。\n请在“数据维护”菜单中用“检查数据库”查看，再用“恢复数据库”从最近的备份恢复"
           "（“备份”文件夹中有删除和恢复之前自动保存的副本）。";
}

DbError TemporaryFolderError(int code, std::string_view engineText) {
    return DbError("无法写入临时文件夹 " + PathText(platform::TemporaryFolder()) +
                       "（磁盘已满或出错），操作没有完成。（SQLite：" + std::string(engineText) +
                       "）",
                   code);
}

DbError EngineError(int code, const std::filesystem::path& file, std::string_view engineText,
                    std::string_view sql) {
    const std::string reason = Reason(code, file);
    if (reason.empty()) {
        std::string message(engineText);
        if (!sql.empty())
            message += "\n" + std::string(sql);
        return DbError(message, code);
    }
    return DbError(reason + "（SQLite：" + std::string(engineText) + "）", code);
}

}  // namespace mlk
