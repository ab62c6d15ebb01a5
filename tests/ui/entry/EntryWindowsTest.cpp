// The three lists of own entries and their two editors, and the initial data's import and the
// selection from it, driven by mouse and keyboard.
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "WindowTest.h"
#include "entry/EditorMode.h"
#include "model/GGJG.h"
#include "text/Gbk.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/entry/TForm22XuanZGGJG.h"
#include "ui/entry/TForm2311JiGXXMX.h"
#include "ui/entry/TForm23LuRTJZGBM.h"
#include "ui/entry/TForm2411JiGXXMX.h"
#include "ui/entry/TForm24LuRXJGLJG.h"
#include "ui/entry/TForm25LuRXSGGJG.h"
#include "ui/entry/TForm26QueRJGXX.h"

namespace mlk::test {
namespace {

class EntryWindowsTest : public AgencyWindowTest {};

// Each list shows the unit's entries of its kind, confirmed ones in sky blue; nothing is
// ticked, so only "增加" acts.
TEST_F(EntryWindowsTest, BrowsersListTheirKind) {
    const QStringList departments = {"*教育局全称", "*卫生局全称", "文化局全称", "*民政局全称"};
    const std::pair<std::function<QDialog*()>, QStringList> cases[] = {
        {[&] { return new ui::TForm23LuRTJZGBM(Dm()); }, departments},
        {[&] { return new ui::TForm24LuRXJGLJG(Dm()); }, {"*朝阳节能中心全称", "西城节能中心全称"}},
        {[&] { return new ui::TForm25LuRXSGGJG(Dm()); }, departments},
    };
    for (const auto& [make, rows] : cases) {
        std::unique_ptr<QDialog> window(make());
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_EQ(ListOf(window.get())->rowCount(), 0) << "empty until the first search";
        Click(window.get(), "BTSearch");
        EXPECT_EQ(ShownRows(window.get(), 2), rows);
        EXPECT_FALSE(Enabled(window.get(), "BTUpdate") || Enabled(window.get(), "BTQueR"));
        EXPECT_TRUE(Enabled(window.get(), "BTAdd"));
    }
}

TEST_F(EntryWindowsTest, PagerWalksThePagesAndFallsBackToTheDefaultSize) {
    for (int i = 5; i <= 16; ++i)
        InsertSampleRow(Dm(), OwnRow(Dm(), "S" + std::to_string(i), "学校" + std::to_string(i), "1",
                                     "8230", 10 + i, "0"));
    ui::TForm23LuRTJZGBM window(Dm());
    window.show();
    QTableWidget* list = ListOf(&window);
    Type(&window, "EDPageSize", "abc");
    Press(&window, "EDPageSize", Qt::Key_Return);  // Enter in a filter searches
    EXPECT_EQ(TextOf(&window, "EDPageSize"), "15");
    EXPECT_EQ(TextOf(&window, "EDCount") + "/" + TextOf(&window, "EDPageCount"), "16/2");
    EXPECT_EQ(list->rowCount(), 15);
    Click(&window, "BTNext");
    EXPECT_EQ(TextOf(&window, "EDCurPage"), "2");
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text() + list->item(0, 2)->text(), "1学校16全称");

    Type(&window, "EDJiGMC", "学校1");  // narrower: 7 rows on one page, shown from page 2
    Click(&window, "BTSearch");
    EXPECT_EQ(TextOf(&window, "EDCount") + "/" + TextOf(&window, "EDCurPage"), "7/1");
    EXPECT_EQ(list->rowCount(), 7);
    EXPECT_FALSE(Enabled(&window, "BTNext"));
}

// The buttons act on the row shown chosen: a click, the arrows and Space move the highlight and
// the tick together, a click or Space on the chosen row takes it back, and after a search none is
// chosen. Enter views a row; Tab leaves the list for the buttons; a confirmed row refuses.
TEST_F(EntryWindowsTest, ButtonsActOnTheRowShownChosen) {
    ui::TForm25LuRXSGGJG window(Dm());
    window.show();
    window.activateWindow();  // the focus moves as in a window the clerk works in
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Click(&window, "BTSearch");
    const auto opened = [&](const char* button, int key = 0) {
        QString name;
        WhenModal([&](QDialog* editor) { name = TextOf(editor, "EDJiGMC"); });
        key ? Press(&window, "lvList", key) : Click(&window, button);
        return name;
    };
    ClickRow(&window, 1);
    Press(&window, "lvList", Qt::Key_Down);
    EXPECT_EQ(Marks(&window), "..x.");
    EXPECT_EQ(opened("BTDelete"), "文化局全称");
    EXPECT_EQ(Marks(&window) + QString::number(Enabled(&window, "BTDelete")), "....0");

    Find(&window, "EDPageSize")->setFocus();
    Press(&window, "EDPageSize", Qt::Key_Tab);
    ASSERT_EQ(window.focusWidget(), ListOf(&window));
    Press(&window, "lvList", Qt::Key_Space);
    EXPECT_EQ(Marks(&window), "x...");
    Click(&window, "BTQueR");
    Press(&window, "lvList", Qt::Key_Space);
    EXPECT_EQ(Marks(&window) + QString::number(Enabled(&window, "BTQueR")), "....0");
    ClickRow(&window, 2);
    ClickRow(&window, 2);  // takes it back
    Press(&window, "lvList", Qt::Key_Up);
    EXPECT_EQ(opened(nullptr, Qt::Key_Return), "卫生局全称");
    EXPECT_EQ(Marks(&window), ".x..") << "viewing keeps the choice";
    EXPECT_EQ(TextOf(&window, "LBStatus"),
              "该机构已通过核查，不能修改、删除或再次通过核查；双击或回车可查看。");

    Press(&window, "lvList", Qt::Key_Tab);
    EXPECT_EQ(window.focusWidget()->objectName(), "BTAdd");
    EXPECT_EQ(dialogs_.errors, QStringList{"已经通过核查的机构不能再次通过核查！！！"});
}

// The unconfirmed entries of both kinds with the check's word on each. Those ticked that pass are
// confirmed after a question; the others stay with their reason; nothing passing asks nothing.
// A double click opens the entry's own editor to complete it.
TEST_F(EntryWindowsTest, BatchConfirmationConfirmsTheTickedThatPass) {
    InsertSampleRow(Dm(), OwnRow(Dm(), "T5", "体育局", "1", "8810", 7, "0"));
    Dm().ExecSQL("update MLK_JiBXX set DiZhi_JieD = '' where JiGID = 'T5'");
    ui::TForm26QueRJGXX window(Dm());
    const auto rows = [&] {
        QStringList shown;
        for (int r = 0; r < ListOf(&window)->rowCount(); ++r)
            shown << ListOf(&window)->item(r, 2)->text() + "|" +
                         ListOf(&window)->item(r, 7)->text();
        return shown;
    };
    EXPECT_EQ(rows(), (QStringList{"文化局全称|通过", "体育局全称|街道不能为空！",
                                   "西城节能中心全称|通过"}));
    Choose(&window, "cbJieDLB", "0");
    Click(&window, "BTSearch");
    EXPECT_EQ(rows(), QStringList{"西城节能中心全称|通过"});
    Choose(&window, "cbJieDLB", "--");
    Click(&window, "BTSearch");
    Click(&window, "BTQuanX");
    EXPECT_EQ(Find<QPushButton>(&window, "BTQueR")->text(), "通过核查（3条）(&Q)");
    Click(&window, "BTQuanBX");
    EXPECT_FALSE(Enabled(&window, "BTQueR"));

    const struct {
        QStringList ticked;
        std::deque<bool> answers;
        QString question;  // empty when none is asked
        QStringList left;
    } cases[] = {
        {{"文化局全称", "体育局全称"},
         {false},
         "是否确认: 请确认所选的2条机构信息是否完整，确认后不能再修改和删除！\n"
         "其中1条未通过检查，不会确认。",
         {"文化局全称|通过", "体育局全称|街道不能为空！", "西城节能中心全称|通过"}},
        {{"文化局全称", "体育局全称"},
         {true},
         "是否确认: 请确认所选的2条机构信息是否完整，确认后不能再修改和删除！\n"
         "其中1条未通过检查，不会确认。",
         {"体育局全称|街道不能为空！", "西城节能中心全称|通过"}},
        {{"体育局全称"}, {}, "", {"体育局全称|街道不能为空！", "西城节能中心全称|通过"}},
    };
    for (const auto& c : cases) {
        dialogs_.Clear();
        for (const QString& name : c.ticked)
            ClickRow(&window, RowOf(&window, name));
        dialogs_.confirmAnswers = c.answers;
        Click(&window, "BTQueR");
        EXPECT_EQ(dialogs_.confirms,
                  c.question.isEmpty() ? QStringList() : QStringList{c.question});
        EXPECT_EQ(rows(), c.left);
        Click(&window, "BTQuanBX");
    }
    EXPECT_EQ(TextOf(&window, "LBHeCJG"), "通过核查 0 条，未通过 1 条");
    EXPECT_EQ(dialogs_.LastMessage(),
              "通过核查 0 条，未通过 1 条\n未通过的机构仍在列表中，“核查结果”一栏写明了原因。");
    EXPECT_EQ(Column("T3", "QueRZT") + Column("T5", "QueRZT"), "10");
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_DaiDRJG where JiGID = 'T3'"), 1);

    for (const char* name : {"体育局全称", "西城节能中心全称"}) {
        QString editor;
        WhenModal([&](QDialog* opened) { editor = opened->metaObject()->className(); });
        ClickRow(&window, RowOf(&window, name));
        Press(&window, "lvList", Qt::Key_Return);
        EXPECT_EQ(editor, QString(name) == "体育局全称" ? "mlk::ui::TForm2311JiGXXMX"
                                                        : "mlk::ui::TForm2411JiGXXMX");
    }
}

// "增加" of the agency list opens the agency editor empty; it checks, then saves on Enter.
TEST_F(EntryWindowsTest, AgencyEditorChecksAndSavesOnEnter) {
    ui::TForm24LuRXJGLJG list(Dm());
    WhenModal([&](QDialog* editor) {
        editor->show();
        EXPECT_NE(qobject_cast<ui::TForm2411JiGXXMX*>(editor), nullptr) << "the agency editor";
        Type(editor, "EDJiGMC", "朝阳区节能中心");
        Press(editor, "EDJiGMC", Qt::Key_Return);
        EXPECT_EQ(dialogs_.LastMessage(), "节点名称不能为空！");
        Type(
            editor,
            {{"EDJieDMC", "朝阳节点"}, {"EDLianXR", "李"}, {"EDLianXDH", "010"}, {"EDShunX", "2"}});
        Press(editor, "EDShunX", Qt::Key_Enter);
    });
    Click(&list, "BTAdd");
    EXPECT_EQ(Dm().QueryText("select JieDLB||'/'||length(JiGID) from MLK_JiBXX where "
                             "JieDMC='朝阳节点'"),
              "0/10");
    EXPECT_EQ(ListOf(&list)->rowCount(), 3) << "the list searches after the editor";
}

TEST_F(EntryWindowsTest, InsertThroughTheCascades) {
    const std::string before = LocalDate();
    ui::TForm2311JiGXXMX editor(Dm(), mode::kInsertSubordinate, nullptr);
    editor.show();
    EXPECT_EQ(TextOf(&editor, "cbJieDLB") + TextOf(&editor, "EDGengxzt"), "1-主管部门0-新增");
    const std::string filled = TextOf(&editor, "EDTianBRQ").toStdString();
    EXPECT_TRUE(filled == before || filled == LocalDate()) << filled;

    Type(&editor, {{"EDJiGMC", "北京市第一中学"}, {"EDHangYDM", "P82"}});
    // The clerk types the code off the certificate: its organisation code stays in the field.
    QTest::keyClicks(Find(&editor, "EDZuZJGDM"), "91350100M000100Y56");
    EXPECT_EQ(TextOf(&editor, "EDZuZJGDM") + "|" + TextOf(&editor, "LBZuZJGDMTS"),
              "M000100Y5|已从统一社会信用代码91350100M000100Y56中取出组织机构代码（第9至17位）"
              "M000100Y5");
    // The lower type boxes appear in the row kept for them: nothing below moves.
    const int below = Find(&editor, "cbCaiZJFSY")->y();
    Choose(&editor, "cbJigfl1", "80-事业单位");
    EXPECT_TRUE(Shown(&editor, "cbJigfl2"));
    EXPECT_EQ(Find(&editor, "cbCaiZJFSY")->y(), below);
    EXPECT_EQ(TextOf(&editor, "cbJigfl"), "");
    Press(&editor, "EDJiGMC", Qt::Key_Return);
    EXPECT_EQ(dialogs_.LastMessage(), "机构分类不能为空！");

    Choose(&editor, "cbJigfl2", "8200-教育");
    Choose(&editor, "cbJigfl3", "8230-普通中学");
    EXPECT_EQ(TextOf(&editor, "cbJigfl"), "8230-普通中学");
    Choose(&editor, "cbXingZJB", "4-");
    Choose(&editor, "cbCaiZJFSY", "0-");
    Choose(&editor, "cbXingzqhss", "110000-");
    Choose(&editor, "cbXingzqhds", "110100-");
    Choose(&editor, "cbXingzqhxq", "110101-");
    Type(&editor, {{"EDJieD", "东华门街道"},
                   {"EDHaoP", "1"},
                   {"EDYouZBM", "100010"},
                   {"EDLianXR", "王老师"},
                   {"EDLianXDH", "0106512"},
                   {"EDShunX", "4"}});
    EXPECT_TRUE(TextOf(&editor, "LBZuZJGDMTS")
                    .endsWith("\n统一社会信用代码中的行政区划代码350100与所选县区110101不符"));
    // A wrong check character is asked about, Cancel by default, and saved only on OK.
    dialogs_.Clear();
    dialogs_.confirmAnswers = {false};
    Press(&editor, "EDShunX", Qt::Key_Return);
    EXPECT_EQ(dialogs_.all,
              QStringList{"是否保存: "
                          "组织机构代码校验位不正确，按国家标准应为4，是否仍然保存？"});
    EXPECT_EQ(Count("MLK_JiBXX"), 10);
    Press(&editor, "EDShunX", Qt::Key_Return);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(Dm().QueryText("select JiGLX||'/'||ShangJXZZGBM||'/'||DiZhi_Xian||'/'||ShunX||'/'||"
                             "ZuZJGDM from MLK_JiBXX where JiGMC='北京市第一中学'"),
              "8230/东城区节能办/东城区/4/M000100Y5");
}

// Update, delete and confirm of a loaded entry; Enter presses the mode's one button, and a
// mode outside the known ones is refused.
TEST_F(EntryWindowsTest, LoadedModesActOnEnter) {
    const GGJG record = GGJG::LoadByJiGID(Dm(), "T3");
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kUpdateSameLevel, &record);
        editor.show();
        EXPECT_EQ(TextOf(&editor, "cbXingzqhxq") + TextOf(&editor, "cbJigfl"),
                  "110101-东城区8610-图书馆");
        EXPECT_EQ(TextOf(&editor, "EDGengxzt") + TextOf(&editor, "EDShunX"), "03");
        Type(&editor, "EDLianXR", "赵");
        Press(&editor, "EDLianXR", Qt::Key_Return);
        EXPECT_EQ(Column("T3", "LianXRXM||GengXZT||ShunX"), "赵13");
    }
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kDelete, &record);
        editor.show();
        EXPECT_FALSE(Enabled(&editor, "cbXingZJB"));
        dialogs_.confirmAnswers = {false};
        Press(&editor, nullptr, Qt::Key_Return);
        EXPECT_EQ(dialogs_.confirms.last(), "是否删除: 从名录库汇总删除机构信息，删除后不能恢复！");
        EXPECT_EQ(Column("T3", "JiGMC"), "文化局全称");
    }
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kConfirm, &record);
        editor.show();
        Press(&editor, nullptr, Qt::Key_Enter);
        EXPECT_EQ(dialogs_.confirms.last(),
                  "是否确认: 请确认机构信息是否完整，确认后不能再修改和删除！");
        EXPECT_EQ(Column("T3", "QueRZT"), "1");
        EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_DaiDRJG where JiGID='T3'"), 1);
    }
    ui::TForm2311JiGXXMX refused(Dm(), 5, &record);
    EXPECT_EQ(refused.Run(), QDialog::Rejected);
    EXPECT_EQ(dialogs_.LastMessage(), "非法操作！");
}

// Closing an editor asks "是否放弃" only when typed input would be lost, whichever way it
// closes; in view mode Enter closes it.
TEST_F(EntryWindowsTest, ClosingAnEditorAsksBeforeTypedInputIsLost) {
    const GGJG record = GGJG::LoadByJiGID(Dm(), "A1");
    const struct {
        int mode;           // the institution editor inserts, the agency editor shows A1
        const char* field;  // typed into before closing; null for none
        int key;            // Esc, or Enter in view mode; 0 for "关闭"
        bool asks;
    } cases[] = {{mode::kInsertSameLevel, nullptr, Qt::Key_Escape, false},
                 {mode::kInsertSameLevel, "EDJiGMC", Qt::Key_Escape, true},
                 {mode::kUpdateAgency, "EDLianXR", 0, true},
                 {mode::kView, nullptr, Qt::Key_Return, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.field ? c.field : ""));
        std::unique_ptr<QDialog> editor;
        if (c.mode == mode::kInsertSameLevel)
            editor = std::make_unique<ui::TForm2311JiGXXMX>(Dm(), c.mode, nullptr);
        else
            editor = std::make_unique<ui::TForm2411JiGXXMX>(Dm(), c.mode, &record);
        editor->show();
        if (c.field)
            Type(editor.get(), c.field, "半截");
        const auto close = [&] {
            c.key ? Press(editor.get(), nullptr, c.key) : Click(editor.get(), "Button2");
        };
        dialogs_.Clear();
        dialogs_.confirmAnswers = {false};
        close();
        EXPECT_EQ(dialogs_.confirms.size(), c.asks ? 1 : 0);
        EXPECT_EQ(editor->isVisible(), c.asks) << "Cancel keeps the window and the input";
        if (c.asks) {
            close();
            EXPECT_FALSE(editor->isVisible());
        }
    }
    EXPECT_EQ(Column("A1", "LianXRXM"), "张三");
}

std::string Line(const std::string& id, const std::string& name, const std::string& county) {
    return id + "," + name + ",x,北京市,市辖区," + county + ",x,x,人民路,x,x,x,x\r\n";
}

class InitialWindowsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open("1");
    }
    QString WriteInitial(const std::string& utf8) {
        WriteFile(dir_ / "下发数据.txt", Utf8ToGbk(utf8));
        return QString::fromStdString((dir_ / "下发数据.txt").string());
    }
};

// Loaded initial data is removed first; then a file loads once, and a bad file leaves the window
// and the table as they were.
TEST_F(InitialWindowsTest, ImportWindowRemovesThenLoadsOnce) {
    {
        ui::TForm21DaoRYSSJ window(Dm());
        EXPECT_FALSE(Enabled(&window, "Button1") || Enabled(&window, "Button2"));
        dialogs_.confirmAnswers = {false, true};
        for (const long long left : {3, 0}) {
            Click(&window, "btDeleteData");
            EXPECT_EQ(Count("MLK_YuanJGXX"), left);
        }
        EXPECT_EQ(dialogs_.confirms.last(),
                  "是否删除: 确认删除已导入的 (3) 条初始数据？已添加到名录库的机构不受影响。"
                  "（操作前，数据库先复制到“备份”文件夹中保存。）");
        EXPECT_TRUE(std::filesystem::exists(dir_ / "备份"));
        EXPECT_EQ(dialogs_.LastMessage(), "成功删除已导入的数据！");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(Count("MLK_YuanJGXX"), 0);
    }
    ui::TForm21DaoRYSSJ window(Dm());
    EXPECT_FALSE(Enabled(&window, "btDeleteData") || Enabled(&window, "Button2"));
    Click(&window, "Button1");  // cancelled: nothing changes
    EXPECT_FALSE(Enabled(&window, "Button2"));

    dialogs_.openFiles.push_back(WriteInitial(Line("A1", "一中", "东城区") + "\r\nA2,x\r\n"));
    Click(&window, "Button1");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.errors, QStringList{"第2行：数据项不正确，数据项不为13个"});
    EXPECT_EQ(window.result(), 0) << "the window stays open";
    EXPECT_EQ(Count("MLK_YuanJGXX"), 0);

    dialogs_.openFiles.push_back(WriteInitial(
        Line("A1", "一中", "东城区") + Line("A2", "", "东城区") + Line("A3", "三中", "西城区")));
    Click(&window, "Button1");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.LastMessage(),
              "已成功导入2条机构信息数据。\n另有1行因机构ID、名称、省、市或县为空未导入：第2行。");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Find<QProgressBar>(&window, "ProgressBar1")->value(), 1000);
    EXPECT_EQ(Count("MLK_YuanJGXX"), 2);
    Click(&window, "Button2");  // loaded meanwhile: refused, nothing more
    EXPECT_EQ(dialogs_.LastMessage(), "初始数据已导入，不能再次导入!");
}

// The filters reach the search as the boxes show them. Rows not yet in the directory are ticked
// by click or Space, several at once, and the button counts them; another page loses the ticks;
// the ticked rows are added, those whose county is unknown stay out.
TEST_F(InitialWindowsTest, SelectionTicksNewRowsAndAddsThem) {
    AddInitialRow(Dm(), "C4", "第四中学", "北京市", "市辖区", "不存在区");
    ui::TForm22XuanZGGJG window(Dm());
    Type(&window, {{"EDJiGMC", "中学"}, {"EDPageSize", "0"}});  // 0 falls back to 15
    Choose(&window, "cbXuanZBZ", "0-");
    Click(&window, "BTSearch");
    EXPECT_EQ(ShownRows(&window, 2), (QStringList{"第四中学", "第二中学"}));
    EXPECT_EQ(TextOf(&window, "EDPageSize"), "15");
    Find<QComboBox>(&window, "cbXuanZBZ")->setEditText("1");  // typed, not chosen, filters too
    Click(&window, "BTSearch");
    EXPECT_EQ(ShownRows(&window, 2), QStringList{"第三中学"});

    Type(&window, {{"EDJiGMC", ""}, {"EDPageSize", "2"}});
    Choose(&window, "cbXuanZBZ", "--全部--");
    Click(&window, "BTSearch");
    ClickRow(&window, 0);  // 不存在区 sorts first
    Click(&window, "BTNext");
    Click(&window, "BTPre");
    EXPECT_EQ(Marks(&window), "..");
    EXPECT_FALSE(Enabled(&window, "BTXuanZ"));

    Type(&window, "EDPageSize", "4");
    Click(&window, "BTSearch");
    EXPECT_EQ(ListOf(&window)->item(3, 2)->text() + ListOf(&window)->item(3, 8)->text(),
              "第三中学已入库");
    ClickRow(&window, 3);  // already in the directory: stays unticked, and says why
    EXPECT_EQ(TextOf(&window, "LBStatus"), "第三中学已添加到名录库，不能再次添加。");
    ClickRow(&window, 0);
    Press(&window, "lvJGLB", Qt::Key_Down);
    Press(&window, "lvJGLB", Qt::Key_Space);
    Press(&window, "lvJGLB", Qt::Key_Down);
    Press(&window, "lvJGLB", Qt::Key_Space);
    Press(&window, "lvJGLB", Qt::Key_Space);  // unticked again
    EXPECT_EQ(Marks(&window), "tth.");
    EXPECT_EQ(Find<QPushButton>(&window, "BTXuanZ")->text(), "添加到名录库（2条）(&A)");
    dialogs_.confirmAnswers = {false};
    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.confirms.last(), "是否确认: 确认将选择的 (2) 条机构信息添加到名录库中？");
    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.LastMessage(),
              "1条机构信息成功添加到名录库中！\n1条机构的省、市、县在行政区划中找不到，未添加，"
              "仍为未入库：第四中学。");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Column("C1", "XingZQH"), "110101");
    EXPECT_EQ(Dm().QueryText("select XuanZBZ from MLK_YuanJGXX where ID = 'C4'"), "0");
}

}  // namespace
}  // namespace mlk::test
