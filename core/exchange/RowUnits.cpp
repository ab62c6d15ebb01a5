#include "exchange/RowUnits.h"

#include "model/TMainDM.h"

namespace mlk {

const std::string& RowUnits::Of(std::string_view source, std::string_view reporter) {
    if (source == "0" || reporter.empty())
        return dm_.Unit().DanWMC;
    const auto [at, fresh] = names_.try_emplace(std::string(reporter));
    if (!fresh)
        return at->second;
    // An own entry may have gone since; its pending row, or at least its id, still names it.
    std::string& name = at->second;
    name = dm_.QueryText(
        "select coalesce(nullif(JieDMC, ''), JiGMC) from MLK_JiBXX where JiGID = ?", {at->first});
    if (name.empty())
        name = dm_.QueryText("select JiGMC from MLK_DaiDRJG where JiGID = ?", {at->first});
    if (name.empty())
        name = at->first;
    return name;
}

}  // namespace mlk
