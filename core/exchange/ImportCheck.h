#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Progress.h"

namespace mlk {

class TMainDM;

// A line of an exchange file whose JiGID the directory already holds, or an earlier line of the
// same file does.
struct ImportConflict {
    std::size_t line = 0;
    std::string jigid;
    std::string name;             // of the row in the directory
    std::string unit;             // the unit that row belongs to (RowUnits)
    std::size_t earlierLine = 0;  // the line of the file with the same id; 0: the directory
};

// What reading a whole exchange file before importing it finds.
struct ImportCheckResult {
    // Why the import would be refused before it reads a line (the pending institution's state, a
    // file from another unit); the caller adds them.
    std::vector<std::string> refusals;
    std::size_t records = 0;            // institutions read, bad lines left out
    std::vector<std::string> badLines;  // why each bad line is refused, in file order
    std::vector<ImportConflict> conflicts;
    bool Passes() const {
        return refusals.empty() && records > 0 && badLines.empty() && conflicts.empty();
    }
};

// What an import refused for any reason says it did not do.
inline constexpr const char* kNothingImported = "文件中的数据均未导入";

// Reads every line of the file as the import does, without storing anything: every line the
// import would refuse, and every JiGID already in the directory or twice in the file. A file that
// cannot be opened raises the error the import raises; one that cannot be read further ends the
// listing with that line. The database is checked for damage meanwhile, as the import checks it,
// and a damaged one raises the import's error.
ImportCheckResult CheckExchangeFile(TMainDM& dm, const std::filesystem::path& file,
                                    Progress& progress);
// The same without the database's check, for an import that has made it.
ImportCheckResult CheckExchangeFileLines(TMainDM& dm, const std::filesystem::path& file,
                                         Progress& progress);

// The lines of the result: the refusals, each bad line and each conflict (at most `most` of
// these, then their number), and the verdict last.
std::vector<std::string> ImportCheckReport(const ImportCheckResult& result,
                                           std::size_t most = std::size_t(-1));

// Why an import was refused for ids the directory already holds: every conflict, the first 20
// of them named with the unit of the row they meet, then their number.
std::string ConflictRefusal(const ImportCheckResult& result);

}  // namespace mlk
