#include "BenchSupport.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "entry/ListQuery.h"
#include "model/TMainDM.h"

namespace mlk::bench {

namespace {

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

Stopwatch::Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(ProcessorSeconds()) {}

double Stopwatch::Wall() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
}

double Stopwatch::Cpu() const {
    return ProcessorSeconds() - cpu_;
}

ChildRun RunMeasured(const std::string& command) {
    const std::filesystem::path report =
        std::filesystem::temp_directory_path() / ("mlk-bench-time-" + TMainDM::NewID());
    // The child's own accounting: a forked child would otherwise be charged with the pages of
    // this process.
    std::string quoted;
    for (char c : command)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const std::string timed =
        "/usr/bin/time -f '%e %U %S %M' -o '" + report.string() + "' sh -c '" + quoted + "'";
    const int status = std::system(timed.c_str());
    ChildRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // A child that fails gets a line "Command exited with non-zero status N" before the figures.
    std::ifstream in(report);
    std::string line, figures;
    while (std::getline(in, line)) {
        if (!line.empty())
            figures = line;
    }
    std::istringstream values(figures);
    double user = 0, system = 0, kib = -1;
    if (values >> run.wall >> user >> system >> kib) {
        run.cpu = user + system;
        run.peakMiB = kib / 1024;
    }
    in.close();
    std::filesystem::remove(report);
    return run;
}

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

std::filesystem::path MlkProgram(int argc, char** argv, int index) {
    if (argc > index)
        return argv[index];
    return std::filesystem::absolute(argv[0]).parent_path().parent_path() / "mlk";
}

RunFolder::RunFolder(const std::string& bench) {
    const char* kept = std::getenv("MLK_BENCH_DIR");
    keep_ = kept != nullptr;
    path_ = keep_ ? std::filesystem::path(kept)
                  : std::filesystem::temp_directory_path() /
                        ("mlk-bench-" + bench + "-" + TMainDM::NewID());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

RunFolder::~RunFolder() {
    if (!keep_)
        std::filesystem::remove_all(path_);
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void WrittenThrough(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        std::perror(file.c_str());
        std::exit(1);
    }
    ::close(fd);
}

void WriteStoringScript(const std::filesystem::path& installation,
                        const std::filesystem::path& rows, bool buildIndexesAgain,
                        const std::filesystem::path& sql) {
    std::ofstream script(sql);
    script << "pragma cache_size = -65536;\nattach '" << rows.string() << "' as bare;\nbegin;\n";
    std::string builds;
    Database db(installation);
    Statement indexes(db,
                      "select m.name, m.sql from pragma_index_list('MLK_JiBXX') as l "
                      "join sqlite_master as m on m.name = l.name "
                      "where l.origin = 'c' and not l.partial");
    while (buildIndexesAgain && indexes.Step()) {
        script << "drop index \"" << indexes.Text(0) << "\";\n";
        builds += indexes.Text(1) + ";\n";
    }
    script << "insert into main.MLK_JiBXX select * from bare.MLK_JiBXX;\n"
           << "pragma cache_size = -16384;\n"
           << builds << "commit;\n";
}

double ResidentMiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
    }
    return 0;
}

void RegisterUnit(TMainDM& dm, const std::string& id, const std::string& name,
                  const std::string& level, const std::string& type) {
    dm.ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,YouZBM,JieDMC,TianBRXM,"
        "ChuSHSJ,TongJY,DanWFZR) values (?,?,?,?,?,?,?,'填表人','2024-01-01 00:00:00','统计员','')",
        {id, name, id.substr(0, 6), level, type, id.substr(0, 6), name});
    dm.LoadCaoZDWXX();
}

double PageMilliseconds(TMainDM& dm, const ListQueryBuilder& query, long long page,
                        long long& pages,
                        const std::function<std::size_t(const Statement&)>& cells) {
    double times[5];
    for (double& time : times) {
        const auto start = std::chrono::steady_clock::now();
        pages = PageCount(query.Count(dm.Db()), kDefaultPageSize);
        Statement rows = query.PageStatement(dm.Db(), kDefaultPageSize, page);
        std::size_t made = 0;
        while (rows.Step())
            made += cells(rows);
        time = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                   .count();
        if (made == 0 && pages > 0)
            std::printf("(page %lld came back empty)\n", page);
    }
    std::sort(std::begin(times), std::end(times));
    return times[2];
}

}  // namespace mlk::bench
