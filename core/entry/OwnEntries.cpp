#include "entry/OwnEntries.h"

#include <algorithm>

#include "base/MlkError.h"
#include "entry/EditorMode.h"
#include "entry/EntryActions.h"
#include "entry/EntryList.h"
#include "forms/CodeCheck.h"
#include "model/TMainDM.h"
#include "text/Text.h"

namespace mlk {

namespace {

template <class Form>
struct TextField {
    const char* column;
    std::string Form::*field;
    const char* label;
    bool digitsOnly;  // the editor's key filter admits digits only
};

const TextField<InstitutionForm> kInstitutionFields[] = {
    {"jigmc", &InstitutionForm::JiGMC, "单位详细名称", false},
    {"zuzjgdm", &InstitutionForm::ZuZJGDM, "组织机构代码", false},
    {"hangydm", &InstitutionForm::HangYDM, "行业代码", false},
    {"dizhi_jied", &InstitutionForm::JieD, "街道", false},
    {"dizhi_haop", &InstitutionForm::HaoP, "号牌", false},
    {"youzbm", &InstitutionForm::YouZBM, "邮政编码", true},
    {"lianxrxm", &InstitutionForm::LianXR, "联系人", false},
    {"lianxdh", &InstitutionForm::LianXDH, "联系电话", true},
    {"chushsj", &InstitutionForm::TianBRQ, "填表日期", false},
    {"shunx", &InstitutionForm::ShunX, "排序", true},
};

const TextField<AgencyForm> kAgencyFields[] = {
    {"jigmc", &AgencyForm::JiGMC, "单位详细名称", false},
    {"lianxrxm", &AgencyForm::LianXR, "联系人", false},
    {"lianxdh", &AgencyForm::LianXDH, "联系电话", true},
    {"jiedmc", &AgencyForm::JieDMC, "节点名称", false},
    {"shunx", &AgencyForm::ShunX, "排序", true},
};

template <class Form, std::size_t N>
bool SetText(Form& form, const TextField<Form> (&fields)[N], const std::string& column,
             const std::string& value) {
    for (const TextField<Form>& f : fields) {
        if (column != f.column)
            continue;
        if (f.digitsOnly && value.find_first_not_of("0123456789") != std::string::npos)
            throw MlkError(std::string(f.label) + "只能输入数字：" + value);
        form.*f.field = value;
        return true;
    }
    return false;
}

void ChooseAddress(TMainDM& dm, InstitutionForm& form, const std::string& county) {
    form.Xingzqhss = form.Xingzqhds = form.Xingzqhxq = std::string(kAllItem);
    if (county.empty())
        return;
    const TMainDM::DivisionItems chosen = dm.ChooseDivision(county);
    form.Xingzqhss = chosen.province;
    form.Xingzqhds = chosen.city;
    form.Xingzqhxq = chosen.county;
    // Choosing a county puts its code into the hidden county field.
    if (chosen.county != kAllItem)
        form.XingZQH = chosen.county.substr(0, 6);
}

// The operating unit, which must be registered to own entries.
const CaoZDWXX& RegisteredUnit(TMainDM& dm) {
    if (!dm.Unit().ZhuCeBZ)
        throw MlkError("尚未注册操作单位");
    return dm.Unit();
}

[[noreturn]] void Refuse(const CheckResult& failure) {
    throw MlkError(failure->message);
}

// The check and the notes of the institution editor; a unified social credit code given as the
// organisation code stands for the organisation code it holds.
void CheckWithNotes(TMainDM& dm, InstitutionForm& form, const GGJG& working, int mode,
                    EntryNotes* notes) {
    EntryNotes said;
    if (const std::optional<CreditCode> credit = ReadCreditCode(form.ZuZJGDM)) {
        form.ZuZJGDM = credit->organisation;
        said = credit->notes;
        if (const auto other = CreditDivisionNote(credit->division, form.XingZQH))
            said.push_back(*other);
    }
    if (const CheckResult failure = CheckInstitution(dm, form, working, mode))
        Refuse(failure);
    if (const auto warning = CheckCharacterWarning(form, working))
        said.push_back(*warning);
    if (notes)
        notes->insert(notes->end(), said.begin(), said.end());
}

}  // namespace

void ApplyValues(TMainDM& dm, InstitutionForm& form, const EntryValues& values) {
    for (const auto& [column, value] : values) {
        if (SetText(form, kInstitutionFields, column, value))
            continue;
        if (column == "jiglx")
            form.Jigfl = value.empty() ? std::string() : ChooseType(dm, value);
        else if (column == "xingzjb")
            form.XingZJB = dm.Codes().ChooseCode(value, "XingZJB", "行政级别");
        else if (column == "caizjflyfs")
            form.CaiZJFSY = dm.Codes().ChooseCode(value, "CaiZJFSY", "财政经费来源方式");
        else if (column == "xingzqh")
            ChooseAddress(dm, form, value);
        else
            throw MlkError("机构详细信息中没有 " + column + " 一项");
    }
}

void ApplyValues(AgencyForm& form, const EntryValues& values) {
    for (const auto& [column, value] : values) {
        if (!SetText(form, kAgencyFields, column, value))
            throw MlkError("节能管理机构信息中没有 " + column + " 一项");
    }
}

bool AgencyHasColumn(const std::string& column) {
    return std::any_of(std::begin(kAgencyFields), std::end(kAgencyFields),
                       [&](const TextField<AgencyForm>& f) { return column == f.column; });
}

std::string NotOwnEntryMessage(const std::string& jiGID) {
    return "本单位录入的机构中没有机构ID为 " + jiGID + " 的机构";
}

std::optional<GGJG> FindOwnEntry(TMainDM& dm, const std::string& jiGID) {
    const CaoZDWXX& unit = RegisteredUnit(dm);
    GGJG entry = GGJG::LoadByJiGID(dm, jiGID);
    if (entry.JiGID.empty() || entry.ShuJLY != "0" || entry.ShangJBMID != unit.DanWID)
        return std::nullopt;
    return entry;
}

GGJG LoadOwnEntry(TMainDM& dm, const std::string& jiGID) {
    std::optional<GGJG> entry = FindOwnEntry(dm, jiGID);
    if (!entry)
        throw MlkError(NotOwnEntryMessage(jiGID));
    return std::move(*entry);
}

GGJG AddEntry(TMainDM& dm, int insertMode, const EntryValues& values, EntryNotes* notes) {
    const CaoZDWXX& unit = RegisteredUnit(dm);
    const bool agencyUnit = unit.DanWLX == "0";
    if (agencyUnit && insertMode == mode::kInsertSubordinate)
        throw MlkError(
            "本单位是节能管理机构，录入同级主管部门和下级管理机构，不录入下属公共机构。");
    if (!agencyUnit && insertMode != mode::kInsertSubordinate)
        throw MlkError("本单位是主管部门，只录入下属公共机构。");
    if (insertMode == mode::kInsertAgency) {
        AgencyForm form;
        ApplyValues(form, values);
        if (const CheckResult failure = CheckAgency(form))
            Refuse(failure);
        return InsertAgency(dm, form);
    }
    InstitutionForm form = InsertForm(dm, insertMode);
    ApplyValues(dm, form, values);
    CheckWithNotes(dm, form, GGJG{}, insertMode, notes);
    return InsertInstitution(dm, form);
}

void UpdateOwnEntry(TMainDM& dm, const GGJG& entry, const EntryValues& values, EntryNotes* notes) {
    if (const auto refusal = ConfirmedRefusal(ListAction::Update, entry.QueRZT))
        throw MlkError(*refusal);
    if (entry.JieDLB == "0") {
        AgencyForm form = AgencyFormOf(entry);
        ApplyValues(form, values);
        if (const CheckResult failure = CheckAgency(form))
            Refuse(failure);
        UpdateAgency(dm, entry, form);
        return;
    }
    InstitutionForm form = LoadedForm(dm, entry);
    ApplyValues(dm, form, values);
    CheckWithNotes(dm, form, entry, mode::kUpdateSameLevel, notes);
    UpdateInstitution(dm, entry, form);
}

void DeleteOwnEntry(TMainDM& dm, const GGJG& entry) {
    if (const auto refusal = ConfirmedRefusal(ListAction::Delete, entry.QueRZT))
        throw MlkError(*refusal);
    DeleteEntry(dm, entry.JiGID);
}

CheckResult CheckConfirm(TMainDM& dm, const GGJG& entry) {
    if (const auto refusal = ConfirmedRefusal(ListAction::Confirm, entry.QueRZT))
        return CheckFailure{*refusal, ""};
    if (entry.JieDLB == "0")
        return CheckAgency(AgencyFormOf(entry));
    InstitutionForm form = LoadedForm(dm, entry);
    return CheckInstitution(dm, form, entry, mode::kConfirm);
}

}  // namespace mlk
