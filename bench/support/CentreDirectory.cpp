#include "support/CentreDirectory.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "base/Progress.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Import.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "support/BenchSupport.h"
#include "support/InstitutionRows.h"
#include "text/Gbk.h"

namespace mlk::bench {

namespace fs = std::filesystem;

namespace {

// Children per row at levels 2 and 3 below a province's own rows. At the centre these rows are
// at levels 2 to 4, so the directory summary lists every one of them: its largest case.
constexpr std::array<int, 2> kFanOut = {36, 35};
constexpr int kOwnDepartments = 300;

std::string Id(const std::string& province, long long serial) {
    return SerialId(province + "0101", serial);
}

// A province's exchange file: its own rows and, depth first, the rows it imported below them.
class ProvinceFile {
  public:
    ProvinceFile(const fs::path& path, std::string province, long long lines, long long& serial)
        : out_(path, std::ios::binary),
          province_(std::move(province)),
          left_(lines),
          serial_(serial) {
        while (left_ > 0) {
            GGJG row = InstitutionRow(Id(province_, serial_), serial_, 1);
            ++serial_;
            row.ShangJBMID = province_ + "0000PROVINCE";
            Write(row);
            Below(row.JiGID, row.JiGID, 2);
        }
    }

  private:
    void Below(const std::string& parent, const std::string& top, long long level) {
        if (level > 3)
            return;
        for (int k = 0; k < kFanOut[std::size_t(level - 2)] && left_ > 0; ++k) {
            GGJG row = InstitutionRow(Id(province_, serial_), serial_, level);
            ++serial_;
            row.ShangJBMID = parent;
            row.ShangBJGID = top;
            Write(row);
            Below(row.JiGID, top, level + 1);
        }
    }
    void Write(const GGJG& row) {
        out_ << Utf8ToGbk(JoinExchangeItems(ExchangeItems(row))) << "\r\n";
        --left_;
    }

    std::ofstream out_;
    std::string province_;
    long long left_;
    long long& serial_;
};

}  // namespace

std::string PendingId(int province) {
    return std::string(kProvinces[std::size_t(province)]) + "0000AGENCY01";
}

// The centre's own entries: an agency for every province, each with its pending row, and
// departments of the same level.
void NewCentre(const fs::path& db, int provinces) {
    TMainDM dm(db);
    RegisterUnit(dm, kCentre, "国家节能管理机构", "1", "0");
    std::vector<SqlStatement> batch;
    for (int p = 0; p < provinces + kOwnDepartments; ++p) {
        const bool agency = p < provinces;
        GGJG row = InstitutionRow(agency ? PendingId(p) : Id("10", 10000000000LL + p), p, 1);
        row.JieDLB = agency ? "0" : "1";
        row.ShangJBMID = kCentre;
        row.ShunX = p;
        batch.push_back({GGJG::InsertSQL(), row.InsertParams()});
        if (agency) {
            batch.push_back(
                {"insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,"
                 "CaiZJFLYFS,JiGLX,DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values "
                 "(?,?,'0',?,?,?,'0','9900','0','','0','0','')",
                 {row.JiGID, row.JiGMC, row.XingZJB, row.JieDMC, row.XingZQH}});
        }
    }
    dm.ExecSQLBatch(batch);
}

void WriteProvinceFile(const std::filesystem::path& path, const std::string& province,
                       long long lines, long long& serial) {
    ProvinceFile(path, province, lines, serial);
}

// The first province's file is imported; the others' rows are those rows again under their own
// province's ids, as their files would import them, copied in the database instead of written
// to files and read back, which would take hours.
void BuildCentre(const std::filesystem::path& db, long long lines) {
    NewCentre(db, int(kProvinces.size()));
    TMainDM dm(db);
    long long serial = 0;
    const std::filesystem::path file = db.parent_path() / "province.txt";
    WriteProvinceFile(file, kProvinces[0], lines, serial);
    NoProgress quiet;
    ImportExchangeFile(dm, *LoadPending(dm, PendingId(0)), file, quiet);
    std::filesystem::remove(file);
    dm.Db().Exec("create temp table Province as select * from MLK_JiBXX where ShangBJGID = '" +
                 PendingId(0) + "'");
    for (std::size_t p = 1; p < kProvinces.size(); ++p) {
        const std::string code = kProvinces[p];
        Transaction copy(dm.Db());
        dm.ExecSQL(
            "update Province set JiGID = ?1 || substr(JiGID, 3), ShangJBMID = ?1 || "
            "substr(ShangJBMID, 3), ShangBJGID = ?2",
            {code, PendingId(int(p))});
        dm.ExecSQL("insert into MLK_JiBXX select * from Province");
        dm.ExecSQL("update MLK_DaiDRJG set DaoRZT = '1', DaoRSL = ? where JiGID = ?",
                   {std::to_string(lines), PendingId(int(p))});
        copy.Commit();
        std::printf("province %2zu copied\n", p + 1);
        std::fflush(stdout);
    }
}

}  // namespace mlk::bench
