#pragma once

#include <string>
#include <string_view>

#include "db/Sqlite.h"

namespace mlk {

// One paged list statement, built from its parts: the select, from, where and order parts, and
// conditions appended to the where part in the order the filters are read. Values are bound,
// never spliced. Every list window with a pager (the entry lists, the import windows, the
// selection from initial data) builds its statements with it.
class ListQueryBuilder {
  public:
    ListQueryBuilder(std::string select, std::string from, std::string where, Params whereParams,
                     std::string order);

    // Appends a condition such as " AND JG.JiGMC like ?" with the value for its one "?".
    void AddCondition(std::string_view condition, std::string value);

    // "select count(1) as sl " with the from and where parts.
    std::string CountSQL() const;
    // The select, from, where and order parts and " limit ? offset ?".
    std::string PageSQL() const;
    // The values of the where part (the page statement adds limit and offset).
    const Params& WhereParams() const { return params_; }

    long long Count(Database& db) const;
    // A ready page statement: the caller steps through its rows.
    Statement PageStatement(Database& db, long long pageSize, long long page) const;
    // Every matching row in order, without paging: what a list saves to a file.
    Statement AllRowsStatement(Database& db) const;

  private:
    std::string select_, from_, where_, order_;
    Params params_;
};

// ---- Page arithmetic ----

inline constexpr long long kDefaultPageSize = 15;

struct PageSizeInput {
    long long size = kDefaultPageSize;
    bool fellBack = false;  // the text was not a positive whole number; show the default
};

// The page-size field: a positive whole number (blanks around it allowed), else the default.
PageSizeInput ParsePageSize(std::string_view text);
// The current-page field: a positive whole number, else page 1.
long long ParseCurrentPage(std::string_view text);
// Pages needed for the rows, rounded up; 0 rows need 0 pages.
long long PageCount(long long rows, long long pageSize);
// The page a search shows: the one asked for, or the last page when the new result has fewer
// pages (page 1 when it has none), so that a narrower search never shows an empty page.
long long PageToShow(long long requested, long long pageCount);
// Rows skipped before the page (pages count from 1).
long long PageOffset(long long pageSize, long long page);

struct PagerButtons {
    bool first = true, previous = true, next = true, last = true;
    bool operator==(const PagerButtons&) const = default;
};

// All four enabled, then "首页"/"前一页" off on page 1 and "后一页"/"末页" off on the last page.
// With no rows the page count is 0, so on page 1 "后一页" and "末页" stay on.
PagerButtons PagerButtonStates(long long currentPage, long long pageCount);

// The page a pager button moves to; never before page 1.
enum class PageMove { First, Previous, Next, Last };
long long PageAfterMove(PageMove move, long long currentPage, long long pageCount);

}  // namespace mlk
