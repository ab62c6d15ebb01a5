#include "Fixtures.h"

namespace mlk::test {
namespace {

class RecordTest : public DbTest {};

// Values are bound, never spliced: quotes, commas, line ends and tabs come back as given. Every
// column but the two numbers is text, so codes keep their leading zeros.
TEST_F(RecordTest, InsertAndLoadRoundTripKeepsEveryCharacter) {
    GGJG original = SampleRecord("110101ABCDEF0123", "北京市\"第一\"中学, 东城'校区'");
    original.DiZhi_JieD = "东华门街道,1号";
    original.QiT = "多行\r\n备注\t";
    original.ZuZJGDM = "012345678";
    original.JiGLX = "";
    original.ShunX = -7;
    original.Insert(Dm());
    const GGJG loaded = GGJG::LoadByJiGID(Dm(), original.JiGID);
    for (const auto& [got, want] : {std::pair{loaded.JiGMC, original.JiGMC},
                                    {loaded.DiZhi_JieD, original.DiZhi_JieD},
                                    {loaded.QiT, original.QiT},
                                    {loaded.ZuZJGDM, original.ZuZJGDM},
                                    {loaded.JiGLX, std::string("9900")},  // an empty type: none
                                    {std::to_string(loaded.ShunX), std::string("-7")},
                                    {loaded.XingZJBMC + loaded.JieDLBMC, "县(处)级主管部门"}})
        EXPECT_EQ(got, want);
    EXPECT_EQ(Dm().QueryText("select typeof(ShunX) from MLK_JiBXX"), "integer");
    for (std::size_t i = 0; i < 36; ++i) {
        const std::string column = GGJG::kColumns[i];
        EXPECT_EQ(Dm().QueryText("select typeof(" + column + ") from MLK_JiBXX"), "text") << column;
    }
    EXPECT_THROW(original.Insert(Dm()), DbError);
    EXPECT_TRUE(GGJG::LoadByJiGID(Dm(), "nothing").JiGID.empty());
}

}  // namespace
}  // namespace mlk::test
