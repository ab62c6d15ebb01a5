#pragma once

#include <string>

#include "TestSupport.h"
#include "data/GGJG.h"
#include "entry/InstitutionEntry.h"

namespace mlk::test {

// A registered competent department and a complete, valid institution form.
class EntryTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("1", "110101", "东城区教育局");
    }

    static InstitutionForm ValidForm(const std::string& code = "123456789") {
        InstitutionForm f;
        f.JiGMC = "  北京市第一中学 ";
        f.ZuZJGDM = code;
        f.HangYDM = "P8230";
        f.Jigfl = "8230-普通中学";
        f.XingZJB = "4-县(处)级";
        f.JieDLB = "1-主管部门";
        f.CaiZJFSY = "0-全额财政";
        f.Xingzqhss = "110000-北京市";
        f.Xingzqhds = "110100-市辖区";
        f.Xingzqhxq = "110101-东城区";
        f.XingZQH = "110101";
        f.JieD = "东华门街道";
        f.HaoP = "12";
        f.YouZBM = "100010";
        f.LianXR = "王老师";
        f.LianXDH = "01065123456";
        f.TianBRQ = "2024-05-06";
        f.ShunX = "3";
        return f;
    }
};

}  // namespace mlk::test
