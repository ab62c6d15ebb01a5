#include "print/SummaryPages.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>

#include "base/MlkError.h"
#include "base/Progress.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace mlk::print {

namespace {

constexpr double kMarginMm = 10;
constexpr double kPadMm = 0.8;
constexpr double kGapMm = 2;
// Rows between two reports of progress.
constexpr std::size_t kProgressStep = 256;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Song (宋体) where it is installed, as printed forms use it, then the Chinese faces of Debian.
QFont PrintFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

SummaryPages::SummaryPages(const SummaryTable& table, SummaryHeading heading, std::string date)
    : table_(table),
      heading_(std::move(heading)),
      date_(std::move(date)),
      titleFont_(PrintFont(16, true)),
      textFont_(PrintFont(9, false)),
      captionFont_(PrintFont(9, true)),
      cellOption_(Qt::AlignCenter) {
    cellOption_.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (std::size_t column = 0; column < table_.columns.size(); ++column) {
        if (table_.columns[column].width > 0)
            columns_.push_back(column);
    }
}

void SummaryPages::SetDefaultPage(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
}

std::vector<QString> SummaryPages::RowTexts(std::size_t row) const {
    const TextRows::Row cells = table_.rows[row];
    std::vector<QString> texts;
    texts.reserve(columns_.size());
    for (const std::size_t column : columns_)
        texts.push_back(column < cells.size() ? Q(cells[column]) : QString());
    return texts;
}

std::vector<QString> SummaryPages::CaptionTexts() const {
    std::vector<QString> texts;
    for (const std::size_t column : columns_)
        texts.push_back(Q(table_.columns[column].title));
    return texts;
}

// The height of the tallest cell: a text wider than its column wraps onto more lines.
double SummaryPages::CellsHeight(QPainter& painter, const QFont& font,
                                 const std::vector<QString>& texts) {
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    double height = metrics.height();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const double width = edges_[i + 1] - edges_[i] - 2 * pad_;
        // Most cells fit on one line: measured without laying the text out.
        if (metrics.horizontalAdvance(texts[i]) <= width)
            continue;
        const QRectF wrapped =
            painter.boundingRect(QRectF(0, 0, width, 1e9), texts[i], cellOption_);
        height = std::max(height, wrapped.height());
    }
    return height + 2 * pad_;
}

// The columns share the page's width as they share the window's, except that each is wide enough
// for its caption on one line where the page allows: what the narrow ones need more is taken from
// the others, in proportion.
void SummaryPages::SpreadColumns(const QFontMetricsF& captions) {
    std::vector<double> least, widths;
    for (const std::size_t column : columns_) {
        least.push_back(captions.horizontalAdvance(Q(table_.columns[column].title)) + 3 * pad_);
        widths.push_back(table_.columns[column].width);
    }
    std::vector<bool> fixed(widths.size(), false);
    double fixedWidth = 0;
    for (bool changed = true; changed;) {
        changed = false;
        double shared = 0;
        for (std::size_t i = 0; i < widths.size(); ++i)
            shared += fixed[i] ? 0 : table_.columns[columns_[i]].width;
        const double room = pageWidth_ - fixedWidth;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            if (fixed[i])
                continue;
            widths[i] = shared > 0 ? room * table_.columns[columns_[i]].width / shared : 0;
            if (widths[i] < least[i] && fixedWidth + least[i] < pageWidth_) {
                widths[i] = least[i];
                fixed[i] = true;
                fixedWidth += least[i];
                changed = true;
            }
        }
    }
    edges_ = {0};
    for (const double width : widths)
        edges_.push_back(edges_.back() + width);
}

void SummaryPages::LayOut(QPainter& painter, Progress* progress) {
    const QPaintDevice& device = *painter.device();
    const double dotsPerMm = device.logicalDpiY() / 25.4;
    pad_ = kPadMm * dotsPerMm;
    pageWidth_ = device.width();
    SpreadColumns(QFontMetricsF(captionFont_, &device));

    headingHeight_ = QFontMetricsF(titleFont_, &device).height() + kGapMm * dotsPerMm +
                     QFontMetricsF(textFont_, &device).height() + kGapMm * dotsPerMm;
    captionHeight_ = CellsHeight(painter, captionFont_, CaptionTexts());
    footHeight_ = kGapMm * dotsPerMm + QFontMetricsF(textFont_, &device).height();
    rowsHeight_ = std::max(device.height() - headingHeight_ - captionHeight_ - footHeight_,
                           QFontMetricsF(textFont_, &device).height() + 2 * pad_);

    const std::size_t rows = table_.rows.size();
    rowHeights_.assign(rows, 0);
    pageStarts_ = {0};
    double used = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        // A row taller than a page is cut at the page's foot.
        const double height = std::min(CellsHeight(painter, textFont_, RowTexts(row)), rowsHeight_);
        rowHeights_[row] = float(height);
        if (used + height > rowsHeight_ && used > 0) {
            pageStarts_.push_back(row);
            used = 0;
        }
        used += height;
        if (progress && row % kProgressStep == 0)
            progress->SetPosition(std::int64_t(row));
    }
}

void SummaryPages::PaintRow(QPainter& painter, const std::vector<QString>& texts, double top,
                            double height) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QRectF cell(edges_[i], top, edges_[i + 1] - edges_[i], height);
        if (!texts[i].isEmpty())
            painter.drawText(cell.adjusted(pad_, pad_, -pad_, -pad_), texts[i], cellOption_);
    }
    painter.drawLine(QPointF(0, top + height), QPointF(pageWidth_, top + height));
}

void SummaryPages::PaintPage(QPainter& painter, int page, Progress* progress) {
    const QPaintDevice& device = *painter.device();
    const double dotsPerMm = device.logicalDpiY() / 25.4;
    // The title, then the unit at the left and the date at the right.
    painter.setFont(titleFont_);
    const double titleHeight = QFontMetricsF(titleFont_, &device).height();
    painter.drawText(QRectF(0, 0, pageWidth_, titleHeight), Qt::AlignCenter, Q(heading_.title));
    painter.setFont(textFont_);
    const double lineHeight = QFontMetricsF(textFont_, &device).height();
    const QRectF unitLine(0, titleHeight + kGapMm * dotsPerMm, pageWidth_, lineHeight);
    painter.drawText(unitLine, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("行政区划/部门全称：") + Q(heading_.unit));
    painter.drawText(unitLine, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("日期：") + Q(date_));

    // The captions on a grey band, then the page's rows, each ruled below.
    const double tableTop = headingHeight_;
    painter.fillRect(QRectF(0, tableTop, pageWidth_, captionHeight_), QColor(230, 230, 230));
    painter.drawLine(QPointF(0, tableTop), QPointF(pageWidth_, tableTop));
    painter.setFont(captionFont_);
    PaintRow(painter, CaptionTexts(), tableTop, captionHeight_);
    painter.setFont(textFont_);
    double top = tableTop + captionHeight_;
    const std::size_t first = pageStarts_[std::size_t(page)];
    const std::size_t end = std::size_t(page) + 1 < pageStarts_.size()
                                ? pageStarts_[std::size_t(page) + 1]
                                : table_.rows.size();
    for (std::size_t row = first; row < end; ++row) {
        const double height = rowHeights_[row];
        painter.save();
        painter.setClipRect(QRectF(0, top, pageWidth_, height));
        PaintRow(painter, RowTexts(row), top, height);
        painter.restore();
        top += height;
        if (progress && row % kProgressStep == 0)
            progress->SetPosition(std::int64_t(table_.rows.size() + row));
    }
    for (const double x : edges_)
        painter.drawLine(QPointF(x, tableTop), QPointF(x, top));

    painter.drawText(QRectF(0, device.height() - lineHeight, pageWidth_, lineHeight),
                     Qt::AlignCenter,
                     QStringLiteral("第 %1 页 共 %2 页").arg(page + 1).arg(PageCount()));
}

void SummaryPages::Print(QPainter& painter, QPagedPaintDevice& device, Progress* progress) {
    if (progress)
        progress->SetRange(std::int64_t(2 * table_.rows.size()));
    LayOut(painter, progress);
    QPen pen(Qt::black);
    pen.setWidthF(0.2 * device.logicalDpiY() / 25.4);
    painter.setPen(pen);
    for (int page = 0; page < PageCount(); ++page) {
        if (page > 0)
            device.newPage();
        PaintPage(painter, page, progress);
    }
    if (progress)
        progress->SetPosition(std::int64_t(2 * table_.rows.size()));
}

void SaveSummaryPdf(const std::filesystem::path& file, SummaryPages& pages, Progress* progress) {
    ReplacingFile out(file);
    QFile pdf(QString::fromUtf8(PathText(out.HandOver())));
    errno = 0;
    if (!pdf.open(QIODevice::WriteOnly))
        out.Fail(FileErrorReason(LastError(EIO), true));
    {
        QPdfWriter writer(&pdf);
        SummaryPages::SetDefaultPage(writer);
        QPainter painter;
        if (!painter.begin(&writer))
            out.Fail(FileErrorReason(LastError(EIO), true));
        pages.Print(painter, writer, progress);
        painter.end();
    }
    errno = 0;
    if (!pdf.flush() || pdf.error() != QFileDevice::NoError)
        out.Fail(FileErrorReason(LastError(EIO), true));
    pdf.close();
    out.Commit();
}

}  // namespace mlk::print
