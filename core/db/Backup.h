#pragma once

#include <filesystem>
#include <stop_token>

#include "base/Progress.h"

namespace mlk {

class Database;

// Writes a consistent copy of source to target with the engine's online backup, a few thousand
// pages at a time, so that another program may go on writing meanwhile (a change it commits
// makes the copy start over). The copy is written whole beside the target (ReplacingFile) and
// checked before it replaces anything: a failure, a kill or a stop request leaves the target as
// it was. A damaged database is refused with the damaged-database message.
void BackupDatabase(Database& source, const std::filesystem::path& target, Progress& progress,
                    std::stop_token stop = {});

// Writes source's pages over target, a database in use, in one write of the engine: a failure or
// the end of the process leaves target as it was (its journal takes the write back at the next
// opening). What target's connection held is then read anew.
void CopyDatabaseInto(Database& source, Database& target, Progress& progress);

}  // namespace mlk
