#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "model/XingZQH.h"

namespace mlk {

class TMainDM;

// Finds counties by the names of their province, city and county, for many rows at once. The
// three-level table of divisions is read once; a name triple is then looked up in a map, so a
// batch of any size never scans the division table per row.
//
// Exact names win: among the counties whose three names contain the given ones, the one that
// matches the province exactly is preferred, then the city, then the county; the lowest
// province, city and county codes decide among equals. This is the rule of
// TMainDM::FindXingZQHByNames.
class DivisionLookup {
  public:
    explicit DivisionLookup(TMainDM& dm);

    // The county with its province and city, or an empty record (no xqbm) when no county
    // matches or a name is empty.
    const XingZQH& Find(const std::string& province, const std::string& city,
                        const std::string& county);

  private:
    using Names = std::tuple<std::string, std::string, std::string>;

    XingZQH BestMatch(const std::string& province, const std::string& city,
                      const std::string& county) const;

    std::vector<XingZQH> counties_;   // ordered by province, city and county code
    std::map<Names, XingZQH> found_;  // every exact triple, and each other one asked for
    XingZQH none_;
};

}  // namespace mlk
