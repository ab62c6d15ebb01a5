#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QTimer>

#include "WindowTest.h"
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
    {"menuDaoRXSBMSJ", 'E', 'H', 'E'}, {"menuDaoRJLCX", 'H', 'H', 'H'},
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

// Every item an agency can reach opens a window of its own modally; the window is closed again as
// soon as it shows.
TEST_F(MainFormTest, EveryItemOpensItsWindowModally) {
    Open("0");
    ui::TMainForm form(Dm());
    QSet<QString> opened;
    for (const char* item :
         {"menuXingZQHWH", "menuLuRTJZGBM", "menuLuRXJGLJG", "menuDaoRCSSJ", "menuXuanZGGJG",
          "menuDaoRZGBMSJ", "menuDaoRGLJGSJ", "menuShenHJGSJ", "menuDaoCJGSJ", "menuMingLHZB",
          "menuShuLHZB", "menuGuoJJGSL", "menuShiYDWHZB"}) {
        QTimer::singleShot(0, [&] {
            if (QWidget* window = QApplication::activeModalWidget()) {
                opened << window->metaObject()->className();
                window->close();
            }
        });
        form.MenuAction(item)->trigger();
    }
    EXPECT_EQ(opened.size(), 13);
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
}

}  // namespace
}  // namespace mlk::test
