#pragma once

#include <vector>

#include "forms/ColumnDefs.h"

class QTableView;
class QTableWidget;

namespace mlk::ui {

// The look every list shares: whole rows selected one at a time, read-only, grid lines, no row
// header, rows as high as the text needs, centred titles; Tab leaves it.
void SetUpList(QTableView* list);

// Gives a list widget its columns: the titles, width 0 hidden, the others sized by SizeColumns.
void SetUpColumns(QTableWidget* list, const std::vector<ColumnDef>& columns);

// Width 0 hides a column; every other is as wide as the window asks and at least as wide as its
// title needs.
void SizeColumns(QTableView* list, const std::vector<ColumnDef>& columns);

// After a fill: widens each shown column to the cells it holds, up to a limit beyond which long
// names are cut (their cells carry the whole text as a tip). A column never narrows, so paging
// does not make the list jump.
void FitColumnsToCells(QTableView* list);

}  // namespace mlk::ui
