#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "db/SafetyCopy.h"
#include "forms/Check.h"

namespace mlk {

class TMainDM;

// A row of MLK_DaiDRJG: a confirmed subordinate unit whose exchange file is awaited.
struct DaiDRJG {
    std::string JiGID, JiGMC, JieDLB, XingZJB, JieDMC, XingZQH, CaiZJFLYFS, JiGLX;
    std::string DaoRZT, DaoRSJ, DaoRSL, ShenHZT, ShenHSJ;
};

// The pending institution with this id, if there is one.
std::optional<DaiDRJG> LoadPending(TMainDM& dm, const std::string& jigid);
// Every pending institution, not imported first.
std::vector<DaiDRJG> PendingInstitutions(TMainDM& dm);

// Why the file cannot be imported under this pending institution (already imported, audited).
CheckResult CheckImport(const DaiDRJG& pending);
// Why the imported rows cannot be removed (audited).
CheckResult CheckRemoveImport(const DaiDRJG& pending);

// Imports every line of the exchange file under the pending institution and returns their
// number; 0 for a file without lines, which changes nothing. Every line is split, converted,
// checked and inserted in one pass. The rows, the pending institution's state and the log row are
// written in one transaction, so a failure (a bad line, a JiGID already in the directory) or the
// end of the process at any moment leaves the database as it was; a failure names the line, and
// JiGIDs already in the directory are all named (ConflictRefusal).
// CheckImport refuses by the pending institution's state as stored within that transaction.
long long ImportExchangeFile(TMainDM& dm, const DaiDRJG& pending, const std::filesystem::path& file,
                             Progress& progress);

// The number of rows RemoveImport would delete; refuses audited data as RemoveImport does.
long long ImportedRowCount(TMainDM& dm, const DaiDRJG& pending);
// The question asked before the removal, naming the unit and the rows that go.
std::string RemoveImportQuestion(const DaiDRJG& pending, long long rows);

// Deletes the rows imported through the pending institution and sets it back to not imported,
// refused by CheckRemoveImport on the state stored within its transaction (an audit made since
// the caller read the institution counts). A safety copy of the database is kept first, unless
// skipped (KeepSafetyCopy). Returns the number of rows deleted.
long long RemoveImport(TMainDM& dm, const DaiDRJG& pending, SafetyCopy copy, Progress& progress);

std::string ImportDoneMessage(long long rows);

}  // namespace mlk
