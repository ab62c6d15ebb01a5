#include <gtest/gtest.h>

#include "reports/TextRows.h"

namespace mlk::test {
namespace {

// Cells of every length class of the packing come back byte for byte, in their rows, and a row
// put under a new first cell keeps the cells after it.
TEST(TextRowsTest, CellsComeBackAsTheyWentIn) {
    const std::vector<std::vector<std::string>> rows = {
        {},
        {""},
        {"1.2.3", "东城区教育局", std::string(127, 'a'), std::string(128, 'b')},
        {std::string(16383, 'c'), std::string(16384, 'd'), std::string(70000, '\0'), "尾"},
    };
    TextRows packed;
    for (const auto& row : rows)
        packed.push_back(row);
    EXPECT_EQ(packed, rows);
    ASSERT_EQ(packed.size(), rows.size());
    EXPECT_EQ(packed[3][3], "尾");
    EXPECT_EQ(packed[2][2].size(), 127u);

    packed.push_back("3.1", packed[2]);
    std::vector<std::string> expected = rows[2];
    expected.insert(expected.begin(), "3.1");
    EXPECT_EQ(packed.back(), expected);
    packed.resize(2);
    EXPECT_EQ(packed, (std::vector<std::vector<std::string>>{{}, {""}}));
}

}  // namespace
}  // namespace mlk::test
