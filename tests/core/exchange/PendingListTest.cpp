#include "Fixtures.h"
#include "exchange/PendingList.h"

namespace mlk::test {
namespace {

class PendingListTest : public SampleDirectoryTest {
  protected:
    std::vector<std::string> Ids(PendingKind kind, const PendingFilter& filter) {
        const ListQueryBuilder query = PendingListQuery(kind, filter);
        std::vector<std::string> ids;
        Statement page = query.PageStatement(Dm().Db(), 15, 1);
        while (page.Step())
            ids.push_back(page.Text("JiGID"));
        EXPECT_EQ(query.Count(Dm().Db()), long(ids.size()));
        return ids;
    }
};

TEST_F(PendingListTest, FiltersInOrder) {
    using V = std::vector<std::string>;
    const struct {
        PendingKind kind;
        PendingFilter filter;
        V ids;
    } cases[] = {
        {PendingKind::Departments, {}, V{"T4", "T2", "T1"}},  // not imported first
        {PendingKind::Agencies, {}, V{"A1"}},
        {PendingKind::Departments, {"卫生", "", "", ""}, V{"T2"}},
        {PendingKind::Departments, {"", "0", "", ""}, V{"T4"}},
        {PendingKind::Departments, {"", "", "1", ""}, V{"T2"}},
        {PendingKind::Departments, {"", "", "", "8210"}, V{"T1"}},
        {PendingKind::Agencies, {"", "", "", "8210"}, V{"A1"}},  // agencies have no type filter
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ids(c.kind, c.filter), c.ids) << c.filter.name;
}

}  // namespace
}  // namespace mlk::test
