#include "reports/TypeSummary.h"

#include "model/TMainDM.h"

namespace mlk {

namespace {

const std::vector<std::string> kColumns = {
    "A0-序号-40",      "JiGID-机构ID-0",    "JieDMC-地区或部门名称-150",
    "lxbm-类型编码-0", "lxmc-类型名称-100", "sl-数量-80"};

std::vector<std::string> TypeItems(TMainDM& dm, const std::string& sql, const Params& params) {
    std::vector<std::string> items;
    dm.ForEachRow(sql, params, [&](const Statement& row) {
        items.push_back(row.Text("lxbm") + "-" + row.Text("lxmc"));
    });
    return items;
}

// Rows of a public-service type count for the own row they were imported for, an own row
// (empty ShangBJGID) for itself. The sub-selects group by this expression written out; a bare
// "jgid" would group alike, since SQLite resolves it to the select alias, not the column JiGID.
constexpr const char* kKey = "case when shangbjgid = '' then jigid else shangbjgid end";

std::string TypeQuery(bool bySecondLevel, bool byThirdLevel) {
    const std::string thirdLevelTypes =
        std::string(" select ") + kKey +
        " as jgid, count(1) as jgsl, jglx.LXBM as lxbm, jglx.LXMC as lxmc, ejlx.LXBM as ejbm "
        " from MLK_JiBXX mlk, MLK_JiGLX jglx, MLK_JiGLX ejlx "
        " where mlk.JiGLX = jglx.LXBM and jglx.PARENT = ejlx.LXBM "
        "and ejlx.PARENT = '80' "
        "and JieDLB='1' and QueRZT='1' "
        " group by " +
        std::string(kKey) + ", jglx.LXBM, jglx.LXMC, ejlx.LXBM ";
    const std::string otherType =
        std::string(" select ") + kKey +
        " as jgid, count(1) as jgsl, jglx.LXBM as lxbm, jglx.LXMC as lxmc, '8015' as ejbm "
        " from MLK_JiBXX mlk, MLK_JiGLX jglx "
        " where mlk.JiGLX = jglx.LXBM "
        "and jglx.LXBM = '8015'  "
        "and JieDLB='1' and QueRZT='1'  "
        " group by " +
        std::string(kKey) + ", jglx.LXBM, jglx.LXMC ";
    std::string sql =
        "select jbxx.JiGID,jbxx.JieDMC,"
        "hzb.lxbm,hzb.lxmc,sum(hzb.jgsl) as sl "
        "from MLK_JiBXX jbxx,( " +
        thirdLevelTypes + "UNION  " + otherType +
        ") as hzb "
        "where jbxx.JiGID = hzb.jgid  "
        "and jbxx.ShuJLY = '0' and jbxx.QueRZT = '1' ";
    if (bySecondLevel)
        sql += "and hzb.ejbm = ? ";
    if (byThirdLevel)
        sql += "and hzb.lxbm = ? ";
    sql +=
        " group by jbxx.JiGID,jbxx.JieDMC,hzb.lxbm,hzb.lxmc "
        " order by jbxx.shunx,hzb.lxbm ";
    return sql;
}

}  // namespace

std::vector<std::string> SecondLevelTypeItems(TMainDM& dm) {
    return TypeItems(dm, "select lxbm,lxmc from MLK_JiGLX where parent = '80' ", {});
}

std::vector<std::string> ChildTypeItems(TMainDM& dm, const std::string& parentCode) {
    return TypeItems(dm, "select lxbm,lxmc from MLK_JiGLX where parent = ?", {parentCode});
}

SummaryTable TypeSummaryColumns() {
    return SummaryTable{ParseColumnDefs(kColumns), {}, {0, 5}};
}

SummaryTable TypeSummary(TMainDM& dm, const std::string& secondLevel,
                         const std::string& thirdLevel) {
    SummaryTable table = TypeSummaryColumns();
    Params params;
    if (!secondLevel.empty())
        params.push_back(secondLevel);
    if (!thirdLevel.empty())
        params.push_back(thirdLevel);
    const OnePassRead read(dm.Db());
    Statement query(dm.Db(), TypeQuery(!secondLevel.empty(), !thirdLevel.empty()));
    query.BindAll(params);
    while (query.Step()) {
        table.rows.push_back({std::to_string(table.rows.size() + 1), query.Text("JiGID"),
                              query.Text("JieDMC"), query.Text("lxbm"), query.Text("lxmc"),
                              query.Text("sl")});
    }
    return table;
}

}  // namespace mlk
