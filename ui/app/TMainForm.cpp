#include "ui/app/TMainForm.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <algorithm>
#include <initializer_list>

#include "model/TMainDM.h"
#include "ui/app/AppTitle.h"
#include "ui/app/Banners.h"
#include "ui/app/Dialogs.h"
#include "ui/app/LongWork.h"
#include "ui/app/Maintenance.h"
#include "ui/app/MenuStyle.h"
#include "ui/app/OnScreen.h"
#include "ui/app/THelpForm.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/entry/TForm22XuanZGGJG.h"
#include "ui/entry/TForm23LuRTJZGBM.h"
#include "ui/entry/TForm24LuRXJGLJG.h"
#include "ui/entry/TForm25LuRXSGGJG.h"
#include "ui/entry/TForm26QueRJGXX.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm32DaoRXJGLJGSJ.h"
#include "ui/exchange/TForm33DaoRXSBMSJ.h"
#include "ui/exchange/TForm34DaoRRZCX.h"
#include "ui/exchange/TForm51DaoCSJ.h"
#include "ui/reports/TForm41ShenHSJ.h"
#include "ui/reports/TForm42ShenHRZCX.h"
#include "ui/reports/TForm61MingLKHZB.h"
#include "ui/reports/TForm62ShuLHZB.h"
#include "ui/reports/TForm63GuoJJGSL.h"
#include "ui/reports/TForm64ShiYDWSL.h"
#include "ui/reports/TForm65ShuJZLJC.h"
#include "ui/setup/TForm11ZhuCe.h"
#include "ui/setup/TForm12XingZQH.h"

namespace mlk::ui {
namespace {

using Handler = void (TMainForm::*)();

// One item of a drop-down menu; a null caption is a separator.
struct MenuItemDef {
    const char* caption;
    const char* name;
    Handler handler;
};

// How a menu component stands in one of the three menu states.
enum class Shown {
    Enabled,
    Disabled,
    Hidden,  // hidden and disabled
    Kept,    // left as it was
};

struct MenuStateRow {
    const char* name;
    Shown unregistered, agency, department;
};

constexpr Shown E = Shown::Enabled;
constexpr Shown D = Shown::Disabled;
constexpr Shown H = Shown::Hidden;
constexpr Shown K = Shown::Kept;

// An agency enters and imports its same-level competent departments and its subordinate
// management agencies; a competent department its subordinate public institutions. Before
// registration only the registration, the division maintenance and the exit are usable.
constexpr MenuStateRow kMenuStates[] = {
    {"menuInit", E, E, E},       {"menuCaoZDWXXWH", E, E, E}, {"menuXingZQHWH", E, E, E},
    {"menuInput", D, E, E},      {"menuLuRTJZGBM", D, E, H},  {"menuLuRXJGLJG", D, E, H},
    {"menuLuRXJGGJG", D, H, E},  {"menuQueRJGXX", D, E, E},   {"menuDaoRCSSJ", D, E, E},
    {"menuXuanZGGJG", K, K, K},  {"menuImport", D, E, E},     {"menuDaoRZGBMSJ", D, E, H},
    {"menuDaoRGLJGSJ", D, E, H}, {"menuDaoRXSBMSJ", K, H, E}, {"menuDaoRJLCX", D, E, E},
    {"menuCheck", D, E, E},      {"menuShenHJGSJ", D, E, E},  {"menuShenHRZCX", D, E, E},
    {"menuExport", D, E, E},     {"menuDaoCJGSJ", D, E, E},   {"menuGather", D, E, E},
    {"menuMingLHZB", D, E, E},   {"menuShuLHZB", D, E, E},    {"menuGuoJJGSL", D, E, E},
    {"menuShiYDWHZB", D, E, E},  {"menuShuJZLJC", D, E, E},   {"menuShuJWH", E, E, E},
    {"menuBeiFSJK", E, E, E},    {"menuJianCSJK", E, E, E},   {"menuHuiFSJK", E, E, E},
    {"menuExit", E, E, E},
};

void Apply(QAction* action, Shown shown) {
    if (!action || shown == Shown::Kept)
        return;
    action->setEnabled(shown == Shown::Enabled);
    action->setVisible(shown != Shown::Hidden);
}

QFont CaptionFont() {
    // 隶书 where it is installed, then the nearest brush-like faces, then any Chinese face.
    QFont font;
    font.setFamilies({QStringLiteral("LiSu"), QStringLiteral("隶书"), QStringLiteral("STLiti"),
                      QStringLiteral("华文隶书"), QStringLiteral("KaiTi"), QStringLiteral("楷体"),
                      QStringLiteral("AR PL UKai CN"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(24);
    font.setBold(true);
    return font;
}

// The banners and the caption as designed, in the client area.
const struct {
    const char* name;
    QRect place;
} kDecoration[] = {
    {"Image2", QRect(126, 104, 585, 145)},
    {"Image1", QRect(118, 372, 755, 69)},
    {"Label1", QRect(96, 298, 538, 27)},
};

QLabel* AddPicture(QWidget* parent, const char* name, const QRect& geometry,
                   const QPixmap& picture) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setScaledContents(true);
    label->setPixmap(picture);
    return label;
}

}  // namespace

TMainForm::TMainForm(TMainDM& dm, QWidget* parent) : QMainWindow(parent), dm_(dm) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(ProductTitle());
    resize(816, 558);
    BuildMenu();
    // F10 takes the keyboard to the menu, as on every desktop; Qt's menu bar knows only Alt.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this,
            &TMainForm::TapAltForMenuBar);
    BuildDecoration();
    BuildStatusBar();
    setWindowState(windowState() | Qt::WindowMaximized);
    RefreshMenus();
}

void TMainForm::BuildMenu() {
    struct EntryDef {
        const char* caption;
        const char* name;
        std::initializer_list<MenuItemDef> items;
    };
    const EntryDef entries[] = {
        {"注册",
         "menuInit",
         {{"操作单位信息维护", "menuCaoZDWXXWH", &TMainForm::menuCaoZDWXXWHClick},
          {"行政区划维护", "menuXingZQHWH", &TMainForm::menuXingZQHWHClick}}},
        {"录入数据",
         "menuInput",
         {{"录入同级主管部门", "menuLuRTJZGBM", &TMainForm::menuLuRTJZGBMClick},
          {"录入下级管理机构", "menuLuRXJGLJG", &TMainForm::menuLuRXJGLJGClick},
          {"录入下属公共机构", "menuLuRXJGGJG", &TMainForm::menuLuRXJGGJGClick},
          {"确认机构信息", "menuQueRJGXX", &TMainForm::menuQueRJGXXClick},
          {nullptr, "N1", nullptr},
          {"导入初始数据", "menuDaoRCSSJ", &TMainForm::menuDaoRCSSJClick},
          {"选择公共机构", "menuXuanZGGJG", &TMainForm::menuXuanZGGJGClick}}},
        {"导入数据",
         "menuImport",
         {{"导入同级主管部门数据", "menuDaoRZGBMSJ", &TMainForm::menuDaoRZGBMSJClick},
          {"导入下级管理机构数据", "menuDaoRGLJGSJ", &TMainForm::menuDaoRGLJGSJClick},
          {"导入下属公共机构数据", "menuDaoRXSBMSJ", &TMainForm::menuDaoRXSBMSJClick},
          {"导入记录查询", "menuDaoRJLCX", &TMainForm::menuDaoRJLCXClick}}},
        {"审核数据",
         "menuCheck",
         {{"审核机构数据", "menuShenHJGSJ", &TMainForm::menuShenHJGSJClick},
          {"审核日志查询", "menuShenHRZCX", &TMainForm::menuShenHRZCXClick}}},
        {"导出数据",
         "menuExport",
         {{"导出机构数据", "menuDaoCJGSJ", &TMainForm::menuDaoCJGSJClick}}},
        {"汇总表",
         "menuGather",
         {{"公共机构名录汇总表", "menuMingLHZB", &TMainForm::menuMingLHZBClick},
          {"公共机构数量汇总表", "menuShuLHZB", &TMainForm::menuShuLHZBClick},
          {"国家机关数量汇总表", "menuGuoJJGSL", &TMainForm::menuGuoJJGSLClick},
          {"公共机构(事业单位)汇总表", "menuShiYDWHZB", &TMainForm::menuShiYDWHZBClick},
          {nullptr, "N2", nullptr},
          {"数据质量检查", "menuShuJZLJC", &TMainForm::menuShuJZLJCClick}}},
        {"数据维护",
         "menuShuJWH",
         {{"备份数据库", "menuBeiFSJK", &TMainForm::menuBeiFSJKClick},
          {"检查数据库", "menuJianCSJK", &TMainForm::menuJianCSJKClick},
          {"恢复数据库", "menuHuiFSJK", &TMainForm::menuHuiFSJKClick}}},
        // F1 opens the guide anywhere in the program (Application); the menu names the key.
        {"帮助", "menuHelp", {{"用户指南(F1)", "menuYongHZN", &TMainForm::menuYongHZNClick}}},
    };

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setStyle(MenuStyle::Instance());
    bar->setFont(MenuStyle::ItemFont(bar));
    for (const EntryDef& entry : entries) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(QLatin1String(entry.name));
        menu->setStyle(MenuStyle::Instance());
        menu->setFont(MenuStyle::ItemFont(menu));
        for (const MenuItemDef& item : entry.items) {
            QAction* action = item.caption ? menu->addAction(QString::fromUtf8(item.caption))
                                           : menu->addSeparator();
            action->setObjectName(QLatin1String(item.name));
            if (const Handler handler = item.handler) {
                connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
            }
        }
    }
    QAction* exit = bar->addAction(QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("menuExit"));
    connect(exit, &QAction::triggered, this, &TMainForm::menuExitClick);
}

// The menu bar's own way in from the keyboard (the first menu marked, the arrows and Enter to go
// on, Esc or a second tap to leave) is a tap of Alt alone, and Qt offers no call for it. A key sent
// by the program reaches the shortcuts and the menu bar as the keyboard's does.
void TMainForm::TapAltForMenuBar() {
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &release);
}

void TMainForm::BuildDecoration() {
    auto* area = new QMdiArea(this);
    area->setObjectName(QStringLiteral("MdiArea"));
    area->setBackground(Qt::white);
    setCentralWidget(area);
    QWidget* client = area->viewport();

    AddPicture(client, "Image2", kDecoration[0].place, PaintTitleBanner(QSize(585, 145)));
    AddPicture(client, "Image1", kDecoration[1].place, PaintStepsBanner(QSize(755, 69)));

    auto* caption =
        new QLabel(QStringLiteral("   ") + ProductTitle() + QStringLiteral("操作步骤："), client);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setGeometry(kDecoration[2].place);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFont(CaptionFont());
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    caption->setPalette(palette);
    client->installEventFilter(this);
}

// The decoration keeps its place where the window has room for it. In a smaller one (a small
// screen at a high scaling) it moves toward the top left, and then shrinks, so that no picture is
// cut at the right or the bottom.
void TMainForm::PlaceDecoration(QWidget* client) {
    constexpr int kMargin = 8;
    const QRect design(96, 104, 118 + 755 - 96, 372 + 69 - 104);  // around all three parts
    const double scale = std::min({1.0, double(client->width() - 2 * kMargin) / design.width(),
                                   double(client->height() - 2 * kMargin) / design.height()});
    const QPoint corner(
        std::min(design.left(),
                 std::max(kMargin, client->width() - kMargin - qRound(design.width() * scale))),
        std::min(design.top(),
                 std::max(kMargin, client->height() - kMargin - qRound(design.height() * scale))));
    for (const auto& [name, place] : kDecoration) {
        if (auto* part = client->findChild<QWidget*>(QLatin1String(name))) {
            const QPoint offset = (place.topLeft() - design.topLeft()) * scale;
            part->setGeometry(QRect(corner + offset, place.size() * scale));
        }
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const auto* area = qobject_cast<QMdiArea*>(centralWidget());
    if (event->type() == QEvent::Resize && area && watched == area->viewport())
        PlaceDecoration(area->viewport());
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    const struct {
        int width;
        const char* text;
    } panels[] = {
        {200, "公共机构节能管理信息中心"},
        {100, "版本V1.0"},
        {200, "发布日期：2013-04-01"},
        {100, "名录库开发组"},
    };
    for (const auto& panel : panels) {
        auto* label = new QLabel(QString::fromUtf8(panel.text), bar);
        label->setFixedWidth(panel.width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(label);
    }
}

void TMainForm::RefreshMenus() {
    for (const MenuStateRow& row : kMenuStates)
        Apply(MenuAction(row.name), row.unregistered);
    dm_.LoadCaoZDWXX();
    const CaoZDWXX& unit = dm_.Unit();
    for (const MenuStateRow& row : kMenuStates) {
        const Shown shown = !unit.ZhuCeBZ        ? row.unregistered
                            : unit.DanWLX == "0" ? row.agency
                                                 : row.department;
        Apply(MenuAction(row.name), shown);
    }
}

QAction* TMainForm::MenuAction(const QString& name) const {
    if (auto* menu = findChild<QMenu*>(name))
        return menu->menuAction();
    return findChild<QAction*>(name);
}

template <class Window>
void TMainForm::Open() {
    Guarded(this, [&] {
        Window window(dm_, this);
        ShowModal(window);
    });
}

void TMainForm::menuCaoZDWXXWHClick() {
    Guarded(this, [&] {
        TForm11ZhuCe window(dm_, this);
        connect(&window, &TForm11ZhuCe::Registered, this, &TMainForm::RefreshMenus);
        ShowModal(window);
    });
}

// One line per window.
void TMainForm::menuXingZQHWHClick() {
    Open<TForm12XingZQH>();
}
void TMainForm::menuLuRTJZGBMClick() {
    Open<TForm23LuRTJZGBM>();
}
void TMainForm::menuLuRXJGLJGClick() {
    Open<TForm24LuRXJGLJG>();
}
void TMainForm::menuLuRXJGGJGClick() {
    Open<TForm25LuRXSGGJG>();
}
void TMainForm::menuQueRJGXXClick() {
    Open<TForm26QueRJGXX>();
}
void TMainForm::menuDaoRCSSJClick() {
    Open<TForm21DaoRYSSJ>();
}
void TMainForm::menuXuanZGGJGClick() {
    Open<TForm22XuanZGGJG>();
}
void TMainForm::menuDaoRZGBMSJClick() {
    Open<TForm31DaoRTJBMSJ>();
}
void TMainForm::menuDaoRGLJGSJClick() {
    Open<TForm32DaoRXJGLJGSJ>();
}
void TMainForm::menuDaoRXSBMSJClick() {
    Open<TForm33DaoRXSBMSJ>();
}
void TMainForm::menuDaoRJLCXClick() {
    Open<TForm34DaoRRZCX>();
}
void TMainForm::menuShenHJGSJClick() {
    Open<TForm41ShenHSJ>();
}
void TMainForm::menuShenHRZCXClick() {
    Open<TForm42ShenHRZCX>();
}
void TMainForm::menuDaoCJGSJClick() {
    Open<TForm51DaoCSJ>();
}
void TMainForm::menuMingLHZBClick() {
    Open<TForm61MingLKHZB>();
}
void TMainForm::menuShuLHZBClick() {
    Open<TForm62ShuLHZB>();
}
void TMainForm::menuGuoJJGSLClick() {
    Open<TForm63GuoJJGSL>();
}
void TMainForm::menuShiYDWHZBClick() {
    Open<TForm64ShiYDWSL>();
}
void TMainForm::menuShuJZLJCClick() {
    Open<TForm65ShuJZLJC>();
}

void TMainForm::menuBeiFSJKClick() {
    Guarded(this, [&] { BackupDatabaseClick(this, dm_); });
}
void TMainForm::menuJianCSJKClick() {
    Guarded(this, [&] { CheckDatabaseClick(this, dm_); });
}
// The restored database may be another unit's, or a unit of another type.
void TMainForm::menuHuiFSJKClick() {
    Guarded(this, [&] {
        if (RestoreDatabaseClick(this, dm_))
            RefreshMenus();
    });
}

void TMainForm::menuYongHZNClick() {
    THelpForm::ShowFor(this);
}

void TMainForm::menuExitClick() {
    QCoreApplication::quit();
}

}  // namespace mlk::ui
