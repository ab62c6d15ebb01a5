// The directory summary of a large directory through `mlk summary directory`, in two shapes of
// ROWS imported rows (2,000,000 unless given), each against `mlk export` of the same directory in
// the same run (the anchor):
// - the centre as the other centre benchmarks build it: 31 agencies, each with its share of the
//   rows in a tree three levels deep (36 and 35 children per row), beside 300 departments;
// - one department: half the rows, all imported directly under one department.
// Then the other three summaries over the centre. Wall time, processor time and peak resident
// memory of every child; the load average.
//   bench_directory [ROWS] [PATH-OF-mlk]   (MLK_BENCH_DIR=folder keeps the files;
//   MLK_BENCH_CENTRE=DB copies the centre that bench_stall --make DB built instead of building it)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/TMainDM.h"
#include "support/BenchSupport.h"
#include "support/CentreDirectory.h"
#include "support/InstitutionRows.h"

namespace fs = std::filesystem;
using mlk::bench::ChildRun;
using mlk::bench::Quoted;
using mlk::bench::RunMeasured;

namespace {

// Half the rows, all imported directly under one department of the centre.
void BuildOneDepartment(const fs::path& db, long long rows) {
    mlk::TMainDM dm(db);
    mlk::bench::RegisterUnit(dm, mlk::bench::kCentre, "国家节能管理机构", "1", "0");
    mlk::bench::RowInserter insert(dm);
    mlk::GGJG own = mlk::bench::InstitutionRow(mlk::bench::SerialId("110101", 0), 0, 1);
    own.JieDLB = "1";
    own.ShangJBMID = mlk::bench::kCentre;
    insert.Add(own);
    for (long long i = 1; i <= rows; ++i) {
        mlk::GGJG row = mlk::bench::InstitutionRow(mlk::bench::SerialId("110101", i), i, 2);
        row.ShangJBMID = row.ShangBJGID = own.JiGID;
        insert.Add(row);
    }
    insert.Commit();
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

    const long long perProvince = rows / std::ssize(mlk::bench::kProvinces);
    if (const char* made = std::getenv("MLK_BENCH_CENTRE")) {
        fs::copy_file(made, dir / "centre.db");
        // A centre made by an older build gets its missing indexes now, not in the first run.
        { const mlk::TMainDM upgraded(dir / "centre.db"); }
        std::printf("the centre of %s:\n", made);
    } else {
        mlk::bench::BuildCentre(dir / "centre.db", perProvince);
        std::printf("the centre, %lld imported rows under 31 agencies:\n",
                    perProvince * std::ssize(mlk::bench::kProvinces));
    }
    mlk::bench::WrittenThrough(dir / "centre.db");
    Compare(mlk, dir / "centre.db", dir / "centre.txt", 2.5 * scale, 1.0);
    for (const char* kind : {"counts", "state-organs", "types"}) {
        const ChildRun run = Mlk(mlk, dir / "centre.db", std::string("summary ") + kind);
        const std::string what = std::string("mlk summary ") + kind;
        Print(what.c_str(), run);
        std::printf("  %s: %s (target < %.2f s)\n", kind,
                    run.code == 0 && run.wall < scale ? "met" : "NOT MET", scale);
    }

    BuildOneDepartment(dir / "department.db", rows / 2);
    mlk::bench::WrittenThrough(dir / "department.db");
    std::printf("one department, %lld imported rows directly under it:\n", rows / 2);
    Compare(mlk, dir / "department.db", dir / "department.txt", 2.5 * scale, 0.25);
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
