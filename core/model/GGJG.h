#pragma once

#include <string>
#include <vector>

#include "db/Sqlite.h"

namespace mlk {

class TMainDM;

// One row of the directory MLK_JiBXX. Fields ending in MC hold the label of the code before them
// and are never stored.
struct GGJG {
    std::string JiGID, JiGMC, ZuZJGDM, HangYDM, XingZQH, XingZQHMC;
    std::string XingZLSJB, XingZLSJBMC;
    std::string XingZJB, XingZJBMC;
    std::string JieDLB, JieDLBMC;
    std::string JieDMC, ShangJHYZGBM, ShangJXZZGBM;
    std::string CaiZJFLYFS, CaiZJFLYFSMC;
    std::string JiGLX, JiGLXMC;
    std::string DiZhi_Shen, DiZhi_Shi, DiZhi_Xian, DiZhi_JieD, DiZhi_HaoP, YouZBM, LianXRXM,
        LianXDH, TianBRXM, ChuSHSJ, GengXZT;
    std::string GengXZTMC;
    std::string TongJY, DanWFZR, ShangBJGID, QueRRXM, QueRSJ, QueRZT;
    std::string QueRZTMC;
    std::string ShenHRXM, ShenHSJ, ShenHZT;
    std::string ShenHZTMC;
    std::string ShuJLY, ShangJBMID, QiT;
    std::string XuanZBZ, XuanZBZMC;  // selection flag of the initial data
    std::string SF, DS, XQ;          // place names of an initial-data record
    long long JiC = 0;
    long long ShunX = 0;

    // The 38 columns in the order of the full insert and of SelectByJiGIDSQL.
    static const char* const kColumns[38];
    // "Insert into MLK_JiBXX (...38 columns...) VALUES (?,...)".
    static const std::string& InsertSQL();
    // "select ...38 columns... from MLK_JiBXX where JiGID =?".
    static const std::string& SelectByJiGIDSQL();

    // The 38 values in column order, for InsertSQL; sets an empty JiGLX to "9900" first.
    Params InsertParams();
    void Insert(TMainDM& dm);

    // The 23 columns of a list query (JiGID .. QueRZT) into this record.
    void ReadListRow(const Statement& row);
    // The same, but the column ShenHZT is read into the field GengXZT.
    void ReadAuditRow(const Statement& row);
    // All 38 columns; JiC and ShunX as integers.
    static GGJG ReadFullRow(const Statement& row);
    // The row with this id with its labels filled, or an empty record when there is none.
    static GGJG LoadByJiGID(TMainDM& dm, const std::string& id);

    // An initial-data line split into its pieces (counted from 1).
    void FromInitialFields(const std::vector<std::string>& items);
    // Copies JiGID .. QiT except ShangBJGID and ShangJBMID; JiC, ShunX and the initial-data
    // fields stay.
    void AssignFrom(const GGJG& source);

  private:
    // The 22 columns that the list and audit rows share.
    void ReadListColumns(const Statement& row);
};

}  // namespace mlk
