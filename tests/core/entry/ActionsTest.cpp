#include <regex>

#include "Fixtures.h"
#include "data/Text.h"
#include "entry/AgencyEntry.h"
#include "entry/EntryActions.h"

namespace mlk::test {
namespace {

bool IsTime(const std::string& text) {
    return std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"));
}

// Insert takes the trimmed form under the unit; update keeps what the form does not show;
// confirming marks the entry and adds its pending row.
TEST_F(DepartmentTest, AnEntryIsInsertedUpdatedAndConfirmed) {
    InstitutionForm form = ValidForm(" 123456789");
    ASSERT_FALSE(CheckInstitution(Dm(), form, GGJG{}, 9));
    const GGJG saved = InsertInstitution(Dm(), form);
    EXPECT_TRUE(std::regex_match(saved.JiGID, std::regex("110101[0-9A-F]{10}"))) << saved.JiGID;
    GGJG r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(r.ShangJBMID, Dm().Unit().DanWID);
    EXPECT_EQ(Join({r.JiGMC, r.ZuZJGDM, r.JieDMC, r.JiGLX + r.XingZJB + r.JieDLB + r.CaiZJFLYFS,
                    r.DiZhi_Shen + r.DiZhi_Shi + r.DiZhi_Xian, r.XingZQH, r.ChuSHSJ,
                    r.GengXZT + r.QueRZT + r.ShenHZT + r.ShuJLY, r.ShangJHYZGBM, r.ShangJXZZGBM,
                    r.ShangBJGID + r.QueRSJ, std::to_string(r.JiC) + std::to_string(r.ShunX)},
                   "|"),
              "北京市第一中学|123456789|北京市第一中学|8230410|北京市市辖区东城区|110101|"
              "2024-05-06|0000|东城区教育局|东城区教育局||13");

    Dm().ExecSQL("update MLK_JiBXX set TongJY='统计员', QiT='其他' where JiGID=?", {saved.JiGID});
    Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = '张统计'");
    Dm().LoadCaoZDWXX();
    form.JiGMC = "北京市第二中学";
    form.ShunX = "7";
    r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    ASSERT_FALSE(CheckInstitution(Dm(), form, r, 1));  // its own code is no duplicate
    UpdateInstitution(Dm(), r, form);
    r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(Join({r.JiGMC, r.JieDMC, r.GengXZT, r.TongJY, r.QiT, std::to_string(r.ShunX),
                    std::to_string(r.JiC), r.ShangJBMID},
                   "|"),
              "北京市第二中学|北京市第二中学|1|统计员|其他|7|1|" + Dm().Unit().DanWID);

    ConfirmEntry(Dm(), r);
    EXPECT_EQ(Column(saved.JiGID, "QueRZT") + Column(saved.JiGID, "QueRRXM"), "1张统计");
    EXPECT_TRUE(IsTime(Column(saved.JiGID, "QueRSJ")));
    EXPECT_EQ(
        Dm().QueryText("select group_concat(JiGID||'|'||JiGMC||'|'||JieDLB||'|'||XingZJB||'|'||"
                       "JieDMC||'|'||XingZQH||'|'||CaiZJFLYFS||'|'||JiGLX||'|'||DaoRZT||'|'||"
                       "ifnull(DaoRSJ,'')||'|'||DaoRSL||'|'||ShenHZT||'|'||ifnull(ShenHSJ,'')) "
                       "from MLK_DaiDRJG"),
        saved.JiGID + "|北京市第二中学|1|4|北京市第二中学|110101|0|8230|0||0|0|");
}

TEST_F(DepartmentTest, DeleteRemovesOnlyThatEntryAndAVanishedEntryCannotBeConfirmed) {
    const GGJG first = InsertInstitution(Dm(), ValidForm("111111111"));
    const GGJG second = InsertInstitution(Dm(), ValidForm("222222222"));
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), first.JiGID);
    DeleteEntry(Dm(), first.JiGID);
    EXPECT_EQ(Count("MLK_JiBXX"), 1);
    EXPECT_EQ(Column(second.JiGID, "ZuZJGDM"), "222222222");
    EXPECT_THROW(ConfirmEntry(Dm(), loaded), MlkError);
    EXPECT_EQ(Count("MLK_DaiDRJG"), 0);
}

// Confirming writes its update and the pending row in one transaction.
TEST_F(DepartmentTest, FailedPendingInsertLeavesTheEntryUnconfirmed) {
    const GGJG saved = InsertInstitution(Dm(), ValidForm());
    Dm().ExecSQL("drop table MLK_DaiDRJG");
    EXPECT_THROW(ConfirmEntry(Dm(), GGJG::LoadByJiGID(Dm(), saved.JiGID)), DbError);
    EXPECT_EQ(Column(saved.JiGID, "QueRZT") + Column(saved.JiGID, "QueRSJ"), "0");
}

TEST_F(DepartmentTest, AgencyInsertUpdateAndConfirm) {
    const GGJG saved = InsertAgency(Dm(), {" 区节能中心 ", "李四", "0105", "节能中心节点", "2"});
    EXPECT_TRUE(std::regex_match(saved.JiGID, std::regex("[0-9A-F]{10}"))) << saved.JiGID;
    GGJG r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(Join({r.JiGMC, r.JieDMC, r.JieDLB, r.JiGLX, r.GengXZT, r.ShangJHYZGBM,
                    std::to_string(r.ShunX), std::to_string(r.JiC), r.ShangJBMID},
                   "|"),
              "区节能中心|节能中心节点|0|9900|0||2|1|" + Dm().Unit().DanWID);
    EXPECT_TRUE(IsTime(r.ChuSHSJ));

    Dm().ExecSQL("update MLK_JiBXX set ChuSHSJ = '2000-01-01 00:00:00'");
    UpdateAgency(Dm(), r, {"区节能中心", "王五", "0106", "节点二", "5"});
    r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(Join({r.LianXRXM, r.JieDMC, r.GengXZT, std::to_string(r.ShunX)}, "|"),
              "王五|节点二|1|5");
    EXPECT_NE(r.ChuSHSJ, "2000-01-01 00:00:00");

    ConfirmEntry(Dm(), r);
    EXPECT_EQ(Dm().QueryText("select JieDLB||'/'||XingZQH||'/'||JiGLX from MLK_DaiDRJG"),
              "0//9900");
}

}  // namespace
}  // namespace mlk::test
