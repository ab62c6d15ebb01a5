#include "ui/app/WrapRow.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace mlk::ui {

WrapRow::WrapRow(QWidget* parent) : QLayout(parent) {}

WrapRow::~WrapRow() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void WrapRow::addItem(QLayoutItem* item) {
    items_ << item;
}

int WrapRow::count() const {
    return int(items_.size());
}

QLayoutItem* WrapRow::itemAt(int index) const {
    return items_.value(index);
}

QLayoutItem* WrapRow::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

Qt::Orientations WrapRow::expandingDirections() const {
    return {};
}

bool WrapRow::hasHeightForWidth() const {
    return true;
}

int WrapRow::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize WrapRow::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        const QSize part = item->minimumSize().expandedTo(item->sizeHint());
        size = QSize(std::max(size.width(), part.width()),
                     size.height() + part.height() + (size.height() > 0 ? Spacing() : 0));
    }
    const QMargins m = contentsMargins();
    return size.grownBy(m);
}

QSize WrapRow::sizeHint() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        const QSize part = item->sizeHint();
        size = QSize(size.width() + part.width() + (size.width() > 0 ? Spacing() : 0),
                     std::max(size.height(), part.height()));
    }
    return size.grownBy(contentsMargins());
}

void WrapRow::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int WrapRow::Spacing() const {
    if (spacing() >= 0)
        return spacing();
    const QWidget* owner = parentWidget();
    return owner ? owner->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, owner)
                 : 6;
}

int WrapRow::Arrange(const QRect& rect, bool place) const {
    const QRect room = rect.marginsRemoved(contentsMargins());
    const int gap = Spacing();
    int top = room.top(), height = 0;
    for (qsizetype first = 0; first < items_.size();) {
        // The parts of one line: as many as fit, at least one.
        qsizetype end = first;
        int width = 0, lineHeight = 0;
        while (end < items_.size()) {
            const QSize part = items_[end]->sizeHint();
            const int wider = width + (end > first ? gap : 0) + part.width();
            if (end > first && wider > room.width())
                break;
            width = wider;
            lineHeight = std::max(lineHeight, part.height());
            ++end;
        }
        int left = room.left();
        for (qsizetype i = first; place && i < end; ++i) {
            const QSize part = items_[i]->sizeHint();
            if (i == items_.size() - 1)  // the last part at the right edge
                left = std::max(left, room.right() + 1 - part.width());
            items_[i]->setGeometry(QRect(QPoint(left, top + (lineHeight - part.height()) / 2),
                                         part.boundedTo(room.size())));
            left += part.width() + gap;
        }
        height += (first > 0 ? gap : 0) + lineHeight;
        top += lineHeight + gap;
        first = end;
    }
    const QMargins m = contentsMargins();
    return height + m.top() + m.bottom();
}

}  // namespace mlk::ui
