#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/MlkError.h"
#include "base/Progress.h"
#include "db/ReadAlongside.h"

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

// True for an engine error that met a damaged page of the file.
bool MetDamage(const DbError& error);

// Raises the damaged-database error when the quick check finds anything.
void RequireUndamaged(Database& db);
// The same before work that would spread the damage (an import writing into the file): the
// error says what was not done and what the clerk does about it.
void RequireUndamaged(Database& db, std::string_view notDone);

// The quick check of RequireUndamaged, run on a connection and a thread of its own while the
// caller goes on with the same file: a long read that must not pass on damage (the export), or a
// write that must not go into a damaged file (the import, which commits only once the check has
// passed), then costs little more than the work alone. Made inside a transaction of db's that has
// read but not written yet, so that both see the same committed state; where that cannot be had,
// it checks on db at once, as RequireUndamaged does. A check that still runs when it goes (the
// caller's work failed or was cancelled) is stopped. notDone as for RequireUndamaged.
class QuickCheckAlongside {
  public:
    explicit QuickCheckAlongside(Database& db, std::string notDone = {});

    // True once the check has ended (RequireUndamaged then does not wait).
    bool Done() const { return alongside_.Done(); }
    // Waits for the check; raises the damaged-database error when it found anything.
    void RequireUndamaged();

  private:
    Database& db_;
    std::string notDone_;
    std::vector<std::string> findings_;
    ReadAlongside alongside_;  // last: its thread fills findings_
};

}  // namespace mlk
