#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace mlk {
class TMainDM;
class ListQueryBuilder;
class Statement;
}  // namespace mlk

namespace mlk::bench {

// Wall and processor time of one phase of this process: on a shared machine the second is the
// steadier measure.
class Stopwatch {
  public:
    Stopwatch();
    double Wall() const;
    double Cpu() const;

  private:
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

// A child program as /usr/bin/time saw it.
struct ChildRun {
    int code = -1;
    double wall = 0;
    double cpu = 0;       // user + system
    double peakMiB = -1;  // the child's own peak resident memory
};

// Runs a shell command under /usr/bin/time; its output goes where the command sends it.
ChildRun RunMeasured(const std::string& command);

// A path in double quotes, for a shell command.
std::string Quoted(const std::filesystem::path& path);

// The mlk a benchmark runs: argv[index] when given, else the one of the same build.
std::filesystem::path MlkProgram(int argc, char** argv, int index);

// The folder a run keeps its files in, emptied first: MLK_BENCH_DIR when set, left in place
// afterwards; otherwise a new one under the temporary directory, removed with its files.
class RunFolder {
  public:
    explicit RunFolder(const std::string& bench);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool keep_;
};

// The three load averages, as uptime prints them.
std::string LoadAverage();

// Waits until the file just made or copied is on the disk: otherwise the system writes it back
// while the first runs are measured, which slows them by a third or more.
void WrittenThrough(const std::filesystem::path& file);

// This process's resident memory in MiB now (key "VmRSS:") or at its peak so far ("VmHWM:").
double ResidentMiB(const std::string& key);

// A script for the sqlite3 shell: the engine's own work of an import, with nothing read from a
// file and nothing checked: the rows of the table MLK_JiBXX of the file rows stored into the
// installation's MLK_JiBXX by one statement, in the page caches the import uses (64 MiB, then
// 16 MiB), in one transaction. As an import that brings about as many rows as the directory holds,
// buildIndexesAgain drops the secondary indexes but the partial one before and builds them after.
void WriteStoringScript(const std::filesystem::path& installation,
                        const std::filesystem::path& rows, bool buildIndexesAgain,
                        const std::filesystem::path& sql);

// Registers the operating unit directly in MLK_CaoZDWXX and loads it.
void RegisterUnit(TMainDM& dm, const std::string& id, const std::string& name,
                  const std::string& level, const std::string& type);

// Milliseconds for one page as a list window shows it: the count statement, the page statement
// and the cells of its rows; the median of five runs. pages receives the page count.
// cells returns how many cells it made of a row.
double PageMilliseconds(TMainDM& dm, const ListQueryBuilder& query, long long page,
                        long long& pages,
                        const std::function<std::size_t(const Statement&)>& cells);

}  // namespace mlk::bench
