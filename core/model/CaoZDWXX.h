#pragma once

#include <string>

namespace mlk {

// The operating unit that runs this installation (the one row of MLK_CaoZDWXX).
struct CaoZDWXX {
    std::string DanWID, DanWMC, XingZQH;  // XingZQH is the county code
    std::string dsbm, ssbm;               // city and province codes
    std::string xqmc, dsmc, ssmc;         // county, city and province names
    std::string XingZLSJB, XingZLSJBMC;
    std::string DanWLX, DanWLXMC;  // "0" energy-saving management agency, "1" competent department
    std::string YouZBM, JieDMC, TianBRXM, ChuSHSJ, TongJY, DanWFZR;
    bool ZhuCeBZ = false;  // a unit is registered

    // The name the unit's imports and audits are recorded under: its statistics clerk, else
    // whoever registered it (registration leaves the clerk empty).
    const std::string& ClerkName() const { return TongJY.empty() ? TianBRXM : TongJY; }
};

}  // namespace mlk
