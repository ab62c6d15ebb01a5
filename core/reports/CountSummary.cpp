#include "reports/CountSummary.h"

#include <array>

#include "model/TMainDM.h"

namespace mlk {

namespace {

// ---- Counts by category ---------------------------------------------------------------------

const std::vector<std::string> kCountColumns = {
    "A0-序号-40",         "JiGID-机构ID-0",     "JieDMC-所辖地区或所属部门名称-150",
    "heji-合计-80",       "guojjg-国家机关-80", "shiydw-事业单位-80",
    "jiaoy-教育类-80",    "kej-科技类-80",      "wenh-文化类-80",
    "weis-卫生类-80",     "tiy-体育类-80",      "qit-其他类-80",
    "tuantzz-团体组织-80"};

// The eight counts of an imported row's category, in the order of the union below.
constexpr std::array<const char*, 8> kCategories = {"gjjg", "jiaoy", "kej", "wenh",
                                                    "weis", "tiy",   "qit", "ttzz"};

struct CategoryRule {
    bool byParent;          // the rule looks at the parent of the row's type
    const char* condition;  // the rule's own condition
};
// State organs are "70" and its kinds "7010".."7017": one list of codes, which the engine looks
// up code by code in the index, where two conditions joined by or made it merge two lookups.
constexpr std::array<CategoryRule, 8> kCategoryRules = {{
    {false, " and sbsj.JiGLX in (select LXBM from MLK_JiGLX where LXBM = '70' or PARENT = '70') "},
    {true, " and sjlx.lxbm = '8200' "},
    {true, " and sjlx.lxbm = '7300' "},
    {true, " and sjlx.lxbm = '8600' "},
    {true, " and sjlx.lxbm = '8300' "},
    {true, " and sjlx.lxbm = '8800' "},
    {false, " and sbsj.JiGLX = '8015' "},
    {true, " and sjlx.lxbm = '94' "},
}};

// " select shangbjgid, count(1) as gjjg,0 as jiaoy, ... " with this rule's count as count(1).
std::string CategorySelect(std::size_t rule) {
    std::string sql = " select shangbjgid, ";
    for (std::size_t i = 0; i < kCategories.size(); ++i) {
        if (i)
            sql += ", ";
        sql += (i == rule ? "count(1) as " : "0 as ") + std::string(kCategories[i]);
    }
    sql += "  ";
    const CategoryRule& r = kCategoryRules[rule];
    sql +=
        r.byParent ? " from MLK_JiBXX sbsj, MLK_JiGLX lx,mlk_jiglx sjlx " : " from MLK_JiBXX sbsj ";
    sql += " where shujly='1' and QueRZT='1' and JieDLB='1' ";
    if (r.byParent)
        sql += " and sbsj.JiGLX = lx.LXBM  and sjlx.lxbm = lx.PARENT ";
    sql += r.condition;
    sql += " group by shangbjgid  ";
    return sql;
}

std::string CountQuery() {
    std::string sql =
        " select mlk.JiGID,mlk.JieDMC,mlk.JiGLX,mlk.JieDLB, "
        " heji,guojjg,shiydw,jiaoy,kej,wenh,weis,tiy,hzsj.qit,tuantzz "
        " from MLK_JiBXX mlk LEFT JOIN ( "
        " select hzb.shangbjgid as jigid, "
        " sum(gjjg)+sum(jiaoy)+sum(kej)+sum(wenh)+sum(weis)+sum(tiy)+sum(qit)+sum(ttzz) as heji, "
        " sum(gjjg) as guojjg, sum(jiaoy)+sum(kej)+sum(wenh)+sum(weis)+sum(tiy)+sum(qit) as "
        "shiydw, "
        " sum(jiaoy) as jiaoy,  "
        " sum(kej) as kej, sum(wenh) as wenh, sum(weis) as weis,sum(tiy) as tiy,  "
        " sum(qit) as qit, sum(ttzz) as tuantzz "
        " from ( ";
    for (std::size_t rule = 0; rule < kCategoryRules.size(); ++rule) {
        if (rule)
            sql += " union ";
        sql += CategorySelect(rule);
    }
    sql +=
        "  "
        " ) as hzb "
        " group by hzb.shangbjgid "
        " ) hzsj "
        " ON mlk.jigid = hzsj.jigid "
        " WHERE mlk.QueRZT='1' "
        " and mlk.shujly='0' "
        " order by mlk.shunx ";
    return sql;
}

// Positions of the ten counts in a row of the list (after number, id and name).
enum Count { kHeJi, kGuoJJG, kShiYDW, kJiaoY, kKeJ, kWenH, kWeiS, kTiY, kQiT, kTuanTZZ, kCounts };
constexpr std::array<const char*, kCounts> kCountNames = {
    "heji", "guojjg", "shiydw", "jiaoy", "kej", "wenh", "weis", "tiy", "qit", "tuantzz"};

// An own row of the directory counts itself by the first rule its type begins with: state
// organs ("70" and its kinds "70xx"), organisations, or a field of the public-service
// institutions, which also counts under shiydw.
void CountOwnRow(const std::string& type, std::array<long long, kCounts>& counts) {
    struct Rule {
        const char* prefix;
        Count field;  // besides heji
    };
    static constexpr Rule kRules[] = {
        {"70", kGuoJJG}, {"94", kTuanTZZ}, {"80", kQiT},  {"82", kJiaoY},
        {"73", kKeJ},    {"86", kWenH},    {"83", kWeiS}, {"88", kTiY},
    };
    ++counts[kHeJi];
    for (const Rule& rule : kRules) {
        if (!type.starts_with(rule.prefix))
            continue;
        ++counts[rule.field];
        if (rule.field != kGuoJJG && rule.field != kTuanTZZ)
            ++counts[kShiYDW];
        return;
    }
}

// ---- State organs by kind -------------------------------------------------------------------

const std::vector<std::string> kStateOrganColumns = {
    "A0-序号-40",    "JiGID-机构ID-0",       "JieDMC-地区或部门名称-150",
    "heji-合计-80",  "guojjg-中国共产党-80", "shiydw-人大-80",
    "jiaoy-政府-80", "kej-政协-80",          "wenh-民主党派-80",
    "weis-审判-80",  "tiy-检察-80",          "qit-其他类-80"};

struct Kind {
    const char* column;
    const char* code;
};
constexpr std::array<Kind, 8> kKinds = {{{"gongcd", "7010"},
                                         {"rend", "7011"},
                                         {"zhengf", "7012"},
                                         {"zhengx", "7013"},
                                         {"minzdp", "7014"},
                                         {"shenp", "7016"},
                                         {"jianc", "7015"},
                                         {"qit", "7017"}}};

std::string StateOrganQuery() {
    std::string heji, sums, unions;
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        const std::string column = kKinds[k].column;
        heji += (k ? "+sum(" : "sum(") + column + ")";
        sums += ", sum(" + column + ") as " + column;
        if (k)
            unions += " union ";
        unions += " select shangbjgid, ";
        for (std::size_t i = 0; i < kKinds.size(); ++i) {
            if (i)
                unions += ", ";
            unions += (i == k ? "count(1) as " : "0 as ") + std::string(kKinds[i].column);
        }
        unions += " from MLK_JiBXX sbsj where shujly = '1' and QueRZT = '1' and jiglx = '" +
                  std::string(kKinds[k].code) + "' group by shangbjgid ";
    }
    // Qualified: the directory has a column QiT of its own.
    std::string select = " select mlk.JiGID,mlk.JieDMC, hzsj.heji";
    for (const Kind& kind : kKinds)
        select += std::string(",hzsj.") + kind.column;
    return select + " from MLK_JiBXX mlk, ( select hzb.shangbjgid as jigid, " + heji + " as heji" +
           sums + " from ( " + unions +
           " ) as hzb group by hzb.shangbjgid ) hzsj "
           " where mlk.jigid = hzsj.jigid and mlk.QueRZT = '1' and mlk.shujly = '0' ";
}

}  // namespace

SummaryTable CountSummary(TMainDM& dm) {
    SummaryTable table;
    table.columns = ParseColumnDefs(kCountColumns);
    table.figureColumns = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::array<long long, kCounts> totals{};
    const OnePassRead read(dm.Db());
    Statement query(dm.Db(), CountQuery());
    std::array<int, kCounts> at{};
    for (std::size_t i = 0; i < kCounts; ++i)
        at[i] = query.ColumnIndex(kCountNames[i]);
    while (query.Step()) {
        std::array<long long, kCounts> counts{};
        for (std::size_t i = 0; i < kCounts; ++i)
            counts[i] = query.Int(at[i]);  // NULL is 0
        if (query.Text("JieDLB") == "1")
            CountOwnRow(query.Text("JiGLX"), counts);

        std::vector<std::string> row{std::to_string(table.rows.size() + 1), query.Text("JiGID"),
                                     query.Text("JieDMC")};
        for (std::size_t i = 0; i < kCounts; ++i) {
            row.push_back(std::to_string(counts[i]));
            totals[i] += counts[i];
        }
        table.rows.push_back(std::move(row));
    }
    std::vector<std::string> total{std::to_string(table.rows.size() + 1), dm.Unit().DanWID, "合计"};
    for (long long value : totals)
        total.push_back(std::to_string(value));
    table.rows.push_back(std::move(total));
    return table;
}

SummaryTable StateOrganSummary(TMainDM& dm) {
    SummaryTable table;
    table.columns = ParseColumnDefs(kStateOrganColumns);
    table.figureColumns = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const OnePassRead read(dm.Db());
    Statement query(dm.Db(), StateOrganQuery());
    const int columns = query.ColumnCount();
    while (query.Step()) {
        std::vector<std::string> row{std::to_string(table.rows.size() + 1)};
        for (int i = 0; i < columns; ++i)
            row.push_back(query.Text(i));
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace mlk
