#include "exchange/Export.h"

#include <cstdio>

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
constexpr long long kExportCacheKiB = -16384;

// One database row as one file line (GBK, CR LF); false when a value cannot travel. Both buffers
// are used again from row to row, and the texts are read in place: a large directory makes no
// allocation per value.
bool BuildLine(const Statement& row, std::string& utf8, std::string& line) {
    utf8.clear();
    for (int i = 0; i < 36; ++i) {
        if (i)
            utf8 += ',';
        AppendExchangeItem(utf8, row.TextView(i));
    }
    for (const int i : {36, 37}) {
        if (!FitsInt32(row.Int(i)))
            return false;
        char number[24];
        utf8 += ',';
        utf8.append(number, std::size_t(std::snprintf(number, sizeof number, "%lld", row.Int(i))));
    }
    try {
        Utf8ToGbk(utf8, line);
    } catch (const MlkError&) {
        return false;
    }
    line += "\r\n";
    return true;
}

}  // namespace

long long ConfirmedCount(TMainDM& dm) {
    return dm.QueryInt("select count(1) as sl from MLK_JiBXX  where QueRZT = '1' ");
}

long long UnconfirmedCount(TMainDM& dm) {
    return dm.QueryInt(
        "select count(1) as sl from MLK_JiBXX  where QueRZT <> '1' or QueRZT is null ");
}

CheckResult CheckExport(TMainDM& dm) {
    if (const long long unconfirmed = UnconfirmedCount(dm); unconfirmed > 0) {
        return CheckFailure{std::string(kGuardMessage) + "\n尚有" + std::to_string(unconfirmed) +
                                "条机构信息未通过核查。",
                            ""};
    }
    return std::nullopt;
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
    if (const CheckResult refusal = CheckExport(dm))
        throw MlkError(refusal->message);
    // Memory stays flat whatever the directory's size: the engine sorts the rows for the file in
    // runs as large as the page cache, on disk, and the cache is kept small here.
    const ScopedPragma cache(dm.Db(), "cache_size", kExportCacheKiB);
    // A damaged page would otherwise travel to the level above, or cut the file short.
    RequireUndamaged(dm.Db());
    const long long count = ConfirmedCount(dm);
    const std::int64_t maximum = 2 * count + 1;
    progress.SetRange(maximum);
    progress.SetPosition(0);

    ReplacingFile out(file);
    long long rows = 0;
    std::string utf8, line;
    // Once a value cannot travel nothing more is written: the rest is only looked through, so
    // that the refusal names every such value at once.
    std::vector<UntravelableValue> untravelable;
    Statement query(dm.Db(), kExportRowsSQL);
    while (query.Step()) {
        if (untravelable.empty() && BuildLine(query, utf8, line)) {
            out.Write(line);
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
    if (!untravelable.empty())
        throw UntravelableError(std::move(untravelable));
    out.Commit();
    progress.SetPosition(maximum);
    return rows;
}

}  // namespace mlk
