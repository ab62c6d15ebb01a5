#include "model/Maintenance.h"

#include <algorithm>
#include <system_error>

#include "base/MlkError.h"
#include "db/Backup.h"
#include "db/Integrity.h"
#include "db/Schema.h"
#include "model/CaoZDWXX.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"

namespace mlk {

namespace {

// The findings a report lists; the rest are only counted.
constexpr std::size_t kListedFindings = 5;

const std::filesystem::path& NotTheDatabase(TMainDM& dm, const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::equivalent(dm.Db().Path(), file, error))
        throw MlkError("文件 " + PathText(file) + " 就是正在使用的数据库，不能用它本身恢复。");
    return file;
}

// Characters that a file name cannot hold on Windows.
std::string FileNamePart(std::string text) {
    for (char& c : text) {
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return text;
}

}  // namespace

std::string BackupFileName(const CaoZDWXX& unit) {
    const std::string name = unit.ZhuCeBZ && !unit.JieDMC.empty() ? unit.JieDMC : "GGJGMLK";
    return FileNamePart(name) + "-" + FileTimeStamp() + ".DB";
}

std::string CheckReport(const std::filesystem::path& database,
                        const std::vector<std::string>& findings) {
    if (findings.empty())
        return "数据库文件 " + PathText(database) + " 完好，没有发现问题。";
    std::string report = "数据库文件 " + PathText(database) + " 已损坏（发现" +
                         std::to_string(findings.size()) +
                         "处问题）。\n请不要再录入或导入数据：用“数据维护”中的“恢复数据库”从最近"
                         "的备份恢复（“备份”文件夹中有删除和恢复之前自动保存的副本）。\n\n"
                         "供技术人员参考：";
    for (std::size_t i = 0; i < std::min(findings.size(), kListedFindings); ++i)
        report += "\n" + findings[i];
    if (findings.size() > kListedFindings)
        report += "\n……";
    return report;
}

CheckedBackup::CheckedBackup(TMainDM& dm, const std::filesystem::path& file, Progress& progress)
    : db_(NotTheDatabase(dm, file), Database::Access::ReadOnly) {
    const std::string shown = PathText(file);
    if (const std::vector<std::string> findings = CheckDatabase(db_, CheckDepth::Quick, progress);
        !findings.empty()) {
        throw MlkError("备份文件 " + shown + " 已损坏，不能用来恢复。\n（" + findings.front() +
                       "）");
    }
    RequireProgramSchema(db_);
    Statement unit(db_, "select DanWID, DanWMC from MLK_CaoZDWXX");
    if (!unit.Step()) {
        throw MlkError("备份文件 " + shown +
                       " 中没有注册的操作单位，不是用过的名录库，不能用来恢复。");
    }
    unitName_ = unit.Text(1);
    Statement count(db_, "select count(1) from MLK_JiBXX");
    count.Step();
    entries_ = count.Int(0);
    if (dm.Unit().ZhuCeBZ && unit.Text(0) != dm.Unit().DanWID) {
        otherUnit_ = "备份文件属于另一单位“" + unitName_ + "”，不是本单位“" + dm.Unit().DanWMC +
                     "”的名录库。恢复后，名录库中的数据将全部换成“" + unitName_ + "”的。";
    }
}

std::string CheckedBackup::Question(SafetyCopy copy) const {
    return "将用备份中单位“" + unitName_ + "”的" + std::to_string(entries_) +
           "条机构信息替换当前数据库中的全部数据" +
           (copy == SafetyCopy::Keep ? "（替换前的数据库先保存到“备份”文件夹）" : "") +
           "。确认恢复吗？";
}

void RestoreDatabase(TMainDM& dm, CheckedBackup& backup, SafetyCopy copy, Progress& progress) {
    // One bar for both copies of the database, each about as long as the other.
    const int stages = copy == SafetyCopy::Keep ? 2 : 1;
    if (copy == SafetyCopy::Keep) {
        ProgressStage safetyCopy(progress, 0, stages);
        KeepSafetyCopy(dm.Db(), kRestoreOperation, safetyCopy);
    }
    ProgressStage restore(progress, stages - 1, stages);
    CopyDatabaseInto(backup.Db(), dm.Db(), restore);
    // The database is replaced now: a stop asked for from here on comes too late to undo it.
    dm.Db().SetWatch(nullptr);
    dm.Reload();
}

std::string RestoredMessage(const std::filesystem::path& database, SafetyCopy copy) {
    std::string message = "数据库已从备份恢复。";
    if (copy == SafetyCopy::Keep) {
        message += "恢复前的数据库保存在文件夹 " + PathText(SafetyCopyFolder(database)) + " 中。";
    }
    return message;
}

}  // namespace mlk
