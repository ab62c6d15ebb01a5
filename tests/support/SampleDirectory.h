#pragma once

// A small directory of an energy-saving management agency with rows imported from below, built
// as an import would leave it: own rows ShuJLY "0" under the unit, imported rows ShuJLY "1" with
// ShangBJGID set to the own row whose file brought them.

#include <string>
#include <vector>

#include "data/GGJG.h"
#include "data/TMainDM.h"

namespace mlk::test {

struct SampleRow {
    std::string id;
    std::string name;
    std::string source;    // ShuJLY
    std::string superior;  // ShangJBMID
    std::string reporter;  // ShangBJGID
    std::string node;      // JieDLB
    std::string type;      // JiGLX
    long long level = 1;   // JiC
    long long order = 0;   // ShunX
    std::string confirmed = "1";
};

inline GGJG SampleRecord(const SampleRow& s) {
    GGJG row;
    row.JiGID = s.id;
    row.JiGMC = s.name + "全称";
    row.JieDMC = s.name;
    row.ShuJLY = s.source;
    row.ShangJBMID = s.superior;
    row.ShangBJGID = s.reporter;
    row.JieDLB = s.node;
    row.JiGLX = s.type;
    row.JiC = s.level;
    row.ShunX = s.order;
    row.QueRZT = s.confirmed;
    row.ZuZJGDM = "12345678" + std::to_string(s.order % 10);
    row.HangYDM = "P82";
    row.XingZQH = "110101";
    row.XingZJB = "4";
    row.CaiZJFLYFS = "0";
    row.DiZhi_Shen = "北京市";
    row.DiZhi_Shi = "市辖区";
    row.DiZhi_Xian = "东城区";
    row.DiZhi_JieD = "东华门街道";
    row.DiZhi_HaoP = std::to_string(s.order) + "号";
    row.YouZBM = "100010";
    row.LianXRXM = "张三";
    row.LianXDH = "010-1234567";
    row.GengXZT = "0";
    row.ShenHZT = "0";
    return row;
}

inline void InsertSampleRow(TMainDM& dm, const SampleRow& s) {
    SampleRecord(s).Insert(dm);
}

// Many rows in one transaction.
inline void InsertSampleRows(TMainDM& dm, const std::vector<SampleRow>& rows) {
    std::vector<SqlStatement> batch;
    for (const SampleRow& s : rows)
        batch.push_back({GGJG::InsertSQL(), SampleRecord(s).InsertParams()});
    dm.ExecSQLBatch(batch);
}

// An own row of the operating unit.
inline SampleRow OwnRow(TMainDM& dm, std::string id, std::string name, std::string node,
                        std::string type, long long order, std::string confirmed = "1") {
    return SampleRow{std::move(id),
                     std::move(name),
                     "0",
                     dm.Unit().DanWID,
                     "",
                     std::move(node),
                     std::move(type),
                     1,
                     order,
                     std::move(confirmed)};
}

// A row imported under superior, delivered by the file imported for the own row reporter.
inline SampleRow ImportedRow(std::string id, std::string name, std::string superior,
                             std::string reporter, std::string node, std::string type,
                             long long level, long long order, std::string confirmed = "1") {
    return SampleRow{std::move(id),
                     std::move(name),
                     "1",
                     std::move(superior),
                     std::move(reporter),
                     std::move(node),
                     std::move(type),
                     level,
                     order,
                     std::move(confirmed)};
}

}  // namespace mlk::test
