#include "Fixtures.h"
#include "data/Text.h"
#include "exchange/Export.h"

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
        {many + GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("A")), "第1202行（机构ID：A）"},
        {many + GbkLine(SampleRecord("T1")), "第1201行（机构ID：T1）"},
    };
    for (const auto& [bytes, message] : cases) {
        const std::string error = ErrorOf([&] { Import(bytes); });
        EXPECT_NE(error.find(message), std::string::npos) << message << ": " << error;
        ExpectNothingStored();
    }
    EXPECT_EQ(Column("T1", "JiGMC"), "教育局全称");
}

// Removal takes exactly the rows T1's files brought (not T2's a3) and reopens T1; the log keeps
// its rows. Imported and audited data refuse what their state forbids.
TEST_F(ImportTest, RemovalAndTheStatesThatRefuse) {
    EXPECT_EQ(PendingInstitutions(Dm()).front().DaoRZT, "0");  // not imported first
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_FALSE(CheckRemoveImport(pending_));
    EXPECT_TRUE(CheckImport(pending_));
    EXPECT_THROW(Import(GbkLine(SampleRecord("M1"))), MlkError);
    EXPECT_EQ(RemoveImport(Dm(), pending_), 3);
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_EQ(Import(GbkLine(SampleRecord("M1"))), 1);
    pending_ = *LoadPending(Dm(), "T1");
    EXPECT_EQ(RemoveImport(Dm(), pending_), 1);
    EXPECT_EQ(PendingState(), "0|0|0");
    EXPECT_EQ(Count("MLK_DaoRRZ"), 1);
    EXPECT_EQ(Count("MLK_JiBXX"), existing_ - 3);
    EXPECT_EQ(Column("a3", "JiGMC"), "体育场全称");

    const DaiDRJG audited = *LoadPending(Dm(), "T2");
    EXPECT_TRUE(CheckImport(audited));
    EXPECT_TRUE(CheckRemoveImport(audited));
    EXPECT_THROW(RemoveImport(Dm(), audited), MlkError);
    EXPECT_THROW(ImportedRowCount(Dm(), audited), MlkError);
    EXPECT_EQ(Count("MLK_JiBXX"), existing_ - 3);
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

}  // namespace
}  // namespace mlk::test
