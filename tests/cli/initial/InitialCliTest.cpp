// The initial-data, selection and division commands.
#include "MlkRunner.h"

namespace mlk::test {
namespace {

TEST_F(CliTest, SelectsByIdSkippingRowsAlreadyAddedAndRemovesTheInitialData) {
    // A folder is no file: refused with the reason.
    EXPECT_NE(Run("load-initial .").err.find("：这是一个文件夹，不是文件"), std::string::npos);
    WriteFile(dir_ / "下发.txt", Utf8ToGbk("A1,东城一中,x,北京市,市辖区,东城区,x,x,路1,x,x,x,x\r\n"
                                           "A2,火星学校,x,火星省,甲市,乙县,x,x,路2,x,x,x,x\r\n"));
    EXPECT_EQ(Run("load-initial 下发.txt").out, "已成功导入2条机构信息数据。\n");
    EXPECT_EQ(Run("select --all-unselected").err, "操作单位尚未注册，不能添加到名录库。\n");
    Run("register --name 单位 --level 4 --county 110101 --type 1 --person 张三");
    EXPECT_EQ(Run("select --ids A1").out, "1条机构信息成功添加到名录库中！\n");
    const MlkRun again = Run("select --ids A1,A2");
    EXPECT_EQ(again.err.rfind("已入库，跳过：A1 东城一中\n", 0), 0u);
    EXPECT_EQ(again.out.rfind(
                  "0条机构信息成功添加到名录库中！\n1条机构的省、市、县在行政区划中找不到", 0),
              0u)
        << again.out;
    EXPECT_EQ(Run("remove-initial").out, "成功删除已导入的数据！\n");
}

TEST_F(CliTest, AddsDivisionsWithTheWindowsChecks) {
    EXPECT_EQ(Run("add-division --parent 130000 --code 139900 --name 新市").out,
              "已新增市：139900 新市（上级：130000 河北省）\n");
    EXPECT_EQ(Run("add-division --parent 139900 --code 139901 --name 新县").code, 0);
    EXPECT_EQ(TMainDM(Db()).CountyItems("139900").back(), "139901-新县");
    EXPECT_EQ(Run("add-division --parent 139901 --code 139902 --name 下面").err,
              "不可以新增区县以下的行政区划\n");
}

}  // namespace
}  // namespace mlk::test
