#pragma once

#include <QMainWindow>

class QAction;
class QMenu;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// The main window: an MDI frame (it hosts no child windows) with the menu through which every
// function window is opened, modally and fresh each time. The menu follows the operating unit:
// unregistered, energy-saving management agency or competent department.
class TMainForm final : public QMainWindow {
    Q_OBJECT

  public:
    explicit TMainForm(TMainDM& dm, QWidget* parent = nullptr);

    // Sets the enabled and visible state of every menu item from the (reloaded) operating unit.
    void RefreshMenus();

    // The action of a menu component by its name (for a top-level entry, its menu's action);
    // nullptr when there is none.
    QAction* MenuAction(const QString& name) const;

  private:
    void BuildMenu();
    void BuildDecoration();
    void PlaceDecoration(QWidget* client);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void BuildStatusBar();
    void TapAltForMenuBar();

    // Each handler opens one window: a new instance, modal, centred, destroyed on closing.
    template <class Window>
    void Open();

    void menuCaoZDWXXWHClick();
    void menuXingZQHWHClick();
    void menuLuRTJZGBMClick();
    void menuLuRXJGLJGClick();
    void menuLuRXJGGJGClick();
    void menuQueRJGXXClick();
    void menuDaoRCSSJClick();
    void menuXuanZGGJGClick();
    void menuDaoRZGBMSJClick();
    void menuDaoRGLJGSJClick();
    void menuDaoRXSBMSJClick();
    void menuDaoRJLCXClick();
    void menuShenHJGSJClick();
    void menuShenHRZCXClick();
    void menuDaoCJGSJClick();
    void menuMingLHZBClick();
    void menuShuLHZBClick();
    void menuGuoJJGSLClick();
    void menuShiYDWHZBClick();
    void menuShuJZLJCClick();
    void menuBeiFSJKClick();
    void menuJianCSJKClick();
    void menuHuiFSJKClick();
    void menuYongHZNClick();
    void menuExitClick();

    TMainDM& dm_;
};

}  // namespace mlk::ui
