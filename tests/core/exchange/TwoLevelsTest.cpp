// The road of institutions from a county department through the county agency to the
// prefecture agency: three installations, each with its own database in its own folder.
#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "data/MlkError.h"
#include "entry/AgencyEntry.h"
#include "entry/EntryActions.h"
#include "exchange/Audit.h"
#include "exchange/Export.h"

namespace mlk::test {
namespace {

struct Installation {
    TempDir dir;
    std::unique_ptr<TMainDM> dm;

    Installation(const std::string& type, const std::string& name, const std::string& level) {
        dm = std::make_unique<TMainDM>(dir / "GGJGMLK.DB");
        dm->ExecSQL(
            "insert into MLK_CaoZDWXX (DanWID,DanWMC, XingZQH,XingZLSJB,DanWLX,YouZBM, JieDMC,"
            "TianBRXM,ChuSHSJ,TongJY,DanWFZR) values (?,?,?,?,?,?,?,?,?,?,?)",
            {"110101" + TMainDM::NewID(), name, "110101", level, type, "110101", name, "填表人",
             TMainDM::NowText(), "统计员", ""});
        dm->LoadCaoZDWXX();
    }
    // An own entry as the editor stores it, then confirmed.
    std::string Enter(const std::string& name, const std::string& jiedlb, long long order) {
        GGJG r = SampleRecord("110101" + TMainDM::NewID(), name);
        r.JieDMC = name;
        r.JieDLB = jiedlb;
        r.QueRZT = "0";
        r.ShuJLY = "0";
        r.ShangBJGID = "";
        r.ShangJBMID = dm->Unit().DanWID;
        r.JiC = 1;
        r.ShunX = order;
        r.Insert(*dm);
        Confirm(r.JiGID);
        return r.JiGID;
    }
    void Confirm(const std::string& id) { ConfirmEntry(*dm, GGJG::LoadByJiGID(*dm, id)); }
    std::filesystem::path Export() {
        NoProgress progress;
        const auto file = dir / ExportFileName(dm->Unit());
        EXPECT_FALSE(CheckExport(*dm));
        EXPECT_EQ(ExportDirectory(*dm, file, progress), RowCount(*dm, "MLK_JiBXX"));
        return file;
    }
    long long Import(const std::string& pendingId, const std::filesystem::path& file) {
        NoProgress progress;
        return ImportExchangeFile(*dm, *LoadPending(*dm, pendingId), file, progress);
    }
};

TEST(TwoLevelsTest, RowsArriveWithTheirHierarchy) {
    // A county department enters and confirms two schools and exports.
    Installation department("1", "东城区教育局", "4");
    const std::string school1 = department.Enter("第一中学", "1", 1);
    const std::string school2 = department.Enter("第二中学", "1", 2);
    const auto departmentFile = department.Export();

    // The county agency has entered and confirmed the department; it imports its file under
    // the department's pending row, audits it and exports.
    Installation county("0", "东城区节能管理机构", "4");
    const std::string dept = county.Enter("东城区教育局", "1", 1);
    EXPECT_EQ(county.Import(dept, departmentFile), 2);
    const GGJG deptNode = AuditChildren(*county.dm, county.dm->Unit().DanWID)[0];
    ASSERT_EQ(deptNode.JiGID, dept);
    ASSERT_TRUE(CanApprove(county.dm->Unit(), deptNode, true));
    EXPECT_EQ(Approve(*county.dm, deptNode), 2);
    // Audited data can be neither removed nor imported again.
    EXPECT_EQ(LoadPending(*county.dm, dept)->ShenHSJ.size(), 19u);
    EXPECT_THROW(RemoveImport(*county.dm, *LoadPending(*county.dm, dept)), MlkError);
    EXPECT_THROW(county.Import(dept, departmentFile), MlkError);
    const auto countyFile = county.Export();

    // The prefecture agency has entered the county agency; it imports the county's file.
    Installation prefecture("0", "北京市节能管理机构", "3");
    const GGJG agency = InsertAgency(
        *prefecture.dm, {"东城区节能管理机构", "张三", "010-1", "东城区节能管理机构", "1"});
    prefecture.Confirm(agency.JiGID);
    EXPECT_EQ(prefecture.Import(agency.JiGID, countyFile), 3);

    TMainDM& dm = *prefecture.dm;
    EXPECT_EQ(RowCount(dm, "MLK_JiBXX"), 4);
    const GGJG d = GGJG::LoadByJiGID(dm, dept);
    EXPECT_EQ(d.ShuJLY, "1");
    EXPECT_EQ(d.ShangJBMID, agency.JiGID);
    EXPECT_EQ(d.ShangBJGID, agency.JiGID);
    EXPECT_EQ(d.JiC, 2);
    for (const std::string& id : {school1, school2}) {
        const GGJG s = GGJG::LoadByJiGID(dm, id);
        EXPECT_EQ(s.ShuJLY, "1") << id;
        EXPECT_EQ(s.ShangJBMID, dept) << id;  // kept from the county
        EXPECT_EQ(s.ShangBJGID, agency.JiGID) << id;
        EXPECT_EQ(s.JiC, 3) << id;
        EXPECT_EQ(s.ShenHZT, "1") << id;
        EXPECT_EQ(s.ShenHRXM, "统计员") << id;
        EXPECT_EQ(s.QueRZT, "1") << id;
        EXPECT_EQ(s.JiGMC, GGJG::LoadByJiGID(*department.dm, id).JiGMC) << id;
        EXPECT_EQ(s.QiT, GGJG::LoadByJiGID(*department.dm, id).QiT) << id;
    }
    EXPECT_EQ(LoadPending(dm, agency.JiGID)->DaoRSL, "3");

    // The prefecture's audit tree shows the county agency, the department under it, and
    // the schools under the department.
    const std::vector<GGJG> top = AuditChildren(dm, dm.Unit().DanWID);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(AuditChildren(dm, top[0].JiGID).size(), 1u);
    EXPECT_EQ(AuditChildren(dm, dept).size(), 2u);
}

// Whatever the export writes, the import reads back: here a value of 20 MB.
TEST(TwoLevelsTest, ARecordOfAnyLengthComesBack) {
    Installation department("1", "东城区教育局", "4");
    const std::string school = department.Enter("第一中学", "1", 1);
    std::string value;
    while (value.size() < (20u << 20))
        value += "长文本，含逗号, 引号\"和换行\r\n";
    department.dm->ExecSQL("update MLK_JiBXX set QiT = ? where JiGID = ?", {value, school});
    Installation county("0", "东城区节能管理机构", "4");
    EXPECT_EQ(county.Import(county.Enter("东城区教育局", "1", 1), department.Export()), 1);
    EXPECT_TRUE(GGJG::LoadByJiGID(*county.dm, school).QiT == value);
}

}  // namespace
}  // namespace mlk::test
