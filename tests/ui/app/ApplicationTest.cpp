// The program as it starts: the database opened or created, Qt's own texts in Chinese, errors
// escaping a handler shown; and the main window's menu.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <optional>

#include "WindowTest.h"
#include "base/MlkError.h"
#include "ui/app/Application.h"
#include "ui/app/Startup.h"
#include "ui/app/THelpForm.h"
#include "ui/app/TMainForm.h"

namespace mlk::test {
namespace {

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
        QTimer::singleShot(0, [&] {
            if (QWidget* window = QApplication::activeModalWidget()) {
                opened << window->metaObject()->className();
                QTest::keyClick(window, Qt::Key_F1);
                const auto* guide = window->findChild<ui::THelpForm*>();
                ASSERT_NE(guide, nullptr) << item;
                EXPECT_TRUE(guide->isVisible());
                EXPECT_NE(ui::THelpForm::SectionFor(window), "") << item;
                EXPECT_EQ(guide->CurrentSection(), ui::THelpForm::SectionFor(window)) << item;
                window->close();
            }
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
