#pragma once

#include <string>
#include <vector>

#include "forms/Check.h"
#include "model/XingZQH.h"

namespace mlk {

class TMainDM;

// The administrative-division tree: provinces at the top, cities below them, counties below
// the cities. A city or a county can be added, and one that nothing uses yet renamed or removed.

// The provinces, in code order.
std::vector<XingZQH> ProvinceDivisions(TMainDM& dm);
// The divisions whose parent is the given code, in code order.
std::vector<XingZQH> ChildDivisions(TMainDM& dm, const std::string& parentCode);
// Counties have no children; every other division may have some.
bool CanHaveChildren(const XingZQH& division);

// Whether a child may be added under the selected division (nullptr: nothing selected).
CheckResult CheckAddUnder(const XingZQH* parent);

// The save checks in order: name, code, its length, its digits, its place under the parent,
// then the code must be new. A code lies under its parent as the delivered codes do: a city
// begins with its province's first two digits and ends in "00", a county begins with its city's
// first four and does not. Blanks around the name and the code do not count. The focus names the
// edit to correct.
CheckResult CheckNewDivision(TMainDM& dm, const XingZQH& parent, const std::string& name,
                             const std::string& code);

// The new division below parent: a city under a province, a county under anything else.
XingZQH NewDivision(const XingZQH& parent, const std::string& name, const std::string& code);

// Stores a division that passed the checks.
void InsertDivision(TMainDM& dm, const XingZQH& division);

// Why a division must stay as it is: a province; a division below it (removing only); a code
// that a directory entry, a pending institution or the operating unit has, itself or through a
// county below a city; a name that a line of the initial data gives, as the selection matches it
// (the line's name within the division's).
CheckResult CheckChangeDivision(TMainDM& dm, const XingZQH& division, bool removing);
// Renames a division that CheckChangeDivision lets change; the name is trimmed, required and
// held by GBK, as a new division's is.
void RenameDivision(TMainDM& dm, const XingZQH& division, const std::string& name);
// The question asked before a removal.
std::string RemoveDivisionQuestion(const XingZQH& division);
// Removes a division that CheckChangeDivision lets go.
void RemoveDivision(TMainDM& dm, const XingZQH& division);

}  // namespace mlk
