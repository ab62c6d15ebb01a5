#include "support/ExchangeRows.h"

#include <string>

#include "model/TMainDM.h"
#include "support/BenchSupport.h"
#include "support/InstitutionRows.h"

namespace mlk::bench {

namespace {

// The county's agency: it exports the file that the prefecture imports under its pending row.
const char* const kCountyUnit = "天河区节能管理机构";

const char* const kCounties[] = {"440103", "440104", "440105", "440106", "440111", "440112",
                                 "440113", "440114", "440115", "440117", "440118", "441900"};

}  // namespace

GGJG Row(long long i) {
    GGJG r = InstitutionRow(SerialId(kCounties[i % 12], i), i, 1);
    r.ShangJHYZGBM = kCountyUnit;  // the unit that exports, as every own entry names it
    r.ShangJBMID = "440106UNIT000001";
    r.DiZhi_JieD = "天河路 " + std::to_string(i % 500) + "号";  // a blank: written quoted
    r.QiT = i % 10 ? "" : "备注，含逗号";
    return r;
}

void BuildDirectory(const std::filesystem::path& db, long long rows) {
    TMainDM dm(db);
    RegisterUnit(dm, "440106UNIT000001", kCountyUnit, "4", "0");
    RowInserter inserter(dm);
    for (long long i = 0; i < rows; ++i)
        inserter.Add(Row(i));
    inserter.Commit();
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
