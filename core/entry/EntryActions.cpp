#include "entry/EntryActions.h"

#include "base/MlkError.h"
#include "model/TMainDM.h"

namespace mlk {

namespace {

constexpr const char* kUpdateSQL =
    "update MLK_JiBXX set JiGMC =?, ZuZJGDM =?, HangYDM =?, XingZQH =?, XingZJB =?, JieDLB =?,"
    " JieDMC =?, ShangJHYZGBM =?, ShangJXZZGBM =?, CaiZJFLYFS =?, JiGLX =?, DiZhi_Shen =?,"
    " DiZhi_Shi =?, DiZhi_Xian =?, DiZhi_JieD =?, DiZhi_HaoP =?, YouZBM =?, LianXRXM =?,"
    " LianXDH =?, ChuSHSJ =?, TongJY =?, QiT =?, ShunX =?, TianBRXM =?, GengXZT =?, DanWFZR =?"
    " where JiGID =?";

constexpr const char* kConfirmSQL =
    "update MLK_JiBXX  set QueRZT='1', QueRRXM =?, QueRSJ =? where JiGID =?";

constexpr const char* kPendingSQL =
    "insert into MLK_DaiDRJG  (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,  XingZQH,CaiZJFLYFS, JiGLX, "
    " DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ)  values (?,?,?,?,?,?,?,?,'0','','0','0','' )";

}  // namespace

void InsertEntry(TMainDM& dm, GGJG& r, const std::string& idPrefix) {
    r.GengXZT = "0";
    r.QueRZT = r.ShenHZT = r.ShuJLY = "0";
    r.ShangJBMID = dm.Unit().DanWID;
    r.JiC = 1;
    r.JiGID = idPrefix + TMainDM::NewID();
    r.Insert(dm);
}

void UpdateEntry(TMainDM& dm, GGJG r) {
    r.GengXZT = "1";
    dm.ExecSQL(kUpdateSQL, {r.JiGMC,
                            r.ZuZJGDM,
                            r.HangYDM,
                            r.XingZQH,
                            r.XingZJB,
                            r.JieDLB,
                            r.JieDMC,
                            r.ShangJHYZGBM,
                            r.ShangJXZZGBM,
                            r.CaiZJFLYFS,
                            r.JiGLX,
                            r.DiZhi_Shen,
                            r.DiZhi_Shi,
                            r.DiZhi_Xian,
                            r.DiZhi_JieD,
                            r.DiZhi_HaoP,
                            r.YouZBM,
                            r.LianXRXM,
                            r.LianXDH,
                            r.ChuSHSJ,
                            r.TongJY,
                            r.QiT,
                            std::to_string(r.ShunX),
                            r.TianBRXM,
                            r.GengXZT,
                            r.DanWFZR,
                            r.JiGID});
}

void DeleteEntry(TMainDM& dm, const std::string& jiGID) {
    dm.ExecSQL("delete from MLK_JiBXX  where JiGID =?", {jiGID});
}

void ConfirmEntry(TMainDM& dm, const GGJG& r) {
    Transaction transaction(dm.Db());
    WriteConfirmation(dm, r);
    transaction.Commit();
}

void WriteConfirmation(TMainDM& dm, const GGJG& r) {
    dm.ExecSQL(kConfirmSQL, {dm.Unit().TongJY, TMainDM::NowText(), r.JiGID});
    if (dm.Db().Changes() == 0)
        throw MlkError("机构信息已不在名录库中，不能通过核查！");
    dm.ExecSQL(kPendingSQL,
               {r.JiGID, r.JiGMC, r.JieDLB, r.XingZJB, r.JieDMC, r.XingZQH, r.CaiZJFLYFS, r.JiGLX});
}

}  // namespace mlk
