#include "exchange/Audit.h"

#include "data/Sqlite.h"
#include "data/TMainDM.h"

namespace mlk {

namespace {

constexpr const char* kChildrenSQL =
    "select JiGID,JiGMC,ZuZJGDM,HangYDM,XingZQH,XingZLSJB,XingZJB,"
    "JieDLB,JieDMC,ShangJHYZGBM,ShangJXZZGBM,CaiZJFLYFS,JiGLX,"
    "DiZhi_Shen,DiZhi_Shi,DiZhi_Xian,DiZhi_JieD,DiZhi_HaoP,"
    "YouZBM,LianXRXM,LianXDH,"
    "TianBRXM,ChuSHSJ,GengXZT,TongJY,DanWFZR,ShangBJGID,"
    "QueRRXM,QueRSJ,QueRZT,ShenHRXM,ShenHSJ,ShenHZT,ShuJLY,ShangJBMID,QiT,JiC,ShunX "
    " from MLK_JiBXX  where ShangJBMID =? order by ShunX ";

constexpr const char* kListSQL =
    "Select JG.JiGID,JG.JiGMC,JG.ZuZJGDM,JG.HangYDM,JG.XingZQH,"
    " JG.XingZJB,JG.JieDLB,JG.JieDMC,JG.ShangJHYZGBM,JG.ShangJXZZGBM,"
    " JG.CaiZJFLYFS,JG.JiGLX,JG.DiZhi_Shen,JG.DiZhi_Shi,"
    " JG.DiZhi_Xian,LianXRXM,LianXDH, "
    " TianBRXM,ChuSHSJ,ShenHZT,QueRRXM,QueRSJ,QueRZT "
    " From MLK_JiBXX JG  where ShangJBMID =? order by ShunX ";

}  // namespace

const std::vector<std::string>& AuditColumns() {
    static const std::vector<std::string> columns = {
        "A0-序号-40",
        "JiGID-机构ID-0",
        "JiGMC-机构名称-200",
        "ZuZJGDM-组织机构代码-100",
        "HangYDM-行业代码-60",
        "XingZQH-行政区划-120",
        "XingZJB-行政级别-70",
        "JieDLB-节点类别-70",
        "JieDMC-节点名称-70",
        "ShangJHYZGBM-上级行业主管部门-150",
        "ShangJXZZGBM-上级行政主管部门-0",
        "JiGLX-机构类型-80",
        "CaiZJFLYFS-财政经费来源方式-150",
        "QueRZT-确认状态-70",
        "ShenHZT-审核状态-70",
        "LianXRXM-联系人姓名-60",
        "LianXDH-联系电话-120",
        "TianBRXM-填表人姓名-60",
        "ChuSHSJ-初始化时间-120",
        "XingZQH-行政区划-0",
        "XingZJB-行政级别-0",
        "JiGLX-机构类型-0",
        "CaiZJFLYFS-财政经费保障方式-0",
        "QueRZT-确认状态-0",
        "ShenHZT-审核状态-0",
        "JieDLB-节点类别-0",
    };
    return columns;
}

std::vector<GGJG> AuditChildren(TMainDM& dm, const std::string& key) {
    std::vector<GGJG> children;
    dm.ForEachRow(kChildrenSQL, {key},
                  [&](const Statement& row) { children.push_back(GGJG::ReadFullRow(row)); });
    return children;
}

std::vector<GGJG> AuditList(TMainDM& dm, const std::string& key) {
    std::vector<GGJG> rows;
    dm.ForEachRow(kListSQL, {key}, [&](const Statement& row) {
        GGJG record;
        record.ReadAuditRow(row);
        rows.push_back(std::move(record));
    });
    return rows;
}

std::vector<std::string> AuditListCells(TMainDM& dm, const GGJG& r, int number) {
    // ReadAuditRow leaves the audit state in GengXZT.
    const std::string& audit = r.GengXZT;
    return {std::to_string(number),
            r.JiGID,
            r.JiGMC,
            r.ZuZJGDM,
            r.HangYDM,
            r.DiZhi_Shen + r.DiZhi_Shi + r.DiZhi_Xian,
            dm.CodeLabel(r.XingZJB, "XingZJB"),
            dm.CodeLabel(r.JieDLB, "JieDLB"),
            r.JieDMC,
            r.ShangJHYZGBM,
            r.ShangJXZZGBM,
            dm.CodeLabel(r.JiGLX, "JiGLX"),
            dm.CodeLabel(r.CaiZJFLYFS, "CaiZJFSY"),
            dm.CodeLabel(r.QueRZT, "QueRZT"),
            dm.CodeLabel(audit, "ShenHZT"),
            r.LianXRXM,
            r.LianXDH,
            r.TianBRXM,
            r.ChuSHSJ,
            r.XingZQH,
            r.XingZJB,
            r.JiGLX,
            r.CaiZJFLYFS,
            r.QueRZT,
            audit,
            r.JieDLB};
}

CheckResult CheckApprove(const CaoZDWXX& unit, const GGJG& node, bool hasRows) {
    if (node.JiGID.empty() || node.ShangJBMID != unit.DanWID)
        return CheckFailure{node.JieDMC + "不是本单位的直属下级单位，不能审核。", ""};
    if (!hasRows)
        return CheckFailure{node.JieDMC + "下没有机构信息，不能审核。", ""};
    return std::nullopt;
}

bool CanApprove(const CaoZDWXX& unit, const GGJG& node, bool hasRows) {
    return !CheckApprove(unit, node, hasRows);
}

std::string ApproveQuestion(const GGJG& node) {
    return "请确认审核通过" + node.JieDMC + "下所有机构信息，审核后不能再次审核或删除！";
}

long long Approve(TMainDM& dm, const GGJG& node) {
    const std::string& auditor = dm.Unit().ClerkName();
    const std::string now = TMainDM::NowText();
    Transaction transaction(dm.Db());
    dm.ExecSQL("update MLK_JiBXX  set ShenHZT='1', ShenHRXM =?, ShenHSJ =? where ShangJBMID =?",
               {auditor, now, node.JiGID});
    const long long approved = dm.Db().Changes();
    // The unit's pending institution turns audited, so its data can no longer be removed or
    // imported again.
    dm.ExecSQL("update MLK_DaiDRJG set ShenHZT = '1', ShenHSJ = ? where JiGID = ?",
               {now, node.JiGID});
    dm.ExecSQL(
        "insert into MLK_ShenHRZ  (ID,DanWID,DanWMC, JieDLB, ShenHSJ, ShenHRXM) values ( "
        "?,?,?,?,?,? )",
        {TMainDM::NewID(), node.JiGID, node.JiGMC, node.JieDLB, now, auditor});
    transaction.Commit();
    return approved;
}

}  // namespace mlk
