#include "entry/InitialData.h"

#include "base/MlkError.h"
#include "base/Progress.h"
#include "forms/Check.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "text/Text.h"
#include "text/TextFileReader.h"

namespace mlk {

namespace {

constexpr const char* kInsertSql =
    "Insert into MLK_YuanJGXX (ID,NAME,BM,SF,DS,XQ,JIED,BH1,XuanZBZ) VALUES "
    "(?,?,?,?,?,?,?,?,?)";

// The pieces a row stores (counted from 1), by the names messages give them.
constexpr struct {
    std::size_t number;
    const char* name;
} kStoredPieces[] = {{1, "机构ID"}, {2, "名称"}, {4, "省"}, {5, "市"}, {6, "县"}, {9, "街道"}};

// So many skipped line numbers are named; the rest are only counted.
constexpr std::size_t kListedSkippedLines = 20;

bool NeedsQuotes(std::string_view piece) {
    for (unsigned char c : piece) {
        if (c <= ' ' || c == '"')
            return true;
    }
    return false;
}

std::string Quoted(std::string_view piece) {
    std::string out = "\"";
    for (char c : piece) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// The record of a line, or false when the line yields no row.
bool RecordOfLine(const std::vector<std::string>& pieces, GGJG& record) {
    record.FromInitialFields(pieces);
    return !record.JiGID.empty() && !record.JiGMC.empty() && !record.DiZhi_Shen.empty() &&
           !record.DiZhi_Shi.empty() && !record.DiZhi_Xian.empty();
}

}  // namespace

std::string WrongPieceCountMessage(std::size_t line, const std::vector<std::string>& pieces) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i)
            joined += ',';
        joined += NeedsQuotes(pieces[i]) ? Quoted(pieces[i]) : pieces[i];
    }
    return "第" + std::to_string(line) + "行：" + Excerpt(joined) + "数据项不正确，数据项不为13个";
}

bool InitialDataImported(TMainDM& dm) {
    return InitialRowCount(dm) != 0;
}

long long InitialRowCount(TMainDM& dm) {
    return dm.QueryInt("select count(1) as sl from MLK_YuanJGXX ");
}

std::string RemoveInitialQuestion(long long rows) {
    return "确认删除已导入的 (" + std::to_string(rows) +
           ") 条初始数据？已添加到名录库的机构不受影响。";
}

InitialLoadResult LoadInitialData(TMainDM& dm, const std::filesystem::path& file,
                                  Progress* progress) {
    if (InitialDataImported(dm))
        throw MlkError(std::string(kAlreadyImportedMessage));
    TextFileReader reader(file);
    if (progress)
        progress->SetRange(std::int64_t(reader.Size()));

    InitialLoadResult result;
    Transaction transaction(dm.Db());
    Statement insert(dm.Db(), kInsertSql);
    std::string line;
    for (; reader.AppendLine(line); line.clear()) {
        const bool utf8 = reader.ToUtf8(line, reader.Line()) == TextEncoding::Utf8;
        // One piece too many is enough to refuse the line.
        const std::vector<std::string> pieces = SplitText(line, ',', kInitialPieces + 1);
        if (pieces.size() != kInitialPieces)
            throw MlkError(WrongPieceCountMessage(reader.Line(), pieces));
        // Only UTF-8 can hold characters that GBK has none for; stored, they could never travel.
        for (const auto& [number, name] : kStoredPieces) {
            if (utf8)
                RequireItemInGbk(pieces[number - 1], reader.Line(), number, name);
        }
        GGJG record;
        if (RecordOfLine(pieces, record)) {
            insert
                .BindAll({record.JiGID, record.JiGMC, record.JiGID, record.DiZhi_Shen,
                          record.DiZhi_Shi, record.DiZhi_Xian, record.DiZhi_JieD, record.JiGLX,
                          record.XuanZBZ})
                .Run();
            insert.Reset();
            ++result.stored;
        } else {
            result.skippedLines.push_back(reader.Line());
        }
        if (progress)
            progress->SetPosition(std::int64_t(reader.Offset()));
    }
    result.lines = reader.Line();
    transaction.Commit();
    return result;
}

std::string InitialLoadMessage(const InitialLoadResult& result) {
    std::string message = "已成功导入" + std::to_string(result.stored) + "条机构信息数据。";
    if (result.skippedLines.empty())
        return message;
    message += "\n另有" + std::to_string(result.skippedLines.size()) +
               "行因机构ID、名称、省、市或县为空未导入：第";
    for (std::size_t i = 0; i < result.skippedLines.size() && i < kListedSkippedLines; ++i) {
        if (i)
            message += "、";
        message += std::to_string(result.skippedLines[i]);
    }
    message += "行";
    if (result.skippedLines.size() > kListedSkippedLines)
        message += "等";
    return message + "。";
}

void RemoveInitialData(TMainDM& dm, SafetyCopy copy, Progress& progress) {
    if (copy == SafetyCopy::Keep)
        KeepSafetyCopy(dm.Db(), "删除初始数据", progress);
    dm.ExecSQL(" delete from MLK_YuanJGXX ");
}

}  // namespace mlk
