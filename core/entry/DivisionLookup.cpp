#include "entry/DivisionLookup.h"

#include "model/TMainDM.h"

namespace mlk {

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// How well a county matches: exact province, exact city, exact county, as three bits with the
// province the highest.
int Exactness(const XingZQH& d, const std::string& province, const std::string& city,
              const std::string& county) {
    return (d.ssmc == province ? 4 : 0) + (d.dsmc == city ? 2 : 0) + (d.xqmc == county ? 1 : 0);
}

}  // namespace

DivisionLookup::DivisionLookup(TMainDM& dm) {
    dm.ForEachRow(
        "select ss.code as ssbm,ss.name as ssmc,ds.code as dsbm,ds.name as dsmc,"
        "xq.code as xqbm,xq.name as xqmc "
        " from MLK_XingZQH ss, MLK_XingZQH ds,MLK_XingZQH xq "
        " where ss.xzjb = '省' and ds.xzjb = '市'  and xq.xzjb = '县' "
        " and ds.parentCode = ss.code  and xq.parentCode = ds.code "
        " order by ss.code,ds.code,xq.code ",
        {}, [&](const Statement& row) {
            XingZQH d;
            d.ssbm = row.Text(0);
            d.ssmc = row.Text(1);
            d.dsbm = row.Text(2);
            d.dsmc = row.Text(3);
            d.xqbm = row.Text(4);
            d.xqmc = row.Text(5);
            counties_.push_back(std::move(d));
        });
    // Exact triples are known up front; the first in code order has the lowest codes.
    for (const XingZQH& d : counties_)
        found_.emplace(Names{d.ssmc, d.dsmc, d.xqmc}, d);
}

const XingZQH& DivisionLookup::Find(const std::string& province, const std::string& city,
                                    const std::string& county) {
    if (province.empty() || city.empty() || county.empty())
        return none_;
    Names key{province, city, county};
    auto found = found_.find(key);
    if (found == found_.end()) {
        found = found_.emplace(std::move(key), BestMatch(province, city, county)).first;
    }
    return found->second;
}

XingZQH DivisionLookup::BestMatch(const std::string& province, const std::string& city,
                                  const std::string& county) const {
    const XingZQH* best = nullptr;
    int bestExactness = -1;
    for (const XingZQH& d : counties_) {
        if (!Contains(d.ssmc, province) || !Contains(d.dsmc, city) || !Contains(d.xqmc, county)) {
            continue;
        }
        // Counties come in code order, so the first of equal exactness has the lowest codes.
        const int exactness = Exactness(d, province, city, county);
        if (exactness > bestExactness) {
            best = &d;
            bestExactness = exactness;
            if (exactness == 7)
                break;
        }
    }
    return best ? *best : XingZQH{};
}

}  // namespace mlk
