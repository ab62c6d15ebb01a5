#include "exchange/PendingList.h"

#include "model/TMainDM.h"

namespace mlk {

const std::vector<std::string>& PendingColumns(PendingKind kind) {
    static const std::vector<std::string> departments = {
        "A0-序号-40",           "JiGID-机构ID-0",
        "JiGMC-机构名称-200",   "JieDLB-节点类别-100",
        "XingZJB-行政级别-60",  "JieDMC-节点名称-120",
        "XingZQH-行政区划-70",  "CaiZJFLYFS-财政经费来源方式-70",
        "JiGLX-机构类型-80",    "DaoRZT-导入状态-70",
        "DaoRSJ-导入时间-70",   "DaoRSL-导入数量-60",
        "ShenHZT-审核状态-120", "ShenHSJ-审核时间-60",
        "JieDLB-节点类别-0",    "XingZJB-行政级别-0",
        "XingZQH-行政区划-0",   "CaiZJFLYFS-财政经费保障方式-0",
        "JiGLX-机构类型-0",     "DaoRZT-导入状态-0",
        "ShenHZT-审核状态-0"};
    static const std::vector<std::string> agencies = {
        "A0-序号-40",          "JiGID-机构ID-0",      "JiGMC-机构名称-200",  "JieDLB-节点类别-100",
        "XingZJB-行政级别-80", "JieDMC-节点名称-120", "XingZQH-行政区划-70", "DaoRZT-导入状态-70",
        "DaoRSJ-导入时间-70",  "DaoRSL-导入数量-60",  "ShenHZT-审核状态-70", "ShenHSJ-审核时间-70",
        "JieDLB-节点类别-0",   "XingZJB-行政级别-0",  "XingZQH-行政区划-0",  "DaoRZT-导入状态-0",
        "ShenHZT-审核状态-0"};
    return kind == PendingKind::Departments ? departments : agencies;
}

ListQueryBuilder PendingListQuery(PendingKind kind, const PendingFilter& filter) {
    ListQueryBuilder query(
        "Select JiGID,JiGMC,JieDLB,XingZJB,JieDMC, XingZQH,CaiZJFLYFS, JiGLX,"
        " DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ ",
        " From MLK_DaiDRJG ", " where JieDLB = ? ", {kind == PendingKind::Departments ? "1" : "0"},
        " order by DaoRZT,ShenHZT desc ");
    if (!filter.name.empty())
        query.AddCondition(" AND JiGMC like ?", "%" + filter.name + "%");
    if (!filter.importState.empty())
        query.AddCondition(" AND DaoRZT = ?", filter.importState);
    if (!filter.auditState.empty())
        query.AddCondition(" AND ShenHZT = ?", filter.auditState);
    if (kind == PendingKind::Departments && !filter.type.empty()) {
        query.AddCondition(" AND JiGLX = ?", filter.type);
    }
    return query;
}

std::vector<std::string> PendingCells(TMainDM& dm, PendingKind kind, const Statement& row) {
    // The agencies' list lacks the departments' finance and type columns, labels and codes.
    const bool departments = kind == PendingKind::Departments;
    const std::string jiedlb = row.Text("JieDLB"), xingzjb = row.Text("XingZJB");
    const std::string xingzqh = row.Text("XingZQH"), fund = row.Text("CaiZJFLYFS");
    const std::string type = row.Text("JiGLX"), imported = row.Text("DaoRZT");
    const std::string audited = row.Text("ShenHZT");
    std::vector<std::string> cells = {row.Text("JiGID"),
                                      row.Text("JiGMC"),
                                      dm.CodeLabel(jiedlb, "JieDLB"),
                                      dm.CodeLabel(xingzjb, "XingZJB"),
                                      row.Text("JieDMC"),
                                      xingzqh};
    if (departments)
        cells.insert(cells.end(), {dm.CodeLabel(fund, "CaiZJFSY"), dm.CodeLabel(type, "JiGLX")});
    cells.insert(cells.end(),
                 {dm.CodeLabel(imported, "DaoRZT"), row.Text("DaoRSJ"), row.Text("DaoRSL"),
                  dm.CodeLabel(audited, "ShenHZT"), row.Text("ShenHSJ"), jiedlb, xingzjb, xingzqh});
    if (departments)
        cells.insert(cells.end(), {fund, type});
    cells.insert(cells.end(), {imported, audited});
    return cells;
}

bool IsPendingMarked(PendingKind kind, const std::vector<std::string>& cells) {
    if (cells.size() < 2)
        return false;
    const std::string& code =
        kind == PendingKind::Departments ? cells[cells.size() - 2] : cells.back();
    return code == "1";
}

PendingActions ActionsFor(const std::string& importState, const std::string& auditState) {
    if (auditState == "1")
        return {};
    if (importState == "1")
        return {false, true};
    return {true, false};
}

}  // namespace mlk
