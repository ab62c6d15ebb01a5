#pragma once

#include <string>
#include <vector>

#include "forms/Check.h"
#include "model/XingZQH.h"

namespace mlk {

class TMainDM;

// The administrative-division tree: provinces at the top, cities below them, counties below
// the cities. Existing divisions are never changed; a city or a county can be added.

// The provinces, in code order.
std::vector<XingZQH> ProvinceDivisions(TMainDM& dm);
// The divisions whose parent is the given code, in code order.
std::vector<XingZQH> ChildDivisions(TMainDM& dm, const std::string& parentCode);
// Counties have no children; every other division may have some.
bool CanHaveChildren(const XingZQH& division);

// Whether a child may be added under the selected division (nullptr: nothing selected).
CheckResult CheckAddUnder(const XingZQH* parent);

// The save checks in order: name, code, its length, its digits, then the code must be new.
// Blanks around the name and the code do not count. The focus names the edit to correct.
CheckResult CheckNewDivision(TMainDM& dm, const std::string& name, const std::string& code);

// The new division below parent: a city under a province, a county under anything else.
XingZQH NewDivision(const XingZQH& parent, const std::string& name, const std::string& code);

// Stores a division that passed the checks.
void InsertDivision(TMainDM& dm, const XingZQH& division);

}  // namespace mlk
