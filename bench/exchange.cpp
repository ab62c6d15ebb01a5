// The exchange of a large directory, in one run: builds a directory of N rows (1,000,000 unless
// given), exports it, times the checks and the backup of the database against a plain copy of
// its file, imports the file with `mlk import` in a fresh installation (wall time and
// peak resident memory of that process), and, as the floor, loads the same rows as UTF-8 CSV
// with the sqlite3 command-line tool (.mode csv, .import) into a plain 38-column table.
//   bench_exchange [ROWS] [PATH-OF-mlk]   (MLK_BENCH_DIR=folder keeps the files)
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/Backup.h"
#include "data/GGJG.h"
#include "data/Integrity.h"
#include "data/Sqlite.h"
#include "data/TMainDM.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Export.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

const char* const kCounties[] = {"440103", "440104", "440105", "440106", "440111", "440112",
                                 "440113", "440114", "440115", "440117", "440118", "441900"};

mlk::GGJG Row(long long i) {
    mlk::GGJG r;
    const std::string county = kCounties[i % 12];
    char hex[16];
    std::snprintf(hex, sizeof hex, "%010llX", (i * 2654435761LL) & 0xFFFFFFFFFFLL);
    r.JiGID = county + hex;
    r.JiGMC = "广州市第" + std::to_string(i) + "中学";
    r.ZuZJGDM = std::to_string(100000000 + i % 899999999);
    r.HangYDM = "P8210";
    r.XingZQH = county;
    r.XingZLSJB = "4";
    r.XingZJB = std::to_string(i % 9);
    r.JieDLB = "1";
    r.JieDMC = r.JiGMC;
    r.ShangJHYZGBM = "广州市教育局";
    r.ShangJXZZGBM = "广州市人民政府";
    r.CaiZJFLYFS = std::to_string(i % 2);
    r.JiGLX = i % 3 ? "8210" : "8310";
    r.DiZhi_Shen = "广东省";
    r.DiZhi_Shi = "广州市";
    r.DiZhi_Xian = "天河区";
    r.DiZhi_JieD = "天河路 " + std::to_string(i % 500) + "号";  // a blank: written quoted
    r.DiZhi_HaoP = std::to_string(i) + "号";
    r.YouZBM = "510000";
    r.LianXRXM = "张三";
    r.LianXDH = "020-12345678";
    r.TianBRXM = "李四";
    r.ChuSHSJ = "2024-03-01";
    r.GengXZT = "0";
    r.TongJY = "王五";
    r.QueRRXM = "李四";
    r.QueRSJ = "2024-03-02 10:00:00";
    r.QueRZT = "1";
    r.ShenHZT = "0";
    r.ShuJLY = "0";
    r.ShangJBMID = "440106UNIT000001";
    r.QiT = i % 10 ? "" : "备注，含逗号";
    r.JiC = 1;
    r.ShunX = i;
    return r;
}

void Register(mlk::TMainDM& dm, const std::string& id, const std::string& name) {
    dm.ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,YouZBM,JieDMC,TianBRXM,"
        "ChuSHSJ,TongJY,DanWFZR) values (?,?,'440106','3','0','440106',?,'填表人','','统计员','')",
        {id, name, name});
    dm.LoadCaoZDWXX();
}

void BuildDirectory(const fs::path& db, long long rows) {
    mlk::TMainDM dm(db);
    Register(dm, "440106UNIT000001", "天河区节能管理机构");
    mlk::Transaction transaction(dm.Db());
    mlk::Statement insert(dm.Db(), mlk::GGJG::InsertSQL());
    for (long long i = 0; i < rows; ++i) {
        insert.BindAll(Row(i).InsertParams()).Run();
        insert.Reset();
    }
    transaction.Commit();
}

std::string CsvField(const std::string& value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// The same rows as UTF-8 CSV, taken from the exchange file.
void WriteCsv(const fs::path& exchange, const fs::path& csv) {
    std::ofstream out(csv, std::ios::binary);
    mlk::ExchangeReader reader(exchange);
    mlk::GGJG record;
    while (reader.Next(record)) {
        const std::vector<std::string> items = mlk::ExchangeItems(record);
        std::string line;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i)
                line += ',';
            line += CsvField(items[i]);
        }
        line += "\n";
        out << line;
    }
}

// User plus system time; the machine is shared, so CPU time is the steadier measure.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct ChildRun {
    int code;
    double seconds;
    double cpu;
    long maxRssKiB;
};

ChildRun RunChild(const std::string& command) {
    const auto start = Clock::now();
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const int status = std::system(command.c_str());
    ChildRun run{WEXITSTATUS(status), Seconds(start), CpuSeconds(RUSAGE_CHILDREN) - cpuBefore, 0};
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    run.maxRssKiB = usage.ru_maxrss;  // the largest child so far
    return run;
}

// The quick check that every export runs first, the full check of `mlk check` and the online
// backup, each against a byte-for-byte copy of the same file (the anchor; the export before
// has brought the file into the page cache for all of them).
void TimeChecksAndBackup(const fs::path& dir, double exportSeconds) {
    const fs::path db = dir / "county.db";
    auto start = Clock::now();
    fs::copy_file(db, dir / "plain-copy.db");
    const double copy = Seconds(start);
    std::printf("file copy (anchor): %.2f s for %.0f MB\n", copy, double(fs::file_size(db)) / 1e6);

    mlk::Database source(db, mlk::Database::Access::ReadOnly);
    for (const auto depth : {mlk::CheckDepth::Quick, mlk::CheckDepth::Full}) {
        start = Clock::now();
        const std::size_t findings = mlk::CheckDatabase(source, depth).size();
        const double s = Seconds(start);
        std::printf("%s: %.2f s = %.1f x the file copy = %.2f x the export (%zu findings)\n",
                    depth == mlk::CheckDepth::Quick ? "quick_check" : "integrity_check", s,
                    s / copy, s / exportSeconds, findings);
    }
    mlk::NoProgress progress;
    start = Clock::now();
    mlk::BackupDatabase(source, dir / "backup.db", progress);
    const double backup = Seconds(start);
    std::printf("backup: %.2f s = %.1f x the file copy\n", backup, backup / copy);
    fs::remove(dir / "plain-copy.db");
    fs::remove(dir / "backup.db");
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const fs::path mlkPath =
        argc > 2 ? fs::path(argv[2])
                 : fs::absolute(fs::path(argv[0])).parent_path().parent_path() / "mlk";
    // MLK_BENCH_DIR keeps the files for a look afterwards.
    const char* keep = std::getenv("MLK_BENCH_DIR");
    const fs::path dir =
        keep ? fs::path(keep)
             : fs::temp_directory_path() / ("mlk-bench-exchange-" + mlk::TMainDM::NewID());
    fs::remove_all(dir);
    fs::create_directories(dir);

    auto start = Clock::now();
    BuildDirectory(dir / "county.db", rows);
    std::printf("directory of %lld rows built in %.1f s\n", rows, Seconds(start));

    double exportSeconds = 0;
    {
        mlk::TMainDM dm(dir / "county.db");
        mlk::NoProgress progress;
        start = Clock::now();
        const double cpuBefore = CpuSeconds(RUSAGE_SELF);
        const long long written = mlk::ExportDirectory(dm, dir / "county.txt", progress);
        const double s = Seconds(start);
        exportSeconds = s;
        const double cpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
        std::printf(
            "export: %lld rows in %.2f s = %.0f rows/s; CPU %.2f s = %.0f rows/s (%.0f MB file)\n",
            written, s, double(written) / s, cpu, double(written) / cpu,
            double(fs::file_size(dir / "county.txt")) / 1e6);
    }

    TimeChecksAndBackup(dir, exportSeconds);

    {
        mlk::TMainDM dm(dir / "prefecture.db");
        Register(dm, "440100UNIT000002", "广州市节能管理机构");
        dm.ExecSQL(
            "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,CaiZJFLYFS,JiGLX,"
            "DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values ('440106AGENCY0001','天河区节能管理机构',"
            "'0','4','天河区','440106','0','9900','0','','0','0','')");
    }
    // The peak memory of mlk itself, as GNU time reads it from the process's own accounting
    // (a forked child would otherwise be charged with this benchmark's pages).
    const fs::path rssFile = dir / "import-rss.txt";
    ChildRun import = RunChild("/usr/bin/time -f %M -o \"" + rssFile.string() + "\" \"" +
                               mlkPath.string() + "\" --db \"" + (dir / "prefecture.db").string() +
                               "\" import --pending 440106AGENCY0001 \"" +
                               (dir / "county.txt").string() + "\" 2>/dev/null");
    std::ifstream rss(rssFile);
    if (!(rss >> import.maxRssKiB))
        import.maxRssKiB = -1;
    std::printf(
        "mlk import: exit %d, %lld rows in %.2f s = %.0f rows/s; CPU %.2f s = %.0f rows/s; peak "
        "RSS %.1f MB\n",
        import.code, rows, import.seconds, double(rows) / import.seconds, import.cpu,
        double(rows) / import.cpu, double(import.maxRssKiB) / 1024.0);

    WriteCsv(dir / "county.txt", dir / "county.csv");
    {
        std::ofstream script(dir / "floor.sql");
        script << "create table t (";
        for (int i = 0; i < 38; ++i)
            script << (i ? "," : "") << "c" << i << (i < 36 ? " text" : " integer");
        script << ");\n.mode csv\n.import '" << (dir / "county.csv").string() << "' t\n";
    }
    const ChildRun floor = RunChild("sqlite3 \"" + (dir / "floor.db").string() + "\" < \"" +
                                    (dir / "floor.sql").string() + "\"");
    std::printf(
        "sqlite3 .import (floor): exit %d, %lld rows in %.2f s = %.0f rows/s; CPU %.2f s = %.0f "
        "rows/s\n",
        floor.code, rows, floor.seconds, double(rows) / floor.seconds, floor.cpu,
        double(rows) / floor.cpu);
    std::printf("import speed / floor speed: wall %.2f, CPU %.2f\n", floor.seconds / import.seconds,
                floor.cpu / import.cpu);

    if (!keep)
        fs::remove_all(dir);
    return 0;
}
