#pragma once

// The directory rows the benchmarks store and send, made in one place so that every benchmark
// measures rows of the same texts and lengths.

#include <array>
#include <string>
#include <string_view>

#include "db/Sqlite.h"
#include "model/GGJG.h"

namespace mlk {
class TMainDM;
}

namespace mlk::bench {

// The types the rows take in turn: state organs, every category the count summaries know, a
// second-level type, organisations and no type.
inline constexpr std::array<const char*, 20> kRowTypes = {
    "70",   "7010", "7012", "7015", "7016", "8210", "8230", "8240", "7310", "8610",
    "8310", "8320", "8810", "8015", "9410", "9490", "8200", "9900", "8250", "8690"};

// Institution number serial, confirmed, at level (JiC) level: its name and node name carry the
// serial, its organisation code, type, fiscal source and house number vary with it, every 25th
// is an agency. Own (ShuJLY "0") at level 1, imported below; the caller sets the superiors
// (ShangJBMID, ShangBJGID) and may change the order (ShunX, serial % 97).
GGJG InstitutionRow(const std::string& id, long long serial, long long level);

// A 16-character id: the division code followed by ten hexadecimal digits that scatter the
// serials, as ids made at many places are.
std::string SerialId(std::string_view division, long long serial);

// Stores rows through one prepared insert in one transaction, which Commit ends.
class RowInserter {
  public:
    explicit RowInserter(TMainDM& dm);
    void Add(GGJG row);
    void Commit() { transaction_.Commit(); }

  private:
    Transaction transaction_;
    Statement insert_;
};

}  // namespace mlk::bench
