#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
    void ExpectMenus(char MenuCase::*column) {
        ui::TMainForm form(Dm());
        for (const MenuCase& item : kMenuCases) {
            const QAction* action = form.MenuAction(QString::fromLatin1(item.name));
            ASSERT_NE(action, nullptr) << item.name;
            EXPECT_EQ(StateOf(action), item.*column) << item.name;
        }
    }
    RecordingDialogs dialogs_;
};

TEST_F(MainFormTest, UnregisteredLeavesOnlyRegistrationAndExit) {
    ExpectMenus(&MenuCase::unregistered);
}

TEST_F(MainFormTest, AgencyGetsSameLevelDepartmentsAndSubordinateAgencies) {
    RegisterUnit("0");
    ExpectMenus(&MenuCase::agency);
}

TEST_F(MainFormTest, DepartmentGetsSubordinateInstitutions) {
    RegisterUnit("1");
    ExpectMenus(&MenuCase::department);
}

TEST_F(MainFormTest, RefreshFollowsARegistrationMadeMeanwhile) {
    ui::TMainForm form(Dm());
    EXPECT_FALSE(form.MenuAction("menuInput")->isEnabled());
    RegisterUnit("1");
    form.RefreshMenus();
    EXPECT_TRUE(form.MenuAction("menuInput")->isEnabled());
    EXPECT_FALSE(form.MenuAction("menuLuRTJZGBM")->isVisible());
    EXPECT_TRUE(form.MenuAction("menuLuRXJGGJG")->isVisible());
}

TEST_F(MainFormTest, MenuCaptionsInOrder) {
    ui::TMainForm form(Dm());
    QStringList captions;
    for (const QAction* entry : form.menuBar()->actions()) {
        captions << entry->text();
        if (const QMenu* menu = entry->menu()) {
            for (const QAction* item : menu->actions()) {
                captions << (item->isSeparator() ? QStringLiteral("—") : "  " + item->text());
            }
        }
    }
    EXPECT_EQ(captions.join('|').toStdString(),
              "注册|  操作单位信息维护|  行政区划维护|"
              "录入数据|  录入同级主管部门|  录入下级管理机构|  录入下属公共机构|—|"
              "  导入初始数据|  选择公共机构|"
              "导入数据|  导入同级主管部门数据|  导入下级管理机构数据|  导入下属公共机构数据|"
              "  导入记录查询|"
              "审核数据|  审核机构数据|  审核日志查询|"
              "导出数据|  导出机构数据|"
              "汇总表|  公共机构名录汇总表|  公共机构数量汇总表|  国家机关数量汇总表|"
              "  公共机构(事业单位)汇总表|"
              "退出");
}

TEST_F(MainFormTest, DecorationAndStatusBar) {
    ui::TMainForm form(Dm());
    EXPECT_EQ(form.windowTitle().toStdString(), "公共机构名录库");
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    for (const char* name : {"Image1", "Image2"}) {
        const auto* picture = form.findChild<QLabel*>(name);
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_FALSE(picture->pixmap().isNull()) << name;
    }
    EXPECT_EQ(form.findChild<QLabel*>("Image2")->geometry(), QRect(126, 104, 585, 145));
    EXPECT_EQ(form.findChild<QLabel*>("Image1")->geometry(), QRect(118, 372, 755, 69));
    const auto* caption = form.findChild<QLabel*>("Label1");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text().toStdString(), "   公共机构名录库操作步骤：");

    QList<int> widths;
    QStringList texts;
    for (const QLabel* panel : form.statusBar()->findChildren<QLabel*>()) {
        widths << panel->width();
        texts << panel->text();
    }
    EXPECT_EQ(widths, (QList<int>{200, 100, 200, 100}));
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1].toStdString(), "版本V1.0");
    EXPECT_EQ(texts[2].toStdString(), "发布日期：2013-04-01");
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
