#pragma once

#include <string>

#include "forms/Check.h"

namespace mlk {
class TMainDM;
}

namespace mlk::setup {

// The registration form's values as the user left them: the texts of the edit boxes and the
// selected item of each combo box ("--全部--", "code-label", or empty when the list is empty).
struct ZhuCeInput {
    std::string editJgmc;      // full name
    std::string cbXingZLSJB;   // subordination level
    std::string cbXingZQHSS;   // province
    std::string cbXingZQHDS;   // city
    std::string cbXingZQHXQ;   // county
    std::string cbJieDLB;      // unit type
    std::string EditJieDMC;    // node name
    std::string editTianBRXM;  // person registering
    std::string EditTianBSJ;   // initialisation time
};

// An entry counts as chosen unless it is the all item or nothing is selected. A city without
// counties offers itself as its only county entry, and that entry counts as chosen, so that a
// unit there can register.
bool IsItemChosen(const std::string& item);

// The node name that follows a change of the unit type: either the first failed check of the
// full name, level and division (the node name stays empty), or the derived name, which is empty
// while no type is chosen.
struct NodeNameResult {
    CheckResult failure;
    std::string name;
};
NodeNameResult DeriveJieDMC(const ZhuCeInput& input);

// The checks of the registration, in order; the first failure with the control to focus.
CheckResult CheckZhuCe(const ZhuCeInput& input);

// Registers the operating unit: the checks, then the row of MLK_CaoZDWXX, then the unit is
// reloaded. Returns the first failed check (nothing is written then). An installation that has a
// registered unit already is refused with an MlkError.
CheckResult ZhuCe(TMainDM& dm, const ZhuCeInput& input);

// The form's values for a registration given by codes (the command line): the level and type
// codes and the county-level division code become the items the window would show selected.
// An unknown code raises an MlkError; a missing one stays unselected, so that the checks report
// it as the window would. With an empty node name the derived one is taken.
struct ZhuCeCodes {
    std::string name, level, division, type, nodeName, person;
};
ZhuCeInput InputFromCodes(TMainDM& dm, const ZhuCeCodes& codes);

}  // namespace mlk::setup
