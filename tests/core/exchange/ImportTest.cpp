#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "data/MlkError.h"
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
    std::string ImportError(const std::string& bytes) {
        try {
            Import(bytes);
        } catch (const MlkError& error) {
            return error.what();
        }
        return "(no error)";
    }
    void ExpectNothingStored() {
        EXPECT_EQ(RowCount(Dm(), "MLK_JiBXX"), existing_);
        EXPECT_EQ(RowCount(Dm(), "MLK_DaoRRZ"), 0);
        ExpectPendingOpen();
    }
    void ExpectPendingOpen() {
        const DaiDRJG now = *LoadPending(Dm(), pending_.JiGID);
        EXPECT_EQ(now.DaoRZT, "0");
        EXPECT_EQ(now.DaoRSJ, "");
        EXPECT_EQ(now.DaoRSL, "0");
    }
    DaiDRJG pending_;
    long long existing_ = 0;
    NoProgress progress_;
};

TEST_F(ImportTest, PlacesEveryRowUnderThePendingInstitution) {
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

    const GGJG a = GGJG::LoadByJiGID(Dm(), own.JiGID);
    EXPECT_EQ(a.JiGMC, "第一中学");
    EXPECT_EQ(a.ShuJLY, "1");
    EXPECT_EQ(a.ShangJBMID, pending_.JiGID);
    EXPECT_EQ(a.ShangBJGID, pending_.JiGID);
    EXPECT_EQ(a.JiC, 1);
    EXPECT_EQ(a.QiT, own.QiT);
    EXPECT_EQ(a.ShunX, own.ShunX);

    const GGJG b = GGJG::LoadByJiGID(Dm(), imported.JiGID);
    EXPECT_EQ(b.ShuJLY, "1");
    EXPECT_EQ(b.ShangJBMID, "110101FROMBELOW1");
    EXPECT_EQ(b.ShangBJGID, pending_.JiGID);
    EXPECT_EQ(b.JiC, 3);

    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), untyped.JiGID).JiGLX, "9900");

    const DaiDRJG now = *LoadPending(Dm(), pending_.JiGID);
    EXPECT_EQ(now.DaoRZT, "1");
    EXPECT_EQ(now.DaoRSL, "3");
    EXPECT_EQ(now.DaoRSJ.size(), 19u);
}

TEST_F(ImportTest, LogsTheImportWithTheUnitsClerk) {
    const struct {
        const char* clerk;
        const char* recorded;
    } cases[] = {{"统计员甲", "统计员甲"}, {"", "填表人"}};
    for (const auto& c : cases) {
        Dm().ExecSQL("update MLK_CaoZDWXX set TongJY = ?", {c.clerk});
        Dm().LoadCaoZDWXX();
        Dm().ExecSQL("delete from MLK_DaoRRZ");
        Dm().ExecSQL("delete from MLK_JiBXX");
        Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT = '0'");
        pending_ = *LoadPending(Dm(), pending_.JiGID);
        RemoveImport(Dm(), pending_), pending_.DaoRZT = "0";
        Import(GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("B")));
        int rows = 0;
        Dm().ForEachRow("select DanWID,DanWMC,JieDLB,DaoRSL,DaoRSJ,DaoRRXM,ID from MLK_DaoRRZ", {},
                        [&](const Statement& row) {
                            ++rows;
                            EXPECT_EQ(row.Text("DanWID"), pending_.JiGID);
                            EXPECT_EQ(row.Text("DanWMC"), "东城区教育局");
                            EXPECT_EQ(row.Text("JieDLB"), "1");
                            EXPECT_EQ(row.Text("DaoRSL"), "2");
                            EXPECT_EQ(row.Text("DaoRSJ").size(), 19u);
                            EXPECT_EQ(row.Text("DaoRRXM"), c.recorded);
                            EXPECT_EQ(row.Text("ID").size(), 10u);
                        });
        EXPECT_EQ(rows, 1);
    }
}

TEST_F(ImportTest, BadFilesStoreNothing) {
    const std::string good = GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("B"));
    std::vector<std::string> items = ExchangeItems(SampleRecord("C"));
    items.pop_back();
    GGJG deepest = SampleRecord("D");
    deepest.JiC = 2147483647;
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += GbkLine(SampleRecord("Z" + std::to_string(i)));
    const struct {
        const char* name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"37 items on the last line", good + Utf8ToGbk(Join(items, ",")) + "\r\n",
         "数据项不为38个"},
        {"empty line in the middle",
         GbkLine(SampleRecord("A")) + "\r\n" + GbkLine(SampleRecord("B")), "数据项不为38个"},
        {"bad number", good + Utf8ToGbk(Join(items, ",")) + ",x\r\n",
         "第3行：第38项 'x' 不是有效的整数"},
        {"JiC too deep to go one deeper", good + GbkLine(deepest),
         "第3行：第37项 '2147483647' 加1后超出整数范围"},
        {"zero byte after 100 of 200 lines", hundred + '\0' + hundred, "第101行含有零字节"},
        {"duplicate in the file", good + GbkLine(SampleRecord("A")), "第3行（机构ID：A）"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(ImportError(c.bytes).find(c.message), std::string::npos)
            << c.name << ": " << ImportError(c.bytes);
        ExpectNothingStored();
    }
}

TEST_F(ImportTest, JiGIDAlreadyInTheDirectoryRollsEverythingBack) {
    SampleRecord("110101BBBBBBBBBB", "本级已有").Insert(Dm());
    existing_ = 1;
    std::string file;
    for (int i = 0; i < 1200; ++i) {
        file += GbkLine(SampleRecord("110101" + std::to_string(1000000000 + i)));
    }
    file += GbkLine(SampleRecord("110101BBBBBBBBBB"));
    const std::string error = ImportError(file);
    EXPECT_NE(error.find("第1201行"), std::string::npos) << error;
    EXPECT_NE(error.find("110101BBBBBBBBBB"), std::string::npos) << error;
    ExpectNothingStored();
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "110101BBBBBBBBBB").JiGMC, "本级已有");
}

TEST_F(ImportTest, EmptyFileChangesNothingAndAMissingFileIsAnError) {
    EXPECT_EQ(Import(""), 0);
    ExpectNothingStored();
    EXPECT_THROW(ImportExchangeFile(Dm(), pending_, dir_ / "none.txt", progress_), MlkError);
    ExpectNothingStored();
}

TEST_F(ImportTest, RemovalDeletesExactlyTheImportedRows) {
    SampleRecord("OWN").Insert(Dm());
    const DaiDRJG other = AddPending(Dm(), "110101DEPT000002", "东城区卫生局");
    WriteFile(dir_ / "other.txt", GbkLine(SampleRecord("O1")));
    ImportExchangeFile(Dm(), other, dir_ / "other.txt", progress_);
    Import(GbkLine(SampleRecord("M1")) + GbkLine(SampleRecord("M2")));

    pending_ = *LoadPending(Dm(), pending_.JiGID);
    EXPECT_EQ(RemoveImport(Dm(), pending_), 2);
    EXPECT_EQ(RowCount(Dm(), "MLK_JiBXX"), 2);
    EXPECT_FALSE(GGJG::LoadByJiGID(Dm(), "OWN").JiGID.empty());
    EXPECT_FALSE(GGJG::LoadByJiGID(Dm(), "O1").JiGID.empty());
    ExpectPendingOpen();
    EXPECT_EQ(RowCount(Dm(), "MLK_DaoRRZ"), 2);  // the log keeps its rows

    // Imported again after the removal.
    pending_ = *LoadPending(Dm(), pending_.JiGID);
    EXPECT_EQ(Import(GbkLine(SampleRecord("M1"))), 1);
}

TEST_F(ImportTest, StatesRefuseImportAndRemoval) {
    DaiDRJG imported = pending_;
    imported.DaoRZT = "1";
    DaiDRJG audited = pending_;
    audited.ShenHZT = "1";
    EXPECT_FALSE(CheckImport(pending_));
    EXPECT_TRUE(CheckImport(imported));
    EXPECT_TRUE(CheckImport(audited));
    EXPECT_FALSE(CheckRemoveImport(imported));
    EXPECT_TRUE(CheckRemoveImport(audited));
    WriteFile(dir_ / "in.txt", GbkLine(SampleRecord("A")));
    EXPECT_THROW(ImportExchangeFile(Dm(), imported, dir_ / "in.txt", progress_), MlkError);
    EXPECT_THROW(RemoveImport(Dm(), audited), MlkError);
    EXPECT_THROW(ImportedRowCount(Dm(), audited), MlkError);
    ExpectNothingStored();
}

TEST_F(ImportTest, PendingList) {
    AddPending(Dm(), "AGENCY", "下级机构", "0");
    Import(GbkLine(SampleRecord("A")));
    const std::vector<DaiDRJG> list = PendingInstitutions(Dm());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].JiGID, "AGENCY");  // not imported first
    EXPECT_EQ(list[1].DaoRZT, "1");
    EXPECT_FALSE(LoadPending(Dm(), "NONE"));
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
