#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "RecordingDialogs.h"
#include "TestSupport.h"
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

char StateOf(const QAction* action) {
    if (!action->isVisible())
        return action->isEnabled() ? '?' : 'H';
    return action->isEnabled() ? 'E' : 'D';
}

class MainFormTest : public DbTest {
  protected:
    void ExpectMenus(const ui::TMainForm& form, char MenuCase::*column) {
        for (const MenuCase& item : kMenuCases) {
            const QAction* action = form.MenuAction(QString::fromLatin1(item.name));
            ASSERT_NE(action, nullptr) << item.name;
            EXPECT_EQ(StateOf(action), item.*column) << item.name;
        }
    }
    RecordingDialogs dialogs_;
};

// Unregistered leaves only registration and exit; a registration made meanwhile is followed on
// refresh: a department gets its subordinate institutions.
TEST_F(MainFormTest, UnregisteredThenDepartmentOnRefresh) {
    ui::TMainForm form(Dm());
    ExpectMenus(form, &MenuCase::unregistered);
    RegisterUnit("1");
    form.RefreshMenus();
    ExpectMenus(form, &MenuCase::department);
}

TEST_F(MainFormTest, AgencyGetsDepartmentsAgenciesAndTheDecoratedWindow) {
    RegisterUnit("0");
    ui::TMainForm form(Dm());
    ExpectMenus(form, &MenuCase::agency);
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    for (const char* name : {"Image1", "Image2"}) {
        const auto* picture = form.findChild<QLabel*>(name);
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_FALSE(picture->pixmap().isNull()) << name;  // the pictures load from resources
    }
    EXPECT_EQ(form.statusBar()->findChildren<QLabel*>().size(), 4);
}

// Every item that an agency can reach opens its window modally with the window's caption; the
// window is closed again as soon as it shows.
struct OpenCase {
    const char* item;
    const char* caption;
};

const OpenCase kOpenCases[] = {
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

QString OpenAndClose(QAction* action) {
    QString caption;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            caption = window->windowTitle();
            modal = window->isModal();
            window->close();
        }
    });
    action->trigger();
    return modal ? caption : QStringLiteral("(no modal window)");
}

TEST_F(MainFormTest, EveryItemOpensItsWindowModally) {
    RegisterUnit("0");
    ui::TMainForm form(Dm());
    for (const OpenCase& item : kOpenCases) {
        QAction* action = form.MenuAction(item.item);
        ASSERT_NE(action, nullptr) << item.item;
        EXPECT_EQ(OpenAndClose(action).toStdString(), item.caption) << item.item;
    }
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
}

}  // namespace
}  // namespace mlk::test
