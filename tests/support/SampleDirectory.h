#pragma once

// A small directory of an energy-saving management agency with rows imported from below, built
// as an import would leave it: own rows ShuJLY "0" under the unit, imported rows ShuJLY "1" with
// ShangBJGID set to the own row whose file brought them.

#include <string>
#include <vector>

#include "ExchangeFixtures.h"

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

// The shared sample record, placed and named as the row says.
inline GGJG SampleRecord(const SampleRow& s) {
    GGJG row = SampleRecord(s.id, s.name + "全称");
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
    row.DiZhi_HaoP = std::to_string(s.order) + "号";
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
inline SampleRow OwnRow(TMainDM& dm, const std::string& id, const std::string& name,
                        const std::string& node, const std::string& type, long long order,
                        const std::string& confirmed = "1") {
    return {id, name, "0", dm.Unit().DanWID, "", node, type, 1, order, confirmed};
}

// A row imported under superior, delivered by the file imported for the own row reporter.
inline SampleRow ImportedRow(const std::string& id, const std::string& name,
                             const std::string& superior, const std::string& reporter,
                             const std::string& node, const std::string& type, long long level,
                             long long order, const std::string& confirmed = "1") {
    return {id, name, "1", superior, reporter, node, type, level, order, confirmed};
}

// The directory the window tests share, under the registered operating unit:
//   own entries   T1 教育局 (8210), T2 卫生局 (8015), T4 民政局 (9900), A1 朝阳节能中心 (an
//                 agency), all confirmed; T3 文化局 and the agency A2 西城节能中心 not confirmed
//   imported      a1 一中 (8220) and a2 党委 (7010) from T1's file, a3 体育场 (8810) from T2's;
//                 a4 一中分校 (8230) below a1, from the same file
//   pending       T1 imported, T2 imported and audited, T4 and A1 awaiting their files
//   initial data  C1 第一小学, C2 第二中学 (和平路, 和平街, 东城区) not yet taken, C3 第三中学
//                 (西城区) taken into the directory
void AddSampleDirectory(TMainDM& dm);

// A test over the sample directory of the energy-saving management agency 东城区节能办.
class SampleDirectoryTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能办");
        AddSampleDirectory(Dm());
    }
};

}  // namespace mlk::test
