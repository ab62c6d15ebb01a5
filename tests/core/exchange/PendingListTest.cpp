#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/PendingList.h"

namespace mlk::test {
namespace {

class PendingListTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        AddPending(Dm(), "D1", "东城区教育局");
        AddPending(Dm(), "D2", "东城区卫生局");
        AddPending(Dm(), "A1", "东城区节能机构", "0");
        Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT='1', JiGLX='8210' where JiGID='D2'");
    }
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
        {PendingKind::Departments, {}, V{"D1", "D2"}},
        {PendingKind::Agencies, {}, V{"A1"}},
        {PendingKind::Departments, {"卫生", "", "", ""}, V{"D2"}},
        {PendingKind::Departments, {"", "0", "", ""}, V{"D1"}},
        {PendingKind::Departments, {"", "", "1", ""}, V{}},
        {PendingKind::Departments, {"", "", "", "8210"}, V{"D2"}},
        {PendingKind::Agencies, {"", "", "", "8210"}, V{"A1"}},  // agencies have no type filter
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ids(c.kind, c.filter), c.ids) << c.filter.name;
}

}  // namespace
}  // namespace mlk::test
