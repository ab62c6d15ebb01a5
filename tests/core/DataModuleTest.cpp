#include "TestSupport.h"

namespace mlk::test {
namespace {
class DataModuleTest : public DbTest {};
TEST_F(DataModuleTest, StartsUnregistered) { EXPECT_FALSE(Dm().Unit().ZhuCeBZ); }
}  // namespace
}  // namespace mlk::test
