#include "exchange/Audit.h"

#include "base/MlkError.h"
#include "db/Sqlite.h"
#include "entry/EntryList.h"
#include "model/TMainDM.h"

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
    // The institution columns of the entry lists, under the captions of the superior
    // departments, with the audit state where those show the update state.
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> c = EntryColumnDescriptions(EntryListKind::SameLevelDepartments);
        c[9] = "ShangJHYZGBM-上级行业主管部门-150";
        c[10] = "ShangJXZZGBM-上级行政主管部门-0";
        c[14] = "ShenHZT-审核状态-70";
        c[24] = "ShenHZT-审核状态-0";
        return c;
    }();
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
    std::vector<std::string> cells = InstitutionCells(r, dm.Codes(), "ShenHZT");
    cells.insert(cells.begin(), std::to_string(number));
    return cells;
}

CheckResult CheckApprove(TMainDM& dm, const GGJG& node) {
    if (node.JiGID.empty() || node.ShangJBMID != dm.Unit().DanWID)
        return CheckFailure{node.JieDMC + "不是本单位的直属下级单位，不能审核。", ""};
    if (dm.QueryInt("select exists(select 1 from MLK_DaiDRJG where JiGID = ? and ShenHZT = '1')"
                    " or exists(select 1 from MLK_ShenHRZ where DanWID = ?)",
                    {node.JiGID, node.JiGID})) {
        return CheckFailure{"该单位的数据已审核", ""};
    }
    if (!dm.HasRow("select 1 from MLK_JiBXX where ShangJBMID = ?", {node.JiGID}))
        return CheckFailure{node.JieDMC + "下没有机构信息，不能审核。", ""};
    return std::nullopt;
}

std::string ApproveQuestion(const GGJG& node) {
    return "请确认审核通过" + node.JieDMC + "下所有机构信息，审核后不能再次审核或删除！";
}

long long Approve(TMainDM& dm, const GGJG& node) {
    const std::string& auditor = dm.Unit().ClerkName();
    const std::string now = TMainDM::NowText();
    Transaction transaction(dm.Db());
    if (const CheckResult refusal = CheckApprove(dm, node))
        throw MlkError(refusal->message);
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
