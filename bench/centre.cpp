// The centre: FILES provincial exchange files (31 unless given) of LINES lines each (65,000
// unless given), each under a pending institution of its own, imported one after another with
// `mlk import` into one installation. Prints each file's time and peak memory and the last
// file's time against the first's, each of these two the median of three imports: the first file
// into new installations, the last one imported, removed with `mlk remove-import` and imported
// again, the samples of both taken in turn at the end. Then, over the whole directory, the first,
// middle and last page of the three entry lists and of the import window, and the time and peak
// memory of each summary table (each built by a process of its own, so that its peak is its own).
//   bench_centre [FILES [LINES [PATH-OF-mlk]]]   (MLK_BENCH_DIR=folder keeps the files)
// With "--summary KIND DB" it builds one summary and prints its rows: the child of the above.
// The first and the last file are also imported once more in parts, by the child
// "--in-parts DB PROVINCE FILE", and their rows stored by the engine alone (PrintLastFileInParts).
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "db/Integrity.h"
#include "entry/EntryList.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Import.h"
#include "exchange/PendingList.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/TypeSummary.h"
#include "support/BenchSupport.h"
#include "support/CentreDirectory.h"
#include "text/Gbk.h"

namespace fs = std::filesystem;
using mlk::bench::ChildRun;
using mlk::bench::kCentre;
using mlk::bench::kProvinces;
using mlk::bench::PendingId;
using mlk::bench::Quoted;
using mlk::bench::RunMeasured;

namespace {

// The median wall time and the median processor time of three runs, the greatest peak.
ChildRun Median(std::vector<ChildRun> runs) {
    ChildRun median;
    const auto middle = [&](auto field) {
        std::sort(runs.begin(), runs.end(),
                  [&](const ChildRun& a, const ChildRun& b) { return a.*field < b.*field; });
        return runs[runs.size() / 2].*field;
    };
    median.wall = middle(&ChildRun::wall);
    median.cpu = middle(&ChildRun::cpu);
    for (const ChildRun& run : runs) {
        median.code = std::max(median.code, run.code);
        median.peakMiB = std::max(median.peakMiB, run.peakMiB);
    }
    return median;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// When the import's last row went in: its progress reaches the file's size there, and goes past
// it only for the indexes it builds again and its commit.
class LastRowClock final : public mlk::Progress {
  public:
    explicit LastRowClock(std::int64_t bytes) : bytes_(bytes) {}
    void SetRange(std::int64_t) override {}
    void SetPosition(std::int64_t position) override {
        if (position >= bytes_ && !lastRow)
            lastRow = Clock::now();
    }
    std::optional<Clock::time_point> lastRow;

  private:
    std::int64_t bytes_;
};

// One more import of the file, in a process of its own (this program's child) as the import's own
// are, and in parts. The quick check that the import makes beside its rows is first timed alone on
// the same directory; the import then tells the end of its rows by its progress and the start of
// its commit by the engine's commit hook. Between the two it waits for the check (and, into a
// directory smaller than the file, builds its indexes): without that wait, the import's own time.
// Prints the wall times of the check alone, of the import and of its wait, then a line to show.
int ImportInParts(const fs::path& db, int p, const fs::path& file) {
    const mlk::bench::Stopwatch check;
    {
        mlk::Database alone(db, mlk::Database::Access::ReadOnly);
        if (!mlk::CheckDatabase(alone, mlk::CheckDepth::Quick).empty())
            return 1;
    }
    const double checkWall = check.Wall(), checkCpu = check.Cpu();

    mlk::TMainDM dm(db, mlk::Database::Access::Existing);
    const std::optional<mlk::DaiDRJG> pending = mlk::LoadPending(dm, PendingId(p));
    LastRowClock progress(std::int64_t(fs::file_size(file)));
    Clock::time_point commitStart{};
    sqlite3_commit_hook(
        dm.Db().Handle(),
        [](void* start) {
            *static_cast<Clock::time_point*>(start) = Clock::now();
            return 0;
        },
        &commitStart);
    const Clock::time_point start = Clock::now();
    const mlk::bench::Stopwatch import;
    const long long rows = mlk::ImportExchangeFile(dm, *pending, file, progress);
    const Clock::time_point end = Clock::now();
    const double cpu = import.Cpu();
    const Clock::time_point lastRow = progress.lastRow.value_or(end);
    const double wall = Seconds(start, end), waited = Seconds(lastRow, commitStart);
    std::printf(
        "%f %f %f\nfile %2d in parts: quick check alone %5.2f s wall, %5.2f s CPU; import of "
        "%lld rows %5.2f s wall, %5.2f s CPU: rows %5.2f s, then waiting for the check%s %5.2f s, "
        "commit %5.2f s\n",
        checkWall, wall, waited, p + 1, checkWall, checkCpu, rows, wall, cpu,
        Seconds(start, lastRow), p == 0 ? " and building indexes" : "", waited,
        Seconds(commitStart, end));
    return 0;
}

struct ImportParts {
    double checkAlone = 0;  // wall time of the quick check on its own
    double wall = 0;        // the whole import
    double waited = 0;      // for the check after the last row (and building indexes)
};

ImportParts PrintImportParts(const fs::path& self, const fs::path& dir, const fs::path& db, int p,
                             const fs::path& file) {
    const fs::path out = dir / "parts.txt";
    const ChildRun run = RunMeasured(Quoted(self) + " --in-parts " + Quoted(db) + " " +
                                     std::to_string(p) + " " + Quoted(file) + " >" + Quoted(out));
    ImportParts parts;
    std::ifstream in(out);
    std::string shown;
    in >> parts.checkAlone >> parts.wall >> parts.waited >> std::ws;
    std::getline(in, shown);
    std::printf("%s (exit %d, peak %.1f MiB, load %s)\n", shown.c_str(), run.code, run.peakMiB,
                mlk::bench::LoadAverage().c_str());
    return parts;
}

// The last file's time in parts, beside the first's: the import's own, the check's, and the
// engine's storing of the same rows alone. The last file is imported when called and when done.
void PrintLastFileInParts(const fs::path& self, const fs::path& dir, const fs::path& mlkPath,
                          int last, const fs::path& firstFile, const fs::path& lastFile) {
    const fs::path centre = dir / "centre.db", other = dir / "other.db", rows = dir / "rows.db";
    {
        mlk::Database keep(rows);
        keep.Exec("attach database ? as centre", {centre.string()});
        keep.Exec("create table main.MLK_JiBXX as select * from centre.MLK_JiBXX where 0");
        keep.Exec("insert into main.MLK_JiBXX select * from centre.MLK_JiBXX where ShangBJGID = ?",
                  {PendingId(last)});
    }
    RunMeasured(Quoted(mlkPath) + " --db " + Quoted(centre) +
                " remove-import --yes --no-backup --pending " + PendingId(last) +
                " >/dev/null 2>&1");
    // The same rows, so that only the directory they go into differs.
    const auto storing = [&](const fs::path& db, bool buildIndexesAgain) {
        mlk::bench::WriteStoringScript(db, rows, buildIndexesAgain, dir / "storing.sql");
        return RunMeasured("sqlite3 " + Quoted(db) + " < " + Quoted(dir / "storing.sql"));
    };
    fs::copy_file(dir / "new.db", other, fs::copy_options::overwrite_existing);
    const ChildRun engineFirst = storing(other, true), engineLast = storing(centre, false);
    mlk::Database(centre).Exec("delete from MLK_JiBXX where ShangBJGID = ?", {PendingId(last)});
    fs::remove(rows);
    std::printf(
        "the engine storing file %d's rows from a table, no check: %.2f s into a new "
        "installation, %.2f s into the directory before file %d (exit %d, %d)\n",
        last + 1, engineFirst.wall, engineLast.wall, last + 1, engineFirst.code, engineLast.code);

    fs::copy_file(dir / "new.db", other, fs::copy_options::overwrite_existing);
    const ImportParts first = PrintImportParts(self, dir, other, 0, firstFile);
    fs::remove(other);
    const ImportParts parts = PrintImportParts(self, dir, centre, last, lastFile);
    std::printf(
        "file %d / file 1, in parts: %.2f wall; without the wait for the check %.2f; the check "
        "alone %.2f; the engine storing alone %.2f\n",
        last + 1, parts.wall / first.wall, (parts.wall - parts.waited) / first.wall,
        parts.checkAlone / first.wall, engineLast.wall / engineFirst.wall);
}

void PrintPages(mlk::TMainDM& dm, const char* name, const mlk::ListQueryBuilder& query,
                const std::function<std::size_t(const mlk::Statement&)>& cells) {
    long long pages = 0;
    const double first = mlk::bench::PageMilliseconds(dm, query, 1, pages, cells);
    const long long middle = std::max(1LL, (pages + 1) / 2), last = std::max(1LL, pages);
    const double atMiddle = mlk::bench::PageMilliseconds(dm, query, middle, pages, cells);
    const double atLast = mlk::bench::PageMilliseconds(dm, query, last, pages, cells);
    const double worst = std::max({first, atMiddle, atLast});
    std::printf(
        "%-24s %6lld pages: first %7.2f ms, middle %7.2f ms, last %7.2f ms (target < 100: "
        "%s)\n",
        name, pages, first, atMiddle, atLast, worst < 100 ? "met" : "NOT MET");
}

void PrintListPages(const fs::path& db) {
    mlk::TMainDM dm(db);
    const struct {
        const char* name;
        mlk::EntryListKind kind;
    } lists[] = {{"录入同级主管部门", mlk::EntryListKind::SameLevelDepartments},
                 {"录入下级管理机构", mlk::EntryListKind::Agencies},
                 {"录入下属公共机构", mlk::EntryListKind::SubordinateInstitutions}};
    for (const auto& list : lists) {
        PrintPages(dm, list.name, mlk::EntryListQuery(list.kind, kCentre, {}),
                   [&](const mlk::Statement& row) {
                       return mlk::EntryCells(list.kind, row, dm.Codes()).size();
                   });
    }
    PrintPages(dm, "导入下级管理机构数据", mlk::PendingListQuery(mlk::PendingKind::Agencies, {}),
               [&](const mlk::Statement& row) {
                   return mlk::PendingCells(dm, mlk::PendingKind::Agencies, row).size();
               });
}

// The child: one summary over the directory; prints its rows.
int BuildSummary(const std::string& kind, const fs::path& db) {
    mlk::TMainDM dm(db);
    mlk::SummaryTable table;
    if (kind == "directory")
        table = mlk::DirectorySummary(dm);
    else if (kind == "counts")
        table = mlk::CountSummary(dm);
    else if (kind == "state-organs")
        table = mlk::StateOrganSummary(dm);
    else
        table = mlk::TypeSummary(dm);
    std::printf("%zu", table.rows.size());
    return 0;
}

void PrintSummaries(const fs::path& self, const fs::path& dir) {
    const struct {
        const char* kind;
        double limitSeconds;
    } summaries[] = {{"directory", 10}, {"counts", 3}, {"state-organs", 3}, {"types", 3}};
    for (const auto& summary : summaries) {
        const fs::path out = dir / "summary-rows.txt";
        const ChildRun run = RunMeasured(Quoted(self) + " --summary " + summary.kind + " " +
                                         Quoted(dir / "centre.db") + " >" + Quoted(out));
        std::ifstream in(out);
        long long rows = 0;
        in >> rows;
        const bool met = run.code == 0 && run.wall < summary.limitSeconds && run.peakMiB < 1024;
        std::printf(
            "summary %-13s %8lld rows: %6.2f s wall, %6.2f s CPU, peak %7.1f MiB "
            "(target < %.0f s, < 1024 MiB: %s)\n",
            summary.kind, rows, run.wall, run.cpu, run.peakMiB, summary.limitSeconds,
            met ? "met" : "NOT MET");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path self = fs::absolute(fs::path(argv[0]));
    if (argc == 4 && std::string(argv[1]) == "--summary")
        return BuildSummary(argv[2], argv[3]);
    if (argc == 5 && std::string(argv[1]) == "--in-parts")
        return ImportInParts(argv[2], std::atoi(argv[3]), argv[4]);

    const int files = argc > 1 ? std::clamp(std::atoi(argv[1]), 1, int(kProvinces.size())) : 31;
    const long long lines = argc > 2 ? std::atoll(argv[2]) : mlk::bench::kProvinceLines;
    const fs::path mlkPath = mlk::bench::MlkProgram(argc, argv, 3);
    const mlk::bench::RunFolder folder("centre");
    const fs::path& dir = folder.Path();
    std::printf("load average at start: %s\n", mlk::bench::LoadAverage().c_str());

    mlk::bench::NewCentre(dir / "new.db", files);
    long long serial = 0;
    std::vector<ChildRun> firstRuns, lastRuns;
    const auto fileOf = [&](int p) { return dir / ("province-" + std::to_string(p + 1) + ".txt"); };
    const auto import = [&](const fs::path& db, int p) {
        return RunMeasured(Quoted(mlkPath) + " --db " + Quoted(db) + " import --pending " +
                           PendingId(p) + " " + Quoted(fileOf(p)) + " >/dev/null 2>&1");
    };
    // sample: which of the three runs of the first or the last file, 0 for any other file.
    const auto print = [&](int p, const ChildRun& run, int sample) {
        const std::string of = sample ? " (" + std::to_string(sample) + "/3)" : "";
        std::printf("file %2d%s: exit %d, %7.2f s wall, %7.2f s CPU, peak %6.1f MiB (load %s)\n",
                    p + 1, of.c_str(), run.code, run.wall, run.cpu, run.peakMiB,
                    mlk::bench::LoadAverage().c_str());
        std::fflush(stdout);
    };
    fs::copy_file(dir / "new.db", dir / "centre.db");
    for (int p = 0; p < files; ++p) {
        mlk::bench::WriteProvinceFile(fileOf(p), kProvinces[std::size_t(p)], lines, serial);
        if (p == 0) {
            firstRuns.push_back(import(dir / "centre.db", p));
            print(p, firstRuns.back(), 1);
        } else if (p == files - 1) {
            // The last file is imported, then removed through the program and imported again;
            // between these, the first file goes into a new installation again, so that both
            // files' samples are taken as close in time as they can be on a shared machine.
            for (int sample = 1; sample <= 3; ++sample) {
                if (sample > 1) {
                    const ChildRun removal = RunMeasured(
                        Quoted(mlkPath) + " --db " + Quoted(dir / "centre.db") +
                        " remove-import --yes --pending " + PendingId(p) + " >/dev/null 2>&1");
                    std::printf("file %2d removed: exit %d, %7.2f s wall, %7.2f s CPU\n", p + 1,
                                removal.code, removal.wall, removal.cpu);
                    fs::copy_file(dir / "new.db", dir / "other.db",
                                  fs::copy_options::overwrite_existing);
                    firstRuns.push_back(import(dir / "other.db", 0));
                    print(0, firstRuns.back(), sample);
                }
                lastRuns.push_back(import(dir / "centre.db", p));
                print(p, lastRuns.back(), sample);
            }
            fs::remove(dir / "other.db");
        } else {
            print(p, import(dir / "centre.db", p), 0);
        }
        if (p > 0 && p < files - 1)
            fs::remove(fileOf(p));
    }
    if (files > 1) {
        const ChildRun first = Median(firstRuns), last = Median(lastRuns);
        PrintLastFileInParts(self, dir, mlkPath, files - 1, fileOf(0), fileOf(files - 1));
        std::printf("file 1, median of 3:  %7.2f s wall, %7.2f s CPU\n", first.wall, first.cpu);
        std::printf("file %d, median of 3: %7.2f s wall, %7.2f s CPU\n", files, last.wall,
                    last.cpu);
        const double wall = last.wall / first.wall, cpu = last.cpu / first.cpu;
        // Judged on wall time: the check that every import makes runs on a second thread.
        std::printf("file %d / file 1: wall %.2f (target at most 1.5: %s), CPU %.2f\n", files, wall,
                    wall <= 1.5 ? "met" : "NOT MET", cpu);
    }
    fs::remove(fileOf(0));
    fs::remove(fileOf(files - 1));
    std::printf("directory: %lld imported rows\n", serial);

    PrintListPages(dir / "centre.db");
    PrintSummaries(self, dir);
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
