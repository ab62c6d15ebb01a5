#include "exchange/ImportCheck.h"

#include <unordered_map>

#include "base/MlkError.h"
#include "db/EngineError.h"
#include "db/Integrity.h"
#include "exchange/ExchangeFile.h"
#include "exchange/RowUnits.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

// Conflicts a refusal names one by one.
constexpr std::size_t kNamedConflicts = 20;

std::string ConflictLine(const ImportConflict& c) {
    std::string line = LineName(c.line) + " 机构ID " + Excerpt(c.jigid, 40) + "：";
    if (c.earlierLine > 0)
        return line + "与" + LineName(c.earlierLine) + "相同";
    return line + "名录库中已有“" + c.name + "”，所属单位：" + c.unit;
}

}  // namespace

ImportCheckResult CheckExchangeFile(TMainDM& dm, const std::filesystem::path& file,
                                    Progress& progress) {
    // The check runs beside the reading, both on one state of the database.
    const ReadTransaction snapshot(dm.Db());
    QuickCheckAlongside check(dm.Db(), kNothingImported);
    ImportCheckResult result;
    try {
        result = CheckExchangeFileLines(dm, file, progress);
    } catch (const DbError& error) {
        if (MetDamage(error))  // a damaged page met on the way: told as the check tells it
            throw MlkError(DamagedMessage(dm.Db().Path(), kNothingImported));
        throw;
    }
    check.RequireUndamaged();
    return result;
}

ImportCheckResult CheckExchangeFileLines(TMainDM& dm, const std::filesystem::path& file,
                                         Progress& progress) {
    ExchangeReader reader(file);
    progress.SetRange(std::int64_t(reader.Size()) + 1);
    ImportCheckResult result;
    RowUnits units(dm);
    Statement existing(dm.Db(), "select JiGMC, ShuJLY, ShangBJGID from MLK_JiBXX where JiGID = ?");
    std::unordered_map<std::string, std::size_t> lineOfId;
    for (;;) {
        const std::uint64_t before = reader.Offset();
        try {
            if (!reader.Next())
                break;
        } catch (const MlkError& error) {
            // A reader that cannot get past a line (a zero byte) has said all it can.
            if (reader.Offset() == before && !result.badLines.empty())
                break;
            result.badLines.push_back(error.what());
            continue;
        }
        ++result.records;
        const std::string_view id = reader.Items()[0];
        const auto [seen, fresh] = lineOfId.try_emplace(std::string(id), reader.Line());
        if (!fresh) {
            result.conflicts.push_back({reader.Line(), seen->first, "", "", seen->second});
        } else if (existing.Bind(1, id).Step()) {
            result.conflicts.push_back({reader.Line(), seen->first, existing.Text(0),
                                        units.Of(existing.TextView(1), existing.TextView(2)), 0});
        }
        existing.Reset();
        progress.SetPosition(std::int64_t(reader.Offset()));
    }
    progress.SetPosition(std::int64_t(reader.Size()) + 1);
    return result;
}

std::vector<std::string> ImportCheckReport(const ImportCheckResult& result, std::size_t most) {
    std::vector<std::string> lines = result.refusals;
    lines.insert(lines.end(), result.badLines.begin(), result.badLines.end());
    for (const ImportConflict& c : result.conflicts)
        lines.push_back(ConflictLine(c));
    if (lines.size() > most) {
        const std::size_t problems = lines.size();
        lines.resize(most);
        lines.push_back("……共" + std::to_string(problems) + "处问题");
    }
    const std::string count = "文件共" + std::to_string(result.records) + "条机构信息";
    if (result.Passes()) {
        lines.push_back("检查通过：" + count + "，可以导入。");
    } else if (result.records == 0 && result.badLines.empty()) {
        lines.push_back("检查未通过：文件中没有机构数据，不能导入。");
    } else {
        lines.push_back("检查未通过：" + count + "，" + std::to_string(result.badLines.size()) +
                        "行有误，" + std::to_string(result.conflicts.size()) +
                        "个机构ID重复，不能导入。");
    }
    return lines;
}

std::string ConflictRefusal(const ImportCheckResult& result) {
    const std::size_t count = result.conflicts.size();
    std::string message = "文件中有" + std::to_string(count) +
                          "个机构ID已在名录库中或与前面的行相同，文件中的数据均未导入：";
    for (std::size_t i = 0; i < count && i < kNamedConflicts; ++i)
        message += "\n" + ConflictLine(result.conflicts[i]);
    if (count > kNamedConflicts)
        message += "\n……共" + std::to_string(count) + "个";
    if (!result.badLines.empty())
        message += "\n另有" + std::to_string(result.badLines.size()) + "行数据有误。";
    return message;
}

}  // namespace mlk
