#include "model/GGJG.h"

#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

const char* const GGJG::kColumns[38] = {
    "JiGID",    "JiGMC",      "ZuZJGDM",    "HangYDM",      "XingZQH",      "XingZLSJB",
    "XingZJB",  "JieDLB",     "JieDMC",     "ShangJHYZGBM", "ShangJXZZGBM", "CaiZJFLYFS",
    "JiGLX",    "DiZhi_Shen", "DiZhi_Shi",  "DiZhi_Xian",   "DiZhi_JieD",   "DiZhi_HaoP",
    "YouZBM",   "LianXRXM",   "LianXDH",    "TianBRXM",     "ChuSHSJ",      "GengXZT",
    "TongJY",   "DanWFZR",    "ShangBJGID", "QueRRXM",      "QueRSJ",       "QueRZT",
    "ShenHRXM", "ShenHSJ",    "ShenHZT",    "ShuJLY",       "ShangJBMID",   "QiT",
    "JiC",      "ShunX"};

namespace {

std::string ColumnList() {
    std::string list;
    for (const char* column : GGJG::kColumns) {
        if (!list.empty())
            list += ",";
        list += column;
    }
    return list;
}

std::string Placeholders(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += i ? ",?" : "?";
    return text;
}

// The item at position n (from 1), trimmed; empty past the end.
std::string Item(const std::vector<std::string>& items, std::size_t n) {
    return n <= items.size() ? Trim(items[n - 1]) : std::string();
}

}  // namespace

const std::string& GGJG::InsertSQL() {
    static const std::string sql =
        "Insert into MLK_JiBXX (" + ColumnList() + " ) VALUES (" + Placeholders(38) + ")";
    return sql;
}

const std::string& GGJG::SelectByJiGIDSQL() {
    static const std::string sql = "select " + ColumnList() + "  from MLK_JiBXX  where JiGID =?";
    return sql;
}

Params GGJG::InsertParams() {
    if (JiGLX.empty())
        JiGLX = std::string(kEmptyTypeCode);
    return {JiGID,
            JiGMC,
            ZuZJGDM,
            HangYDM,
            XingZQH,
            XingZLSJB,
            XingZJB,
            JieDLB,
            JieDMC,
            ShangJHYZGBM,
            ShangJXZZGBM,
            CaiZJFLYFS,
            JiGLX,
            DiZhi_Shen,
            DiZhi_Shi,
            DiZhi_Xian,
            DiZhi_JieD,
            DiZhi_HaoP,
            YouZBM,
            LianXRXM,
            LianXDH,
            TianBRXM,
            ChuSHSJ,
            GengXZT,
            TongJY,
            DanWFZR,
            ShangBJGID,
            QueRRXM,
            QueRSJ,
            QueRZT,
            ShenHRXM,
            ShenHSJ,
            ShenHZT,
            ShuJLY,
            ShangJBMID,
            QiT,
            std::to_string(JiC),
            std::to_string(ShunX)};
}

void GGJG::Insert(TMainDM& dm) {
    dm.ExecSQL(InsertSQL(), InsertParams());
}

void GGJG::ReadListRow(const Statement& row) {
    ReadListColumns(row);
    GengXZT = row.Text("GengXZT");
}

void GGJG::ReadAuditRow(const Statement& row) {
    ReadListColumns(row);
    // The audit list shows the audit state in the place of the update state.
    GengXZT = row.Text("ShenHZT");
}

void GGJG::ReadListColumns(const Statement& row) {
    JiGID = row.Text("JiGID");
    JiGMC = row.Text("JiGMC");
    ZuZJGDM = row.Text("ZuZJGDM");
    HangYDM = row.Text("HangYDM");
    XingZQH = row.Text("XingZQH");
    XingZJB = row.Text("XingZJB");
    JieDLB = row.Text("JieDLB");
    JieDMC = row.Text("JieDMC");
    ShangJHYZGBM = row.Text("ShangJHYZGBM");
    ShangJXZZGBM = row.Text("ShangJXZZGBM");
    CaiZJFLYFS = row.Text("CaiZJFLYFS");
    JiGLX = row.Text("JiGLX");
    DiZhi_Shen = row.Text("DiZhi_Shen");
    DiZhi_Shi = row.Text("DiZhi_Shi");
    DiZhi_Xian = row.Text("DiZhi_Xian");
    LianXRXM = row.Text("LianXRXM");
    LianXDH = row.Text("LianXDH");
    TianBRXM = row.Text("TianBRXM");
    ChuSHSJ = row.Text("ChuSHSJ");
    QueRRXM = row.Text("QueRRXM");
    QueRSJ = row.Text("QueRSJ");
    QueRZT = row.Text("QueRZT");
}

GGJG GGJG::ReadFullRow(const Statement& row) {
    GGJG r;
    std::string* const text[36] = {
        &r.JiGID,    &r.JiGMC,      &r.ZuZJGDM,    &r.HangYDM,      &r.XingZQH,      &r.XingZLSJB,
        &r.XingZJB,  &r.JieDLB,     &r.JieDMC,     &r.ShangJHYZGBM, &r.ShangJXZZGBM, &r.CaiZJFLYFS,
        &r.JiGLX,    &r.DiZhi_Shen, &r.DiZhi_Shi,  &r.DiZhi_Xian,   &r.DiZhi_JieD,   &r.DiZhi_HaoP,
        &r.YouZBM,   &r.LianXRXM,   &r.LianXDH,    &r.TianBRXM,     &r.ChuSHSJ,      &r.GengXZT,
        &r.TongJY,   &r.DanWFZR,    &r.ShangBJGID, &r.QueRRXM,      &r.QueRSJ,       &r.QueRZT,
        &r.ShenHRXM, &r.ShenHSJ,    &r.ShenHZT,    &r.ShuJLY,       &r.ShangJBMID,   &r.QiT};
    for (int i = 0; i < 36; ++i)
        *text[i] = row.Text(kColumns[i]);
    r.JiC = row.Int("JiC");
    r.ShunX = row.Int("ShunX");
    return r;
}

GGJG GGJG::LoadByJiGID(TMainDM& dm, const std::string& id) {
    Statement query(dm.Db(), SelectByJiGIDSQL());
    if (!query.Bind(1, id).Step())
        return GGJG{};
    GGJG record = ReadFullRow(query);
    record.CaiZJFLYFSMC = dm.CodeLabel(record.CaiZJFLYFS, "CaiZJFSY");
    record.XingZJBMC = dm.CodeLabel(record.XingZJB, "XingZJB");
    record.JiGLXMC = dm.CodeLabel(record.JiGLX, "JiGLX");
    record.JieDLBMC = dm.CodeLabel(record.JieDLB, "JieDLB");
    return record;
}

void GGJG::FromInitialFields(const std::vector<std::string>& items) {
    JiGID = Item(items, 1);
    if (JiGID.empty())
        return;
    JiGMC = Item(items, 2);
    if (JiGMC.empty())
        return;
    DiZhi_Shen = Item(items, 4);
    DiZhi_Shi = Item(items, 5);
    DiZhi_Xian = Item(items, 6);
    DiZhi_JieD = Item(items, 9);
    JiGLX = std::string(kEmptyTypeCode);
    CaiZJFLYFS = "0";
    GengXZT = "3";
    ShenHZT = "0";
    QueRZT = "0";
    XuanZBZ = "0";
}

void GGJG::AssignFrom(const GGJG& s) {
    const std::string keepShangBJGID = ShangBJGID;
    const std::string keepShangJBMID = ShangJBMID;
    const long long keepJiC = JiC;
    const long long keepShunX = ShunX;
    const std::string keepInitial[5] = {XuanZBZ, XuanZBZMC, SF, DS, XQ};
    *this = s;
    ShangBJGID = keepShangBJGID;
    ShangJBMID = keepShangJBMID;
    JiC = keepJiC;
    ShunX = keepShunX;
    XuanZBZ = keepInitial[0];
    XuanZBZMC = keepInitial[1];
    SF = keepInitial[2];
    DS = keepInitial[3];
    XQ = keepInitial[4];
}

}  // namespace mlk
