// The pending institutions of an agency: their list, the import of their files, the removal of
// what came, and the approval of what lies under them.
#include "TestSupport.h"
#include "db/EngineError.h"
#include "exchange/Audit.h"
#include "exchange/Export.h"
#include "exchange/FileSender.h"
#include "exchange/ImportCheck.h"
#include "exchange/PendingList.h"
#include "text/Text.h"

namespace mlk::test {
namespace {

// Imports for the sample directory's T4, which awaits its file.
class ImportTest : public SampleDirectoryTest {
  protected:
    void SetUp() override {
        SampleDirectoryTest::SetUp();
        pending_ = *LoadPending(Dm(), "T4");
        existing_ = Count("MLK_JiBXX");
    }
    long long Import(const std::string& bytes) {
        WriteFile(dir_ / "in.txt", bytes);
        return ImportExchangeFile(Dm(), pending_, dir_ / "in.txt", progress_);
    }
    // The import state of the pending institution: DaoRZT|DaoRSL|length of DaoRSJ.
    std::string PendingState() {
        const DaiDRJG now = *LoadPending(Dm(), pending_.JiGID);
        return now.DaoRZT + "|" + now.DaoRSL + "|" + std::to_string(now.DaoRSJ.size());
    }
    void ExpectNothingStored() {
        EXPECT_EQ(Count("MLK_JiBXX"), existing_);
        EXPECT_EQ(Count("MLK_DaoRRZ"), 0);
        EXPECT_EQ(PendingState(), "0|0|0");
    }
    DaiDRJG pending_;
    long long existing_;
    NoProgress progress_;
};

// Every row hangs under the pending institution, one level deeper than in its file; the
// import is logged with the unit's clerk, or whoever registered it while none is recorded.
TEST_F(ImportTest, PlacesEveryRowUnderThePendingInstitutionAndLogsIt) {
    GGJG own = SampleRecord("110101AAAAAAAAAA", "第一中学");
    own.JiC = 0;
    GGJG imported = SampleRecord("110101BBBBBBBBBB", "第二中学");
    imported.ShuJLY = "1";
    imported.ShangJBMID = "110101FROMBELOW1";
    imported.ShangBJGID = "SOMETHINGELSE";
    imported.JiC = 2;
    GGJG untyped = SampleRecord("110101CCCCCCCCCC");
    untyped.JiGLX = "";
    EXPECT_EQ(Import(GbkLine(own) + GbkLine(imported) + GbkLine(untyped)), 3);

    const auto placed = [&](const std::string& id) {
        const GGJG r = GGJG::LoadByJiGID(Dm(), id);
        return Join({r.JiGMC, r.ShuJLY, r.ShangJBMID, r.ShangBJGID, std::to_string(r.JiC),
                     std::to_string(r.ShunX), r.QiT, r.JiGLX},
                    "|");
    };
    const std::string under = pending_.JiGID + "|" + pending_.JiGID;
    EXPECT_EQ(placed(own.JiGID), "第一中学|1|" + under + "|1|3|备注|8210");
    EXPECT_EQ(placed(imported.JiGID),
              "第二中学|1|110101FROMBELOW1|" + pending_.JiGID + "|3|3|备注|8210");
    EXPECT_EQ(placed(untyped.JiGID), "测试学校|1|" + under + "|2|3|备注|9900");
    EXPECT_EQ(PendingState(), "1|3|19");
    EXPECT_EQ(Dm().QueryText("select DanWID||'|'||DanWMC||'|'||JieDLB||'|'||DaoRSL||'|'||"
                             "length(DaoRSJ)||'|'||DaoRRXM||'|'||length(ID) from MLK_DaoRRZ"),
              "T4|民政局全称|1|3|19|填表人|10");
}

// A bad file, an empty one and a JiGID already in the directory store nothing: the whole import is
// one transaction, and a clash at line 1201 takes back the 1200 rows before it.
TEST_F(ImportTest, BadFilesStoreNothing) {
    std::string many;
    for (int i = 0; i < 1200; ++i)
        many += GbkLine(SampleRecord("110101" + std::to_string(1000000000 + i)));
    std::vector<std::string> items = ExchangeItems(SampleRecord("C"));
    items.pop_back();
    GGJG deepest = SampleRecord("D");
    deepest.JiC = 2147483647;
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {many + Utf8ToGbk(Join(items, ",")) + "\r\n", "第1201行：" + JoinExchangeItems(items)},
        {many + GbkLine(deepest), "第1201行：第37项 '2147483647' 加1后超出整数范围"},
        {many + '\0' + many, "第1201行含有零字节"},
        {many + GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("A")),
         "第1202行 机构ID A：与第1201行相同"},
        {many + GbkLine(SampleRecord("T1")) + "bad\r\n",
         "第1201行 机构ID T1：名录库中已有“教育局全称”"},
    };
    for (const auto& [bytes, message] : cases) {
        const std::string error = ErrorOf([&] { Import(bytes); });
        EXPECT_NE(error.find(message), std::string::npos) << message << ": " << error;
        ExpectNothingStored();
    }
    // Stopped half-way (取消), while the file is read ahead of the rows stored.
    StopPast stop(1000);
    WriteFile(dir_ / "in.txt", many);
    EXPECT_EQ(ErrorOf([&] { ImportExchangeFile(Dm(), pending_, dir_ / "in.txt", stop); }),
              "操作已取消。");
    ExpectNothingStored();
    EXPECT_EQ(Column("T1", "JiGMC"), "教育局全称");
}

// A database that fails its check takes nothing in, even where the rows would not meet the damage;
// the check of the file alone says so in the same words.
TEST_F(ImportTest, ADamagedDatabaseStoresNothing) {
    DamageBTree(dir_ / "GGJGMLK.DB", "MLK_YuanJGXX");
    Reopen();
    const std::string refusal = DamagedMessage(dir_ / "GGJGMLK.DB", "文件中的数据均未导入");
    EXPECT_EQ(ErrorOf([&] { Import(GbkLine(SampleRecord("M1"))); }), refusal);
    EXPECT_EQ(ErrorOf([&] { CheckExchangeFile(Dm(), dir_ / "in.txt", progress_); }), refusal);
    ExpectNothingStored();
    DamageBTree(dir_ / "GGJGMLK.DB", "sqlite_autoindex_MLK_JiBXX_1");  // met by its look-ups
    Reopen();
    EXPECT_EQ(ErrorOf([&] { CheckExchangeFile(Dm(), dir_ / "in.txt", progress_); }), refusal);
}

// A file whose ids the directory holds is refused whole, naming every one with the unit of the
// row it meets (the first 20, then their number); the check reads the whole file the same way,
// bad lines too, and stores nothing.
TEST_F(ImportTest, ConflictsAreAllNamedAndTheCheckListsEveryProblem) {
    std::vector<SampleRow> more;
    std::string file = GbkLine(SampleRecord("a1")) + GbkLine(SampleRecord("T2")) +
                       GbkLine(SampleRecord("N1")) + GbkLine(SampleRecord("N1"));
    for (int i = 10; i < 32; ++i) {
        more.push_back(OwnRow(Dm(), "X" + std::to_string(i), "学校", "1", "8230", i));
        file += GbkLine(SampleRecord("X" + std::to_string(i)));
    }
    InsertSampleRows(Dm(), more);
    existing_ = Count("MLK_JiBXX");
    const std::vector<std::string> lines = SplitText(ErrorOf([&] { Import(file); }), '\n');
    ExpectNothingStored();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "文件中有25个机构ID已在名录库中或与前面的行相同，文件中的数据均未导入：");
    EXPECT_EQ(lines[1], "第1行 机构ID a1：名录库中已有“一中全称”，所属单位：教育局");
    EXPECT_EQ(lines[2], "第2行 机构ID T2：名录库中已有“卫生局全称”，所属单位：东城区节能办");
    EXPECT_EQ(lines[3], "第4行 机构ID N1：与第3行相同");
    EXPECT_EQ(lines[20], "第21行 机构ID X26：名录库中已有“学校全称”，所属单位：东城区节能办");
    EXPECT_EQ(lines[21], "……共25个");

    std::vector<std::string> items = ExchangeItems(SampleRecord("B1"));
    items.pop_back();
    const std::string bad = Utf8ToGbk(Join(items, ",")) + "\r\n";
    const std::string refused = ErrorOf([&] { Import(bad); }).substr(std::string("第1行").size());
    const struct {
        std::string bytes;
        std::vector<std::string> report;
    } cases[] = {
        {GbkLine(SampleRecord("N1")) + GbkLine(SampleRecord("N2")),
         {"检查通过：文件共2条机构信息，可以导入。"}},
        {bad + GbkLine(SampleRecord("N1")) + GbkLine(SampleRecord("a4")) + bad,
         {"第1行" + refused, "第4行" + refused,
          "第3行 机构ID a4：名录库中已有“一中分校全称”，所属单位：教育局",
          "检查未通过：文件共2条机构信息，2行有误，1个机构ID重复，不能导入。"}},
        // A reader that cannot get past a zero byte says so once.
        {GbkLine(SampleRecord("N1")) + std::string("N2,\0,x\r\n", 8) + GbkLine(SampleRecord("N3")),
         {"第2行含有零字节，无法读取：文件已损坏，或不是GBK编码的文本文件。",
          "检查未通过：文件共1条机构信息，1行有误，0个机构ID重复，不能导入。"}},
        {"", {"检查未通过：文件中没有机构数据，不能导入。"}},
    };
    for (const auto& c : cases) {
        WriteFile(dir_ / "in.txt", c.bytes);
        const ImportCheckResult result = CheckExchangeFile(Dm(), dir_ / "in.txt", progress_);
        EXPECT_EQ(ImportCheckReport(result), c.report);
        EXPECT_EQ(result.Passes(), c.report.size() == 1 && c.report[0].starts_with("检查通过"));
    }
    ExpectNothingStored();
}

// Removal takes exactly the rows T1's files brought (not T2's a3) and reopens T1; the log keeps
// its rows. Imported and audited data refuse what their state forbids.
TEST_F(ImportTest, RemovalAndTheStatesThatRefuse) {
    EXPECT_EQ(PendingInstitutions(Dm()).at(0).DaoRZT, "0");  // not imported first
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_FALSE(CheckRemoveImport(pending_));
    EXPECT_TRUE(CheckImport(pending_));
    EXPECT_THROW(Import(GbkLine(SampleRecord("M1"))), MlkError);
    EXPECT_EQ(RemoveImport(Dm(), pending_, SafetyCopy::Skip, progress_), 3);
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_EQ(Import(GbkLine(SampleRecord("M1"))), 1);
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_EQ(RemoveImport(Dm(), pending_, SafetyCopy::Skip, progress_), 1);
    EXPECT_EQ(PendingState(), "0|0|0");
    EXPECT_EQ(Count("MLK_DaoRRZ"), 1);
    EXPECT_EQ(Count("MLK_JiBXX"), existing_ - 3);
    EXPECT_EQ(Column("a3", "JiGMC"), "体育场全称");

    const DaiDRJG audited = *LoadPending(Dm(), "T2");
    EXPECT_TRUE(CheckImport(audited));
    EXPECT_TRUE(CheckRemoveImport(audited));
    EXPECT_THROW(RemoveImport(Dm(), audited, SafetyCopy::Skip, progress_), MlkError);
    EXPECT_THROW(ImportedRowCount(Dm(), audited), MlkError);
    EXPECT_EQ(Count("MLK_JiBXX"), existing_ - 3);
}

// An audit or an import stored meanwhile, by another window or by mlk, refuses; the copy read
// before the question does not decide.
TEST_F(ImportTest, WhatWasStoredMeanwhileRefuses) {
    const DaiDRJG imported = *LoadPending(Dm(), "T1");
    Dm().ExecSQL("update MLK_DaiDRJG set ShenHZT = '1' where JiGID = 'T1'");
    EXPECT_EQ(ErrorOf([&] { RemoveImport(Dm(), imported, SafetyCopy::Skip, progress_); }),
              "该机构的数据已审核，不能再导入或删除。");
    Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT = '1' where JiGID = 'T4'");
    EXPECT_EQ(ErrorOf([&] { Import(GbkLine(SampleRecord("M1"))); }),
              "该机构的数据已经导入，请先删除已导入数据再重新导入。");
    EXPECT_EQ(Count("MLK_JiBXX"), existing_);
}

// A file names its sender on its own rows, or else gives its division; only plainly another
// unit is a mismatch, named with the pending institution.
TEST_F(ImportTest, SenderMismatchOnlyWherePlain) {
    GGJG unnamed = SampleRecord("U1");
    unnamed.ShangJHYZGBM = "";
    unnamed.ShangJBMID = "370102ABCDEF0123";
    const std::string named = GbkLine(SampleRecord("S1"));  // from 东城区教育局
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {named, "东城区卫生健康委员会",
         "文件中的机构信息由“东城区教育局”上报，不是所选的“东城区卫生健康委员会”。"},
        {GbkLine(unnamed) + named, "北京市东城区　教育局", ""},
        {GbkLine(unnamed), "民政局全称",
         "文件中的机构信息由行政区划为370102的单位上报，不是所选的“民政局全称”（行政区划为110101）"
         "。"},
    };
    int n = 0;
    for (const auto& [bytes, name, mismatch] : cases) {
        WriteFile(dir_ / "s.txt", bytes);
        const DaiDRJG pending = AddPending(Dm(), "P" + std::to_string(++n), name);
        EXPECT_EQ(SenderMismatch(pending, ReadFileSender(dir_ / "s.txt")).value_or(""), mismatch)
            << name;
    }
}

// Whatever the export writes, the import reads back: here a value of 20 MB.
TEST_F(ImportTest, ARecordOfAnyLengthComesBack) {
    GGJG record = SampleRecord("110101SCHOOL0001");
    while (record.QiT.size() < (20u << 20))
        record.QiT += "长文本，含逗号, 引号\"和换行\r\n";
    TempDir below;
    {
        TMainDM source(below / "GGJGMLK.DB");
        record.Insert(source);
        ExportDirectory(source, below / "out.txt", progress_);
    }
    EXPECT_EQ(Import(ReadFile(below / "out.txt")), 1);
    EXPECT_TRUE(GGJG::LoadByJiGID(Dm(), record.JiGID).QiT == record.QiT);
}

TEST_F(ImportTest, PendingListFiltersInOrder) {
    const auto ids = [&](PendingKind kind, const PendingFilter& filter) {
        const ListQueryBuilder query = PendingListQuery(kind, filter);
        std::vector<std::string> ids;
        Statement page = query.PageStatement(Dm().Db(), 15, 1);
        while (page.Step())
            ids.push_back(page.Text("JiGID"));
        EXPECT_EQ(query.Count(Dm().Db()), long(ids.size()));
        return ids;
    };
    using V = std::vector<std::string>;
    const struct {
        PendingKind kind;
        PendingFilter filter;
        V ids;
    } cases[] = {
        {PendingKind::Departments, {}, V{"T4", "T2", "T1"}},  // not imported first
        {PendingKind::Agencies, {}, V{"A1"}},
        {PendingKind::Departments, {"卫生", "", "", ""}, V{"T2"}},
        {PendingKind::Departments, {"", "0", "", ""}, V{"T4"}},
        {PendingKind::Departments, {"", "", "1", ""}, V{"T2"}},
        {PendingKind::Departments, {"", "", "", "8210"}, V{"T1"}},
        {PendingKind::Agencies, {"", "", "", "8210"}, V{"A1"}},  // agencies have no type filter
    };
    for (const auto& c : cases)
        EXPECT_EQ(ids(c.kind, c.filter), c.ids) << c.filter.name;
}

using AuditTest = SampleDirectoryTest;

TEST_F(AuditTest, TreeListAndCellsFollowTheHierarchy) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Ids(AuditChildren(Dm(), Dm().Unit().DanWID)),
              (V{"T1", "T2", "T3", "T4", "A1", "A2"}));
    EXPECT_EQ(Ids(AuditChildren(Dm(), "T1")), (V{"a1", "a2"}));
    const std::vector<GGJG> rows = AuditList(Dm(), "T1");
    const std::vector<std::string> cells = AuditListCells(Dm(), rows.at(0), 1);
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
    const GGJG dept = AuditChildren(Dm(), Dm().Unit().DanWID).at(0);
    for (const std::string clerk : {"审核员", ""}) {
        Dm().ExecSQL("delete from MLK_ShenHRZ");
        Dm().ExecSQL("update MLK_DaiDRJG set ShenHZT = '0' where JiGID = 'T1'");
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
}

// An approval recorded only in the log counts too; Approve itself refuses a second one.
TEST_F(AuditTest, AUnitIsApprovedOnce) {
    Dm().ExecSQL("insert into MLK_ShenHRZ (ID,DanWID) values ('L1','A1')");
    EXPECT_EQ(CheckApprove(Dm(), GGJG::LoadByJiGID(Dm(), "A1"))->message, "该单位的数据已审核");
    Approve(Dm(), GGJG::LoadByJiGID(Dm(), "T1"));
    EXPECT_EQ(ErrorOf([&] { Approve(Dm(), GGJG::LoadByJiGID(Dm(), "T1")); }), "该单位的数据已审核");
    EXPECT_EQ(Count("MLK_ShenHRZ"), 2);
}

TEST_F(AuditTest, FailedLogRowLeavesTheRowsUnapproved) {
    Dm().ExecSQL("drop table MLK_ShenHRZ");
    EXPECT_THROW(Approve(Dm(), AuditChildren(Dm(), Dm().Unit().DanWID).at(0)), MlkError);
    EXPECT_EQ(Column("a1", "ShenHZT") + LoadPending(Dm(), "T1")->ShenHZT, "00");
}

}  // namespace
}  // namespace mlk::test
