#include "TestSupport.h"
#include "data/GGJG.h"
#include "data/MlkError.h"

namespace mlk::test {
namespace {

class RecordTest : public DbTest {
  protected:
    GGJG Sample() {
        GGJG r;
        r.JiGID = "110101ABCDEF0123";
        r.JiGMC = "北京市\"第一\"中学, 东城'校区'";
        r.ZuZJGDM = "12345678X";
        r.HangYDM = "P8";
        r.XingZQH = "110101";
        r.XingZJB = "4";
        r.JieDLB = "1";
        r.JieDMC = r.JiGMC;
        r.CaiZJFLYFS = "0";
        r.DiZhi_Shen = "北京市";
        r.DiZhi_JieD = "东华门街道,1号";
        r.LianXDH = "010-12345678";
        r.GengXZT = "0";
        r.QueRZT = "0";
        r.ShuJLY = "0";
        r.ShangJBMID = "110101UNIT000001";
        r.QiT = "多行\r\n备注\t";
        r.JiC = 1;
        r.ShunX = -7;
        return r;
    }
};

TEST_F(RecordTest, InsertAndLoadRoundTripKeepsEveryCharacter) {
    GGJG original = Sample();
    original.Insert(Dm());
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), original.JiGID);
    EXPECT_EQ(loaded.JiGMC, original.JiGMC);  // double and single quotes and commas intact
    EXPECT_EQ(loaded.DiZhi_JieD, original.DiZhi_JieD);
    EXPECT_EQ(loaded.QiT, original.QiT);
    EXPECT_EQ(loaded.JiGLX, "9900");  // an empty type is stored as "no type"
    EXPECT_EQ(std::to_string(loaded.JiC) + "," + std::to_string(loaded.ShunX), "1,-7");
    EXPECT_EQ(loaded.XingZJBMC + loaded.JieDLBMC + loaded.CaiZJFLYFSMC, "县(处)级主管部门全额财政");
    EXPECT_EQ(Dm().QueryText("select typeof(ShunX) from MLK_JiBXX"), "integer");
    for (std::size_t i = 0; i < 36; ++i) {
        const std::string column = GGJG::kColumns[i];
        EXPECT_EQ(Dm().QueryText("select typeof(" + column + ") from MLK_JiBXX"), "text") << column;
    }
    // Inserting an existing id fails; a missing id loads an empty record.
    EXPECT_THROW(original.Insert(Dm()), DbError);
    EXPECT_TRUE(GGJG::LoadByJiGID(Dm(), "nothing").JiGID.empty());
}

TEST_F(RecordTest, ListAndAuditRowsReadTheirStateColumn) {
    GGJG original = Sample();
    original.GengXZT = "1";
    original.ShenHZT = "0";
    original.Insert(Dm());
    const std::string common =
        "JiGID,JiGMC,ZuZJGDM,HangYDM,XingZQH,XingZJB,JieDLB,JieDMC,ShangJHYZGBM,ShangJXZZGBM,"
        "CaiZJFLYFS,JiGLX,DiZhi_Shen,DiZhi_Shi,DiZhi_Xian,LianXRXM,LianXDH,TianBRXM,ChuSHSJ,"
        "QueRRXM,QueRSJ,QueRZT,";
    GGJG list;
    Dm().ForEachRow("select " + common + "GengXZT from MLK_JiBXX", {},
                    [&](const Statement& row) { list.ReadListRow(row); });
    EXPECT_EQ(list.JiGMC, original.JiGMC);
    EXPECT_EQ(list.GengXZT, "1");
    GGJG audit;
    Dm().ForEachRow("select " + common + "ShenHZT from MLK_JiBXX", {},
                    [&](const Statement& row) { audit.ReadAuditRow(row); });
    EXPECT_EQ(audit.GengXZT, "0");
    EXPECT_EQ(audit.LianXDH, original.LianXDH);
}

TEST_F(RecordTest, FromInitialFields) {
    GGJG r;
    r.FromInitialFields({" 001 ", " 学校 ", "x", "广东省", "广州市", "天河区", "", "", " 路1号 "});
    EXPECT_EQ(r.JiGID + "|" + r.JiGMC + "|" + r.DiZhi_Xian + "|" + r.DiZhi_JieD,
              "001|学校|天河区|路1号");
    EXPECT_EQ(r.JiGLX + r.GengXZT + r.XuanZBZ, "990030");

    GGJG blank;
    blank.FromInitialFields({"  ", "学校", "", "广东省"});
    EXPECT_EQ(blank.JiGID + blank.JiGMC + blank.JiGLX, "");
}

TEST_F(RecordTest, AssignFromKeepsHierarchyAndNumbers) {
    GGJG target;
    target.ShangBJGID = "B";
    target.ShangJBMID = "M";
    target.JiC = 2;
    target.ShunX = 9;
    target.SF = "省";
    const GGJG source = Sample();
    target.AssignFrom(source);
    EXPECT_EQ(target.JiGMC, source.JiGMC);
    EXPECT_EQ(target.QiT, source.QiT);
    EXPECT_EQ(target.ShangBJGID + target.ShangJBMID + target.SF, "BM省");
    EXPECT_EQ(std::to_string(target.JiC) + "," + std::to_string(target.ShunX), "2,9");
}

}  // namespace
}  // namespace mlk::test
