#include "ExchangeFixtures.h"
#include "exchange/Audit.h"

namespace mlk::test {
namespace {

class AuditTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理机构");
        const std::string root = Dm().Unit().DanWID;
        Add("DEPT", root, 2, "部门统计员");
        Add("DEPT0", root, 1, "");
        Add("SCHOOL2", "DEPT", 2, "");
        Add("SCHOOL1", "DEPT", 1, "");
        Add("CLASS", "SCHOOL1", 1, "");
    }
    void Add(const std::string& id, const std::string& parent, long long order,
             const std::string& clerk) {  // the entry's own clerk, never the auditor
        GGJG r = SampleRecord(id, "名称" + id);
        r.JieDMC = "节点" + id;
        r.ShangJBMID = parent;
        r.ShunX = order;
        r.TongJY = clerk;
        r.Insert(Dm());
    }
    std::vector<std::string> Ids(const std::vector<GGJG>& rows) {
        std::vector<std::string> ids;
        for (const GGJG& r : rows)
            ids.push_back(r.JiGID);
        return ids;
    }
};

TEST_F(AuditTest, TreeListAndCellsFollowTheHierarchy) {
    const std::vector<GGJG> top = AuditChildren(Dm(), Dm().Unit().DanWID);
    EXPECT_EQ(Ids(top), (std::vector<std::string>{"DEPT0", "DEPT"}));
    EXPECT_EQ(top[1].JieDMC, "节点DEPT");
    EXPECT_EQ(top[1].TongJY, "部门统计员");
    EXPECT_EQ(Ids(AuditChildren(Dm(), "DEPT")), (std::vector<std::string>{"SCHOOL1", "SCHOOL2"}));
    const std::vector<GGJG> rows = AuditList(Dm(), "DEPT");
    EXPECT_EQ(Ids(rows), (std::vector<std::string>{"SCHOOL1", "SCHOOL2"}));
    EXPECT_TRUE(AuditList(Dm(), "SCHOOL2").empty());
    const std::vector<std::string> cells = AuditListCells(Dm(), rows[0], 1);
    ASSERT_EQ(cells.size(), AuditColumns().size());
    const std::vector<std::string> some = {cells[0],  cells[1],  cells[5],  cells[12],
                                           cells[13], cells[14], cells[24], cells[25]};
    EXPECT_EQ(some, (std::vector<std::string>{"1", "SCHOOL1", "北京市市辖区东城区", "全额财政",
                                              "已确认", "未审核", "0", "1"}));
}

// The auditor is the unit's clerk, or whoever registered it while no clerk is recorded.
TEST_F(AuditTest, ApprovalMarksTheRowsUnderTheUnitAndLogsIt) {
    const GGJG dept = AuditChildren(Dm(), Dm().Unit().DanWID)[1];
    for (const std::string clerk : {"审核员", ""}) {
        Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = ?", {clerk});
        Dm().LoadCaoZDWXX();
        const std::string auditor = clerk.empty() ? "填表人" : clerk;
        EXPECT_EQ(Approve(Dm(), dept), 2);
        for (const char* id : {"SCHOOL1", "SCHOOL2"}) {
            const GGJG r = GGJG::LoadByJiGID(Dm(), id);
            EXPECT_EQ(r.ShenHZT, "1") << id;
            EXPECT_EQ(r.ShenHRXM, auditor) << id;
            EXPECT_EQ(r.ShenHSJ.size(), 19u) << id;
        }
        for (const char* id : {"DEPT", "CLASS", "DEPT0"}) {
            EXPECT_EQ(GGJG::LoadByJiGID(Dm(), id).ShenHZT, "0") << id;
        }
        EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_ShenHRZ where length(ID) = 10 and "
                                "DanWID = 'DEPT' and DanWMC = '名称DEPT' and JieDLB = '1' and "
                                "length(ShenHSJ) = 19 and ShenHRXM = ?",
                                {auditor}),
                  1);
    }
    // Approving again rewrites the auditor and adds a log row.
    EXPECT_EQ(Count("MLK_ShenHRZ"), 2);
}

TEST_F(AuditTest, FailedLogRowLeavesTheRowsUnapproved) {
    const GGJG dept = AuditChildren(Dm(), Dm().Unit().DanWID)[1];
    AddPending(Dm(), "DEPT", "名称DEPT");
    Dm().ExecSQL("drop table MLK_ShenHRZ");
    EXPECT_THROW(Approve(Dm(), dept), MlkError);
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "SCHOOL1").ShenHZT, "0");
    EXPECT_EQ(LoadPending(Dm(), "DEPT")->ShenHZT, "0");
}

}  // namespace
}  // namespace mlk::test
