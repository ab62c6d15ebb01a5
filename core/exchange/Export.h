#pragma once

#include <filesystem>
#include <string>

#include "base/Progress.h"
#include "forms/Check.h"

namespace mlk {

class TMainDM;
struct CaoZDWXX;

// The export of the whole directory to an exchange file for the level above.

// The number of confirmed institutions (QueRZT "1").
long long ConfirmedCount(TMainDM& dm);
// The number of institutions not confirmed; a row whose QueRZT is empty or missing counts.
long long UnconfirmedCount(TMainDM& dm);

// The refusal when some institution is not confirmed yet, with how many are not.
CheckResult CheckExport(TMainDM& dm);

// The name the save dialog suggests: the unit's full name and "-核查数据.txt".
std::string ExportFileName(const CaoZDWXX& unit);
std::string ExportQuestion(long long count);
std::string ExportDoneMessage(long long rows);

// The statement of the exported rows: every column in file order, in the order the level above
// reads them.
extern const char* const kExportRowsSQL;

// Writes every row of MLK_JiBXX, in the order the level above reads them, to file and returns
// the number of rows written. The file is replaced only once complete (ReplacingFile), so a
// failure or a crash never leaves a half-written file under the chosen name. Refuses (MlkError
// with the guard's message) while some institution is unconfirmed, an empty directory, and a
// damaged database, before writing anything; a directory holding values the file cannot carry with
// an UntravelableError that names all of them.
long long ExportDirectory(TMainDM& dm, const std::filesystem::path& file, Progress& progress);

}  // namespace mlk
