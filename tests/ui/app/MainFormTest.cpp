#include <QAction>
#include <QApplication>
#include <QLabel>
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

const MenuCase kMenuCases[] = {
    {"menuInit", 'E', 'E', 'E'},       {"menuCaoZDWXXWH", 'E', 'E', 'E'},
    {"menuXingZQHWH", 'E', 'E', 'E'},  {"menuInput", 'D', 'E', 'E'},
    {"menuLuRTJZGBM", 'D', 'E', 'H'},  {"menuLuRXJGLJG", 'D', 'E', 'H'},
    {"menuLuRXJGGJG", 'D', 'H', 'E'},  {"menuDaoRCSSJ", 'D', 'E', 'E'},
    {"menuXuanZGGJG", 'E', 'E', 'E'},  {"menuImport", 'D', 'E', 'E'},
    {"menuDaoRZGBMSJ", 'D', 'E', 'H'}, {"menuDaoRGLJGSJ", 'D', 'E', 'H'},
    {"menuDaoRXSBMSJ", 'E', 'H', 'E'}, {"menuDaoRJLCX", 'H', 'H', 'H'},
    {"menuCheck", 'D', 'E', 'E'},      {"menuShenHJGSJ", 'D', 'E', 'E'},
    {"menuShenHRZCX", 'H', 'H', 'H'},  {"menuExport", 'D', 'E', 'E'},
    {"menuDaoCJGSJ", 'D', 'E', 'E'},   {"menuGather", 'D', 'E', 'E'},
    {"menuMingLHZB", 'D', 'E', 'E'},   {"menuShuLHZB", 'D', 'E', 'E'},
    {"menuGuoJJGSL", 'D', 'E', 'E'},   {"menuShiYDWHZB", 'D', 'E', 'E'},
    {"menuExit", 'E', 'E', 'E'},
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

// Every item an agency can reach opens its window modally; the window is closed again as soon
// as it shows.
TEST_F(MainFormTest, EveryItemOpensItsWindowModally) {
    Open("0");
    ui::TMainForm form(Dm());
    const std::pair<const char*, const char*> items[] = {
        {"menuXingZQHWH", "行政区划维护"},
        {"menuLuRTJZGBM", "录入同级主管部门"},
        {"menuLuRXJGLJG", "录入下级管理机构"},
        {"menuDaoRCSSJ", "导入初始数据"},
        {"menuXuanZGGJG", "选择公共机构"},
        {"menuDaoRZGBMSJ", "导入同级主管部门数据"},
        {"menuDaoRGLJGSJ", "导入下级管理部门上报数据"},
        {"menuShenHJGSJ", "审核数据"},
        {"menuDaoCJGSJ", "导出数据"},
        {"menuMingLHZB", "公共机构名录库汇总表"},
        {"menuShuLHZB", "公共机构数量汇总表"},
        {"menuGuoJJGSL", "国家机关数量汇总表"},
        {"menuShiYDWHZB", "事业单位数量汇总表"},
    };
    for (const auto& [item, caption] : items) {
        QString opened = "(no modal window)";
        QTimer::singleShot(0, [&] {
            if (QWidget* window = QApplication::activeModalWidget()) {
                opened = window->windowTitle();
                window->close();
            }
        });
        form.MenuAction(item)->trigger();
        EXPECT_EQ(opened, caption) << item;
    }
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
}

}  // namespace
}  // namespace mlk::test
