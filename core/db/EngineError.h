#pragma once

#include <filesystem>
#include <string_view>

#include "base/MlkError.h"

namespace mlk {

// The error that the user sees for a failure of the database engine on file. Every engine error
// passes here: a locked, read-only, full, damaged or unreadable file, or a refused change, is
// told in Chinese with the file's name and the engine's own text in brackets for support staff;
// other failures (a faulty statement) keep the engine's text and the statement.
DbError EngineError(int code, const std::filesystem::path& file, std::string_view engineText,
                    std::string_view sql = {});

// The error for a full or failing disk where the engine keeps its scratch files while it reads.
DbError TemporaryFolderError(int code, std::string_view engineText);

// The message for a damaged database, also used when a check finds damage.
std::string DamagedMessage(const std::filesystem::path& file);
// The same where work was refused so as not to spread the damage (an import, an export): what
// was not done, and where the clerk checks and restores the database.
std::string DamagedMessage(const std::filesystem::path& file, std::string_view notDone);

}  // namespace mlk
