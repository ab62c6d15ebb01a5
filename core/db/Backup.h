#pragma once

#include <filesystem>

#include "base/Progress.h"

namespace mlk {

class Database;

// Writes a consistent copy of source to target with the engine's online backup, a few thousand
// pages at a time, so that another program may go on writing meanwhile (a change it commits
// makes the copy start over). A database already at target is replaced whole or, when the copy
// fails, left as it was; a new target that could not be completed is removed again.
void BackupDatabase(Database& source, const std::filesystem::path& target, Progress& progress);

}  // namespace mlk
