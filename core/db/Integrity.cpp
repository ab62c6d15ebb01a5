#include "db/Integrity.h"

#include <sqlite3.h>

#include "db/EngineError.h"
#include "db/Sqlite.h"

namespace mlk {

std::vector<std::string> CheckDatabase(Database& db, CheckDepth depth) {
    Statement query(db,
                    depth == CheckDepth::Quick ? "pragma quick_check" : "pragma integrity_check");
    std::vector<std::string> findings;
    try {
        while (query.Step()) {
            std::string line = query.Text(0);
            if (line != "ok")
                findings.push_back(std::move(line));
        }
    } catch (const DbError& error) {
        // Damage that stops the check half-way is one more finding.
        const int code = error.code() & 0xff;
        if (code != SQLITE_CORRUPT && code != SQLITE_NOTADB)
            throw;
        findings.push_back(error.what());
    }
    return findings;
}

void RequireUndamaged(Database& db) {
    if (!CheckDatabase(db, CheckDepth::Quick).empty())
        throw MlkError(DamagedMessage(db.Path()));
}

}  // namespace mlk
