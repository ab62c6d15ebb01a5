#pragma once

#include <string>
#include <vector>

#include "forms/Check.h"
#include "model/GGJG.h"

namespace mlk {

class TMainDM;

// The audit of the data that directly subordinate units delivered.

// The column descriptions of the audit list ("field-title-width").
const std::vector<std::string>& AuditColumns();

// The directory rows directly under key (a JiGID, or the unit's DanWID for the tree's root),
// in display order, with every column: the children of a tree node.
std::vector<GGJG> AuditChildren(TMainDM& dm, const std::string& key);
// The same rows as the audit list reads them.
std::vector<GGJG> AuditList(TMainDM& dm, const std::string& key);
// The cells of one list row, numbered from 1.
std::vector<std::string> AuditListCells(TMainDM& dm, const GGJG& row, int number);

// A unit is approved once: directly under the operating unit, with institutions under it, and
// not approved before (its pending institution or the audit log says it was). The refusal
// otherwise, which the window shows beside its disabled button.
CheckResult CheckApprove(TMainDM& dm, const GGJG& node);
std::string ApproveQuestion(const GGJG& node);

// Marks every institution under the subordinate unit and the unit's pending institution as
// audited, under the operating unit's clerk, and writes the audit log row, all in one
// transaction, within which CheckApprove refuses (an approval made meanwhile counts). Returns the
// number of institutions approved.
long long Approve(TMainDM& dm, const GGJG& node);

}  // namespace mlk
