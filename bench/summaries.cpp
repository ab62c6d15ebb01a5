// Times the four summary tables over a directory of 200,000 confirmed imported rows under 500 own
// rows (levels 2 to 4 below each own row, 400 rows each), and the write of the directory summary
// as .xls and as .xlsx files.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

#include "model/GGJG.h"
#include "model/TMainDM.h"
#include "reports/CountSummary.h"
#include "reports/DirectorySummary.h"
#include "reports/SummaryTable.h"
#include "reports/TypeSummary.h"
#include "support/InstitutionRows.h"

namespace {

constexpr int kOwnRows = 500;
// Children per row at levels 2, 3 and 4: 8 + 8*7 + 8*7*6 = 400 rows below each own row.
constexpr std::array<int, 3> kFanOut = {8, 7, 6};

mlk::GGJG Row(const std::string& id, const std::string& superior, const std::string& reporter,
              long long level, long long order, int serial) {
    mlk::GGJG r = mlk::bench::InstitutionRow(id, serial, level);
    r.ShangJBMID = superior;
    r.ShangBJGID = reporter;
    r.ShunX = order;
    return r;
}

class Directory {
  public:
    Directory() {
        path_ = std::filesystem::temp_directory_path() / "mlk-bench-summaries.db";
        std::filesystem::remove(path_);
        dm_ = std::make_unique<mlk::TMainDM>(path_);
        dm_->ExecSQL(
            "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,YouZBM,JieDMC,"
            "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values (?,?,?,?,?,?,?,?,?,?,?)",
            {"440106UNIT000001", "天河区节能办", "440106", "4", "0", "440106", "天河区", "王五",
             "2024-01-01 00:00:00", "", ""});
        dm_->LoadCaoZDWXX();
        std::vector<mlk::SqlStatement> batch;
        int serial = 0;
        const auto add = [&](mlk::GGJG row) {
            batch.push_back({mlk::GGJG::InsertSQL(), row.InsertParams()});
        };
        for (int own = 0; own < kOwnRows; ++own) {
            const std::string ownId = "440106OWN" + std::to_string(100000 + own);
            add(Row(ownId, "440106UNIT000001", "", 1, own, serial++));
            AddChildren(add, ownId, ownId, 2, serial);
        }
        dm_->ExecSQLBatch(batch);
    }
    ~Directory() {
        dm_.reset();
        std::filesystem::remove(path_);
    }
    mlk::TMainDM& Dm() { return *dm_; }

  private:
    template <class Add>
    void AddChildren(Add& add, const std::string& parent, const std::string& reporter,
                     long long level, int& serial) {
        if (level > 4)
            return;
        for (int k = 0; k < kFanOut[std::size_t(level - 2)]; ++k) {
            const std::string id = "440106I" + std::to_string(1000000 + serial);
            // Orders that repeat and run backwards, so the listing really sorts.
            add(Row(id, parent, reporter, level, (7 - k) % 4, serial++));
            AddChildren(add, id, reporter, level + 1, serial);
        }
    }

    std::filesystem::path path_;
    std::unique_ptr<mlk::TMainDM> dm_;
};

Directory& TheDirectory() {
    static Directory directory;
    return directory;
}

void BM_DirectorySummary(benchmark::State& state) {
    mlk::TMainDM& dm = TheDirectory().Dm();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = mlk::DirectorySummary(dm).rows.size();
    state.counters["rows"] = double(rows);
}

void BM_CountSummary(benchmark::State& state) {
    mlk::TMainDM& dm = TheDirectory().Dm();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = mlk::CountSummary(dm).rows.size();
    state.counters["rows"] = double(rows);
}

void BM_StateOrganSummary(benchmark::State& state) {
    mlk::TMainDM& dm = TheDirectory().Dm();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = mlk::StateOrganSummary(dm).rows.size();
    state.counters["rows"] = double(rows);
}

void BM_TypeSummary(benchmark::State& state) {
    mlk::TMainDM& dm = TheDirectory().Dm();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = mlk::TypeSummary(dm).rows.size();
    state.counters["rows"] = double(rows);
}

// The first rows of the directory summary written as a file of the extension's format.
void BM_WriteSummary(benchmark::State& state, const char* extension) {
    mlk::SummaryTable table = mlk::DirectorySummary(TheDirectory().Dm());
    table.rows.resize(std::min(table.rows.size(), std::size_t(state.range(0))));
    const auto file = std::filesystem::temp_directory_path() / "mlk-bench-summary";
    const std::string name = file.string() + extension;
    for (auto _ : state)
        mlk::SaveSummary(name, table);
    state.counters["bytes"] = double(std::filesystem::file_size(name));
    state.counters["rows"] = double(table.rows.size());
    std::filesystem::remove(name);
}

BENCHMARK(BM_DirectorySummary)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CountSummary)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StateOrganSummary)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TypeSummary)->Unit(benchmark::kMillisecond)->Iterations(3);
// 65,000 rows in both formats, the most .xls holds under its caption row; the whole directory
// only .xlsx holds.
BENCHMARK_CAPTURE(BM_WriteSummary, xls, ".xls")
    ->Arg(65000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_WriteSummary, xlsx, ".xlsx")
    ->Arg(65000)
    ->Arg(kOwnRows * 401)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
