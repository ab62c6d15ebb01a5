#include "TestSupport.h"
#include "entry/EntryList.h"

namespace mlk::test {
namespace {

// No page 0 and no empty page: a narrower search shows its last page, a page size that is no
// positive whole number falls back to 15.
TEST(PageArithmetic, PagesPageSizesAndPagerButtons) {
    const long long counts[][3] = {{0, 15, 0}, {15, 15, 1}, {16, 15, 2}, {5, 1, 5}};
    for (const auto& [rows, size, pages] : counts)
        EXPECT_EQ(PageCount(rows, size), pages) << rows;
    const long long shown[][3] = {{2, 3, 2}, {3, 3, 3}, {2, 1, 1}, {5, 3, 3}, {2, 0, 1}, {1, 0, 1}};
    for (const auto& [requested, pages, page] : shown)
        EXPECT_EQ(PageToShow(requested, pages), page) << requested << "/" << pages;
    const std::pair<const char*, long long> sizes[] = {
        {"15", 15}, {" 20 ", 20}, {"1", 1},
        {"", 0},    {"0", 0},     {"-5", 0},
        {"abc", 0}, {"2.5", 0},   {"99999999999999999999", 0}};
    for (const auto& [text, size] : sizes) {
        const PageSizeInput input = ParsePageSize(text);
        EXPECT_EQ(input.size, size ? size : 15) << text;
        EXPECT_EQ(input.fellBack, size == 0) << text;
    }
    for (const auto& [text, page] : {std::pair{"", 1}, {"0", 1}, {" 3", 3}})
        EXPECT_EQ(ParseCurrentPage(text), page) << text;
    const std::pair<std::pair<long long, long long>, PagerButtons> buttons[] = {
        {{1, 0}, {false, false, true, true}},  // no rows
        {{1, 1}, {false, false, false, false}}, {{1, 3}, {false, false, true, true}},
        {{2, 3}, {true, true, true, true}},     {{3, 3}, {true, true, false, false}},
        {{5, 3}, {true, true, true, true}},  // beyond the pages after a narrower search
    };
    for (const auto& [at, states] : buttons)
        EXPECT_EQ(PagerButtonStates(at.first, at.second), states) << at.first << "/" << at.second;
    EXPECT_EQ(PageAfterMove(PageMove::Last, 1, 0), 1);
    EXPECT_EQ(PageAfterMove(PageMove::Previous, 1, 3), 1);
}

class EntryListTest : public SampleDirectoryTest {
  protected:
    std::vector<std::string> Names(EntryListKind kind, const EntryFilters& filters = {}) {
        const ListQueryBuilder query = EntryListQuery(kind, Dm().Unit().DanWID, filters);
        Statement rows = query.PageStatement(Dm().Db(), 15, 1);
        std::vector<std::string> names;
        while (rows.Step())
            names.push_back(EntryCells(kind, rows, Dm().Codes()).at(1));
        return names;
    }
};

// Never imported rows or another unit's; in display order.
TEST_F(EntryListTest, ListsOnlyTheUnitsOwnEntriesOfTheKindInOrder) {
    InsertSampleRow(Dm(), SampleRow{"X1", "他单位", "0", "OTHER", "", "1", "8210", 1, 0});
    using V = std::vector<std::string>;
    const V all = {"教育局全称", "卫生局全称", "文化局全称", "民政局全称"};
    EXPECT_EQ(Names(EntryListKind::SubordinateInstitutions), all);
    EXPECT_EQ(Names(EntryListKind::Agencies), (V{"朝阳节能中心全称", "西城节能中心全称"}));
    struct Case {
        void (*set)(EntryFilters&);
        V names;
    } cases[] = {
        {[](EntryFilters&) {}, all},
        {[](EntryFilters& f) { f.name = "卫生"; }, {"卫生局全称"}},
        {[](EntryFilters& f) { f.name = "  "; }, all},
        {[](EntryFilters& f) { f.name = "'"; }, {}},
        {[](EntryFilters& f) { f.queRZT = "1-已确认"; },
         {"教育局全称", "卫生局全称", "民政局全称"}},
        {[](EntryFilters& f) { f.queRZT = "0-未确认"; }, {"文化局全称"}},
        {[](EntryFilters& f) { f.jiGLX = "8610-图书馆"; }, {"文化局全称"}},
        {[](EntryFilters& f) { f.xingZJB = "5-副县(处)级"; }, {}},
        {[](EntryFilters& f) { f.caiZJFSY = "0-全额财政"; }, all},
        {[](EntryFilters& f) { f.gengXZT = "1-修改"; }, {}},
    };
    for (const Case& c : cases) {
        EntryFilters filters;
        c.set(filters);
        EXPECT_EQ(Names(EntryListKind::SameLevelDepartments, filters), c.names) << filters.name;
    }
}

TEST_F(EntryListTest, CellsFollowTheColumnsAndCarryTheConfirmCode) {
    for (EntryListKind kind : {EntryListKind::SameLevelDepartments, EntryListKind::Agencies,
                               EntryListKind::SubordinateInstitutions}) {
        const ListQueryBuilder query = EntryListQuery(kind, Dm().Unit().DanWID, {});
        Statement rows = query.PageStatement(Dm().Db(), 15, 1);
        ASSERT_TRUE(rows.Step());
        const std::vector<std::string> cells = EntryCells(kind, rows, Dm().Codes());
        ASSERT_EQ(cells.size() + 1, EntryColumnDescriptions(kind).size());
        EXPECT_EQ(cells[std::size_t(ConfirmCodeCell(kind))], "1");
        EXPECT_EQ(cells[2 + (kind == EntryListKind::Agencies ? 0 : 2)], "北京市市辖区东城区");
        if (kind == EntryListKind::SameLevelDepartments) {
            EXPECT_EQ(cells[10] + cells[11] + cells[12] + cells[13], "高等教育全额财政已确认新增");
        }
    }
}

}  // namespace
}  // namespace mlk::test
