#pragma once

#include <string>
#include <vector>

#include "entry/ListQuery.h"

namespace mlk {

class TMainDM;
class Statement;

// The list of pending institutions in the three import windows: for competent departments
// (JieDLB "1", with type columns and the type filter) or management agencies (JieDLB "0").
enum class PendingKind { Departments, Agencies };

// The column descriptions ("field-title-width"): 21 for departments, 17 for agencies.
const std::vector<std::string>& PendingColumns(PendingKind kind);

// The filters as the window reads them; an empty text is "--全部--".
struct PendingFilter {
    std::string name;         // trimmed name, matched anywhere in JiGMC
    std::string importState;  // "0" / "1"
    std::string auditState;   // "0" / "1"
    std::string type;         // a JiGLX code (departments only)
};

ListQueryBuilder PendingListQuery(PendingKind kind, const PendingFilter& filter);

// The cells of a page row from column 1 on; the last two are the DaoRZT and ShenHZT codes.
std::vector<std::string> PendingCells(TMainDM& dm, PendingKind kind, const Statement& row);

// Whether a row's colour marks it: imported rows for departments, audited ones for agencies.
bool IsPendingMarked(PendingKind kind, const std::vector<std::string>& cells);

// The buttons a ticked row offers.
struct PendingActions {
    bool chooseFile = false;
    bool remove = false;
    bool operator==(const PendingActions&) const = default;
};
PendingActions ActionsFor(const std::string& importState, const std::string& auditState);

}  // namespace mlk
