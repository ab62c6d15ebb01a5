#include "entry/InstitutionEntry.h"

#include <algorithm>
#include <utility>

#include "base/MlkError.h"
#include "entry/EditorMode.h"
#include "entry/EntryActions.h"
#include "forms/CodeCheck.h"
#include "model/CodeTables.h"
#include "model/TMainDM.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace mlk {

namespace {

bool ShowsAll(const std::string& comboText) {
    return comboText == kAllItem;
}

CheckFailure Fail(const char* message, const char* focus) {
    return {message, focus};
}

std::string TypeFocus(const InstitutionForm& form) {
    if (form.jigfl3Visible)
        return "cbJigfl3";
    if (form.jigfl2Visible)
        return "cbJigfl2";
    return "cbJigfl1";
}

// The national code's alphabet: digits and upper-case Latin letters.
bool IsOrganisationCode(const std::string& code) {
    return std::all_of(code.begin(), code.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); });
}

CheckResult CheckCodes(TMainDM& dm, const InstitutionForm& form, const GGJG& working) {
    const std::string code = Trim(form.ZuZJGDM);
    if (Trim(form.JiGMC).empty())
        return Fail("单位详细名称不能为空！", "EDJiGMC");
    if (code.empty())
        return Fail("组织机构代码不能为空！", "EDZuZJGDM");
    // The code is stored trimmed, so its length is judged trimmed as well.
    if (GbkLength(code) != 9)
        return Fail("组织机构代码长度必须为9位！", "EDZuZJGDM");
    if (!IsOrganisationCode(code))
        return Fail("组织机构代码只能由数字和大写字母组成", "EDZuZJGDM");
    if (code != working.ZuZJGDM && dm.HasRow("select * from MLK_JiBXX where ZuZJGDM = ?", {code})) {
        return Fail("组织机构代码已经存在，请查证后重新录入！", "EDZuZJGDM");
    }
    if (Trim(form.HangYDM).empty())
        return Fail("行业代码不能为空！", "EDHangYDM");
    if (GbkLength(form.HangYDM) >= 6)
        return Fail("行业代码长度不能超过5位！", "EDHangYDM");
    return std::nullopt;
}

// The failure of the first box, in the order given, that still shows "--全部--".
CheckResult FirstUnchosen(std::initializer_list<RequiredField> boxes) {
    for (const RequiredField& box : boxes) {
        if (ShowsAll(box.text))
            return Fail(box.message, box.focus);
    }
    return std::nullopt;
}

CheckResult CheckChoices(const InstitutionForm& form) {
    if (!IsChosen(form.Jigfl))
        return CheckFailure{"机构分类不能为空！", TypeFocus(form)};
    return FirstUnchosen({
        {form.XingZJB, "行政级别不能为空！", "cbXingZJB"},
        {form.JieDLB, "节点类别不能为空！", "cbJieDLB"},
        {form.CaiZJFSY, "财政经费来源方式不能为空！", "cbCaiZJFSY"},
    });
}

CheckResult CheckAddress(const InstitutionForm& form) {
    if (CheckResult failure = FirstUnchosen({
            {form.Xingzqhss, "省市区不能为空！", "cbXingzqhss"},
            {form.Xingzqhds, "地市州不能为空！", "cbXingzqhds"},
            {form.Xingzqhxq, "县区旗不能为空！", "cbXingzqhxq"},
        }))
        return failure;
    if (CheckResult failure = FirstBlank({
            {form.JieD, "街道不能为空！", "EDJieD"},
            {form.HaoP, "号牌不能为空！", "EDHaoP"},
            {form.YouZBM, "邮政编码不能为空！", "EDYouZBM"},
            {form.LianXR, "机构联系人不能为空！", "EDLianXR"},
            {form.LianXDH, "联系电话不能为空！", "EDLianXDH"},
            {form.TianBRQ, "填表日期不能为空！", "EDTianBRQ"},
            {form.ShunX, "显示顺序不能为空！", "EDShunX"},
        }))
        return failure;
    return NotWholeNumber({form.ShunX, "显示顺序必须为整数！", "EDShunX"}, "显示顺序");
}

// The item a box shows after the editor selects text in it: the text when the box offers it.
std::string Selected(const std::vector<std::string>& items, const std::string& text) {
    const bool offered = std::find(items.begin(), items.end(), text) != items.end();
    return offered ? text : std::string(kAllItem);
}

std::string CodeItem(const TMainDM& dm, const std::string& code, const char* key) {
    return Selected(dm.CodeComboItems(key), code + "-" + dm.CodeLabel(code, key));
}

// The code digit of a "code-label" item.
std::string FirstCharacter(const std::string& item) {
    return item.substr(0, 1);
}

// The name behind the six-digit code and "-" of a division item.
std::string DivisionName(const std::string& item) {
    return item.size() > 7 ? item.substr(7) : "";
}

// The text fields the form shows as the record holds them; a save takes each back trimmed.
constexpr std::pair<std::string InstitutionForm::*, std::string GGJG::*> kTextFields[] = {
    {&InstitutionForm::JiGMC, &GGJG::JiGMC},
    {&InstitutionForm::ZuZJGDM, &GGJG::ZuZJGDM},
    {&InstitutionForm::HangYDM, &GGJG::HangYDM},
    {&InstitutionForm::XingZQH, &GGJG::XingZQH},
    {&InstitutionForm::JieDMC, &GGJG::JieDMC},
    {&InstitutionForm::ZhiSZGBMQC, &GGJG::ShangJHYZGBM},
    {&InstitutionForm::YeWZGBMQC, &GGJG::ShangJXZZGBM},
    {&InstitutionForm::JieD, &GGJG::DiZhi_JieD},
    {&InstitutionForm::HaoP, &GGJG::DiZhi_HaoP},
    {&InstitutionForm::YouZBM, &GGJG::YouZBM},
    {&InstitutionForm::LianXR, &GGJG::LianXRXM},
    {&InstitutionForm::LianXDH, &GGJG::LianXDH},
    {&InstitutionForm::TianBRQ, &GGJG::ChuSHSJ},
};

// The boxes a save takes a field from, unless the box shows "--全部--": the code digit of a
// code item, the name of a division item.
const struct {
    std::string InstitutionForm::*box;
    std::string GGJG::*field;
    std::string (*value)(const std::string& item);
} kChosenFields[] = {
    {&InstitutionForm::XingZJB, &GGJG::XingZJB, FirstCharacter},
    {&InstitutionForm::JieDLB, &GGJG::JieDLB, FirstCharacter},
    {&InstitutionForm::CaiZJFSY, &GGJG::CaiZJFLYFS, FirstCharacter},
    {&InstitutionForm::Xingzqhss, &GGJG::DiZhi_Shen, DivisionName},
    {&InstitutionForm::Xingzqhds, &GGJG::DiZhi_Shi, DivisionName},
    {&InstitutionForm::Xingzqhxq, &GGJG::DiZhi_Xian, DivisionName},
};

}  // namespace

InstitutionForm InsertForm(const TMainDM& dm, int mode) {
    InstitutionForm form;
    form.XingZJB = form.CaiZJFSY = std::string(kAllItem);
    form.Xingzqhss = form.Xingzqhds = form.Xingzqhxq = std::string(kAllItem);
    form.JieDLB = CodeItem(dm, mode == mode::kInsertAgency ? "0" : "1", "JieDLB");
    form.TianBRQ = TMainDM::TodayText();
    return form;
}

InstitutionForm LoadedForm(TMainDM& dm, const GGJG& r) {
    InstitutionForm f;
    const XingZQH division = dm.GetXingZQH(r.XingZQH);
    const std::vector<std::string> none{std::string(kAllItem)};
    f.Xingzqhss = Selected(dm.ProvinceItems(), division.ssbm + "-" + division.ssmc);
    f.Xingzqhds = Selected(division.ssbm.empty() ? none : dm.CityItems(division.ssbm),
                           division.dsbm + "-" + division.dsmc);
    f.Xingzqhxq = Selected(division.ssbm.empty() ? none : dm.CountyItems(division.dsbm),
                           division.xqbm + "-" + division.xqmc);
    f.XingZJB = CodeItem(dm, r.XingZJB, "XingZJB");
    f.CaiZJFSY = CodeItem(dm, r.CaiZJFLYFS, "CaiZJFSY");
    f.JieDLB = CodeItem(dm, r.JieDLB, "JieDLB");
    f.Jigfl = r.JiGLX + "-" + dm.CodeLabel(r.JiGLX, "JiGLX");
    for (const auto& [text, field] : kTextFields)
        f.*text = r.*field;
    f.ShunX = std::to_string(r.ShunX);
    return f;
}

CheckResult CheckInstitution(TMainDM& dm, InstitutionForm& form, const GGJG& working, int mode) {
    if (CheckResult failure = FirstOutsideGbk({
            {form.JiGMC, "单位详细名称", "EDJiGMC"},
            {form.ZuZJGDM, "组织机构代码", "EDZuZJGDM"},
            {form.HangYDM, "行业代码", "EDHangYDM"},
            {form.JieD, "街道", "EDJieD"},
            {form.HaoP, "号牌", "EDHaoP"},
            {form.YouZBM, "邮政编码", "EDYouZBM"},
            {form.LianXR, "机构联系人", "EDLianXR"},
            {form.LianXDH, "联系电话", "EDLianXDH"},
            {form.TianBRQ, "填表日期", "EDTianBRQ"},
        }))
        return failure;
    if (CheckResult failure = CheckCodes(dm, form, working))
        return failure;
    if (CheckResult failure = CheckChoices(form))
        return failure;
    form.JieDMC = Trim(form.JiGMC);
    form.ZhiSZGBMQC = dm.Unit().DanWMC;
    if (Trim(form.ZhiSZGBMQC).empty())
        return Fail("直属主管部门全称不能为空！", "");
    if (mode == 9)
        form.YeWZGBMQC = dm.Unit().DanWMC;
    return CheckAddress(form);
}

std::optional<std::string> CheckCharacterWarning(const InstitutionForm& form, const GGJG& working) {
    const std::string code = Trim(form.ZuZJGDM);
    if (code == working.ZuZJGDM)
        return std::nullopt;
    return OrganisationCheckWarning(code);
}

void FillFromForm(GGJG& r, const InstitutionForm& form) {
    for (const auto& [text, field] : kTextFields)
        r.*field = Trim(form.*text);
    for (const auto& chosen : kChosenFields) {
        if (!ShowsAll(form.*chosen.box))
            r.*chosen.field = chosen.value(form.*chosen.box);
    }
    if (!ShowsAll(form.Jigfl)) {
        const std::vector<std::string> pieces = SplitText(form.Jigfl, '-');
        r.JiGLX = pieces.empty() ? std::string() : pieces[0];
    }
    ParseInt(Trim(form.ShunX), r.ShunX);
}

GGJG InsertInstitution(TMainDM& dm, const InstitutionForm& form) {
    GGJG r;
    FillFromForm(r, form);
    InsertEntry(dm, r, r.XingZQH);
    return r;
}

void UpdateInstitution(TMainDM& dm, GGJG working, const InstitutionForm& form) {
    FillFromForm(working, form);
    UpdateEntry(dm, std::move(working));
}

std::string ChooseType(TMainDM& dm, const std::string& code) {
    // The type and its ancestors, the top level first; the boxes go three levels deep.
    std::vector<std::string> chain;
    for (std::string at = code; !at.empty() && at != "0" && chain.size() < 3;
         at = dm.QueryText("select parent from MLK_JiGLX where LXBM = ?", {at})) {
        chain.insert(chain.begin(), at);
    }
    std::vector<std::string> offered = dm.TopTypeItems();
    for (std::size_t level = 0; level < chain.size(); ++level) {
        const auto found = std::find_if(offered.begin(), offered.end(), [&](const std::string& i) {
            return i != kAllItem && ItemCode(i) == chain[level];
        });
        if (found == offered.end())
            break;
        const std::string item = *found;
        // The third box is the last: what is chosen there is the type.
        offered = level < 2 ? ChildTypesOfItem(dm, item) : std::vector<std::string>{};
        if (level + 1 < chain.size())
            continue;
        if (!offered.empty())
            throw MlkError("机构类型 " + item + " 下还有分类，请给出下一级的类型代码");
        return item;
    }
    throw MlkError("机构类型代码无效：" + code);
}

std::vector<std::string> ChildTypesOfItem(TMainDM& dm, const std::string& chosen) {
    std::vector<std::string> items;
    const std::size_t dash = chosen.find('-');
    if (dash == std::string::npos)
        return items;
    dm.ForEachRow("select lxbm,lxmc from MLK_JiGLX where parent = ?", {chosen.substr(0, dash)},
                  [&](const Statement& row) { items.push_back(row.Text(0) + "-" + row.Text(1)); });
    return items;
}

}  // namespace mlk
