// The export to the level above and the three import windows.
#include <QLabel>
#include <QTableWidget>

#include "WindowTest.h"
#include "platform/Platform.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm32DaoRXJGLJGSJ.h"
#include "ui/exchange/TForm33DaoRXSBMSJ.h"
#include "ui/exchange/TForm51DaoCSJ.h"

namespace mlk::test {
namespace {

using ui::Q;

using ExchangeWindowsTest = AgencyWindowTest;

// The export refuses while an entry is unconfirmed and is off with no confirmed entry at all;
// otherwise it asks where and whether, writes and closes.
TEST_F(ExchangeWindowsTest, ExportGuardsAsksWritesAndCloses) {
    {
        ui::TForm51DaoCSJ window(Dm());
        EXPECT_EQ(Find<QLabel>(&window, "LBJiGSL")->text(), "机构数量：8");
        EXPECT_FALSE(Shown(&window, "PBDaoC"));
        Click(&window, "BTDaoC");
        EXPECT_EQ(dialogs_.LastMessage(),
                  "请核查全部机构信息后再导出机构列表！\n尚有2条机构信息未通过核查。");
        EXPECT_TRUE(dialogs_.fileCaptions.isEmpty());
    }
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='1'");
    const QString file = Q(PathText(dir_ / "上报"));  // the extension is added
    const struct {
        QString chosen;  // empty: the save dialog is cancelled
        bool confirmed, closes, written;
    } cases[] = {{"", true, false, false}, {file, false, true, false}, {file, true, true, true}};
    for (const auto& c : cases) {
        ui::TForm51DaoCSJ window(Dm());
        if (!c.chosen.isEmpty())
            dialogs_.saveFiles.push_back(c.chosen);
        dialogs_.confirmAnswers = {c.confirmed};
        Click(&window, "BTDaoC");
        EXPECT_EQ(window.result() == QDialog::Accepted, c.closes);
        EXPECT_EQ(std::filesystem::exists(dir_ / "上报.txt"), c.written);
    }
    EXPECT_EQ(dialogs_.confirms.last(), "是否确认导出: 共有10条机构导出");
    EXPECT_EQ(dialogs_.LastMessage(), "导出完成，共导出10条数据！");

    Dm().ExecSQL("delete from MLK_JiBXX");
    ui::TForm51DaoCSJ empty(Dm());
    EXPECT_FALSE(Enabled(&empty, "BTDaoC"));
}

// A value an earlier build let in stops the export; the window the refusal offers corrects it,
// and nothing is written meanwhile.
TEST_F(ExchangeWindowsTest, ExportOffersToCorrectWhatCannotTravel) {
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='1'");
    Dm().ExecSQL("update MLK_JiBXX set JiGMC = JiGMC || char(128512) where JiGID = 'T1'");
    ui::TForm51DaoCSJ window(Dm());
    dialogs_.saveFiles.push_back(Q(PathText(dir_ / "上报.txt")));
    dialogs_.confirmAnswers = {true, true};
    QString problem;
    WhenModal([&](QDialog* correcting) {
        auto* list = Find<QTableWidget>(correcting, "lvGaiZ");
        problem = list->item(0, 4)->text();
        list->item(0, 5)->setText(QStringLiteral("教育局"));
        Click(correcting, "BTSave");
    });
    Click(&window, "BTDaoC");
    EXPECT_EQ(problem, "字符“\xF0\x9F\x98\x80”无法用GBK编码保存");
    EXPECT_TRUE(dialogs_.confirms.last().startsWith("是否改正: 无法导出：以下1项数据"))
        << dialogs_.confirms.last().toStdString();
    EXPECT_EQ(dialogs_.LastMessage(), "已改正1项数据，请重新导出。");
    EXPECT_EQ(Column("T1", "JiGMC"), "教育局");
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "上报.txt"));
}

// Each window lists the pending institutions of its kind, the imported (or, for agencies, the
// audited) ones in sky blue; nothing is offered before a row is ticked.
TEST_F(ExchangeWindowsTest, ImportWindowsListTheirKind) {
    Dm().ExecSQL("update MLK_DaiDRJG set ShenHZT='1' where JiGID='A1'");
    const QStringList departments = {"T4", "*T2", "*T1"};
    const std::pair<std::function<QDialog*()>, QStringList> cases[] = {
        {[&] { return new ui::TForm31DaoRTJBMSJ(Dm()); }, departments},
        {[&] { return new ui::TForm32DaoRXJGLJGSJ(Dm()); }, {"*A1"}},
        {[&] { return new ui::TForm33DaoRXSBMSJ(Dm()); }, departments},
    };
    for (const auto& [make, rows] : cases) {
        std::unique_ptr<QDialog> window(make());
        SCOPED_TRACE(window->windowTitle().toStdString());
        Click(window.get(), "BTSearch");
        EXPECT_EQ(ShownRows(window.get(), 1), rows);
        EXPECT_FALSE(Enabled(window.get(), "BTSelectFile") || Enabled(window.get(), "BTDelete"));
    }
}

// The chosen row's state decides what is offered, and what it withholds is said why; a click on
// the chosen row, or a search, takes the choice back, with the chosen file.
TEST_F(ExchangeWindowsTest, TheChosenRowsStateDecidesAndSaysWhy) {
    ui::TForm31DaoRTJBMSJ window(Dm());
    Click(&window, "BTSearch");
    const struct {
        const char* id;  // in the list's order: the arrow moves down to each
        bool chooseFile, remove;
        QString why;
    } cases[] = {{"T4", true, false, ""},
                 {"T2", false, false, "该机构的数据已审核，不能再导入或删除。"},
                 {"T1", false, true, "该机构的数据已经导入，请先删除已导入数据再重新导入。"}};
    ClickRow(&window, 0);
    for (const auto& c : cases) {
        EXPECT_EQ(Marks(&window).indexOf('x'), RowOf(&window, c.id, 1)) << c.id;
        EXPECT_EQ(Enabled(&window, "BTSelectFile"), c.chooseFile) << c.id;
        EXPECT_EQ(Enabled(&window, "BTDelete"), c.remove) << c.id;
        EXPECT_FALSE(Enabled(&window, "BTImport")) << c.id;
        EXPECT_EQ(TextOf(&window, "LBStatus"), c.why);
        Press(&window, "lvList", Qt::Key_Down);
    }
    for (const bool search : {false, true}) {
        ClickRow(&window, RowOf(&window, "T4", 1));
        dialogs_.openFiles.push_back("/some/file.txt");
        Click(&window, "BTSelectFile");
        EXPECT_TRUE(Enabled(&window, "BTImport"));
        if (search)
            Click(&window, "BTSearch");
        else
            ClickRow(&window, RowOf(&window, "T4", 1));
        EXPECT_FALSE(Enabled(&window, "BTImport") || Enabled(&window, "BTSelectFile")) << search;
        EXPECT_TRUE(TextOf(&window, "EDFileName").isEmpty()) << search;
    }
}

// A bad file leaves everything as it was; a good one is stored under the chosen row and the
// window closes, once the clerk said so where the file comes from another unit. Removing what
// came asks first and only OK removes.
TEST_F(ExchangeWindowsTest, ImportAndRemovalThroughTheWindow) {
    WriteFile(dir_ / "good.txt", GbkLine(SampleRecord("N1")) + GbkLine(SampleRecord("N2")));
    WriteFile(dir_ / "bad.txt", GbkLine(SampleRecord("N3")) + "x,y\r\n");
    const long long before = Count("MLK_JiBXX");
    {
        ui::TForm31DaoRTJBMSJ window(Dm());
        Click(&window, "BTSearch");
        ClickRow(&window, RowOf(&window, "T4", 1));
        dialogs_.confirmAnswers = {true, false, true};
        for (const char* file : {"bad.txt", "good.txt", "good.txt"}) {
            dialogs_.openFiles.push_back(Q(PathText(dir_ / file)));
            Click(&window, "BTSelectFile");
            Click(&window, "BTCheckFile");
            EXPECT_EQ(Count("MLK_JiBXX"), before) << file;
            Click(&window, "BTImport");
            EXPECT_EQ(Count("MLK_JiBXX"), before + (window.result() ? 2 : 0)) << file;
        }
        EXPECT_TRUE(dialogs_.confirms.last().endsWith("仍然导入到“民政局全称”下吗？"));
        ASSERT_EQ(dialogs_.errors.size(), 1);
        EXPECT_TRUE(dialogs_.errors[0].endsWith("数据项不正确，数据项不为38个"));
        EXPECT_EQ(dialogs_.LastMessage(), "已成功导入2条机构信息数据。");
        ASSERT_EQ(dialogs_.messages.size(), 4);
        EXPECT_TRUE(dialogs_.messages[0].endsWith(
            "数据项不正确，数据项不为38个\n检查未通过：文件共1条机构信息，1行有误，0个机构ID重复，"
            "不能导入。"));
        EXPECT_EQ(dialogs_.messages[1], "检查通过：文件共2条机构信息，可以导入。");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(Count("MLK_JiBXX"), before + 2);
    }
    ui::TForm31DaoRTJBMSJ window(Dm());
    Click(&window, "BTSearch");
    const int row = RowOf(&window, "T1", 1);
    EXPECT_EQ(ListOf(&window)->item(row, 9)->text() + ListOf(&window)->item(row, 11)->text(),
              "已导入3");
    ClickRow(&window, row);
    dialogs_.confirmAnswers = {false, true};
    for (const long long left : {before + 2, before - 1}) {
        Click(&window, "BTDelete");
        EXPECT_EQ(dialogs_.confirms.last(),
                  "是否删除: 确认删除教育局全称下已导入的 (3) 条机构信息？（操作前，数据库先复制到"
                  "“备份”文件夹中保存。）");
        EXPECT_EQ(Count("MLK_JiBXX"), left);
        EXPECT_EQ(std::filesystem::exists(dir_ / "备份"), left < before) << "the safety copy";
    }
    EXPECT_EQ(ListOf(&window)->item(RowOf(&window, "T1", 1), 9)->text(), "未导入");
}

}  // namespace
}  // namespace mlk::test
