// The program as it starts: the database opened or created, Qt's own texts in Chinese, errors
// escaping a handler shown; and the main window's menu.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <optional>

#include "WindowTest.h"
#include "base/MlkError.h"
#include "db/Sqlite.h"
#include "platform/Platform.h"
#include "ui/app/Application.h"
#include "ui/app/LongWork.h"
#include "ui/app/OnScreen.h"
#include "ui/app/Startup.h"
#include "ui/app/THelpForm.h"
#include "ui/app/TMainForm.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm51DaoCSJ.h"
#include "ui/reports/TForm61MingLKHZB.h"
#include "ui/reports/TForm65ShuJZLJC.h"

namespace mlk::test {
namespace {

using ui::Q;

// Expected state of a menu component: 'E' enabled, 'D' disabled, 'H' hidden (and disabled).
struct MenuCase {
    const char* name;
    char unregistered, agency, department;
};

// One item of each kind of row: always there, for registered units, for one type of unit, never.
const MenuCase kMenuCases[] = {
    {"menuInit", 'E', 'E', 'E'},       {"menuCheck", 'D', 'E', 'E'},
    {"menuLuRTJZGBM", 'D', 'E', 'H'},  {"menuLuRXJGGJG", 'D', 'H', 'E'},
    {"menuDaoRXSBMSJ", 'E', 'H', 'E'}, {"menuDaoRJLCX", 'D', 'E', 'E'},
};

class MainFormTest : public WindowTest {
  protected:
    void ExpectMenus(const ui::TMainForm& form, char MenuCase::*column) {
        for (const MenuCase& item : kMenuCases) {
            const QAction* action = form.MenuAction(QString::fromLatin1(item.name));
            ASSERT_NE(action, nullptr) << item.name;
            const char state = !action->isVisible()  ? (action->isEnabled() ? '?' : 'H')
                               : action->isEnabled() ? 'E'
                                                     : 'D';
            EXPECT_EQ(state, item.*column) << item.name;
        }
    }
};

// The menu follows the unit on every refresh: unregistered, department, agency; the window is
// maximised with its two painted banners.
TEST_F(MainFormTest, MenusFollowTheUnit) {
    ui::TMainForm form(Dm());
    ExpectMenus(form, &MenuCase::unregistered);
    RegisterUnit("1");
    form.RefreshMenus();
    ExpectMenus(form, &MenuCase::department);
    Dm().ExecSQL("update MLK_CaoZDWXX set DanWLX='0'");
    form.RefreshMenus();
    ExpectMenus(form, &MenuCase::agency);
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    for (const char* name : {"Image1", "Image2"})
        EXPECT_FALSE(Find<QLabel>(&form, name)->pixmap().isNull()) << name;

    // F10 marks the first menu for the arrow keys, as a tap of Alt does, and leaves it again.
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const QAction* marked : {form.MenuAction("menuInit"), static_cast<QAction*>(nullptr)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        EXPECT_EQ(form.menuBar()->activeAction(), marked);
    }
}

// 数据维护: the backup goes where the clerk says; the check tells in words; another unit's backup
// is refused when the clerk cancels the warning, a damaged one at once, and neither changes
// anything; a restore keeps a safety copy and the menu follows the restored unit.
TEST_F(MainFormTest, MaintenanceBacksUpChecksAndRestores) {
    Open("0");
    ui::TMainForm form(Dm());
    const std::filesystem::path backup = dir_ / "备份1.DB";
    dialogs_.saveFiles = {ui::Q(PathText(backup))};
    form.MenuAction("menuBeiFSJK")->trigger();
    EXPECT_EQ(dialogs_.LastMessage(), "数据库已备份到 " + ui::Q(PathText(backup)));
    form.MenuAction("menuJianCSJK")->trigger();
    EXPECT_TRUE(dialogs_.LastMessage().endsWith("完好，没有发现问题。"))
        << dialogs_.LastMessage().toStdString();

    Database(backup).Exec("update MLK_CaoZDWXX set DanWID = 'X', DanWMC = '西城区', DanWLX = '1'");
    const auto restore = [&](std::deque<bool> answers) {
        dialogs_.Clear();
        dialogs_.openFiles = {ui::Q(PathText(backup))};
        dialogs_.confirmAnswers = std::move(answers);
        form.MenuAction("menuHuiFSJK")->trigger();
    };
    restore({false});
    EXPECT_TRUE(dialogs_.confirms.value(0).contains("另一单位“西城区”"))
        << dialogs_.confirms.join('\n').toStdString();
    EXPECT_EQ(Dm().Unit().DanWMC, "东城区节能办");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "备份"));
    // 取消 while another program holds the database: no file, the database as it was, no report.
    std::unique_ptr<OtherProgram> other;
    dialogs_.onConfirm = [&] {
        if (!other)
            other = std::make_unique<OtherProgram>(Dm().Db().Path(), true);
    };
    CancelWork(true);
    restore({true, true});
    dialogs_.onConfirm = nullptr;
    CancelWork(true);
    dialogs_.saveFiles = {ui::Q(PathText(dir_ / "取消.DB"))};
    form.MenuAction("menuBeiFSJK")->trigger();
    CancelWork(true);
    form.MenuAction("menuJianCSJK")->trigger();
    other.reset();
    EXPECT_EQ(Dm().Unit().DanWMC, "东城区节能办");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "备份"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "取消.DB"));
    EXPECT_TRUE(dialogs_.messages.isEmpty()) << dialogs_.all.join('\n').toStdString();
    restore({true, true});
    EXPECT_EQ(Dm().Unit().DanWMC, "西城区");
    ExpectMenus(form, &MenuCase::department);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "备份"), {}), 1);
    DamageBTree(backup, "MLK_JiBXX");
    restore({true, true});
    EXPECT_TRUE(dialogs_.errors.value(0).contains("已损坏，不能用来恢复"))
        << dialogs_.all.join('\n').toStdString();
    EXPECT_TRUE(dialogs_.confirms.isEmpty());

    DamageBTree(dir_ / "GGJGMLK.DB", "MLK_JiBXX");
    form.MenuAction("menuJianCSJK")->trigger();
    EXPECT_TRUE(dialogs_.LastMessage().contains("已损坏（发现"))
        << dialogs_.LastMessage().toStdString();
}

// Every item an agency can reach opens a window of its own modally; F1 there opens the guide, at
// the section that explains the window. The window is closed again as soon as it shows.
TEST_F(MainFormTest, EveryItemOpensItsWindowModallyAndF1ItsSectionOfTheGuide) {
    Open("0");
    ui::TMainForm form(Dm());
    QSet<QString> opened;
    for (const char* item :
         {"menuXingZQHWH", "menuLuRTJZGBM", "menuLuRXJGLJG", "menuDaoRCSSJ", "menuXuanZGGJG",
          "menuDaoRZGBMSJ", "menuDaoRGLJGSJ", "menuShenHJGSJ", "menuDaoCJGSJ", "menuMingLHZB",
          "menuShuLHZB", "menuGuoJJGSL", "menuShiYDWHZB", "menuDaoRJLCX", "menuShenHRZCX"}) {
        WhenModal([&](QDialog* window) {
            opened << window->metaObject()->className();
            QTest::keyClick(window, Qt::Key_F1);
            const auto* guide = window->findChild<ui::THelpForm*>();
            ASSERT_NE(guide, nullptr) << item;
            EXPECT_TRUE(guide->isVisible());
            EXPECT_NE(ui::THelpForm::SectionFor(window), "") << item;
            EXPECT_EQ(guide->CurrentSection(), ui::THelpForm::SectionFor(window)) << item;
        });
        form.MenuAction(item)->trigger();
    }
    EXPECT_EQ(opened.size(), 15);
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
    form.MenuAction("menuYongHZN")->trigger();
    const auto* guide = form.findChild<ui::THelpForm*>();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
}

// Long work runs on a connection of its own, whose commits the window's connection sees; its
// error comes back as it was raised. 取消 ends a running statement, the work at its progress
// report, or a wait for another program, and what the work began is undone.
TEST_F(MainFormTest, LongWorkRunsApartAndCancelUndoesIt) {
    SampleRecord("A").Insert(Dm());
    SampleRecord("B").Insert(Dm());
    const auto run = [&](const std::function<void(TMainDM&, Progress&)>& work) {
        return ui::LongWork(nullptr, QStringLiteral("正在测试…")).Run(Dm(), work);
    };
    const struct {
        const char* name;
        bool held;
        std::function<void(TMainDM&, Progress&)> work;
    } cancelled[] = {
        {"a statement", false,
         [](TMainDM& own, Progress&) {
             own.QueryInt(
                 "with recursive c(x) as (select 1 union all select x + 1 from c) "
                 "select count(*) from c");
         }},
        {"a progress report", false,
         [](TMainDM& own, Progress& progress) {
             Transaction transaction(own.Db());
             own.ExecSQL("delete from MLK_JiBXX");
             for (;;)
                 progress.SetPosition(1);
         }},
        {"a wait for another program", true,
         [](TMainDM& own, Progress&) { own.ExecSQL("delete from MLK_JiBXX"); }},
    };
    for (const auto& c : cancelled) {
        auto other = c.held ? std::make_unique<OtherProgram>(Dm().Db().Path(), true) : nullptr;
        const std::shared_ptr<QString> shown = CancelWork(c.held);
        EXPECT_FALSE(run(c.work)) << c.name;
        other.reset();
        EXPECT_EQ(*shown, c.held ? ui::kWaitingForLock : "正在测试…") << c.name;
        EXPECT_EQ(Count("MLK_JiBXX"), 2) << c.name;
    }
    EXPECT_EQ(ErrorOf([&] { run([](TMainDM&, Progress&) { throw MlkError("文件坏了"); }); }),
              "文件坏了");
    EXPECT_TRUE(run(
        [](TMainDM& own, Progress&) { own.ExecSQL("delete from MLK_JiBXX where JiGID = 'A'"); }));
    EXPECT_EQ(Count("MLK_JiBXX"), 1);
}

// Import, export, initial data and a summary wait for another program that holds the database,
// and say so; 取消 then leaves everything as it was: no row, the old file, the window open, a
// summary window not shown at all.
TEST_F(MainFormTest, CancelledWorkLeavesEverythingAsItWas) {
    Open("0");
    WriteFile(dir_ / "good.txt", GbkLine(SampleRecord("N1")));
    WriteFile(dir_ / "上报.txt", "旧文件");
    WriteFile(dir_ / "下发.txt",
              Utf8ToGbk("A1,一中,x,北京市,市辖区,东城区,x,x,人民路,x,x,x,x\r\n"));
    Dm().ExecSQL("update MLK_JiBXX set QueRZT='1'");
    Dm().ExecSQL("delete from MLK_YuanJGXX");
    const long long rows = Count("MLK_JiBXX");
    std::unique_ptr<OtherProgram> other;
    const auto hold = [&](bool reading) {
        other = std::make_unique<OtherProgram>(Dm().Db().Path(), reading);
    };
    const struct {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> act;
    } cases[] = {
        {"import",
         [&] {
             auto window = std::make_unique<ui::TForm31DaoRTJBMSJ>(Dm());
             Click(window.get(), "BTSearch");
             ClickRow(window.get(), RowOf(window.get(), "T4", 1));
             dialogs_.openFiles.push_back(Q(PathText(dir_ / "good.txt")));
             Click(window.get(), "BTSelectFile");
             hold(false);
             Click(window.get(), "BTImport");
             return window;
         }},
        {"export",
         [&] {
             auto window = std::make_unique<ui::TForm51DaoCSJ>(Dm());
             dialogs_.saveFiles.push_back(Q(PathText(dir_ / "上报.txt")));
             dialogs_.onConfirm = [&] { hold(true); };
             Click(window.get(), "BTDaoC");
             EXPECT_FALSE(Shown(window.get(), "PBDaoC"));
             return window;
         }},
        {"initial data",
         [&] {
             auto window = std::make_unique<ui::TForm21DaoRYSSJ>(Dm());
             dialogs_.openFiles.push_back(Q(PathText(dir_ / "下发.txt")));
             Click(window.get(), "Button1");
             hold(false);
             Click(window.get(), "Button2");
             return window;
         }},
        {"summary",
         [&] {
             hold(true);
             auto window = std::make_unique<ui::TForm61MingLKHZB>(Dm());
             EXPECT_TRUE(ui::Abandoned(*window));
             ui::ShowModal(*window);  // returns at once
             return std::unique_ptr<QDialog>(std::move(window));
         }},
        {"quality",
         [&] {
             hold(true);
             auto window = std::make_unique<ui::TForm65ShuJZLJC>(Dm());
             EXPECT_TRUE(ui::Abandoned(*window));
             return std::unique_ptr<QDialog>(std::move(window));
         }},
    };
    for (const auto& c : cases) {
        const std::shared_ptr<QString> shown = CancelWork(true);
        const std::unique_ptr<QDialog> window = c.act();
        other.reset();
        dialogs_.onConfirm = nullptr;
        EXPECT_EQ(*shown, ui::kWaitingForLock) << c.name;
        EXPECT_EQ(window->result(), 0) << c.name;
        EXPECT_FALSE(window->isVisible()) << c.name;
        EXPECT_EQ(Count("MLK_JiBXX"), rows) << c.name;
        EXPECT_EQ(Count("MLK_YuanJGXX"), 0) << c.name;
        EXPECT_EQ(ReadFile(dir_ / "上报.txt"), "旧文件") << c.name;
    }
    EXPECT_EQ(Dm().QueryText("select DaoRZT from MLK_DaiDRJG where JiGID = 'T4'"), "0");
    EXPECT_TRUE(dialogs_.messages.isEmpty() && dialogs_.errors.isEmpty())
        << dialogs_.all.join('\n').toStdString();
}

// The guide tells what a clerk needs beyond the windows, and its search marks every place a
// word stands and goes from one to the next, round to the first again.
TEST(Guide, HoldsTheRoadTheFilesAndTheMessagesAndFindsWords) {
    ui::THelpForm guide;
    for (const char* section : {"从县到中央：名录的报送路线", "上报文件格式", "初始数据文件格式",
                                "备份和恢复", "提示信息和处理办法", "长时间的操作和取消"})
        EXPECT_TRUE(guide.ShowSection(QString::fromUtf8(section))) << section;
    EXPECT_FALSE(guide.ShowSection(QStringLiteral("没有这一节")));
    const QString word = QStringLiteral("正在等待其他程序释放数据库");
    const int places = guide.Find(word);
    ASSERT_GE(places, 2);
    EXPECT_EQ(Find<QLabel>(&guide, "LBFound")->text(), QStringLiteral("共 %1 处").arg(places));
    QStringList sections;
    for (int i = 0; i <= places; ++i) {
        guide.Find(word);
        sections << guide.CurrentSection();
    }
    EXPECT_EQ(sections.first(), sections.last()) << "round to the first";
    EXPECT_NE(sections[0], sections[1]);
    EXPECT_EQ(guide.Find(QStringLiteral("没有这个词")), 0);
    EXPECT_EQ(Find<QLabel>(&guide, "LBFound")->text(), QStringLiteral("找不到"));
}

// A missing or empty file is created with its reference rows; a file that is not a database
// stops the start in the standard error box and stays untouched.
TEST(Startup, OpensOrCreatesTheDatabaseAndLeavesAnythingElseAlone) {
    std::string garbage = "这不是数据库文件\n";
    for (int i = 0; i < 300; ++i)
        garbage += char(i * 37 % 256);
    for (const std::optional<std::string>& bytes :
         {std::optional<std::string>(), std::optional<std::string>(""), std::optional(garbage)}) {
        TempDir dir;
        if (bytes)
            WriteFile(dir / "GGJGMLK.DB", *bytes);
        RecordingDialogs dialogs;
        const auto dm = ui::OpenDataModule(dir / "GGJGMLK.DB");
        if (bytes == garbage) {
            EXPECT_EQ(dm, nullptr);
            ASSERT_EQ(dialogs.errors.size(), 1);
            EXPECT_TRUE(dialogs.errors[0].startsWith("程序无法启动。"));
            EXPECT_TRUE(dialogs.errors[0].contains("GGJGMLK.DB"));
            EXPECT_EQ(ReadFile(dir / "GGJGMLK.DB"), garbage);
            continue;
        }
        ASSERT_NE(dm, nullptr);
        EXPECT_GT(dm->QueryInt("select count(*) from MLK_XingZQH"), 3000);
        EXPECT_FALSE(dm->Unit().ZhuCeBZ);
        EXPECT_TRUE(dialogs.errors.isEmpty());
    }
}

// An object whose event handler fails, as a window's handler might.
class FailingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw MlkError("处理失败");
        return QObject::event(event);
    }
};

TEST(Startup, AnExceptionEscapingAHandlerIsShownAndTheProgramGoesOn) {
    RecordingDialogs dialogs;
    FailingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    EXPECT_EQ(dialogs.errors, QStringList{"处理失败"});
}

// Qt's standard buttons and file dialogs speak Chinese; without the translation file the program
// still starts, in Qt's English.
TEST(Startup, QtsOwnTextsReadChinese) {
    QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.labelText(QFileDialog::LookIn).startsWith("查找范围"));

    TempDir empty;
    EXPECT_FALSE(
        ui::Application::InstallQtTranslation({QString::fromStdString(empty.Path().string())}));
}

}  // namespace
}  // namespace mlk::test
