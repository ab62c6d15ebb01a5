// The safety copy against the operation it guards: a directory of ROWS rows (1,000,000 unless
// given) imported under one pending institution; then, three times, the safety copy, the
// removal of the imported rows (the anchor) and the restore of the copy that brings them back.
// Prints each phase's median time and its ratio to the removal's.
//   bench_safety_copy [ROWS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "db/Backup.h"
#include "db/SafetyCopy.h"
#include "exchange/Import.h"
#include "model/GGJG.h"
#include "model/Maintenance.h"
#include "model/TMainDM.h"
#include "support/ExchangeRows.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPending = "440106PENDING001";

// A row of the exchange benchmarks' directory, imported under the pending institution.
mlk::GGJG Row(long long i) {
    mlk::GGJG r = mlk::bench::Row(i);
    r.ShuJLY = "1";
    r.ShangJBMID = kPending;
    r.ShangBJGID = kPending;
    r.JiC = 2;
    return r;
}

void Fill(mlk::TMainDM& dm, long long rows) {
    mlk::Transaction transaction(dm.Db());
    mlk::Statement insert(dm.Db(), mlk::GGJG::InsertSQL());
    for (long long i = 0; i < rows; ++i) {
        insert.BindAll(Row(i).InsertParams()).Run();
        insert.Reset();
    }
    dm.ExecSQL(
        "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,DaoRZT,DaoRSJ,DaoRSL,ShenHZT) "
        "values (?, '东城区教育局', '1', '1', '2024-03-05 10:00:00', ?, '0')",
        {kPending, std::to_string(rows)});
    transaction.Commit();
}

template <class F>
double Seconds(F&& phase) {
    const auto start = std::chrono::steady_clock::now();
    phase();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const fs::path folder = fs::temp_directory_path() / "mlk-bench-safety-copy";
    fs::remove_all(folder);
    fs::create_directories(folder);
    {
        mlk::TMainDM dm(folder / "GGJGMLK.DB");
        dm.ExecSQL(
            "insert into MLK_CaoZDWXX (DanWID,DanWMC,XingZQH,XingZLSJB,DanWLX,JieDMC) "
            "values ('110101UNIT000001','东城区节能办','110101','4','0','东城区节能办')");
        dm.LoadCaoZDWXX();
        std::printf("filling %lld rows: %.1f s\n", rows, Seconds([&] { Fill(dm, rows); }));
        std::printf("database %.0f MiB\n", double(fs::file_size(dm.Db().Path())) / 1048576);
        mlk::NoProgress quiet;
        const mlk::DaiDRJG pending = *mlk::LoadPending(dm, kPending);
        std::vector<double> copy, removal, restore;
        for (int round = 0; round < 3; ++round) {
            fs::path made;
            copy.push_back(
                Seconds([&] { made = mlk::KeepSafetyCopy(dm.Db(), "删除已导入数据", quiet); }));
            removal.push_back(
                Seconds([&] { mlk::RemoveImport(dm, pending, mlk::SafetyCopy::Skip, quiet); }));
            restore.push_back(Seconds([&] {
                mlk::CheckedBackup backup(dm, made, quiet);
                mlk::RestoreDatabase(dm, backup, mlk::SafetyCopy::Skip, quiet);
            }));
        }
        const double anchor = Median(removal);
        std::printf("removal of the imported rows (anchor)  %7.2f s  1.00\n", anchor);
        std::printf("safety copy before it                  %7.2f s  %.2f\n", Median(copy),
                    Median(copy) / anchor);
        std::printf("restore of the copy (check and copy)   %7.2f s  %.2f\n", Median(restore),
                    Median(restore) / anchor);
    }
    fs::remove_all(folder);
    return 0;
}
