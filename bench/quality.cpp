// 数据质量检查 over a directory of ROWS rows (2,000,000 unless given) of 31 provinces, about one
// row in twenty with something to find: a wrong check character, a code or a name used twice, a
// postal code of another province, a telephone number, a division, a type or an industry code
// that is wrong. Against the anchor of the same run: the engine alone reading the same columns of
// every row. Three rounds, the anchor and the check in turn, the best of each.
//   bench_quality --make DB [ROWS]   makes the directory (not timed; run it before the quiet run)
//   bench_quality DB                 times the check
#include "reports/Quality.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/Progress.h"
#include "db/Sqlite.h"
#include "forms/CodeCheck.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "support/BenchSupport.h"

namespace fs = std::filesystem;

namespace {

// A county of each province and the first digits of its postal codes.
constexpr std::array<std::pair<const char*, const char*>, 31> kProvinces = {
    {{"110101", "100"}, {"120101", "300"}, {"130102", "050"}, {"140105", "030"}, {"150102", "010"},
     {"210102", "110"}, {"220102", "130"}, {"230102", "150"}, {"310101", "200"}, {"320102", "210"},
     {"330102", "310"}, {"340102", "230"}, {"350102", "350"}, {"360102", "330"}, {"370102", "250"},
     {"410102", "450"}, {"420102", "430"}, {"430102", "410"}, {"440103", "510"}, {"450102", "530"},
     {"460105", "570"}, {"500101", "400"}, {"510104", "610"}, {"520102", "550"}, {"530102", "650"},
     {"540102", "850"}, {"610102", "710"}, {"620102", "730"}, {"630102", "810"}, {"640104", "750"},
     {"650102", "830"}}};

constexpr std::array<const char*, 8> kTypes = {"7012", "8210", "8230", "8240",
                                               "7310", "8610", "8310", "8015"};

// Row n of the directory; a fault for every twentieth, of kind n / 20 % 8.
mlk::GGJG Row(long long n, const std::string& county, const std::string& postal) {
    mlk::GGJG r;
    const std::string serial = std::to_string(10000000 + n % 90000000);
    r.JiGID = county + std::to_string(1000000000 + n);
    r.JiGMC = "第" + std::to_string(n) + "公共机构";
    r.JieDMC = r.JiGMC;
    r.ZuZJGDM = serial + mlk::OrganisationCheckCharacter(serial);
    r.HangYDM = "P82";
    r.XingZQH = county;
    r.XingZJB = "4";
    r.JieDLB = n % 50 == 7 ? "0" : "1";
    r.CaiZJFLYFS = "0";
    r.JiGLX = kTypes[std::size_t(n) % kTypes.size()];
    r.YouZBM = postal + "001";
    r.LianXDH = n % 2 ? "010-65123456" : "13912345678";
    r.QueRZT = "1";
    r.ShuJLY = "1";
    r.ShangJBMID = "110101CENTRE0001";
    r.ShangBJGID = "110101PROV" + county.substr(0, 2);
    r.JiC = 2;
    r.ShunX = n;
    if (n % 20 == 3) {
        switch (n / 20 % 8) {
            case 0:
                r.ZuZJGDM.back() = r.ZuZJGDM.back() == '1' ? '2' : '1';
                break;
            case 1:
                r.ZuZJGDM = Row(n - 1, county, postal).ZuZJGDM;
                break;
            case 2:
                r.JiGMC = Row(n - 31, county, postal).JiGMC;
                break;  // same province
            case 3:
                r.YouZBM = "999001";
                break;
            case 4:
                r.LianXDH = "12345";
                break;
            case 5:
                r.XingZQH = county.substr(0, 2) + "9999";
                break;
            case 6:
                r.JiGLX = "8200";
                break;
            default:
                r.HangYDM = "82P";
                break;
        }
    }
    return r;
}

void Make(const fs::path& db, long long rows) {
    fs::remove(db);
    mlk::TMainDM dm(db);
    mlk::bench::RegisterUnit(dm, "110101CENTRE0001", "中心", "1", "0");
    // Without the indexes while it fills, then built at once: far quicker.
    std::vector<std::pair<std::string, std::string>> indexes;
    dm.ForEachRow(
        "select name, sql from sqlite_master where type = 'index' and "
        "tbl_name = 'MLK_JiBXX' and sql is not null",
        {}, [&](const mlk::Statement& s) { indexes.emplace_back(s.Text(0), s.Text(1)); });
    for (const auto& index : indexes)
        dm.Db().Exec("drop index " + index.first);
    mlk::Transaction transaction(dm.Db());
    mlk::Statement insert(dm.Db(), mlk::GGJG::InsertSQL());
    for (long long n = 0; n < rows; ++n) {
        const auto& [county, postal] = kProvinces[std::size_t(n) % kProvinces.size()];
        insert.BindAll(Row(n, county, postal).InsertParams()).Run();
        insert.Reset();
    }
    for (const auto& index : indexes)
        dm.Db().Exec(index.second);
    transaction.Commit();
    std::printf("made %lld rows in %s\n", rows, db.string().c_str());
}

// Every row's columns as the check reads them, through the engine alone.
std::size_t Scan(mlk::TMainDM& dm) {
    mlk::Statement rows(dm.Db(),
                        "select rowid, JiGID, JiGMC, ZuZJGDM, XingZQH, JiGLX, HangYDM, YouZBM, "
                        "LianXDH, JieDLB, ShuJLY, ShangBJGID, ShangJBMID from MLK_JiBXX");
    std::size_t bytes = 0;
    while (rows.Step()) {
        for (int i = 1; i < 13; ++i)
            bytes += rows.TextView(i).size();
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--make") {
        Make(argv[2], argc > 3 ? std::stoll(argv[3]) : 2000000);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "bench_quality --make DB [ROWS] | bench_quality DB\n");
        return 2;
    }
    std::printf("load at start: %s\n", mlk::bench::LoadAverage().c_str());
    mlk::TMainDM dm{fs::path(argv[1])};
    const long long rows = dm.QueryInt("select count(*) from MLK_JiBXX");
    double anchor = 1e9, anchorCpu = 1e9, check = 1e9, checkCpu = 1e9;
    mlk::QualityReport report;
    for (int round = 0; round < 3; ++round) {
        {
            const mlk::bench::Stopwatch watch;
            Scan(dm);
            anchor = std::min(anchor, watch.Wall());
            anchorCpu = std::min(anchorCpu, watch.Cpu());
        }
        const mlk::bench::Stopwatch watch;
        mlk::NoProgress progress;
        report = mlk::CheckQuality(dm, progress);
        check = std::min(check, watch.Wall());
        checkCpu = std::min(checkCpu, watch.Cpu());
    }
    std::printf("rows %lld, findings %zu:", rows, report.findings.size());
    for (std::size_t c = 0; c < report.counts.size(); ++c)
        std::printf(" %s %zu", mlk::kQualityCategories[c], report.counts[c]);
    std::printf("\nscan of the same columns (anchor): wall %.2f s, CPU %.2f s\n", anchor,
                anchorCpu);
    std::printf("quality check: wall %.2f s, CPU %.2f s (target under 10 s)\n", check, checkCpu);
    std::printf("check / anchor: wall %.2f, CPU %.2f\n", check / anchor, checkCpu / anchorCpu);
    std::printf("load at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
