#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/SafetyCopy.h"

namespace mlk {

class Progress;
class TMainDM;

// The initial-data file distributed from above: GBK text, one institution per line, 13 pieces
// split at every comma, loaded once into MLK_YuanJGXX.

inline constexpr std::size_t kInitialPieces = 13;

// The refusal of a line that does not give 13 pieces: its number, the pieces joined again with
// commas (a piece holding a blank, a control character or a double quote in double quotes; at
// most about 200 characters), then the reason.
std::string WrongPieceCountMessage(std::size_t line, const std::vector<std::string>& pieces);

// True when MLK_YuanJGXX holds any row: a second import is refused until they are removed.
bool InitialDataImported(TMainDM& dm);
// The number of loaded rows.
long long InitialRowCount(TMainDM& dm);

struct InitialLoadResult {
    std::size_t lines = 0;                  // lines in the file
    std::size_t stored = 0;                 // rows written to MLK_YuanJGXX
    std::vector<std::size_t> skippedLines;  // line numbers (from 1) that yielded no row
};

// Reads the file (GBK or UTF-8, line by line: TextFileReader) and stores one row per line with an
// identifier, name, province, city and county, all in one transaction: an unreadable file, a
// line with the wrong number of pieces, bytes of no encoding, a zero byte or a database failure
// leave the table as it was. Refused when data is already loaded.
InitialLoadResult LoadInitialData(TMainDM& dm, const std::filesystem::path& file,
                                  Progress* progress = nullptr);

// The message after a load: the rows stored and, on a second line, the lines skipped.
std::string InitialLoadMessage(const InitialLoadResult& result);

// Removes every loaded row, also those already added to the directory (MLK_JiBXX keeps them),
// after a safety copy of the database unless it is skipped (KeepSafetyCopy).
void RemoveInitialData(TMainDM& dm, SafetyCopy copy, Progress& progress);
// The question asked before, naming the rows that go.
std::string RemoveInitialQuestion(long long rows);

inline constexpr std::string_view kAlreadyImportedMessage = "初始数据已导入，不能再次导入!";
inline constexpr std::string_view kRemovedMessage = "成功删除已导入的数据！";

}  // namespace mlk
