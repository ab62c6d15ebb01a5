#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Progress.h"
#include "db/Sqlite.h"
#include "model/CaoZDWXX.h"
#include "model/CodeTables.h"
#include "model/XingZQH.h"

namespace mlk {

// One statement of a batch: its text and the values bound to it.
struct SqlStatement {
    std::string sql;
    Params params;
};

// The data module: the one connection to GGJGMLK.DB, the code tables, the division and type
// lookups and the current operating unit. Every window reads and writes through it.
class TMainDM {
  public:
    // Opens the database (creating a missing file unless access says otherwise), completes its
    // tables and reference rows, builds the code tables and loads the operating unit. A file that
    // is not a database stops here with an MlkError and is left untouched.
    explicit TMainDM(const std::filesystem::path& path = DefaultPath(),
                     Database::Access access = Database::Access::Create);
    // The same on a file that exists, on a connection under a watch from its first statement on
    // (work off the window's thread: see Database::SetWatch).
    TMainDM(const std::filesystem::path& path, ConnectionWatch* watch);
    TMainDM(const TMainDM&) = delete;
    TMainDM& operator=(const TMainDM&) = delete;

    // Reads the database anew once its contents were replaced (a restore): completes what an
    // older build left, rebuilds the code tables and reloads the operating unit.
    void Reload();

    // GGJGMLK.DB in the current working directory.
    static std::filesystem::path DefaultPath();

    Database& Db() { return db_; }

    // ---- Statements ----
    void ExecSQL(std::string_view sql, const Params& params = {});
    // All statements in one transaction: any failure rolls back every one of them and is passed
    // on. Empty texts are skipped. Repeated texts reuse one prepared statement.
    void ExecSQLBatch(const std::vector<SqlStatement>& batch, Progress* progress = nullptr);

    // Calls f(const Statement&) for every row.
    template <class F>
    void ForEachRow(std::string_view sql, const Params& params, F&& f) {
        Statement query(db_, sql);
        query.BindAll(params);
        while (query.Step())
            f(static_cast<const Statement&>(query));
    }
    bool HasRow(std::string_view sql, const Params& params = {});
    // Column 0 of the first row as text, empty when there is no row.
    std::string QueryText(std::string_view sql, const Params& params = {});
    // Column 0 of the first row as a number, 0 when there is no row.
    long long QueryInt(std::string_view sql, const Params& params = {});

    // ---- Ids and time ----
    // 10 upper-case hexadecimal characters from a fresh GUID.
    static std::string NewID();
    static std::string NowText();    // "yyyy-mm-dd hh:nn:ss"
    static std::string TodayText();  // "yyyy-mm-dd"

    // ---- The operating unit ----
    CaoZDWXX& Unit() { return unit_; }
    const CaoZDWXX& Unit() const { return unit_; }
    void LoadCaoZDWXX();

    // ---- Code tables ----
    const CodeTables& Codes() const { return codes_; }
    std::string CodeLabel(std::string_view code, std::string_view key) const {
        return codes_.CodeLabel(code, key);
    }
    // The items of FillCodeCombo: "--全部--" and the table.
    std::vector<std::string> CodeComboItems(std::string_view key) const {
        return codes_.ComboItems(key);
    }

    // ---- Division and type lookups (the items the fill operations put into a combo) ----
    std::vector<std::string> ProvinceItems();
    // "--全部--" and the cities of a province; a province without cities offers only itself.
    std::vector<std::string> CityItems(const std::string& provinceCode);
    // "--全部--" and the counties of a city; a city without counties offers only itself.
    std::vector<std::string> CountyItems(const std::string& cityCode);
    // "--全部--" and the top-level types except "9900".
    std::vector<std::string> TopTypeItems();
    // The item of the division with the longest name at a level ("市", "县"), and of the type
    // with the longest name: a list that a choice refills is given room for it beforehand.
    std::string LongestDivisionItem(const std::string& level);
    std::string LongestTypeItem();
    XingZQH GetXingZQH(const std::string& code);
    // The items the province, city and county boxes show once a user has walked the cascade to
    // the division with this code; a box the division is not reached in, and those below it,
    // stay at "--全部--". A city without counties is its own county. An unknown code raises an
    // MlkError naming it.
    struct DivisionItems {
        std::string province, city, county;
    };
    DivisionItems ChooseDivision(const std::string& code);
    XingZQH FindXingZQHByNames(const std::string& province, const std::string& city,
                               const std::string& county);
    std::string LookupDivisionName(const std::string& code);

  private:
    TMainDM(const std::filesystem::path& path, Database::Access access, ConnectionWatch* watch);

    std::vector<std::string> ChildDivisionItems(const std::string& parentCode, const char* level);

    Database db_;
    CodeTables codes_;
    CaoZDWXX unit_;
};

}  // namespace mlk
