#pragma once

#include <string>
#include <vector>

#include "forms/Check.h"
#include "model/GGJG.h"

namespace mlk {

class TMainDM;

// What the institution editor's controls hold, as the user sees them (combo boxes as their
// shown text, "code-label"). The hidden carriers JieDMC, ZhiSZGBMQC and YeWZGBMQC are set by
// the check and read back by the window.
struct InstitutionForm {
    std::string JiGMC, ZuZJGDM, HangYDM;
    std::string Jigfl;           // the chosen type, "code-name"
    bool jigfl2Visible = false;  // which type box takes the focus when none is chosen
    bool jigfl3Visible = false;
    std::string XingZJB, JieDLB, CaiZJFSY;
    std::string Xingzqhss, Xingzqhds, Xingzqhxq;  // province, city, county boxes
    std::string JieD, HaoP, YouZBM, LianXR, LianXDH, TianBRQ, ShunX;
    std::string XingZQH;  // the county code
    std::string JieDMC, ZhiSZGBMQC, YeWZGBMQC;
};

// The form as the editor opens in an insert mode: every box at "--全部--" except the node type,
// which the mode presets ("0-节能管理机构" in mode 7, else "1-主管部门"), and the fill-in date
// today.
InstitutionForm InsertForm(const TMainDM& dm, int mode);

// The form as the editor shows a loaded entry: each box at the entry's item where the box
// offers it, else at "--全部--"; the type as "code-name".
InstitutionForm LoadedForm(TMainDM& dm, const GGJG& record);

// The completeness check guarding save and confirm. Stops at the first failure and names the
// control to focus. On the way it sets the node name to the unit name and the competent
// department (in mode 9 also the administrative one) to the operating unit's name, whether or
// not a later step fails. working is the record the editor was opened with (empty on insert):
// an unchanged organisation code is not looked up again.
CheckResult CheckInstitution(TMainDM& dm, InstitutionForm& form, const GGJG& working, int mode);

// What a save says before it stores an organisation code, new or changed against working, whose
// check character is wrong: "组织机构代码校验位不正确，按国家标准应为X". The editor asks whether
// to save all the same; mlk saves and warns.
std::optional<std::string> CheckCharacterWarning(const InstitutionForm& form, const GGJG& working);

// Copies the form into the record; a combo box showing "--全部--" leaves its field unchanged.
// The form must have passed the check (the order field is a whole number).
void FillFromForm(GGJG& record, const InstitutionForm& form);

// Stores a new entry of the operating unit and returns it (with its new JiGID: county code and
// a new id).
GGJG InsertInstitution(TMainDM& dm, const InstitutionForm& form);

// Saves the form into the entry loaded as working, marking it changed.
void UpdateInstitution(TMainDM& dm, GGJG working, const InstitutionForm& form);

// The type cascade: the items "lxbm-lxmc" of the children of a chosen type item (the code is
// the text before its first "-"); empty when the type has none and is itself the choice.
std::vector<std::string> ChildTypesOfItem(TMainDM& dm, const std::string& chosen);

// The type item a user ends at who chooses the type with this code level by level in the type
// boxes. A code the boxes do not offer, or one with types below it, raises an MlkError.
std::string ChooseType(TMainDM& dm, const std::string& code);

// The placeholder that heads a list of child types; choosing it chooses nothing.
inline constexpr const char* kChooseItem = "--请选择--";

}  // namespace mlk
