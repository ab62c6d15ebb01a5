// Loads a generated initial-data file of 300,000 lines and then adds every row to the directory
// in one batch; prints lines (rows) per second for each and the peak memory of each phase.
// Places are the real counties, cycled, so the division lookup meets every triple.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "entry/InitialData.h"
#include "entry/Selection.h"
#include "model/TMainDM.h"
#include "text/Gbk.h"

namespace {

constexpr int kLines = 300000;

// Wall-clock and processor time of a phase: on a shared machine the second is the steadier.
struct Timer {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    double Wall() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double Cpu() const { return double(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

// Peak resident memory in MiB since the last reset (Linux; 0 elsewhere).
double PeakMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::filesystem::path WriteFile(mlk::TMainDM& dm) {
    std::vector<std::string> places;
    dm.ForEachRow(
        "select ss.name, ds.name, xq.name from MLK_XingZQH ss, MLK_XingZQH ds, MLK_XingZQH xq "
        "where xq.parentCode = ds.code and ds.parentCode = ss.code and xq.XZJB = '县' "
        "order by xq.code",
        {}, [&](const mlk::Statement& row) {
            places.push_back(row.Text(0) + "," + row.Text(1) + "," + row.Text(2));
        });
    const auto path = std::filesystem::temp_directory_path() / "mlk-bench-initial.txt";
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < kLines; ++i) {
        const std::string id = "YS" + std::to_string(100000000 + i);
        const std::string line = id + ",第" + std::to_string(i) + "中心小学,事业单位," +
                                 places[std::size_t(i) % places.size()] + ",教育,公办,人民路" +
                                 std::to_string(i % 997) + "号,0,,,1\r\n";
        out << mlk::Utf8ToGbk(line);
    }
    return path;
}

}  // namespace

int main() {
    const auto dbPath = std::filesystem::temp_directory_path() / "mlk-bench-initial.db";
    std::filesystem::remove(dbPath);
    mlk::TMainDM dm(dbPath);
    dm.ExecSQL(
        "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,DanWLX) values "
        "('110101BENCH00001','基准单位','110101','1')");
    dm.LoadCaoZDWXX();
    const auto file = WriteFile(dm);
    const double fileMiB = double(std::filesystem::file_size(file)) / (1024 * 1024);

    ResetPeak();
    Timer timer;
    const mlk::InitialLoadResult loaded = mlk::LoadInitialData(dm, file);
    const double loadWall = timer.Wall(), loadCpu = timer.Cpu();
    const double loadPeak = PeakMiB();

    ResetPeak();
    timer = Timer();
    const std::vector<mlk::InitialRow> rows = mlk::UnchosenRows(dm, {});
    const mlk::SelectionResult selected = mlk::AddToDirectory(dm, rows);
    const double selectWall = timer.Wall(), selectCpu = timer.Cpu();
    const double selectPeak = PeakMiB();

    std::printf("file: %d lines, %.1f MiB GBK\n", kLines, fileMiB);
    std::printf(
        "load:   %zu rows, %.2f s (%.2f s processor) = %.0f lines/s (%.0f on processor time), "
        "peak %.0f MiB\n",
        loaded.stored, loadWall, loadCpu, double(loaded.lines) / loadWall,
        double(loaded.lines) / loadCpu, loadPeak);
    std::printf(
        "select: %zu rows added (%zu without division), %.2f s (%.2f s processor) = %.0f "
        "rows/s (%.0f on processor time), peak %.0f MiB\n",
        selected.added, selected.divisionNotFound.size(), selectWall, selectCpu,
        double(rows.size()) / selectWall, double(rows.size()) / selectCpu, selectPeak);
    std::filesystem::remove(file);
    std::filesystem::remove(dbPath);
    return loaded.stored == std::size_t(kLines) ? 0 : 1;
}
