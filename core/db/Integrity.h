#pragma once

#include <string>
#include <vector>

#include "base/Progress.h"

namespace mlk {

class Database;

// Quick looks at every page and b-tree of the file; Full also compares every index with its
// table, and takes several times as long.
enum class CheckDepth { Quick, Full };

// The engine's findings about the file, one a line; empty when it is sound. A file too damaged
// to be checked at all raises the damaged-database error instead.
std::vector<std::string> CheckDatabase(Database& db, CheckDepth depth);
// The same, telling how far it got (an estimate from the file's size).
std::vector<std::string> CheckDatabase(Database& db, CheckDepth depth, Progress& progress);

// Raises the damaged-database error when the quick check finds anything.
void RequireUndamaged(Database& db);

}  // namespace mlk
