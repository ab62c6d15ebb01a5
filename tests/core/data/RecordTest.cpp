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
    EXPECT_EQ(loaded.JiC, 1);
    EXPECT_EQ(loaded.ShunX, -7);
    EXPECT_EQ(loaded.XingZJBMC, "县(处)级");
    EXPECT_EQ(loaded.JieDLBMC, "主管部门");
    EXPECT_EQ(loaded.CaiZJFLYFSMC, "全额财政");
    EXPECT_EQ(Dm().QueryText("select typeof(ShunX) from MLK_JiBXX"), "integer");
    for (std::size_t i = 0; i < 36; ++i) {
        const std::string column = GGJG::kColumns[i];
        EXPECT_EQ(Dm().QueryText("select typeof(" + column + ") from MLK_JiBXX"), "text") << column;
    }
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

TEST_F(RecordTest, LoadingAMissingIdGivesAnEmptyRecord) {
    EXPECT_TRUE(GGJG::LoadByJiGID(Dm(), "nothing").JiGID.empty());
}

TEST_F(RecordTest, InsertingAnExistingIdFails) {
    GGJG r = Sample();
    r.Insert(Dm());
    EXPECT_THROW(r.Insert(Dm()), DbError);
}

TEST_F(RecordTest, FromInitialFields) {
    GGJG r;
    r.FromInitialFields({" 001 ", " 学校 ", "x", "广东省", "广州市", "天河区", "", "", " 路1号 "});
    EXPECT_EQ(r.JiGID, "001");
    EXPECT_EQ(r.JiGMC, "学校");
    EXPECT_EQ(r.DiZhi_Xian, "天河区");
    EXPECT_EQ(r.DiZhi_JieD, "路1号");
    EXPECT_EQ(r.JiGLX, "9900");
    EXPECT_EQ(r.GengXZT, "3");
    EXPECT_EQ(r.XuanZBZ, "0");

    GGJG blank;
    blank.FromInitialFields({"  ", "学校", "", "广东省"});
    EXPECT_TRUE(blank.JiGID.empty());
    EXPECT_TRUE(blank.JiGMC.empty());
    EXPECT_TRUE(blank.JiGLX.empty());
}

TEST_F(RecordTest, FromExchangeFieldsPutsQiTAfterTheTelephone) {
    std::vector<std::string> items;
    for (int i = 1; i <= 36; ++i)
        items.push_back(" v" + std::to_string(i) + " ");
    items.push_back(" 2 ");
    items.push_back("-3");
    GGJG r;
    r.FromExchangeFields(items);
    EXPECT_EQ(r.JiGID, "v1");
    EXPECT_EQ(r.LianXDH, "v21");
    EXPECT_EQ(r.QiT, "v22");
    EXPECT_EQ(r.TianBRXM, "v23");
    EXPECT_EQ(r.ShangBJGID, "v28");
    EXPECT_EQ(r.ShangJBMID, "v36");
    EXPECT_EQ(r.JiC, 2);
    EXPECT_EQ(r.ShunX, -3);
    items[36] = "x";
    EXPECT_THROW(r.FromExchangeFields(items), MlkError);
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
    EXPECT_EQ(target.ShangBJGID, "B");
    EXPECT_EQ(target.ShangJBMID, "M");
    EXPECT_EQ(target.JiC, 2);
    EXPECT_EQ(target.ShunX, 9);
    EXPECT_EQ(target.SF, "省");
}

}  // namespace
}  // namespace mlk::test
