#pragma once

#include <QFont>
#include <QTextOption>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "reports/SummaryTable.h"

class QFontMetricsF;
class QPagedPaintDevice;
class QPainter;

namespace mlk {
class Progress;
}

namespace mlk::print {

// A summary table laid out on the pages of a printer or a PDF file. Every page carries the
// table's title, the unit's name and the date above the table, the column captions, and
// "第 N 页 共 M 页" at its foot. The columns are the window's (those it hides left out), scaled
// to the width of the page; a text too long for its column wraps within its cell. The preview,
// the printer and the PDF file are painted by this one class, so the preview is what prints.
class SummaryPages {
  public:
    SummaryPages(const SummaryTable& table, SummaryHeading heading, std::string date);

    // A4 landscape with margins of 10 mm: a summary's page unless the user chooses another.
    static void SetDefaultPage(QPagedPaintDevice& device);

    // Lays the table out on the device's pages and paints them all, a new page between two. The
    // progress counts two steps a row (laying out, painting); an exception it throws ends the
    // painting.
    void Print(QPainter& painter, QPagedPaintDevice& device, Progress* progress = nullptr);
    // How many pages the last Print made.
    int PageCount() const { return int(pageStarts_.size()); }

  private:
    void SpreadColumns(const QFontMetricsF& captions);
    void LayOut(QPainter& painter, Progress* progress);
    double CellsHeight(QPainter& painter, const QFont& font, const std::vector<QString>& texts);
    void PaintPage(QPainter& painter, int page, Progress* progress);
    void PaintRow(QPainter& painter, const std::vector<QString>& texts, double top, double height);
    std::vector<QString> RowTexts(std::size_t row) const;
    std::vector<QString> CaptionTexts() const;

    const SummaryTable& table_;
    SummaryHeading heading_;
    std::string date_;
    QFont titleFont_, textFont_, captionFont_;
    QTextOption cellOption_;
    std::vector<std::size_t> columns_;  // the shown columns
    std::vector<double> edges_;         // their left edges and the right edge of the last
    // In device pixels: the margin within a cell, and the parts of a page.
    double pad_ = 0, pageWidth_ = 0, headingHeight_ = 0, captionHeight_ = 0, footHeight_ = 0;
    double rowsHeight_ = 0;  // room for rows on a page
    std::vector<float> rowHeights_;
    std::vector<std::size_t> pageStarts_;  // the first row of each page
};

// Writes the pages as a PDF file, fonts embedded, to a temporary file that replaces the target
// only once complete: a failure, or an exception from the progress, leaves no file and an older
// one as it was. The MlkError of a failure names the file and the reason.
void SaveSummaryPdf(const std::filesystem::path& file, SummaryPages& pages,
                    Progress* progress = nullptr);

}  // namespace mlk::print
