#include <cstdlib>

#include "TestSupport.h"
#include "data/GGJG.h"
#include "data/Platform.h"
#include "data/Text.h"

namespace mlk::test {
namespace {

class ListCommandTest : public DbTest {
  protected:
    void AddEntry(const std::string& name, const std::string& node, const std::string& confirmed) {
        GGJG r;
        r.JiGID = "110101" + TMainDM::NewID();
        r.JiGMC = name;
        r.JieDLB = node;
        r.QueRZT = confirmed;
        r.ShuJLY = "0";
        r.ShangJBMID = Dm().Unit().DanWID;
        r.Insert(Dm());
    }

    // Runs mlk with the arguments; returns its exit code and keeps its output lines.
    int Run(const std::string& arguments) {
        const std::filesystem::path out = dir_ / "out.txt";
        const std::string command = std::string("\"") + MLK_CLI_PATH + "\" --db \"" +
                                    PathText(dir_ / "GGJGMLK.DB") + "\" " + arguments + " > \"" +
                                    PathText(out) + "\" 2>&1";
        const int code = std::system(command.c_str());
        lines_ = SplitText(ReadFile(out), '\n');
        return code;
    }

    std::vector<std::string> lines_;
};

TEST_F(ListCommandTest, PrintsTheFilteredEntriesOfAKind) {
    RegisterUnit("0");
    AddEntry("甲局", "1", "1");
    AddEntry("乙局", "1", "0");
    AddEntry("节能中心", "0", "0");
    dm_.reset();

    struct Case {
        const char* arguments;
        std::size_t rows;
        const char* firstName;
    } cases[] = {
        {"list departments", 2, nullptr},
        {"list institutions --confirm-state 1", 1, "甲局"},
        {"list departments --name 乙", 1, "乙局"},
        {"list agencies", 1, "节能中心"},
        {"list departments --page 2 --page-size 1", 1, nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Run(c.arguments), 0) << c.arguments;
        ASSERT_EQ(lines_.size(), c.rows + 1) << c.arguments;
        EXPECT_EQ(SplitText(lines_[0], '\t')[0], "序号");
        const std::vector<std::string> cells = SplitText(lines_[1], '\t');
        EXPECT_EQ(cells[0], "1");
        if (c.firstName) {
            EXPECT_EQ(cells[2], c.firstName) << c.arguments;
        }
    }
}

TEST_F(ListCommandTest, RefusesAnUnknownKindAndAnUnregisteredUnit) {
    dm_.reset();
    EXPECT_NE(Run("list departments"), 0);
    EXPECT_NE(lines_.at(0).find("尚未注册"), std::string::npos);
    EXPECT_NE(Run("list nothing"), 0);
}

}  // namespace
}  // namespace mlk::test
