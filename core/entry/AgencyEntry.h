#pragma once

#include <string>

#include "forms/Check.h"
#include "model/GGJG.h"

namespace mlk {

class TMainDM;

// What the management agency editor's five fields hold.
struct AgencyForm {
    std::string JiGMC, LianXR, LianXDH, JieDMC, ShunX;
};

// The five fields as the editor shows a loaded agency.
AgencyForm AgencyFormOf(const GGJG& record);

// Five required fields in order, then the order field must be a whole number.
CheckResult CheckAgency(const AgencyForm& form);

// Stores a new management agency below the operating unit (JiGID a new id alone, node type
// '0', fill-in time now) and returns it.
GGJG InsertAgency(TMainDM& dm, const AgencyForm& form);

// Saves the five fields into the loaded agency, with the fill-in time now; every other column
// is written back as loaded.
void UpdateAgency(TMainDM& dm, GGJG working, const AgencyForm& form);

}  // namespace mlk
