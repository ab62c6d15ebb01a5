#include "ExchangeFixtures.h"
#include "data/Text.h"
#include "exchange/Export.h"

namespace mlk::test {
namespace {

class ImportTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理机构");
        pending_ = AddPending(Dm(), "110101DEPT000001", "东城区教育局");
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
    long long existing_ = 0;
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
              pending_.JiGID + "|东城区教育局|1|3|19|填表人|10");
}

// A bad file, an empty one and a JiGID already in the directory store nothing.
TEST_F(ImportTest, BadFilesStoreNothing) {
    const std::string good = GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("B"));
    std::vector<std::string> items = ExchangeItems(SampleRecord("C"));
    items.pop_back();
    GGJG deepest = SampleRecord("D");
    deepest.JiC = 2147483647;
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += GbkLine(SampleRecord("Z" + std::to_string(i)));
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {good + Utf8ToGbk(Join(items, ",")) + "\r\n", "第3行：" + JoinExchangeItems(items)},
        {good + GbkLine(deepest), "第3行：第37项 '2147483647' 加1后超出整数范围"},
        {hundred + '\0' + hundred, "第101行含有零字节"},
        {good + GbkLine(SampleRecord("A")), "第3行（机构ID：A）"},
    };
    for (const auto& [bytes, message] : cases) {
        const std::string error = ErrorOf([&] { Import(bytes); });
        EXPECT_NE(error.find(message), std::string::npos) << message << ": " << error;
        ExpectNothingStored();
    }
}

// The whole import is one transaction: a clash at line 1201 takes back the 1200 rows before it.
TEST_F(ImportTest, JiGIDAlreadyInTheDirectoryRollsEverythingBack) {
    SampleRecord("110101BBBBBBBBBB", "本级已有").Insert(Dm());
    existing_ = 1;
    std::string file;
    for (int i = 0; i < 1200; ++i)
        file += GbkLine(SampleRecord("110101" + std::to_string(1000000000 + i)));
    file += GbkLine(SampleRecord("110101BBBBBBBBBB"));
    const std::string error = ErrorOf([&] { Import(file); });
    EXPECT_NE(error.find("第1201行"), std::string::npos) << error;
    EXPECT_NE(error.find("110101BBBBBBBBBB"), std::string::npos) << error;
    ExpectNothingStored();
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "110101BBBBBBBBBB").JiGMC, "本级已有");
}

// Removal takes exactly the rows the file brought and reopens the pending institution; the log
// keeps its rows. Imported and audited data refuse what their state forbids.
TEST_F(ImportTest, RemovalAndTheStatesThatRefuse) {
    SampleRecord("OWN").Insert(Dm());
    Import(GbkLine(SampleRecord("M1")) + GbkLine(SampleRecord("M2")));
    const DaiDRJG other = AddPending(Dm(), "110101DEPT000002", "东城区卫生局", "0");
    EXPECT_EQ(PendingInstitutions(Dm()).front().JiGID, other.JiGID);  // not imported first
    EXPECT_FALSE(LoadPending(Dm(), "NONE"));
    WriteFile(dir_ / "other.txt", GbkLine(SampleRecord("O1")));
    ImportExchangeFile(Dm(), other, dir_ / "other.txt", progress_);

    pending_ = *LoadPending(Dm(), pending_.JiGID);
    EXPECT_FALSE(CheckRemoveImport(pending_));
    EXPECT_TRUE(CheckImport(pending_));
    EXPECT_THROW(Import(GbkLine(SampleRecord("M3"))), MlkError);
    EXPECT_EQ(RemoveImport(Dm(), pending_), 2);
    EXPECT_EQ(Count("MLK_JiBXX"), 2);
    EXPECT_FALSE(GGJG::LoadByJiGID(Dm(), "O1").JiGID.empty());
    EXPECT_EQ(PendingState(), "0|0|0");
    EXPECT_EQ(Count("MLK_DaoRRZ"), 2);
    pending_ = *LoadPending(Dm(), pending_.JiGID);
    EXPECT_EQ(Import(GbkLine(SampleRecord("M1"))), 1);

    DaiDRJG audited = *LoadPending(Dm(), pending_.JiGID);
    audited.ShenHZT = "1";
    EXPECT_TRUE(CheckImport(audited));
    EXPECT_TRUE(CheckRemoveImport(audited));
    EXPECT_THROW(RemoveImport(Dm(), audited), MlkError);
    EXPECT_THROW(ImportedRowCount(Dm(), audited), MlkError);
    EXPECT_EQ(Count("MLK_JiBXX"), 3);
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
