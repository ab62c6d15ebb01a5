#include "ui/app/MenuStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionMenuItem>

namespace mlk::ui {
namespace {

constexpr int kItemPadding = 24;  // room right of the text of a drop-down item
constexpr int kBarPadding = 10;   // room right of the text of a menu-bar entry

void DrawItem(const QStyleOptionMenuItem& item, bool selected, QPainter* painter,
              const QWidget* widget) {
    const QPalette& palette = item.palette;
    const bool enabled = item.state & QStyle::State_Enabled;
    painter->save();
    painter->fillRect(item.rect, selected ? palette.highlight() : palette.button());
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = item.rect.center().y();
        painter->setPen(palette.color(QPalette::Mid));
        painter->drawLine(item.rect.left() + 2, y, item.rect.right() - 2, y);
        painter->setPen(palette.color(QPalette::Light));
        painter->drawLine(item.rect.left() + 2, y + 1, item.rect.right() - 2, y + 1);
    } else {
        // Unavailable items keep the grey of disabled text so that they read as unavailable.
        QColor text = selected ? palette.color(QPalette::HighlightedText) : QColor(Qt::black);
        if (!enabled)
            text = palette.color(QPalette::Disabled, QPalette::WindowText);
        painter->setPen(text);
        painter->setFont(MenuStyle::ItemFont(widget));
        painter->setClipRect(item.rect);
        painter->drawText(item.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          MenuStyle::ItemText(item.text));
    }
    painter->restore();
}

}  // namespace

MenuStyle* MenuStyle::Instance() {
    static QPointer<MenuStyle> instance;
    if (!instance) {
        instance = new MenuStyle;
        instance->setParent(qApp);
    }
    return instance;
}

QFont MenuStyle::ItemFont(const QWidget* widget) {
    QFont font = widget ? widget->font() : QApplication::font();
    font.setPointSize(10);
    return font;
}

QString MenuStyle::ItemText(const QString& caption) {
    return QLatin1Char(' ') + caption.section(QLatin1Char('\t'), 0, 0);
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const bool enabled = option->state & State_Enabled;
    switch (element) {
        case CE_MenuItem:
            if (item) {
                DrawItem(*item, enabled && (option->state & State_Selected), painter, widget);
                return;
            }
            break;
        case CE_MenuBarItem:
            if (item) {
                const bool active = option->state & (State_Selected | State_Sunken);
                DrawItem(*item, enabled && active, painter, widget);
                return;
            }
            break;
        case CE_MenuBarEmptyArea:
        case CE_MenuEmptyArea:
            painter->fillRect(option->rect, option->palette.button());
            return;
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || (type != CT_MenuItem && type != CT_MenuBarItem)) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return {size.width(), 8};
    const QFontMetrics metrics(ItemFont(widget));
    const int width = metrics.horizontalAdvance(ItemText(item->text)) + 1;
    const int height = metrics.height() + 8;
    if (type == CT_MenuBarItem)
        return {width + kBarPadding, height};
    return {width + kItemPadding, height};
}

}  // namespace mlk::ui
