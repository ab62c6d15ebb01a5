#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "entry/ListQuery.h"

namespace mlk {

class Progress;
class Statement;
class TMainDM;

// One row of the loaded initial data, as the selection list shows it.
struct InitialRow {
    std::string ID, NAME, BM, SF, DS, XQ, JIED, XuanZBZ;

    // Reads the columns ID,NAME,BM,SF,DS,XQ,JIED,XuanZBZ of a query row.
    static InitialRow FromRow(const Statement& row);
    // Only rows not yet in the directory can be ticked.
    bool CanBeChosen() const { return XuanZBZ == "0"; }
};

// The search conditions of the selection list, as the user typed or chose them.
struct SelectionFilter {
    std::string name;     // part of NAME; blanks around it do not count
    std::string address;  // part of JIED
    // The entry-state box: its text and whether it shows an item other than "--全部--" (a
    // typed text counts too: its first character is compared).
    std::string stateText;
    bool stateChosen = false;
};

// The count and page statements of MLK_YuanJGXX for the filter, ordered by province, city,
// county and code.
ListQueryBuilder SelectionQuery(const SelectionFilter& filter);

// The rows the filter finds that are not yet in the directory, all of them, in file order.
std::vector<InitialRow> UnchosenRows(TMainDM& dm, SelectionFilter filter);

// The rows with these ids, in the order given; an id that is not among the loaded data raises
// an MlkError naming it.
std::vector<InitialRow> RowsByIds(TMainDM& dm, const std::vector<std::string>& ids);

// What became of the chosen rows.
struct SelectionResult {
    std::size_t added = 0;
    // No division has these province, city and county names: nothing written, the row stays
    // "0" so that it can be added once the division exists.
    std::vector<InitialRow> divisionNotFound;
    // The directory already holds an entry with this id: not added again, the row is marked
    // "1".
    std::vector<InitialRow> alreadyInDirectory;
};

// "确认将选择的 (n) 条机构信息添加到名录库中？"
std::string SelectionQuestion(std::size_t chosen);

// Adds the rows to the directory under the operating unit, in one transaction: for each row in
// order its insert into MLK_JiBXX, as an own entry of level 1 placed after the unit's own
// institutions (ShunX), and the update of its XuanZBZ to "1". Divisions are resolved by their
// names (DivisionLookup). A failure leaves both tables as they were.
SelectionResult AddToDirectory(TMainDM& dm, const std::vector<InitialRow>& rows,
                               Progress* progress = nullptr);

// The message after adding: the rows added and, on further lines, those left out and why.
std::string SelectionMessage(const SelectionResult& result);

}  // namespace mlk
