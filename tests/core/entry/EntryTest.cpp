// The entry editors' operations without a window: the checks, insert, update, delete, confirm.
#include <regex>

#include "TestSupport.h"
#include "entry/AgencyEntry.h"
#include "entry/BatchConfirm.h"
#include "entry/EntryActions.h"
#include "forms/CodeCheck.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

using F = InstitutionForm;

// Values put into the valid form; with several faults, the first in the order is reported.
struct CheckCase {
    std::vector<std::pair<std::string F::*, const char*>> changes;
    const char* message;  // nullptr: the check passes
    const char* focus;
    int typeBoxes = 1;  // how many type boxes the editor shows
};

const CheckCase kCheckCases[] = {
    {{}, nullptr, ""},
    {{{&F::JiGMC, "   "}}, "单位详细名称不能为空！", "EDJiGMC"},
    // Nothing that could not travel in the exchange file, whatever else is wrong.
    {{{&F::JiGMC, "一中\xF0\x9F\x98\x80"}, {&F::ZuZJGDM, ""}},
     "单位详细名称中的字符“\xF0\x9F\x98\x80”无法用GBK编码保存，请改用其他字",
     "EDJiGMC"},
    {{{&F::JieD, "\xF0\xA0\x80\x80路"}, {&F::HaoP, "\xC3\xA4"}},
     "街道中的字符“\xF0\xA0\x80\x80”无法用GBK编码保存，请改用其他字",
     "EDJieD"},
    {{{&F::TianBRQ, "2024\xE2\x80\x8B"}},
     "填表日期中的字符“\xE2\x80\x8B”无法用GBK编码保存，请改用其他字",
     "EDTianBRQ"},
    {{{&F::JiGMC, ""}, {&F::ZuZJGDM, ""}}, "单位详细名称不能为空！", "EDJiGMC"},
    {{{&F::ZuZJGDM, " "}}, "组织机构代码不能为空！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "12345678"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, " 12345678"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},  // trimmed first
    {{{&F::ZuZJGDM, " 123456789 "}}, nullptr, ""},
    {{{&F::ZuZJGDM, "1234567中"}}, "组织机构代码只能由数字和大写字母组成", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "12345678x"}}, "组织机构代码只能由数字和大写字母组成", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "1234567中8"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "MA0123XY9"}}, nullptr, ""},
    {{{&F::ZuZJGDM, "1234567890"}}, "组织机构代码长度必须为9位！", "EDZuZJGDM"},
    {{{&F::ZuZJGDM, "999999999"}}, "组织机构代码已经存在，请查证后重新录入！", "EDZuZJGDM"},
    {{{&F::HangYDM, ""}}, "行业代码不能为空！", "EDHangYDM"},
    {{{&F::HangYDM, "12345"}}, nullptr, ""},
    {{{&F::HangYDM, "123456"}}, "行业代码长度不能超过5位！", "EDHangYDM"},
    {{{&F::Jigfl, ""}}, "机构分类不能为空！", "cbJigfl1"},
    {{{&F::Jigfl, "--全部--"}}, "机构分类不能为空！", "cbJigfl2", 2},
    {{{&F::Jigfl, "9900-空"}}, "机构分类不能为空！", "cbJigfl3", 3},
    {{{&F::XingZJB, "--全部--"}}, "行政级别不能为空！", "cbXingZJB"},
    {{{&F::JieDLB, "--全部--"}}, "节点类别不能为空！", "cbJieDLB"},
    {{{&F::CaiZJFSY, "--全部--"}}, "财政经费来源方式不能为空！", "cbCaiZJFSY"},
    {{{&F::Xingzqhss, "--全部--"}, {&F::Xingzqhxq, "--全部--"}}, "省市区不能为空！", "cbXingzqhss"},
    {{{&F::Xingzqhds, "--全部--"}}, "地市州不能为空！", "cbXingzqhds"},
    {{{&F::Xingzqhxq, "--全部--"}}, "县区旗不能为空！", "cbXingzqhxq"},
    {{{&F::JieD, " "}, {&F::LianXDH, " "}}, "街道不能为空！", "EDJieD"},
    {{{&F::HaoP, ""}}, "号牌不能为空！", "EDHaoP"},
    {{{&F::YouZBM, ""}}, "邮政编码不能为空！", "EDYouZBM"},
    {{{&F::LianXR, ""}}, "机构联系人不能为空！", "EDLianXR"},
    {{{&F::LianXDH, ""}}, "联系电话不能为空！", "EDLianXDH"},
    {{{&F::TianBRQ, ""}}, "填表日期不能为空！", "EDTianBRQ"},
    {{{&F::ShunX, " "}}, "显示顺序不能为空！", "EDShunX"},
    {{{&F::ShunX, "第3"}}, "显示顺序必须为整数！", "EDShunX"},
    {{{&F::ShunX, "1.5"}}, "显示顺序必须为整数！", "EDShunX"},
    {{{&F::ShunX, " 12 "}}, nullptr, ""},
    {{{&F::ShunX, "2147483647"}}, nullptr, ""},
    {{{&F::ShunX, "2147483648"}}, "显示顺序超出整数范围（-2147483648至2147483647）！", "EDShunX"},
    {{{&F::ShunX, "-2147483649"}}, "显示顺序超出整数范围（-2147483648至2147483647）！", "EDShunX"},
};

// Another unit's entry holds the code 999999999; a unit without a name is refused last, with no
// field to focus.
TEST_F(DepartmentTest, InstitutionCheckStopsAtFirstFailureWithItsFocus) {
    GGJG other;
    other.JiGID = "110101OTHER00000";
    other.ZuZJGDM = "999999999";
    other.ShangJBMID = "someone else";
    other.Insert(Dm());
    for (const CheckCase& c : kCheckCases) {
        InstitutionForm form = ValidForm();
        for (const auto& [field, value] : c.changes)
            form.*field = value;
        form.jigfl2Visible = c.typeBoxes >= 2;
        form.jigfl3Visible = c.typeBoxes == 3;
        EXPECT_EQ(CheckInstitution(Dm(), form, GGJG{}, 0),
                  c.message ? CheckResult(CheckFailure{c.message, c.focus}) : std::nullopt)
            << (c.changes.empty() ? "" : c.changes[0].second);
    }
    Dm().ExecSQL("update MLK_CaoZDWXX set DanWMC = ' '");
    Dm().LoadCaoZDWXX();
    InstitutionForm form = ValidForm();
    EXPECT_EQ(CheckInstitution(Dm(), form, GGJG{}, 0),
              (CheckFailure{"直属主管部门全称不能为空！", ""}));
}

// The node name and the departments are set even when a later step fails.
TEST_F(DepartmentTest, CheckSetsNodeNameAndDepartments) {
    for (const auto& [mode, administrative] : {std::pair{0, ""}, {9, "东城区教育局"}, {4, ""}}) {
        InstitutionForm form = ValidForm();
        form.JieD = "";
        EXPECT_TRUE(CheckInstitution(Dm(), form, GGJG{}, mode));
        EXPECT_EQ(form.JieDMC + form.ZhiSZGBMQC + "|" + form.YeWZGBMQC,
                  std::string("北京市第一中学东城区教育局|") + administrative)
            << mode;
    }
}

// Organisation codes worked by hand: D2143569-X is the standard's own example; a sum divisible
// by 11 gives "0". The warning names the right character; what is no code at all is left to the
// completeness check.
TEST(CodeCheck, OrganisationCodeCheckCharacter) {
    const std::pair<const char*, const char*> cases[] = {
        {"D2143569X", nullptr}, {"000000000", nullptr},  {"123456788", nullptr},
        {"M000100Y4", nullptr}, {"123456789", "8"},      {"12345678A", "8"},
        {"D21435690", "X"},     {"00000000X", "0"},      {"12345678", nullptr},
        {"1234567a8", nullptr}, {"1234567890", nullptr},
    };
    for (const auto& [code, expected] : cases) {
        EXPECT_EQ(OrganisationCheckWarning(code),
                  expected ? std::optional(std::string("组织机构代码校验位不正确，按国家标准应为") +
                                           expected)
                           : std::nullopt)
            << code;
    }
}

// Unified social credit codes: 91350100M000100Y43 is a published sample; a sum divisible by 31
// gives "0". Characters 3 to 8 are the division, 9 to 17 the organisation code.
TEST(CodeCheck, CreditCodeGivesItsOrganisationCode) {
    const char* taken = "已从统一社会信用代码";
    const struct {
        const char* text;
        const char* parts;  // division|organisation|notes; nullptr: no credit code
    } cases[] = {
        {" 91350100M000100Y43 ", "350100|M000100Y4|1"},
        {"000000000000000000", "000000|000000000|1"},
        {"91110108MA012302XX", "110108|MA012302X|1"},
        {"91350100M000100Y44", "350100|M000100Y4|2统一社会信用代码校验位不正确，按国家标准应为3"},
        {"91110108MA0123020X", "110108|MA0123020|2统一社会信用代码校验位不正确，按国家标准应为4"},
        {"91350100M000100Y4I", nullptr},  // I, O, S, V, Z are not in the alphabet
        {"91350100M000O00Y43", nullptr},
        {"91350100m000100Y43", nullptr},
        {"91350100M000100Y4", nullptr},
        {"M000100Y4", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<CreditCode> credit = ReadCreditCode(c.text);
        ASSERT_EQ(credit.has_value(), c.parts != nullptr) << c.text;
        if (!credit)
            continue;
        EXPECT_EQ(credit->notes.at(0),
                  taken + Trim(c.text) + "中取出组织机构代码（第9至17位）" + credit->organisation);
        EXPECT_EQ(credit->division + "|" + credit->organisation + "|" +
                      std::to_string(credit->notes.size()) +
                      (credit->notes.size() > 1 ? credit->notes[1] : ""),
                  c.parts)
            << c.text;
    }
    // Registered in the county, its city or its province: no note.
    const std::pair<const char*, bool> divisions[] = {
        {"350102", false}, {"350100", false}, {"350000", false}, {"350200", true},
        {"110000", true},  {"350103", true},  {"", false},
    };
    for (const auto& [division, noted] : divisions) {
        EXPECT_EQ(CreditDivisionNote(division, "350102").has_value(), noted) << division;
    }
    EXPECT_EQ(CreditDivisionNote("350200", "350102"),
              "统一社会信用代码中的行政区划代码350200与所选县区350102不符");
    EXPECT_FALSE(CreditDivisionNote("350200", ""));
}

struct AgencyCase {
    AgencyForm form;
    const char* message;
    const char* focus;
};

TEST(AgencyCheck, FiveFieldsInOrderThenAWholeOrder) {
    const AgencyCase cases[] = {
        {{"节能中心", "李四", "123", "节点", "1"}, nullptr, ""},
        {{" ", "", "", "", ""}, "单位详细名称不能为空！", "EDJiGMC"},
        {{"节能中心", "", "", " ", ""}, "节点名称不能为空！", "EDJieDMC"},
        {{"节能中心", "", "", "节点", ""}, "机构联系人不能为空！", "EDLianXR"},
        {{"节能中心", "李四", "", "节点", ""}, "联系电话不能为空！", "EDLianXDH"},
        {{"节能中心", "李四", "123", "节点", " "}, "排序不能为空！", "EDShunX"},
        {{"节能中心", "李四", "123", "节点", "x1"}, "排序必须为整数！", "EDShunX"},
        {{"节能中心", "李四", "123", "节点", "2147483648"},
         "排序超出整数范围（-2147483648至2147483647）！",
         "EDShunX"},
        {{"节能中心", "李四\xF0\x9F\x98\x80", "", "", ""},
         "机构联系人中的字符“\xF0\x9F\x98\x80”无法用GBK编码保存，请改用其他字",
         "EDLianXR"},
    };
    for (const AgencyCase& c : cases) {
        EXPECT_EQ(CheckAgency(c.form),
                  c.message ? CheckResult(CheckFailure{c.message, c.focus}) : std::nullopt);
    }
}

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

// A batch confirms each of the unit's own entries that passes, all in one transaction: a failure
// of the database on the last takes back the first.
TEST_F(SampleDirectoryTest, BatchConfirmationIsOneTransaction) {
    NoProgress quiet;
    Dm().ExecSQL("create trigger Refuse before insert on MLK_DaiDRJG when new.JiGID = 'A2' "
                 "begin select raise(abort, '拒绝'); end");
    EXPECT_THROW(ConfirmOwnEntries(Dm(), {"T3", "A2"}, quiet), DbError);
    EXPECT_EQ(Column("T3", "QueRZT") + Column("A2", "QueRZT"), "00");
    Dm().ExecSQL("drop trigger Refuse");
    const std::vector<ConfirmOutcome> outcomes =
        ConfirmOwnEntries(Dm(), {"a1", "T1", "T3", "A2"}, quiet);
    EXPECT_EQ(ConfirmSummary(outcomes), "通过核查 2 条，未通过 2 条");
    EXPECT_EQ(outcomes[0].failure->message, "本单位录入的机构中没有机构ID为 a1 的机构");
    EXPECT_EQ(outcomes[1].failure->message, "已经通过核查的机构不能再次通过核查！！！");
    EXPECT_EQ(Column("T3", "QueRZT") + Column("A2", "QueRZT"), "11");
}

TEST_F(DepartmentTest, AgencyInsertUpdateAndConfirm) {
    const GGJG saved = InsertAgency(Dm(), {" 区节能中心 ", "李四", "0105", "节能中心节点", "2"});
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
