#include "ui/app/OnScreen.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include "ui/app/LongWork.h"

namespace mlk::ui {
namespace {

// A window not shown yet has no frame: the window manager frames it as it frames those shown (a
// maximised one may lack the borders), or at least as the style draws a title bar and borders.
QMargins FrameMargins(const QWidget& window) {
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    QMargins frame(border, 0, border, border);
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown->isVisible() && shown->windowHandle()) {
            const QMargins m = shown->windowHandle()->frameMargins();
            frame =
                QMargins(std::max(frame.left(), m.left()), std::max(frame.top(), m.top()),
                         std::max(frame.right(), m.right()), std::max(frame.bottom(), m.bottom()));
        }
    }
    if (frame.top() == 0)
        frame.setTop(window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + border);
    return frame;
}

}  // namespace

void FitOnScreen(QWidget& window, double screenShare, QRect area) {
    window.ensurePolished();
    if (window.layout())  // its least size, which resizing keeps to
        window.layout()->activate();
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    if (area.isNull()) {
        const QScreen* screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        area = screen->availableGeometry();
    }
    const QMargins frame = FrameMargins(window);
    const QSize room = area.marginsRemoved(frame).size();
    const QSize size = screenShare > 0 ? area.size() * screenShare : window.size();
    window.resize(size.boundedTo(room));
    const QSize framed = window.size().grownBy(frame);
    window.move(area.topLeft() + QPoint(std::max(0, (area.width() - framed.width()) / 2),
                                        std::max(0, (area.height() - framed.height()) / 2)));
}

int ShowModal(QDialog& window, double screenShare) {
    if (Abandoned(window))
        return QDialog::Rejected;
    FitOnScreen(window, screenShare);
    return window.exec();
}

}  // namespace mlk::ui
