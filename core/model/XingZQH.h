#pragma once

#include <string>

namespace mlk {

class Statement;

// An administrative division with its three levels (province, city, county).
struct XingZQH {
    std::string ssbm, dsbm, xqbm;  // province, city, county codes
    std::string ssmc, dsmc, xqmc;  // their names
    // The division's own row.
    std::string parentCode, XZJB, code, name;

    // Reads code, name, parentCode and XZJB of a query row.
    static XingZQH FromRow(const Statement& row);
};

}  // namespace mlk
