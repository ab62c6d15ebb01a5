#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace mlk {

class TMainDM;

// The unit a row of the directory belongs to, as the clerk knows it: the operating unit for its
// own entries, else the unit whose exchange file brought the row (the own entry it was imported
// under, by its node name). Names are looked up once per unit.
class RowUnits {
  public:
    explicit RowUnits(TMainDM& dm) : dm_(dm) {}
    // source: the row's ShuJLY; reporter: its ShangBJGID.
    const std::string& Of(std::string_view source, std::string_view reporter);

  private:
    TMainDM& dm_;
    std::unordered_map<std::string, std::string> names_;
};

}  // namespace mlk
