#include "ui/app/Banners.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include "ui/app/AppTitle.h"

namespace mlk::ui {
namespace {

// A building with a pediment and columns, standing on its base line at (x, baseY).
void PaintBuilding(QPainter& p, qreal x, qreal baseY, qreal width, qreal height) {
    const QColor stone(255, 255, 255, 215);
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    const qreal roofHeight = height * 0.28;
    QPainterPath roof;
    roof.moveTo(x - width * 0.06, baseY - height + roofHeight);
    roof.lineTo(x + width / 2, baseY - height);
    roof.lineTo(x + width * 1.06, baseY - height + roofHeight);
    roof.closeSubpath();
    p.drawPath(roof);
    p.drawRect(QRectF(x, baseY - height + roofHeight, width, height * 0.07));
    const int columns = 6;
    const qreal gap = width / (columns * 2 - 1);
    for (int i = 0; i < columns; ++i) {
        p.drawRect(
            QRectF(x + i * 2 * gap, baseY - height + roofHeight + height * 0.1, gap, height * 0.5));
    }
    p.drawRect(QRectF(x - width * 0.04, baseY - height * 0.12, width * 1.08, height * 0.06));
    p.drawRect(QRectF(x - width * 0.08, baseY - height * 0.06, width * 1.16, height * 0.06));
}

// A leaf, the sign of energy saving.
void PaintLeaf(QPainter& p, const QPointF& at, qreal length, qreal angle) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.45, length * 0.8, -length * 0.35, length, 0);
    leaf.cubicTo(length * 0.8, length * 0.35, length * 0.3, length * 0.45, 0, 0);
    QLinearGradient green(0, -length * 0.4, 0, length * 0.4);
    green.setColorAt(0, QColor(140, 210, 90));
    green.setColorAt(1, QColor(40, 140, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(230, 255, 220), length * 0.03));
    p.drawLine(QPointF(length * 0.05, 0), QPointF(length * 0.9, 0));
    p.restore();
}

QFont TitleFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("SimHei"), QStringLiteral("黑体"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QPixmap PaintTitleBanner(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(22, 84, 160));
    sky.setColorAt(0.65, QColor(70, 150, 215));
    sky.setColorAt(1, QColor(170, 215, 240));
    p.fillRect(pixmap.rect(), sky);

    // Green hills along the bottom edge.
    QPainterPath hills;
    hills.moveTo(0, h);
    hills.cubicTo(w * 0.25, h * 0.72, w * 0.5, h * 0.98, w * 0.7, h * 0.8);
    hills.cubicTo(w * 0.85, h * 0.68, w * 0.95, h * 0.82, w, h * 0.78);
    hills.lineTo(w, h);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 80, 200));
    p.drawPath(hills);

    PaintBuilding(p, w * 0.06, h * 0.9, w * 0.17, h * 0.68);
    PaintLeaf(p, QPointF(w * 0.85, h * 0.62), h * 0.42, -35);
    PaintLeaf(p, QPointF(w * 0.85, h * 0.62), h * 0.3, -100);

    const QRectF titleRect(w * 0.28, h * 0.12, w * 0.56, h * 0.5);
    p.setFont(TitleFont(int(h * 0.3), true));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(titleRect.translated(2, 2), Qt::AlignCenter, ProductTitle());
    p.setPen(Qt::white);
    p.drawText(titleRect, Qt::AlignCenter, ProductTitle());

    p.setFont(TitleFont(int(h * 0.11), false));
    p.setPen(QColor(235, 245, 255));
    p.drawText(QRectF(w * 0.28, h * 0.58, w * 0.56, h * 0.2), Qt::AlignCenter,
               QStringLiteral("公共机构 · 主管部门 · 节能管理机构  逐级报送"));
    return pixmap;
}

QPixmap PaintStepsBanner(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QStringList steps{QStringLiteral("注册单位"), QStringLiteral("录入数据"),
                            QStringLiteral("导入数据"), QStringLiteral("审核数据"),
                            QStringLiteral("导出数据"), QStringLiteral("汇总表")};
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal arrow = w * 0.045;
    const qreal box = (w - arrow * (steps.size() - 1) - 4) / steps.size();
    // The largest type at which the longest step fits its box.
    QFont font = TitleFont(int(h * 0.3), true);
    for (const QString& step : steps) {
        const QString text = QStringLiteral("6. ") + step;
        while (font.pixelSize() > 8 &&
               QFontMetricsF(font).horizontalAdvance(text) > box - h * 0.25) {
            font.setPixelSize(font.pixelSize() - 1);
        }
    }
    p.setFont(font);
    for (int i = 0; i < steps.size(); ++i) {
        const qreal x = 2 + i * (box + arrow);
        const QRectF rect(x, h * 0.14, box, h * 0.72);
        QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
        fill.setColorAt(0, QColor(90, 165, 225));
        fill.setColorAt(1, QColor(30, 95, 170));
        p.setPen(QPen(QColor(20, 70, 140), 1));
        p.setBrush(fill);
        p.drawRoundedRect(rect, h * 0.14, h * 0.14);
        p.setPen(Qt::white);
        p.drawText(rect, Qt::AlignCenter, QString::number(i + 1) + QStringLiteral(". ") + steps[i]);
        if (i + 1 < steps.size()) {
            const qreal ax = x + box + arrow * 0.15;
            const qreal cy = h / 2;
            QPainterPath head;
            head.moveTo(ax, cy - h * 0.08);
            head.lineTo(ax + arrow * 0.45, cy - h * 0.08);
            head.lineTo(ax + arrow * 0.45, cy - h * 0.2);
            head.lineTo(ax + arrow * 0.7, cy);
            head.lineTo(ax + arrow * 0.45, cy + h * 0.2);
            head.lineTo(ax + arrow * 0.45, cy + h * 0.08);
            head.lineTo(ax, cy + h * 0.08);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 150, 80));
            p.drawPath(head);
        }
    }
    return pixmap;
}

}  // namespace mlk::ui
