#include <regex>

#include "EntryFixture.h"
#include "data/MlkError.h"
#include "entry/AgencyEntry.h"
#include "entry/EntryActions.h"

namespace mlk::test {
namespace {

TEST_F(EntryTest, InsertStoresANewEntryOfTheUnit) {
    InstitutionForm form = ValidForm(" 123456789");
    ASSERT_FALSE(CheckInstitution(Dm(), form, GGJG{}, 9));
    const GGJG saved = InsertInstitution(Dm(), form);

    EXPECT_TRUE(std::regex_match(saved.JiGID, std::regex("110101[0-9A-F]{10}"))) << saved.JiGID;
    const GGJG r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    const std::pair<std::string, std::string> expected[] = {
        {r.JiGMC, "北京市第一中学"},
        {r.ZuZJGDM, "123456789"},
        {r.JieDMC, "北京市第一中学"},
        {r.JiGLX, "8230"},
        {r.XingZJB, "4"},
        {r.JieDLB, "1"},
        {r.CaiZJFLYFS, "0"},
        {r.DiZhi_Shen, "北京市"},
        {r.DiZhi_Shi, "市辖区"},
        {r.DiZhi_Xian, "东城区"},
        {r.XingZQH, "110101"},
        {r.ChuSHSJ, "2024-05-06"},
        {r.GengXZT, "0"},
        {r.QueRZT, "0"},
        {r.ShenHZT, "0"},
        {r.ShuJLY, "0"},
        {r.ShangJBMID, Dm().Unit().DanWID},
        {r.ShangJHYZGBM, "东城区教育局"},
        {r.ShangJXZZGBM, "东城区教育局"},
        {r.ShangBJGID, ""},
        {r.QueRSJ, ""},
    };
    for (const auto& [actual, want] : expected)
        EXPECT_EQ(actual, want);
    EXPECT_EQ(r.JiC, 1);
    EXPECT_EQ(r.ShunX, 3);
}

TEST_F(EntryTest, UpdateWritesTheFormAndKeepsTheRest) {
    InstitutionForm form = ValidForm();
    CheckInstitution(Dm(), form, GGJG{}, 0);
    const GGJG saved = InsertInstitution(Dm(), form);
    Dm().ExecSQL("update MLK_JiBXX set TongJY='统计员', QiT='其他', DanWFZR='负责人' where JiGID=?",
                 {saved.JiGID});

    const GGJG loaded = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    form.JiGMC = "北京市第二中学";
    form.ShunX = "7";
    ASSERT_FALSE(CheckInstitution(Dm(), form, loaded, 1));
    UpdateInstitution(Dm(), loaded, form);

    const GGJG r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(r.JiGMC + "|" + r.JieDMC + "|" + r.GengXZT + "|" + r.TongJY + "|" + r.QiT + "|" +
                  r.DanWFZR + "|" + std::to_string(r.ShunX) + "|" + std::to_string(r.JiC),
              "北京市第二中学|北京市第二中学|1|统计员|其他|负责人|7|1");
    EXPECT_EQ(r.ShangJBMID, Dm().Unit().DanWID);
}

TEST_F(EntryTest, DeleteRemovesOnlyThatEntryAndAVanishedEntryCannotBeConfirmed) {
    const GGJG first = InsertInstitution(Dm(), ValidForm("111111111"));
    const GGJG second = InsertInstitution(Dm(), ValidForm("222222222"));
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), first.JiGID);
    DeleteEntry(Dm(), first.JiGID);
    EXPECT_EQ(Rows("MLK_JiBXX"), 1);
    EXPECT_EQ(Column(second.JiGID, "ZuZJGDM"), "222222222");
    EXPECT_THROW(ConfirmEntry(Dm(), loaded), MlkError);
    EXPECT_EQ(Rows("MLK_DaiDRJG"), 0);
}

TEST_F(EntryTest, ConfirmMarksTheEntryAndAddsOnePendingRow) {
    Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = '张统计'");
    Dm().LoadCaoZDWXX();
    InstitutionForm form = ValidForm();
    ASSERT_FALSE(CheckInstitution(Dm(), form, GGJG{}, 0));
    const GGJG saved = InsertInstitution(Dm(), form);
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    ConfirmEntry(Dm(), loaded);

    EXPECT_EQ(Column(saved.JiGID, "QueRZT"), "1");
    EXPECT_EQ(Column(saved.JiGID, "QueRRXM"), "张统计");
    EXPECT_TRUE(std::regex_match(Column(saved.JiGID, "QueRSJ"),
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    ASSERT_EQ(Rows("MLK_DaiDRJG"), 1);
    EXPECT_EQ(
        Dm().QueryText("select JiGID||'|'||JiGMC||'|'||JieDLB||'|'||XingZJB||'|'||JieDMC||'|'||"
                       "XingZQH||'|'||CaiZJFLYFS||'|'||JiGLX||'|'||DaoRZT||'|'||"
                       "ifnull(DaoRSJ,'')||'|'||DaoRSL||'|'||ShenHZT||'|'||ifnull(ShenHSJ,'') "
                       "from MLK_DaiDRJG"),
        saved.JiGID + "|北京市第一中学|1|4|北京市第一中学|110101|0|8230|0||0|0|");
}

TEST_F(EntryTest, FailedPendingInsertLeavesTheEntryUnconfirmed) {
    const GGJG saved = InsertInstitution(Dm(), ValidForm());
    Dm().ExecSQL("drop table MLK_DaiDRJG");
    EXPECT_THROW(ConfirmEntry(Dm(), GGJG::LoadByJiGID(Dm(), saved.JiGID)), DbError);
    EXPECT_EQ(Column(saved.JiGID, "QueRZT"), "0");
    EXPECT_EQ(Column(saved.JiGID, "QueRSJ"), "");
}

TEST_F(EntryTest, AgencyInsertUpdateAndConfirm) {
    const GGJG saved = InsertAgency(Dm(), {" 区节能中心 ", "李四", "0105", "节能中心节点", "2"});
    EXPECT_TRUE(std::regex_match(saved.JiGID, std::regex("[0-9A-F]{10}"))) << saved.JiGID;
    GGJG r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(r.JiGMC + "|" + r.JieDMC + "|" + r.JieDLB + "|" + r.JiGLX + "|" + r.GengXZT + "|" +
                  r.ShangJHYZGBM + "|" + std::to_string(r.ShunX) + "|" + std::to_string(r.JiC),
              "区节能中心|节能中心节点|0|9900|0||2|1");
    EXPECT_EQ(r.ShangJBMID, Dm().Unit().DanWID);
    EXPECT_TRUE(std::regex_match(r.ChuSHSJ, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));

    Dm().ExecSQL("update MLK_JiBXX set ChuSHSJ = '2000-01-01 00:00:00'");
    UpdateAgency(Dm(), r, {"区节能中心", "王五", "0106", "节点二", "5"});
    r = GGJG::LoadByJiGID(Dm(), saved.JiGID);
    EXPECT_EQ(r.LianXRXM + "|" + r.JieDMC + "|" + r.GengXZT + "|" + std::to_string(r.ShunX),
              "王五|节点二|1|5");
    EXPECT_NE(r.ChuSHSJ, "2000-01-01 00:00:00");

    ConfirmEntry(Dm(), r);
    EXPECT_EQ(Dm().QueryText("select JieDLB||'/'||XingZQH||'/'||JiGLX from MLK_DaiDRJG"),
              "0//9900");
}

}  // namespace
}  // namespace mlk::test
