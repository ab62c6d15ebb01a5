#include "exchange/Export.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "base/MlkError.h"
#include "db/Integrity.h"
#include "exchange/Correction.h"
#include "exchange/ExchangeFile.h"
#include "model/TMainDM.h"
#include "platform/ReplacingFile.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

const char* const kExportRowsSQL =
    "select "
    "JiGID,JiGMC,ZuZJGDM,HangYDM,XingZQH,XingZLSJB,XingZJB,"
    "JieDLB,JieDMC,ShangJHYZGBM,ShangJXZZGBM,CaiZJFLYFS,JiGLX,"
    "DiZhi_Shen,DiZhi_Shi,DiZhi_Xian,DiZhi_JieD,DiZhi_HaoP,"
    "YouZBM,LianXRXM,LianXDH,QiT,"
    "TianBRXM,ChuSHSJ,GengXZT,TongJY,DanWFZR,ShangBJGID,"
    "QueRRXM,QueRSJ,QueRZT,ShenHRXM,ShenHSJ,ShenHZT,ShuJLY,ShangJBMID, "
    "JiC, ShunX "
    "from MLK_JiBXX "
    "order by XingZQH,CaiZJFLYFS,JiGLX,XingZJB ";

namespace {

constexpr const char* kGuardMessage = "请核查全部机构信息后再导出机构列表！";
// Negative: KiB rather than pages.
constexpr long long kExportCacheKiB = -8192;
// A count reads the state of every row once: a large cache would only hold a large directory's
// states in memory afterwards.
constexpr long long kCountCacheKiB = -2048;

CheckResult GuardRefusal(long long unconfirmed) {
    if (unconfirmed == 0)
        return std::nullopt;
    return CheckFailure{std::string(kGuardMessage) + "\n尚有" + std::to_string(unconfirmed) +
                            "条机构信息未通过核查。",
                        ""};
}

// One database row as one file line (GBK, CR LF), kept at the start of line; none when a value
// cannot travel. Both buffers are used again from row to row, and the texts are read in place: a
// large directory makes no allocation per value.
std::optional<std::string_view> BuildLine(const Statement& row, std::string& utf8,
                                          std::string& line) {
    utf8.clear();
    for (int i = 0; i < 36; ++i) {
        if (i)
            utf8 += ',';
        AppendExchangeItem(utf8, row.TextView(i));
    }
    for (const int i : {36, 37}) {
        if (!FitsInt32(row.Int(i)))
            return std::nullopt;
        char number[24];
        utf8 += ',';
        utf8.append(number, std::to_chars(number, number + sizeof number, row.Int(i)).ptr);
    }
    utf8 += "\r\n";
    // GBK is never longer than UTF-8.
    if (line.size() < utf8.size())
        line.resize(2 * utf8.size());
    const char* end = WriteUtf8AsGbk(line.data(), utf8);
    if (!end)
        return std::nullopt;
    return std::string_view(line.data(), std::size_t(end - line.data()));
}

}  // namespace

long long ConfirmedCount(TMainDM& dm) {
    const ScopedPragma cache(dm.Db(), "cache_size", kCountCacheKiB);
    return dm.QueryInt("select count(1) as sl from MLK_JiBXX  where QueRZT = '1' ");
}

long long UnconfirmedCount(TMainDM& dm) {
    const ScopedPragma cache(dm.Db(), "cache_size", kCountCacheKiB);
    return dm.QueryInt(
        "select count(1) as sl from MLK_JiBXX  where QueRZT <> '1' or QueRZT is null ");
}

CheckResult CheckExport(TMainDM& dm) {
    return GuardRefusal(UnconfirmedCount(dm));
}

std::string ExportFileName(const CaoZDWXX& unit) {
    return unit.DanWMC + "-核查数据.txt";
}

std::string ExportQuestion(long long count) {
    return "共有" + std::to_string(count) + "条机构导出";
}

std::string ExportDoneMessage(long long rows) {
    return "导出完成，共导出" + std::to_string(rows) + "条数据！";
}

long long ExportDirectory(TMainDM& dm, const std::filesystem::path& file, Progress& progress) {
    // Memory stays flat whatever the directory's size: the engine sorts the rows for the file in
    // runs as large as the page cache, on disk, and the cache is kept small here.
    const ScopedPragma cache(dm.Db(), "cache_size", kExportCacheKiB);
    // The counts, the check and the rows read one state of the file.
    const ReadTransaction snapshot(dm.Db());
    // The guard's count and the confirmed count in one pass over the states.
    long long count = 0, unconfirmed = 0;
    dm.ForEachRow(
        "select count(case when QueRZT = '1' then 1 end), count(case when QueRZT <> '1' or "
        "QueRZT is null then 1 end) from MLK_JiBXX",
        {}, [&](const Statement& row) {
            count = row.Int(0);
            unconfirmed = row.Int(1);
        });
    if (const CheckResult refusal = GuardRefusal(unconfirmed))
        throw MlkError(refusal->message);
    // A damaged page would otherwise travel to the level above, or cut the file short. The check
    // runs beside the writing, and the file replaces the target only once it has passed.
    QuickCheckAlongside check(dm.Db());
    const std::int64_t maximum = 2 * count + 1;
    progress.SetRange(maximum);
    progress.SetPosition(0);

    ReplacingFile out(file);
    long long rows = 0;
    std::string utf8, buffer;
    // Once a value cannot travel nothing more is written: the rest is only looked through, so
    // that the refusal names every such value at once.
    std::vector<UntravelableValue> untravelable;
    Statement query(dm.Db(), kExportRowsSQL);
    while (query.Step()) {
        std::optional<std::string_view> line;
        if (untravelable.empty() && (line = BuildLine(query, utf8, buffer))) {
            out.Write(*line);
        } else {
            FindUntravelable(query, untravelable);
            // The look-up and the converter agree on every character; were they ever not to, the
            // row is refused rather than left out.
            if (untravelable.empty()) {
                throw MlkError("机构 " + Excerpt(query.Text(0)) +
                               " 无法导出：文本含有GBK编码无法表示的字符");
            }
        }
        progress.SetPosition(++rows);
    }
    check.RequireUndamaged();
    if (!untravelable.empty())
        throw UntravelableError(std::move(untravelable));
    out.Commit();
    progress.SetPosition(maximum);
    return rows;
}

}  // namespace mlk
