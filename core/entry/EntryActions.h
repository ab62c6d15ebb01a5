#pragma once

#include <string>

#include "model/GGJG.h"

namespace mlk {

class TMainDM;

// The writes shared by both editors: the insert, the update of every editable column, the
// delete and the confirmation of an entry.

// Stores the record as a new entry of the operating unit: entered (GengXZT '0'), unconfirmed,
// unaudited, the unit's own data at level 1 below it, its JiGID the prefix and a new id.
void InsertEntry(TMainDM& dm, GGJG& record, const std::string& idPrefix);

// Writes the record's editable columns (JiGMC .. DanWFZR) back to its row, marked changed
// (GengXZT '1').
void UpdateEntry(TMainDM& dm, GGJG record);

// Removes the entry.
void DeleteEntry(TMainDM& dm, const std::string& jiGID);

// Marks the entry confirmed by the operating unit's statistician and adds it to the pending
// institutions of MLK_DaiDRJG, both in one transaction: an entry is never confirmed without its
// pending row. The pending row holds the record as it was loaded. An entry that is no longer in
// the directory is refused and nothing is written.
void ConfirmEntry(TMainDM& dm, const GGJG& record);
// The same writes within the caller's transaction: a batch confirms many entries in one.
void WriteConfirmation(TMainDM& dm, const GGJG& record);

}  // namespace mlk
