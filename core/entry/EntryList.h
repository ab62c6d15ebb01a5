#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "entry/ListQuery.h"
#include "model/GGJG.h"

namespace mlk {

class CodeTables;

// The three lists of the operating unit's own entries.
enum class EntryListKind {
    SameLevelDepartments,     // "录入同级主管部门", node type '1'
    Agencies,                 // "录入下级管理机构", node type '0'
    SubordinateInstitutions,  // "录入下属公共机构", node type '1'
};

// The search filters. A combo filter holds the text of its box when the box does not show
// "--全部--"; the statement compares its leading characters (one, four for the type).
struct EntryFilters {
    std::string name;  // matched anywhere in JiGMC; blank adds no condition
    std::optional<std::string> gengXZT, queRZT, xingZJB, jiGLX, caiZJFSY;
};

// The count and page statements of a list for the unit with this DanWID.
ListQueryBuilder EntryListQuery(EntryListKind kind, const std::string& danWID,
                                const EntryFilters& filters);

// "field-title-width" descriptions of the list's columns; column 0 is the row number.
const std::vector<std::string>& EntryColumnDescriptions(EntryListKind kind);

// The cells after the row number (column 1 on) of one row of the page statement.
std::vector<std::string> EntryCells(EntryListKind kind, const Statement& row,
                                    const CodeTables& codes);

// The cells of an institution row from JiGID on, as the institution lists show them: the state
// column shows the record's GengXZT labelled from the code table stateKey ("GengXZT" in the
// entry lists; the audit list reads the audit state into GengXZT and labels it "ShenHZT").
std::vector<std::string> InstitutionCells(const GGJG& record, const CodeTables& codes,
                                          std::string_view stateKey);

// Index among those cells of the hidden QueRZT code that colours confirmed rows.
int ConfirmCodeCell(EntryListKind kind);
// Index of the hidden JiGID.
constexpr int kJiGIDCell = 0;

// The actions of a list on its selected row.
enum class ListAction { Update, Delete, Confirm, View };

// The refusal of an action on an entry with this QueRZT code: confirmed entries ("1") cannot
// be changed, deleted or confirmed again; viewing is never refused.
std::optional<std::string> ConfirmedRefusal(ListAction action, const std::string& queRZT);

}  // namespace mlk
