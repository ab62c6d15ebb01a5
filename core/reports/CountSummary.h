#pragma once

#include "reports/SummaryTable.h"

namespace mlk {

class TMainDM;

// Per own confirmed row (by ShunX): the confirmed institutions imported for it, by category --
// state organs, public-service institutions by field, organisations -- with the own row counting
// itself, and a totals row "合计" at the end.
SummaryTable CountSummary(TMainDM& dm);

// Per own confirmed row that has any: the confirmed state organs imported for it, by kind.
// No own-row counting, no totals row; rows in the order the database gives.
SummaryTable StateOrganSummary(TMainDM& dm);

}  // namespace mlk
