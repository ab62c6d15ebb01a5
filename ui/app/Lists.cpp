#include "ui/app/Lists.h"

#include <QColor>
#include <QHeaderView>
#include <QPalette>
#include <QTableWidget>
#include <algorithm>

#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {
// The widest a column grows for its cells; longer texts are cut.
constexpr int kWidestFit = 320;
// A deep blue, far from the pale sky of marked rows.
const QColor kChosenRowColour(0, 84, 166);
}  // namespace

void SetUpList(QTableView* list) {
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control; the arrow keys move within it.
    list->setTabKeyNavigation(false);
    // The chosen row stands out from the pale sky that marks confirmed or imported rows, also
    // while the focus is on a button or in another window.
    QPalette palette = list->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, kChosenRowColour);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    list->setPalette(palette);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void SetUpColumns(QTableWidget* list, const std::vector<ColumnDef>& columns) {
    list->clear();
    list->setColumnCount(int(columns.size()));
    QStringList titles;
    for (const ColumnDef& column : columns)
        titles << Q(column.title);
    list->setHorizontalHeaderLabels(titles);
    SizeColumns(list, columns);
}

void SizeColumns(QTableView* list, const std::vector<ColumnDef>& columns) {
    QHeaderView* header = list->horizontalHeader();
    for (int i = 0; i < int(columns.size()); ++i) {
        const int width = columns[std::size_t(i)].width;
        list->setColumnHidden(i, width == 0);
        if (width > 0)
            list->setColumnWidth(i, std::max(width, header->sectionSizeHint(i)));
    }
}

void FitColumnsToCells(QTableView* list) {
    // The cells' own measure; QTableView keeps it to itself, its base class does not.
    const QAbstractItemView* view = list;
    const int columns = list->horizontalHeader()->count();
    for (int i = 0; i < columns; ++i) {
        if (list->isColumnHidden(i))
            continue;
        const int cells = std::min(view->sizeHintForColumn(i), kWidestFit);
        if (cells > list->columnWidth(i))
            list->setColumnWidth(i, cells);
    }
}

}  // namespace mlk::ui
