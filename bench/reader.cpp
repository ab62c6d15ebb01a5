// The reading of exchange files by `mlk import`, for one build or several against each other (a
// build before a change and after it), all in the same run:
// - the import of a file of ROWS lines (1,000,000 unless given), in GBK and in UTF-8, into a new
//   installation, against iconv turning the GBK file into UTF-8 (the anchor: the decoding every
//   reader of the file has to do); three rounds, the builds and the anchor alternately, the best
//   run of each counting;
// - a line of 50 MB of commas, which every build must refuse: its exit code and peak memory.
// Wall time, processor time and peak resident memory of every child; the load average.
//   bench_reader [ROWS] [MLK...]   (MLK_BENCH_DIR=folder keeps the files; no MLK: this build's)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "support/BenchSupport.h"
#include "support/ExchangeRows.h"
#include "text/Gbk.h"

namespace fs = std::filesystem;
using mlk::bench::ChildRun;
using mlk::bench::Quoted;
using mlk::bench::RunMeasured;

namespace {

constexpr int kRounds = 3;

// The county's file as the export writes it, in GBK or as UTF-8.
void WriteExchangeFile(const fs::path& file, long long rows, bool utf8) {
    std::ofstream out(file, std::ios::binary);
    std::string line;
    for (long long i = 0; i < rows; ++i) {
        line = mlk::JoinExchangeItems(mlk::ExchangeItems(mlk::bench::Row(i))) + "\r\n";
        out << (utf8 ? line : mlk::Utf8ToGbk(line));
    }
}

ChildRun Import(const fs::path& mlk, const fs::path& dir, const fs::path& file) {
    fs::remove(dir / "prefecture.db");
    fs::copy_file(dir / "fresh.db", dir / "prefecture.db");
    return RunMeasured(Quoted(mlk) + " --db " + Quoted(dir / "prefecture.db") +
                       " import --pending " + mlk::bench::kPending + " " + Quoted(file) +
                       " >/dev/null 2>&1");
}

// The lesser times, the greater peak and exit code.
ChildRun Better(const ChildRun& a, const ChildRun& b) {
    if (a.code < 0)
        return b;
    return {std::max(a.code, b.code), std::min(a.wall, b.wall), std::min(a.cpu, b.cpu),
            std::max(a.peakMiB, b.peakMiB)};
}

void PrintRun(const std::string& what, const ChildRun& run) {
    std::printf("  %-34s exit %d, %7.2f s wall, %7.2f s CPU, peak %7.1f MiB\n", what.c_str(),
                run.code, run.wall, run.cpu, run.peakMiB);
}

void CompareImports(const std::vector<fs::path>& builds, const fs::path& dir, const fs::path& file,
                    const char* what) {
    std::vector<ChildRun> best(builds.size());
    ChildRun anchor;
    for (int round = 1; round <= kRounds; ++round) {
        for (std::size_t b = 0; b < builds.size(); ++b)
            best[b] = Better(best[b], Import(builds[b], dir, file));
        anchor = Better(anchor, RunMeasured("iconv -f GBK -t UTF-8 " + Quoted(dir / "gbk.txt") +
                                            " >/dev/null"));
    }
    std::printf("%s (best of %d, load %s):\n", what, kRounds, mlk::bench::LoadAverage().c_str());
    PrintRun("iconv GBK to UTF-8 (anchor)", anchor);
    for (std::size_t b = 0; b < builds.size(); ++b) {
        PrintRun("mlk import, build " + std::to_string(b + 1), best[b]);
        std::printf("    time / anchor: wall %.2f, CPU %.2f", best[b].wall / anchor.wall,
                    best[b].cpu / anchor.cpu);
        if (b > 0) {
            std::printf("; against build 1: wall %+.1f%%, CPU %+.1f%%",
                        100 * (best[b].wall / best[0].wall - 1),
                        100 * (best[b].cpu / best[0].cpu - 1));
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    std::vector<fs::path> builds;
    for (int i = 2; i < argc; ++i)
        builds.emplace_back(argv[i]);
    if (builds.empty())
        builds.push_back(mlk::bench::MlkProgram(argc, argv, 2));
    const mlk::bench::RunFolder folder("reader");
    const fs::path& dir = folder.Path();
    std::printf("load average at start: %s\n", mlk::bench::LoadAverage().c_str());
    for (std::size_t b = 0; b < builds.size(); ++b)
        std::printf("build %zu: %s\n", b + 1, builds[b].c_str());

    WriteExchangeFile(dir / "gbk.txt", rows, false);
    WriteExchangeFile(dir / "utf8.txt", rows, true);
    std::printf("files of %lld lines: %.0f MB GBK, %.0f MB UTF-8\n", rows,
                double(fs::file_size(dir / "gbk.txt")) / 1e6,
                double(fs::file_size(dir / "utf8.txt")) / 1e6);
    mlk::bench::NewPrefecture(dir / "fresh.db");
    CompareImports(builds, dir, dir / "gbk.txt", "import of the GBK file");
    CompareImports(builds, dir, dir / "utf8.txt", "import of the UTF-8 file");

    {
        std::ofstream commas(dir / "commas.txt", std::ios::binary);
        commas << std::string(50 << 20, ',');
    }
    std::printf("a line of 50 MB of commas (refused: exit 1 expected; peak target < 200 MiB):\n");
    for (std::size_t b = 0; b < builds.size(); ++b)
        PrintRun("mlk import, build " + std::to_string(b + 1),
                 Import(builds[b], dir, dir / "commas.txt"));
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
