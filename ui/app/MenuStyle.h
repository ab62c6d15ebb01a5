#pragma once

#include <QProxyStyle>

namespace mlk::ui {

// Draws the items of the main menu and its drop-down menus the program's own way: 10 pt text
// after one leading blank, the highlight colours on the selected item and button face elsewhere.
class MenuStyle final : public QProxyStyle {
  public:
    // The one instance, owned by the application object.
    static MenuStyle* Instance();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

    // The font of every menu item.
    static QFont ItemFont(const QWidget* widget);
    // The text as drawn: one blank and the caption without its shortcut column.
    static QString ItemText(const QString& caption);
};

}  // namespace mlk::ui
