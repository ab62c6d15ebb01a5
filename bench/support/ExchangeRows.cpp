#include "support/ExchangeRows.h"

#include <cstdio>
#include <string>

#include "model/TMainDM.h"
#include "support/BenchSupport.h"

namespace mlk::bench {

namespace {

// The county's agency: it exports the file that the prefecture imports under its pending row.
const char* const kCountyUnit = "天河区节能管理机构";

const char* const kCounties[] = {"440103", "440104", "440105", "440106", "440111", "440112",
                                 "440113", "440114", "440115", "440117", "440118", "441900"};

}  // namespace

GGJG Row(long long i) {
    GGJG r;
    const std::string county = kCounties[i % 12];
    char hex[16];
    std::snprintf(hex, sizeof hex, "%010llX", (i * 2654435761LL) & 0xFFFFFFFFFFLL);
    r.JiGID = county + hex;
    r.JiGMC = "广州市第" + std::to_string(i) + "中学";
    r.ZuZJGDM = std::to_string(100000000 + i % 899999999);
    r.HangYDM = "P8210";
    r.XingZQH = county;
    r.XingZLSJB = "4";
    r.XingZJB = std::to_string(i % 9);
    r.JieDLB = "1";
    r.JieDMC = r.JiGMC;
    r.ShangJHYZGBM = kCountyUnit;  // the unit that exports, as every own entry names it
    r.ShangJXZZGBM = "广州市人民政府";
    r.CaiZJFLYFS = std::to_string(i % 2);
    r.JiGLX = i % 3 ? "8210" : "8310";
    r.DiZhi_Shen = "广东省";
    r.DiZhi_Shi = "广州市";
    r.DiZhi_Xian = "天河区";
    r.DiZhi_JieD = "天河路 " + std::to_string(i % 500) + "号";  // a blank: written quoted
    r.DiZhi_HaoP = std::to_string(i) + "号";
    r.YouZBM = "510000";
    r.LianXRXM = "张三";
    r.LianXDH = "020-12345678";
    r.TianBRXM = "李四";
    r.ChuSHSJ = "2024-03-01";
    r.GengXZT = "0";
    r.TongJY = "王五";
    r.QueRRXM = "李四";
    r.QueRSJ = "2024-03-02 10:00:00";
    r.QueRZT = "1";
    r.ShenHZT = "0";
    r.ShuJLY = "0";
    r.ShangJBMID = "440106UNIT000001";
    r.QiT = i % 10 ? "" : "备注，含逗号";
    r.JiC = 1;
    r.ShunX = i;
    return r;
}

void BuildDirectory(const std::filesystem::path& db, long long rows) {
    TMainDM dm(db);
    RegisterUnit(dm, "440106UNIT000001", kCountyUnit, "4", "0");
    Transaction transaction(dm.Db());
    Statement insert(dm.Db(), GGJG::InsertSQL());
    for (long long i = 0; i < rows; ++i) {
        insert.BindAll(Row(i).InsertParams()).Run();
        insert.Reset();
    }
    transaction.Commit();
}

void NewPrefecture(const std::filesystem::path& db) {
    TMainDM dm(db);
    RegisterUnit(dm, "440100UNIT000002", "广州市节能管理机构", "3", "0");
    dm.ExecSQL(
        "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,CaiZJFLYFS,JiGLX,"
        "DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values (?,?,"
        "'0','4','天河区','440106','0','9900','0','','0','0','')",
        {kPending, kCountyUnit});
}

}  // namespace mlk::bench
