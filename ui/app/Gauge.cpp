#include "ui/app/Gauge.h"

#include <QPainter>

namespace mlk::ui {

namespace {
const QColor kBar(0, 0, 128);  // navy
}  // namespace

Gauge::Gauge(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(true);
    setMinimumHeight(fontMetrics().height() + 8);
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const qint64 span = qint64(maximum()) - minimum();
    // A reset bar holds a value below its minimum: nothing done yet.
    const qint64 done = qBound<qint64>(0, qint64(value()) - minimum(), span);
    const int filled = span > 0 ? int(inside.width() * done / span) : 0;
    const QRect bar(inside.left(), inside.top(), filled, inside.height());
    painter.fillRect(bar, kBar);
    if (!isTextVisible())
        return;

    const QString label = text();
    painter.setFont(font());
    painter.setClipRect(bar);
    painter.setPen(Qt::white);
    painter.drawText(inside, Qt::AlignCenter, label);
    painter.setClipRect(inside.adjusted(filled, 0, 0, 0));
    painter.setPen(kBar);
    painter.drawText(inside, Qt::AlignCenter, label);
}

}  // namespace mlk::ui
