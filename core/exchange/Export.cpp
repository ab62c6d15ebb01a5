#include "exchange/Export.h"

#include "data/Files.h"
#include "data/Gbk.h"
#include "data/Integrity.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "data/Text.h"
#include "exchange/ExchangeFile.h"

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

// One database row as one file line (GBK, CR LF); line is reused from row to row.
void BuildLine(const Statement& row, std::string& line) {
    line.clear();
    for (int i = 0; i < 36; ++i) {
        if (i)
            line += ',';
        AppendExchangeItem(line, row.Text(i));
    }
    line += ',';
    line += std::to_string(row.Int(36));
    line += ',';
    line += std::to_string(row.Int(37));
    try {
        line = Utf8ToGbk(line);
    } catch (const MlkError& error) {
        throw MlkError("机构 " + Excerpt(row.Text(0)) + " 无法导出：" + error.what());
    }
    line += "\r\n";
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
    if (UnconfirmedCount(dm) > 0)
        return CheckFailure{kGuardMessage, ""};
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
    // A damaged page would otherwise travel to the level above, or cut the file short.
    RequireUndamaged(dm.Db());
    const long long count = ConfirmedCount(dm);
    const std::int64_t maximum = 2 * count + 1;
    progress.SetRange(maximum);
    progress.SetPosition(0);

    ReplacingFile out(file);
    long long rows = 0;
    std::string line;
    Statement query(dm.Db(), kExportRowsSQL);
    while (query.Step()) {
        BuildLine(query, line);
        out.Write(line);
        progress.SetPosition(++rows);
    }
    out.Commit();
    progress.SetPosition(maximum);
    return rows;
}

}  // namespace mlk
