// Times one page of each entry list (count statement, page statement and the cells of its rows,
// as the list windows run them) over a directory of 500,000 rows: the first, a middle and the
// last page, without a filter and with a name filter. Prints milliseconds per page.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "entry/EntryList.h"
#include "model/GGJG.h"
#include "model/TMainDM.h"

namespace {

using mlk::EntryListKind;

constexpr int kRows = 500000;
constexpr int kAgencies = 50000;
constexpr int kOtherUnits = 20000;  // imported rows of units below
constexpr const char* kUnit = "110101UNIT000001";

mlk::GGJG Row(int i) {
    mlk::GGJG r;
    r.JiGID = "110101" + std::to_string(1000000000 + i);
    r.JiGMC = "北京市东城区第" + std::to_string(i) + (i % 2 ? "中学" : "小学");
    r.ZuZJGDM = std::to_string(100000000 + i);
    r.HangYDM = "P82";
    r.XingZQH = "110101";
    r.XingZJB = std::to_string(i % 9);
    r.JieDLB = i < kAgencies ? "0" : "1";
    r.JieDMC = r.JiGMC;
    r.ShangJHYZGBM = "东城区教育委员会";
    r.CaiZJFLYFS = std::to_string(i % 2);
    r.JiGLX = i % 3 ? "8230" : "8240";
    r.DiZhi_Shen = "北京市";
    r.DiZhi_Shi = "市辖区";
    r.DiZhi_Xian = "东城区";
    r.DiZhi_JieD = "东华门街道";
    r.LianXRXM = "联系人";
    r.LianXDH = "01065000000";
    r.ChuSHSJ = "2024-05-06";
    r.GengXZT = std::to_string(i % 2);
    r.QueRZT = std::to_string(i % 4 == 0);
    r.ShuJLY = i >= kRows - kOtherUnits ? "1" : "0";
    r.ShangJBMID = i >= kRows - kOtherUnits ? "110101OTHERUNIT1" : kUnit;
    r.JiC = 1;
    r.ShunX = i % 100;  // many equal orders, so the later sort keys matter
    return r;
}

void Fill(mlk::TMainDM& dm) {
    std::vector<mlk::SqlStatement> batch;
    batch.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        batch.push_back({mlk::GGJG::InsertSQL(), Row(i).InsertParams()});
    dm.ExecSQLBatch(batch);
    dm.Db().Exec("analyze");
}

// One page as a window shows it; returns milliseconds.
double TimePage(mlk::TMainDM& dm, EntryListKind kind, const mlk::EntryFilters& filters,
                long long page, long long& pages) {
    const auto start = std::chrono::steady_clock::now();
    const mlk::ListQueryBuilder query = mlk::EntryListQuery(kind, kUnit, filters);
    const long long count = query.Count(dm.Db());
    pages = mlk::PageCount(count, mlk::kDefaultPageSize);
    mlk::Statement rows = query.PageStatement(dm.Db(), mlk::kDefaultPageSize, page);
    std::size_t cells = 0;
    while (rows.Step())
        cells += mlk::EntryCells(kind, rows, dm.Codes()).size();
    const auto end = std::chrono::steady_clock::now();
    if (cells == 0 && count > 0)
        std::printf("(empty page %lld)\n", page);
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(mlk::TMainDM& dm, EntryListKind kind, const mlk::EntryFilters& filters,
              long long page) {
    double times[5];
    long long pages = 0;
    for (double& t : times)
        t = TimePage(dm, kind, filters, page, pages);
    std::sort(std::begin(times), std::end(times));
    return times[2];
}

}  // namespace

int main() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "mlk-bench-entry-pages.db";
    std::filesystem::remove(path);
    {
        mlk::TMainDM dm(path);
        const auto start = std::chrono::steady_clock::now();
        Fill(dm);
        std::printf(
            "%d rows stored in %.1f s\n", kRows,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

        const struct {
            const char* name;
            EntryListKind kind;
        } lists[] = {{"录入同级主管部门", EntryListKind::SameLevelDepartments},
                     {"录入下级管理机构", EntryListKind::Agencies},
                     {"录入下属公共机构", EntryListKind::SubordinateInstitutions}};
        std::printf("%-20s %-10s %8s %10s %10s %10s\n", "list", "filter", "pages", "first ms",
                    "middle ms", "last ms");
        for (const auto& list : lists) {
            for (const char* name : {"", "小学"}) {
                mlk::EntryFilters filters;
                filters.name = name;
                long long pages = 0;
                TimePage(dm, list.kind, filters, 1, pages);  // warm the cache
                const long long middle = std::max(1LL, pages / 2);
                std::printf("%-24s %-10s %8lld %10.2f %10.2f %10.2f\n", list.name,
                            *name ? "名称 %小学%" : "none", pages,
                            Median(dm, list.kind, filters, 1),
                            Median(dm, list.kind, filters, middle),
                            Median(dm, list.kind, filters, std::max(1LL, pages)));
            }
        }
    }
    std::filesystem::remove(path);
    return 0;
}
