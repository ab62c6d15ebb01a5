// The directory summary of a large directory through `mlk summary directory`, in two shapes of
// ROWS imported rows (2,000,000 unless given), each against `mlk export` of the same directory in
// the same run (the anchor):
// - the centre: 31 agencies, each with its share of the rows in a tree three levels deep
//   (36 and 35 children per row), beside 300 departments without rows below them;
// - one department: half the rows, all imported directly under one department.
// Then the other three summaries over the centre. Wall time, processor time and peak resident
// memory of every child; the load average.
//   bench_directory [ROWS] [PATH-OF-mlk]   (MLK_BENCH_DIR=folder keeps the files)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/Sqlite.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "support/BenchSupport.h"

namespace fs = std::filesystem;
using mlk::bench::ChildRun;
using mlk::bench::Quoted;
using mlk::bench::RunMeasured;

namespace {

constexpr const char* kUnit = "110101CENTRE0001";
constexpr const char* kTypes[] = {"70",   "7010", "7012", "7015", "8210", "8230", "8240",
                                  "7310", "8610", "8310", "8810", "8015", "9410", "9900"};

mlk::GGJG Row(const std::string& id, long long serial, long long level) {
    mlk::GGJG r;
    r.JiGID = id;
    r.JiGMC = "第" + std::to_string(serial) + "公共机构";
    r.JieDMC = r.JiGMC;
    r.ZuZJGDM = std::to_string(100000000 + (serial * 7919) % 899999999);
    r.HangYDM = "P82";
    r.XingZQH = id.substr(0, 6);
    r.XingZLSJB = "3";
    r.XingZJB = std::to_string(serial % 9);
    r.JieDLB = serial % 25 == 0 ? "0" : "1";
    r.CaiZJFLYFS = std::to_string(serial % 2);
    r.JiGLX = kTypes[std::size_t(serial) % std::size(kTypes)];
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

std::string Id(long long serial) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "110101%010llX", (serial * 2654435761LL) & 0xFFFFFFFFFFLL);
    return hex;
}

class Builder {
  public:
    explicit Builder(const fs::path& db) : dm_(db) {
        mlk::bench::RegisterUnit(dm_, kUnit, "国家节能管理机构", "1", "0");
    }
    void Own(const std::string& id, long long order, const char* category) {
        mlk::GGJG row = Row(id, serial_++, 1);
        row.JieDLB = category;
        row.ShangJBMID = kUnit;
        row.ShunX = order;
        Add(row);
    }
    void Imported(const std::string& id, const std::string& parent, const std::string& top,
                  long long level) {
        mlk::GGJG row = Row(id, serial_++, level);
        row.ShangJBMID = parent;
        row.ShangBJGID = top;
        Add(row);
    }
    long long Serial() const { return serial_; }
    void Commit() { transaction_.Commit(); }

  private:
    void Add(mlk::GGJG& row) {
        insert_.BindAll(row.InsertParams()).Run();
        insert_.Reset();
    }
    mlk::TMainDM dm_;
    mlk::Transaction transaction_{dm_.Db()};
    mlk::Statement insert_{dm_.Db(), mlk::GGJG::InsertSQL()};
    long long serial_ = 0;
};

void BuildCentre(const fs::path& db, long long rows) {
    Builder b(db);
    const long long perAgency = rows / 31;
    for (int p = 0; p < 31 + 300; ++p)
        b.Own("AGENCY" + std::to_string(100 + p), p, p < 31 ? "0" : "1");
    for (int p = 0; p < 31; ++p) {
        const std::string top = "AGENCY" + std::to_string(100 + p);
        long long left = perAgency;
        while (left > 0) {
            const std::string second = Id(b.Serial());
            b.Imported(second, top, top, 2), --left;
            for (int k = 0; k < 36 && left > 0; ++k) {
                const std::string third = Id(b.Serial());
                b.Imported(third, second, top, 3), --left;
                for (int j = 0; j < 35 && left > 0; ++j, --left)
                    b.Imported(Id(b.Serial()), third, top, 4);
            }
        }
    }
    b.Commit();
}

void BuildOneDepartment(const fs::path& db, long long rows) {
    Builder b(db);
    b.Own("DEPARTMENT01", 1, "1");
    for (long long i = 0; i < rows; ++i)
        b.Imported(Id(b.Serial()), "DEPARTMENT01", "DEPARTMENT01", 2);
    b.Commit();
}

void Print(const char* what, const ChildRun& run) {
    std::printf("  %-28s exit %d, %6.2f s wall, %6.2f s CPU, peak %7.1f MiB (load %s)\n", what,
                run.code, run.wall, run.cpu, run.peakMiB, mlk::bench::LoadAverage().c_str());
    std::fflush(stdout);
}

ChildRun Mlk(const fs::path& mlk, const fs::path& db, const std::string& command) {
    return RunMeasured(Quoted(mlk) + " --db " + Quoted(db) + " " + command + " >/dev/null 2>&1");
}

// The directory summary against the export of the same directory.
void Compare(const fs::path& mlk, const fs::path& db, const fs::path& file, double limitSeconds,
             double quarterOfExport) {
    const ChildRun exported = Mlk(mlk, db, "export " + Quoted(file));
    fs::remove(file);
    const ChildRun summary = Mlk(mlk, db, "summary directory");
    Print("mlk export (anchor)", exported);
    Print("mlk summary directory", summary);
    const double wall = summary.wall / exported.wall, cpu = summary.cpu / exported.cpu;
    const bool met = summary.code == 0 && summary.wall < limitSeconds && summary.peakMiB < 300 &&
                     wall <= quarterOfExport;
    std::printf(
        "  summary / export: wall %.2f, CPU %.2f (target at most %.2f); %.2f s, %.1f MiB "
        "(target < %.1f s, < 300 MiB): %s\n",
        wall, cpu, quarterOfExport, summary.wall, summary.peakMiB, limitSeconds,
        met ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 2000000;
    const fs::path mlk = mlk::bench::MlkProgram(argc, argv, 2);
    const mlk::bench::RunFolder folder("directory");
    const fs::path& dir = folder.Path();
    std::printf("load average at start: %s\n", mlk::bench::LoadAverage().c_str());
    // The limits scale with the rows: 2.5 s and 1 s at 2,000,000.
    const double scale = double(rows) / 2e6;

    BuildCentre(dir / "centre.db", rows);
    std::printf("the centre, %lld imported rows under 31 agencies:\n", rows);
    Compare(mlk, dir / "centre.db", dir / "centre.txt", 2.5 * scale, 1.0);
    for (const char* kind : {"counts", "state-organs", "types"}) {
        const ChildRun run = Mlk(mlk, dir / "centre.db", std::string("summary ") + kind);
        const std::string what = std::string("mlk summary ") + kind;
        Print(what.c_str(), run);
        std::printf("  %s: %s (target < %.2f s)\n", kind,
                    run.code == 0 && run.wall < scale ? "met" : "NOT MET", scale);
    }

    BuildOneDepartment(dir / "department.db", rows / 2);
    std::printf("one department, %lld imported rows directly under it:\n", rows / 2);
    Compare(mlk, dir / "department.db", dir / "department.txt", 2.5 * scale, 0.25);
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
