#include "Fixtures.h"
#include "data/Text.h"
#include "exchange/Audit.h"

namespace mlk::test {
namespace {

class AuditTest : public SampleDirectoryTest {
  protected:
    std::vector<std::string> Ids(const std::vector<GGJG>& rows) {
        std::vector<std::string> ids;
        for (const GGJG& r : rows)
            ids.push_back(r.JiGID);
        return ids;
    }
};

TEST_F(AuditTest, TreeListAndCellsFollowTheHierarchy) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Ids(AuditChildren(Dm(), Dm().Unit().DanWID)),
              (V{"T1", "T2", "T3", "T4", "A1", "A2"}));
    EXPECT_EQ(Ids(AuditChildren(Dm(), "T1")), (V{"a1", "a2"}));
    const std::vector<GGJG> rows = AuditList(Dm(), "T1");
    EXPECT_EQ(Ids(rows), (V{"a1", "a2"}));
    EXPECT_TRUE(AuditList(Dm(), "a2").empty());
    const std::vector<std::string> cells = AuditListCells(Dm(), rows[0], 1);
    ASSERT_EQ(cells.size(), AuditColumns().size());
    EXPECT_EQ(
        Join({cells[0], cells[1], cells[5], cells[12], cells[13], cells[14], cells[24], cells[25]},
             "|"),
        "1|a1|北京市市辖区东城区|全额财政|已确认|未审核|0|1");
}

// The rows right under the unit are audited, by the unit's clerk (or whoever registered it while
// no clerk is recorded), never by the entries' own clerk 王五; the pending institution with
// them, in one transaction with the log row.
TEST_F(AuditTest, ApprovalMarksTheRowsUnderTheUnitAndLogsIt) {
    const GGJG dept = AuditChildren(Dm(), Dm().Unit().DanWID)[0];
    for (const std::string clerk : {"审核员", ""}) {
        Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = ?", {clerk});
        Dm().LoadCaoZDWXX();
        const std::string auditor = clerk.empty() ? "填表人" : clerk;
        EXPECT_EQ(Approve(Dm(), dept), 2);
        for (const char* id : {"a1", "a2"}) {
            EXPECT_EQ(Column(id, "ShenHZT||ShenHRXM||length(ShenHSJ)"), "1" + auditor + "19") << id;
        }
        for (const char* id : {"T1", "a4", "a3"})
            EXPECT_EQ(Column(id, "ShenHZT"), "0") << id;
        EXPECT_EQ(LoadPending(Dm(), "T1")->ShenHZT, "1");
        EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_ShenHRZ where length(ID) = 10 and "
                                "DanWID = 'T1' and DanWMC = '教育局全称' and JieDLB = '1' and "
                                "length(ShenHSJ) = 19 and ShenHRXM = ?",
                                {auditor}),
                  1);
    }
    // Approving again rewrites the auditor and adds a log row.
    EXPECT_EQ(Count("MLK_ShenHRZ"), 2);
}

TEST_F(AuditTest, FailedLogRowLeavesTheRowsUnapproved) {
    Dm().ExecSQL("drop table MLK_ShenHRZ");
    EXPECT_THROW(Approve(Dm(), AuditChildren(Dm(), Dm().Unit().DanWID)[0]), MlkError);
    EXPECT_EQ(Column("a1", "ShenHZT") + LoadPending(Dm(), "T1")->ShenHZT, "00");
}

}  // namespace
}  // namespace mlk::test
