#include "entry/ListQuery.h"

#include <algorithm>
#include <limits>

#include "text/Text.h"

namespace mlk {

ListQueryBuilder::ListQueryBuilder(std::string select, std::string from, std::string where,
                                   Params whereParams, std::string order)
    : select_(std::move(select)),
      from_(std::move(from)),
      where_(std::move(where)),
      order_(std::move(order)),
      params_(std::move(whereParams)) {}

void ListQueryBuilder::AddCondition(std::string_view condition, std::string value) {
    where_ += condition;
    params_.push_back(std::move(value));
}

std::string ListQueryBuilder::CountSQL() const {
    return "select count(1) as sl " + from_ + where_;
}

std::string ListQueryBuilder::PageSQL() const {
    return select_ + from_ + where_ + order_ + " limit ? offset ?";
}

long long ListQueryBuilder::Count(Database& db) const {
    Statement query(db, CountSQL());
    query.BindAll(params_);
    return query.Step() ? query.Int("sl") : 0;
}

Statement ListQueryBuilder::PageStatement(Database& db, long long pageSize, long long page) const {
    Statement query(db, PageSQL());
    query.BindAll(params_);
    const int next = int(params_.size()) + 1;
    query.Bind(next, pageSize);
    query.Bind(next + 1, PageOffset(pageSize, page));
    return query;
}

Statement ListQueryBuilder::AllRowsStatement(Database& db) const {
    Statement query(db, select_ + from_ + where_ + order_);
    query.BindAll(params_);
    return query;
}

PageSizeInput ParsePageSize(std::string_view text) {
    long long size = 0;
    if (ParseInt(Trim(text), size) && size > 0)
        return {size, false};
    return {kDefaultPageSize, true};
}

long long ParseCurrentPage(std::string_view text) {
    long long page = 0;
    return ParseInt(Trim(text), page) && page > 0 ? page : 1;
}

long long PageCount(long long rows, long long pageSize) {
    if (rows <= 0 || pageSize <= 0)
        return 0;
    return rows / pageSize + (rows % pageSize != 0);
}

long long PageToShow(long long requested, long long pageCount) {
    return std::clamp(requested, 1LL, std::max(pageCount, 1LL));
}

long long PageOffset(long long pageSize, long long page) {
    // Past any row there can be, without overflowing.
    const long long before = std::max(page, 1LL) - 1;
    return before > 0 && pageSize > std::numeric_limits<long long>::max() / before
               ? std::numeric_limits<long long>::max()
               : pageSize * before;
}

PagerButtons PagerButtonStates(long long currentPage, long long pageCount) {
    PagerButtons buttons;
    if (currentPage == 1)
        buttons.first = buttons.previous = false;
    if (currentPage == pageCount)
        buttons.last = buttons.next = false;
    return buttons;
}

long long PageAfterMove(PageMove move, long long currentPage, long long pageCount) {
    long long page = currentPage;
    switch (move) {
        case PageMove::First:
            page = 1;
            break;
        case PageMove::Previous:
            page = currentPage - 1;
            break;
        case PageMove::Next:
            page = currentPage + 1;
            break;
        case PageMove::Last:
            page = pageCount;
            break;
    }
    return std::max(page, 1LL);
}

}  // namespace mlk
