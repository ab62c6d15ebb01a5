#include "ui/app/Lists.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {
// The widest a column grows for its cells; longer texts are cut.
constexpr int kWidestFit = 320;
}  // namespace

void SetUpList(QTableView* list) {
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
