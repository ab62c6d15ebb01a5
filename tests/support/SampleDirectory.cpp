#include "SampleDirectory.h"

namespace mlk::test {

namespace {

void AddPendingRow(TMainDM& dm, const SampleRow& row, const std::string& imported,
                   const std::string& count, const std::string& audited) {
    dm.ExecSQL(
        "insert into MLK_DaiDRJG (JiGID,JiGMC,JieDLB,XingZJB,JieDMC,XingZQH,CaiZJFLYFS,JiGLX,"
        "DaoRZT,DaoRSJ,DaoRSL,ShenHZT,ShenHSJ) values (?,?,?,'4',?,'110101','0',?,?,?,?,?,?)",
        {row.id, row.name + "全称", row.node, row.name, row.type, imported,
         imported == "1" ? "2024-05-06 10:20:30" : "", count, audited,
         audited == "1" ? "2024-05-07 10:20:30" : ""});
}

void AddInitialRow(TMainDM& dm, const std::string& id, const std::string& name,
                   const std::string& county, const std::string& street, const std::string& taken) {
    dm.ExecSQL(
        "Insert into MLK_YuanJGXX (ID,NAME,BM,SF,DS,XQ,JIED,BH1,XuanZBZ) "
        "values (?,?,?,'北京市','市辖区',?,?,'9900',?)",
        {id, name, id, county, street, taken});
}

}  // namespace

void AddSampleDirectory(TMainDM& dm) {
    const SampleRow t1 = OwnRow(dm, "T1", "教育局", "1", "8210", 1);
    const SampleRow t2 = OwnRow(dm, "T2", "卫生局", "1", "8015", 2);
    const SampleRow t4 = OwnRow(dm, "T4", "民政局", "1", "9900", 4);
    const SampleRow a1 = OwnRow(dm, "A1", "朝阳节能中心", "0", "9900", 5);
    InsertSampleRows(dm, {t1, t2, OwnRow(dm, "T3", "文化局", "1", "8610", 3, "0"), t4, a1,
                          OwnRow(dm, "A2", "西城节能中心", "0", "9900", 6, "0"),
                          ImportedRow("a1", "一中", "T1", "T1", "1", "8220", 2, 1),
                          ImportedRow("a2", "党委", "T1", "T1", "1", "7010", 2, 2),
                          ImportedRow("a3", "体育场", "T2", "T2", "1", "8810", 2, 1),
                          ImportedRow("a4", "一中分校", "a1", "T1", "1", "8230", 3, 1)});
    AddPendingRow(dm, t1, "1", "3", "0");
    AddPendingRow(dm, t2, "1", "1", "1");
    AddPendingRow(dm, t4, "0", "0", "0");
    AddPendingRow(dm, a1, "0", "0", "0");
    AddInitialRow(dm, "C1", "第一小学", "东城区", "和平路", "0");
    AddInitialRow(dm, "C2", "第二中学", "东城区", "和平街", "0");
    AddInitialRow(dm, "C3", "第三中学", "西城区", "长安街", "1");
}

}  // namespace mlk::test
