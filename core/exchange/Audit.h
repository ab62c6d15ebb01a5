#pragma once

#include <string>
#include <vector>

#include "forms/Check.h"
#include "model/GGJG.h"

namespace mlk {

class TMainDM;
struct CaoZDWXX;

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

// Only a unit directly under the operating unit, with institutions under it, can be approved:
// the refusal otherwise (the window keeps its button disabled then).
CheckResult CheckApprove(const CaoZDWXX& unit, const GGJG& node, bool hasRows);
bool CanApprove(const CaoZDWXX& unit, const GGJG& node, bool hasRows);
std::string ApproveQuestion(const GGJG& node);

// Marks every institution under the subordinate unit and the unit's pending institution as
// audited, under the operating unit's clerk, and writes the audit log row, all in one
// transaction. Returns the number of institutions approved.
long long Approve(TMainDM& dm, const GGJG& node);

}  // namespace mlk
