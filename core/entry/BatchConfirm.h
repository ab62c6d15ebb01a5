#pragma once

#include <string>
#include <vector>

#include "base/Progress.h"
#include "entry/ListQuery.h"
#include "forms/Check.h"

namespace mlk {

class TMainDM;

// Confirming many of the operating unit's own entries at once: the list of those not confirmed
// yet, each with what the confirm mode's check says of it, and the confirmation of a chosen few
// that the window "确认机构信息" and `mlk confirm` share.

struct UnconfirmedFilter {
    std::string name;  // matched anywhere in JiGMC; blank adds no condition
    std::string node;  // JieDLB "0" or "1"; empty for both kinds
};

// Both kinds of own entries not confirmed yet: departments before agencies, each in the order
// of their own list.
ListQueryBuilder UnconfirmedListQuery(const std::string& danWID, const UnconfirmedFilter& filter);
// Their ids, for `mlk confirm --all`.
std::vector<std::string> UnconfirmedOwnEntries(TMainDM& dm);

// "field-title-width" descriptions; the last column holds the check's result.
const std::vector<std::string>& UnconfirmedColumns();
// The cells of a row from column 1 on (JiGID first, hidden): the check's result is
// kCheckPassed or the check's own message.
std::vector<std::string> UnconfirmedCells(TMainDM& dm, const Statement& row);
inline constexpr const char* kCheckPassed = "通过";

// What became of one entry: confirmed, or left with the reason.
struct ConfirmOutcome {
    std::string JiGID, JiGMC;
    CheckResult failure;
};

// Confirms each entry that is the unit's own and passes the check, as the editor's confirm mode
// does, all in one transaction; the others are left as they were, with their reason. A failure
// of the database takes back every confirmation of the batch.
std::vector<ConfirmOutcome> ConfirmOwnEntries(TMainDM& dm, const std::vector<std::string>& ids,
                                              Progress& progress);

// "通过核查 N 条，未通过 M 条".
std::string ConfirmSummary(const std::vector<ConfirmOutcome>& outcomes);
// The question before a batch, naming how many entries are chosen and how many of them fail.
std::string BatchConfirmQuestion(std::size_t chosen, std::size_t failing);

}  // namespace mlk
