// Inserts 100,000 directory rows through ExecSQLBatch and through a bare prepared-statement loop
// in one transaction (the floor), each into a fresh database, and prints rows per second.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "model/GGJG.h"
#include "model/TMainDM.h"

namespace {

constexpr int kRows = 100000;

mlk::GGJG Row(int i) {
    mlk::GGJG r;
    r.JiGID = "440106" + std::to_string(1000000000 + i);
    r.JiGMC = "广州市天河区第" + std::to_string(i) + "中学";
    r.ZuZJGDM = "12345678X";
    r.HangYDM = "P8";
    r.XingZQH = "440106";
    r.XingZJB = "4";
    r.JieDLB = "1";
    r.JieDMC = r.JiGMC;
    r.CaiZJFLYFS = "0";
    r.JiGLX = "8230";
    r.DiZhi_Shen = "广东省";
    r.DiZhi_Shi = "广州市";
    r.DiZhi_Xian = "天河区";
    r.DiZhi_JieD = "天河路";
    r.DiZhi_HaoP = std::to_string(i) + "号";
    r.LianXDH = "020-12345678";
    r.GengXZT = "0";
    r.QueRZT = "0";
    r.ShuJLY = "0";
    r.ShangJBMID = "440106UNIT000001";
    r.JiC = 1;
    r.ShunX = i;
    return r;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::filesystem::path FreshFile(const char* name) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove(path);
    return path;
}

}  // namespace

int main() {
    double batchSeconds = 0;
    double batchExecSeconds = 0;
    {
        mlk::TMainDM dm(FreshFile("mlk-bench-batch.db"));
        const auto start = std::chrono::steady_clock::now();
        std::vector<mlk::SqlStatement> batch;
        batch.reserve(kRows);
        for (int i = 0; i < kRows; ++i)
            batch.push_back({mlk::GGJG::InsertSQL(), Row(i).InsertParams()});
        const auto exec = std::chrono::steady_clock::now();
        dm.ExecSQLBatch(batch);
        batchExecSeconds = Seconds(exec);
        batchSeconds = Seconds(start);
    }
    double bareSeconds = 0;
    {
        mlk::TMainDM dm(FreshFile("mlk-bench-bare.db"));
        const auto start = std::chrono::steady_clock::now();
        sqlite3* db = dm.Db().Handle();
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, mlk::GGJG::InsertSQL().c_str(), -1, &stmt, nullptr);
        sqlite3_exec(db, "begin transaction", nullptr, nullptr, nullptr);
        for (int i = 0; i < kRows; ++i) {
            const mlk::Params values = Row(i).InsertParams();
            for (std::size_t c = 0; c < values.size(); ++c) {
                sqlite3_bind_text(stmt, int(c) + 1, values[c].data(), int(values[c].size()),
                                  SQLITE_TRANSIENT);
            }
            if (sqlite3_step(stmt) != SQLITE_DONE)
                return 1;
            sqlite3_reset(stmt);
        }
        sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr);
        sqlite3_finalize(stmt);
        bareSeconds = Seconds(start);
    }
    std::printf("rows                      %d\n", kRows);
    std::printf("ExecSQLBatch (with build) %.0f rows/s\n", kRows / batchSeconds);
    std::printf("ExecSQLBatch (exec only)  %.0f rows/s\n", kRows / batchExecSeconds);
    std::printf("bare prepared loop        %.0f rows/s\n", kRows / bareSeconds);
    std::printf("ratio batch/bare          %.0f%%\n", 100.0 * bareSeconds / batchSeconds);
    return 0;
}
