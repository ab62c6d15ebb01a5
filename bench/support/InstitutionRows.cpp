#include "support/InstitutionRows.h"

#include <algorithm>
#include <cstdio>

#include "model/TMainDM.h"

namespace mlk::bench {

GGJG InstitutionRow(const std::string& id, long long serial, long long level) {
    GGJG r;
    r.JiGID = id;
    r.JiGMC = "第" + std::to_string(serial) + "公共机构";
    r.JieDMC = r.JiGMC;
    r.ZuZJGDM = std::to_string(100000000 + (serial * 7919) % 899999999);
    r.HangYDM = "P82";
    r.XingZQH = id.substr(0, 6);
    r.XingZLSJB = std::to_string(std::min(level + 1, 4LL));
    r.XingZJB = std::to_string(serial % 9);
    r.JieDLB = serial % 25 == 0 ? "0" : "1";
    r.CaiZJFLYFS = std::to_string(serial % 2);
    r.JiGLX = kRowTypes[std::size_t(serial) % kRowTypes.size()];
    r.DiZhi_Shen = "某省";
    r.DiZhi_Shi = "某市";
    r.DiZhi_Xian = "某县";
    r.DiZhi_JieD = "人民路";
    r.DiZhi_HaoP = std::to_string(serial % 1000) + "号";
    r.YouZBM = "100000";
    r.LianXRXM = "张三";
    r.LianXDH = "010-12345678";
    r.TianBRXM = "李四";
    r.ChuSHSJ = "2024-03-01";
    r.GengXZT = "0";
    r.QueRRXM = "李四";
    r.QueRSJ = "2024-03-02 10:00:00";
    r.QueRZT = "1";
    r.ShenHZT = "0";
    r.ShuJLY = level == 1 ? "0" : "1";
    r.JiC = level;
    r.ShunX = serial % 97;
    return r;
}

std::string SerialId(std::string_view division, long long serial) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%010llX", (serial * 2654435761LL) & 0xFFFFFFFFFFLL);
    return std::string(division) + hex;
}

RowInserter::RowInserter(TMainDM& dm)
    : transaction_(dm.Db()), insert_(dm.Db(), GGJG::InsertSQL()) {}

void RowInserter::Add(GGJG row) {
    insert_.BindAll(row.InsertParams()).Run();
    insert_.Reset();
}

}  // namespace mlk::bench
