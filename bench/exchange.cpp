// The exchange of a large directory, each figure against the sqlite3 command-line shell doing the
// same work in the same run (the anchor):
// - export: `mlk export` of a directory of ROWS rows (1,000,000 unless given) against the shell
//   writing the same ordered query as CSV, each twice, in turn, the better run counting; then the
//   quick check that every export runs, the full check of `mlk check` and the online backup,
//   each against a plain copy of the file;
// - import: `mlk import` of the exported file into a new installation against the shell's
//   .import of the same rows, as stored, from UTF-8 CSV into MLK_JiBXX of a new installation
//   (the same key and secondary indexes), and into a bare table of the same columns without key
//   or index (the engine's floor as the shell reaches it); each twice, in turn, the better run
//   counting; and the engine storing the same rows with their key and indexes from a table of
//   another file (no exchange file read, converted or checked), likewise: about the least any
//   import of them takes.
// Wall time, processor time and peak resident memory of every child; the load average. The
// targets are judged on wall time, processor time printed beside.
//   bench_exchange [ROWS] [PATH-OF-mlk]   (MLK_BENCH_DIR=folder keeps the files)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "db/Backup.h"
#include "db/Integrity.h"
#include "db/Sqlite.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Export.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "support/BenchSupport.h"
#include "support/ExchangeRows.h"

namespace fs = std::filesystem;
using mlk::bench::BuildDirectory;
using mlk::bench::ChildRun;
using mlk::bench::kPending;
using mlk::bench::NewPrefecture;
using mlk::bench::Quoted;
using mlk::bench::RunMeasured;
using mlk::bench::Stopwatch;

namespace {

std::string CsvField(const std::string& value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// The rows of the exchange file as the import stores them, in the table's column order, as
// UTF-8 CSV.
void WriteStoredRowsCsv(const fs::path& exchange, const fs::path& csv) {
    std::ofstream out(csv, std::ios::binary);
    mlk::ExchangeReader reader(exchange);
    mlk::GGJG record;
    std::string line;
    while (reader.Next(record)) {
        if (record.ShuJLY == "0") {
            record.ShuJLY = "1";
            record.ShangJBMID = kPending;
        }
        record.ShangBJGID = kPending;
        ++record.JiC;
        line.clear();
        for (const std::string& value : record.InsertParams()) {
            if (!line.empty())
                line += ',';
            line += CsvField(value);
        }
        line += '\n';
        out << line;
    }
}

std::string IndexNames(const fs::path& db) {
    mlk::Database database(db);
    mlk::Statement query(database,
                         "select group_concat(name, ' ') from (select name from sqlite_master "
                         "where type = 'index' and tbl_name = 'MLK_JiBXX' order by name)");
    return query.Step() ? query.Text(0) : "";
}

// A table of MLK_JiBXX's columns and types without key, default or index.
void NewBareTable(const fs::path& installation, const fs::path& bare) {
    mlk::Database db(bare);
    db.Exec("attach database ? as installation", {installation.string()});
    db.Exec("create table main.MLK_JiBXX as select * from installation.MLK_JiBXX where 0");
}

long long Rows(const fs::path& db) {
    mlk::Database database(db);
    mlk::Statement query(database, "select count(*) from MLK_JiBXX");
    return query.Step() ? query.Int(0) : -1;
}

void PrintRun(const char* what, long long rows, const ChildRun& run) {
    std::printf(
        "%-26s exit %d, %8.2f s wall = %7.0f rows/s, %8.2f s CPU = %7.0f rows/s, peak "
        "%6.1f MiB\n",
        what, run.code, run.wall, double(rows) / run.wall, run.cpu, double(rows) / run.cpu,
        run.peakMiB);
}

// The better of two runs of the same work: the lesser times, the greater peak and exit code.
ChildRun Better(const ChildRun& a, const ChildRun& b) {
    return {std::max(a.code, b.code), std::min(a.wall, b.wall), std::min(a.cpu, b.cpu),
            std::max(a.peakMiB, b.peakMiB)};
}

// Speed against the anchor's: its time over ours. The target is judged on wall time, what the
// clerk waits for; processor time is printed beside it: the second thread that reads (import) or
// writes (export) and the check that runs alongside add to it while they shorten the wait.
void PrintRatio(const char* what, const ChildRun& ours, const ChildRun& anchor, double target,
                double peakLimitMiB) {
    const double wall = anchor.wall / ours.wall, cpu = anchor.cpu / ours.cpu;
    std::printf(
        "%s speed / anchor speed: wall %.2f (target %.1f: %s), CPU %.2f; peak %.1f MiB "
        "(target < %.0f: %s)\n",
        what, wall, target, wall >= target ? "met" : "NOT MET", cpu, ours.peakMiB, peakLimitMiB,
        ours.peakMiB < peakLimitMiB ? "met" : "NOT MET");
}

// The quick check, the full check and the online backup, each against a byte-for-byte copy of
// the same file (the export before has brought the file into the page cache for all of them).
void TimeChecksAndBackup(const fs::path& dir, double exportSeconds) {
    const fs::path db = dir / "county.db";
    Stopwatch copying;
    fs::copy_file(db, dir / "plain-copy.db");
    const double copy = copying.Wall();
    std::printf("file copy (anchor): %.2f s for %.0f MB\n", copy, double(fs::file_size(db)) / 1e6);

    mlk::Database source(db, mlk::Database::Access::ReadOnly);
    for (const auto depth : {mlk::CheckDepth::Quick, mlk::CheckDepth::Full}) {
        Stopwatch checking;
        const std::size_t findings = mlk::CheckDatabase(source, depth).size();
        const double s = checking.Wall();
        std::printf("%s: %.2f s = %.1f x the file copy = %.2f x the export (%zu findings)\n",
                    depth == mlk::CheckDepth::Quick ? "quick_check" : "integrity_check", s,
                    s / copy, s / exportSeconds, findings);
    }
    mlk::NoProgress progress;
    Stopwatch backingUp;
    mlk::BackupDatabase(source, dir / "backup.db", progress);
    const double backup = backingUp.Wall();
    std::printf("backup: %.2f s = %.1f x the file copy\n", backup, backup / copy);
    fs::remove(dir / "plain-copy.db");
    fs::remove(dir / "backup.db");
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const fs::path mlkPath = mlk::bench::MlkProgram(argc, argv, 2);
    const mlk::bench::RunFolder folder("exchange");
    const fs::path& dir = folder.Path();
    std::printf("load average at start: %s\n", mlk::bench::LoadAverage().c_str());

    Stopwatch build;
    BuildDirectory(dir / "county.db", rows);
    mlk::bench::WrittenThrough(dir / "county.db");
    std::printf("directory of %lld rows built in %.1f s\n", rows, build.Wall());

    // ---- Export ----
    // Both sides twice, in turn, the better run counting, as for the import below.
    {
        std::ofstream script(dir / "export.sql");
        script << ".mode csv\n.output '" << (dir / "anchor-export.csv").string() << "'\n"
               << mlk::kExportRowsSQL << ";\n";
    }
    ChildRun exported, exportAnchor;
    for (int round = 1; round <= 2; ++round) {
        const ChildRun ours =
            RunMeasured(Quoted(mlkPath) + " --db " + Quoted(dir / "county.db") + " export " +
                        Quoted(dir / "county.txt") + " >/dev/null 2>&1");
        const ChildRun anchor = RunMeasured("sqlite3 " + Quoted(dir / "county.db") + " < " +
                                            Quoted(dir / "export.sql"));
        std::printf("round %d (load %s):\n", round, mlk::bench::LoadAverage().c_str());
        PrintRun("  mlk export", rows, ours);
        PrintRun("  sqlite3 ordered CSV", rows, anchor);
        exported = round == 1 ? ours : Better(exported, ours);
        exportAnchor = round == 1 ? anchor : Better(exportAnchor, anchor);
    }
    std::printf("file: %.0f MB GBK, %lld lines\n", double(fs::file_size(dir / "county.txt")) / 1e6,
                rows);
    PrintRun("mlk export (better)", rows, exported);
    PrintRun("sqlite3 CSV (better)", rows, exportAnchor);
    PrintRatio("export", exported, exportAnchor, 1.5, 50);
    fs::remove(dir / "anchor-export.csv");
    TimeChecksAndBackup(dir, exported.wall);

    // ---- Import ----
    // Each side runs twice, alternately, into new installations, and the better of its two runs
    // counts: a burst of other work on the shared machine then weighs on neither side alone.
    WriteStoredRowsCsv(dir / "county.txt", dir / "county.csv");
    {
        std::ofstream script(dir / "import.sql");
        script << ".mode csv\n.import '" << (dir / "county.csv").string() << "' MLK_JiBXX\n";
    }
    NewPrefecture(dir / "fresh.db");
    const std::string freshIndexes = IndexNames(dir / "fresh.db");
    mlk::bench::WriteStoringScript(dir / "fresh.db", dir / "bare.db", true, dir / "storing.sql");
    ChildRun imported, importAnchor, bareAnchor, storing;
    const auto shellImport = [&](const char* db) {
        return RunMeasured("sqlite3 " + Quoted(dir / db) + " < " + Quoted(dir / "import.sql"));
    };
    for (int round = 1; round <= 2; ++round) {
        for (const char* db : {"prefecture.db", "anchor.db", "bare.db", "storing.db"}) {
            fs::remove(dir / db);
            if (std::string(db) != "bare.db")
                fs::copy_file(dir / "fresh.db", dir / db);
        }
        NewBareTable(dir / "fresh.db", dir / "bare.db");
        const ChildRun ours = RunMeasured(
            Quoted(mlkPath) + " --db " + Quoted(dir / "prefecture.db") + " import --pending " +
            kPending + " " + Quoted(dir / "county.txt") + " >/dev/null 2>&1");
        const ChildRun anchor = shellImport("anchor.db");
        const ChildRun bare = shellImport("bare.db");
        const ChildRun stored = RunMeasured("sqlite3 " + Quoted(dir / "storing.db") + " < " +
                                            Quoted(dir / "storing.sql"));
        std::printf("round %d (load %s):\n", round, mlk::bench::LoadAverage().c_str());
        PrintRun("  mlk import", rows, ours);
        PrintRun("  sqlite3 .import (indexed)", rows, anchor);
        PrintRun("  sqlite3 .import (bare)", rows, bare);
        PrintRun("  sqlite3 storing alone", rows, stored);
        imported = round == 1 ? ours : Better(imported, ours);
        importAnchor = round == 1 ? anchor : Better(importAnchor, anchor);
        bareAnchor = round == 1 ? bare : Better(bareAnchor, bare);
        storing = round == 1 ? stored : Better(storing, stored);
    }
    PrintRun("mlk import (better)", rows, imported);
    PrintRun("sqlite3 .import (better)", rows, importAnchor);
    PrintRun("sqlite3 bare (better)", rows, bareAnchor);
    PrintRun("sqlite3 storing (better)", rows, storing);
    PrintRatio("import", imported, importAnchor, 3.0, 150);
    std::printf("import speed / bare table's: wall %.2f, CPU %.2f\n",
                bareAnchor.wall / imported.wall, bareAnchor.cpu / imported.cpu);
    // What is left to the import's own code: the storing alone is about the least an import takes.
    std::printf(
        "import time / the engine's storing alone: wall %.2f, CPU %.2f; the target allows %.2f s, "
        "the storing alone takes %.2f s\n",
        imported.wall / storing.wall, imported.cpu / storing.cpu, importAnchor.wall / 3.0,
        storing.wall);
    const std::string indexes = IndexNames(dir / "prefecture.db");
    std::printf(
        "after the import: %lld rows (anchor %lld); indexes %s as in a new installation "
        "(%s)\n",
        Rows(dir / "prefecture.db"), Rows(dir / "anchor.db"),
        indexes == freshIndexes ? "the same" : "NOT the same", indexes.c_str());
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
