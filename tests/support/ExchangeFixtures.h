#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "data/GGJG.h"
#include "data/Gbk.h"
#include "data/TMainDM.h"
#include "exchange/ExchangeFile.h"
#include "exchange/Import.h"

namespace mlk::test {

// A confirmed own entry of the directory with every column filled.
inline GGJG SampleRecord(const std::string& id, const std::string& name = "测试学校") {
    GGJG r;
    r.JiGID = id;
    r.JiGMC = name;
    r.ZuZJGDM = "12345678X";
    r.HangYDM = "P82";
    r.XingZQH = "110101";
    r.XingZLSJB = "4";
    r.XingZJB = "4";
    r.JieDLB = "1";
    r.JieDMC = name;
    r.ShangJHYZGBM = "东城区教育局";
    r.ShangJXZZGBM = "东城区人民政府";
    r.CaiZJFLYFS = "0";
    r.JiGLX = "8210";
    r.DiZhi_Shen = "北京市";
    r.DiZhi_Shi = "市辖区";
    r.DiZhi_Xian = "东城区";
    r.DiZhi_JieD = "东华门街道";
    r.DiZhi_HaoP = "12号";
    r.YouZBM = "100010";
    r.LianXRXM = "张三";
    r.LianXDH = "010-1234567";
    r.TianBRXM = "李四";
    r.ChuSHSJ = "2024-03-01";
    r.GengXZT = "0";
    r.TongJY = "王五";
    r.DanWFZR = "赵六";
    r.QueRRXM = "李四";
    r.QueRSJ = "2024-03-02 10:00:00";
    r.QueRZT = "1";
    r.ShenHZT = "0";
    r.ShuJLY = "0";
    r.ShangJBMID = "110101ABCDEF0123";
    r.QiT = "备注";
    r.JiC = 1;
    r.ShunX = 3;
    return r;
}

// The line the writer makes for a record, as GBK bytes with its line end.
inline std::string GbkLine(const GGJG& record, const std::string& end = "\r\n") {
    return Utf8ToGbk(JoinExchangeItems(ExchangeItems(record))) + end;
}

// A row of MLK_DaiDRJG as the confirmation of an entry writes it.
inline DaiDRJG AddPending(TMainDM& dm, const std::string& id, const std::string& name,
                          const std::string& jiedlb = "1") {
    dm.ExecSQL(
        "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,CaiZJFLYFS,JiGLX,"
        "DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values (?,?,?,?,?,?,?,?,'0','','0','0','')",
        {id, name, jiedlb, "5", name, "110101", "0", "9900"});
    return *LoadPending(dm, id);
}

}  // namespace mlk::test
