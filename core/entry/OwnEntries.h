#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "entry/AgencyEntry.h"
#include "entry/InstitutionEntry.h"
#include "forms/Check.h"
#include "model/GGJG.h"

namespace mlk {

class TMainDM;

// The editors' actions on the operating unit's own entries, given by id and by column values
// instead of through a window, with the editors' presets, checks and messages: how scripts
// enter, change, delete and confirm entries.

// Values by MLK_JiBXX column name in lower case ("jigmc", "xingzqh"), codes given as codes.
using EntryValues = std::map<std::string, std::string>;

// Puts the values into the form as a user choosing the same codes in the editor would: a code
// becomes the item its box offers (the county code walks the province, city and county boxes,
// the type walks the type boxes down to a type without children). An unknown code, and text in
// a field that takes digits only, raise an MlkError; an empty code leaves its box at "--全部--",
// so that the check reports it.
void ApplyValues(TMainDM& dm, InstitutionForm& form, const EntryValues& values);
void ApplyValues(AgencyForm& form, const EntryValues& values);
// Whether the agency editor has a field for this column.
bool AgencyHasColumn(const std::string& column);

// The unit's own entry with this id (one the entry lists show: ShuJLY '0', ShangJBMID its
// DanWID), loaded in full; none for any other id. Before registration an MlkError.
std::optional<GGJG> FindOwnEntry(TMainDM& dm, const std::string& jiGID);
// The same, with an MlkError for an id that is not an own entry.
GGJG LoadOwnEntry(TMainDM& dm, const std::string& jiGID);
std::string NotOwnEntryMessage(const std::string& jiGID);

// What the editor would have said or asked on the way, where a script does not stop: an
// organisation code taken from a unified social credit code, a credit code of another division
// or with a wrong check character, an organisation code with a wrong check character.
using EntryNotes = std::vector<std::string>;

// Enters a new own entry as the insert mode's editor does (0 same-level competent department
// and 9 subordinate public institution: the institution editor; 7 management agency: the agency
// editor): the mode's presets, the values, the check, the insert. Returns the new entry. A failed
// check raises its message; so do a missing registration and a kind the unit's menu does not
// offer (an agency enters departments and agencies, a department its institutions).
GGJG AddEntry(TMainDM& dm, int insertMode, const EntryValues& values, EntryNotes* notes = nullptr);

// The update mode of the entry's editor: the refusal of a confirmed entry, the entry as loaded
// with the values put in, the check, the update. A refusal or failed check raises its message.
void UpdateOwnEntry(TMainDM& dm, const GGJG& entry, const EntryValues& values,
                    EntryNotes* notes = nullptr);
// The delete mode: the refusal of a confirmed entry, then the delete.
void DeleteOwnEntry(TMainDM& dm, const GGJG& entry);
// The confirm mode's refusal of a confirmed entry, then its check of the entry as loaded; the
// confirmation itself is ConfirmOwnEntries (BatchConfirm.h).
CheckResult CheckConfirm(TMainDM& dm, const GGJG& entry);

}  // namespace mlk
