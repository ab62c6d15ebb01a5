// The initial-data, selection and division commands, run as the built program.
#include "MlkRunner.h"
#include "data/Gbk.h"
#include "data/Platform.h"

namespace mlk::test {
namespace {

class InitialCliTest : public CliTest {
  protected:
    MlkRun LoadInitial(const std::string& utf8) {
        const auto path = dir_ / "下发.txt";
        WriteFile(path, Utf8ToGbk(utf8));
        return Run({"load-initial", PathText(path)});
    }
    long long Count(const std::string& sql) { return TMainDM(Db()).QueryInt(sql); }
};

const char* const kThreeLines =
    "A1,东城一中,x,北京市,市辖区,东城区,x,x,路1,x,x,x,x\r\n"
    "A2,火星学校,x,火星省,甲市,乙县,x,x,路2,x,x,x,x\r\n"
    "A3,,x,北京市,市辖区,东城区,x,x,路3,x,x,x,x\r\n"
    "A4,西城二中,x,北京市,市辖区,西城区,x,x,路4,x,x,x,x\r\n";

TEST_F(InitialCliTest, LoadsSelectsAndRemoves) {
    // A wrong line is reported and nothing is written.
    MlkRun r = LoadInitial("A1,名称,x\r\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("A1,名称,x数据项不正确，数据项不为13个"), std::string::npos) << r.err;
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 0);
    // A folder is no file: refused with the reason.
    r = Run({"load-initial", PathText(dir_.Path())});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("：这是一个文件夹，不是文件"), std::string::npos) << r.err;

    r = LoadInitial(kThreeLines);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("已成功导入3条机构信息数据。"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("第3行"), std::string::npos);
    r = LoadInitial(kThreeLines);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("初始数据已导入，不能再次导入!"), std::string::npos);

    EXPECT_EQ(Run("select --all-unselected").code, 1) << "an unregistered unit cannot add";
    ASSERT_EQ(Run("register --name 单位 --level 4 --county 110101 --type 1 --person 张三").code, 0);
    r = Run("select --ids A4,A2");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("1条机构信息成功添加到名录库中！"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("火星学校"), std::string::npos);

    r = Run("select --all-unselected --name 一中");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("1条机构信息成功添加到名录库中！"), std::string::npos) << r.out;
    EXPECT_EQ(Count("select count(*) from MLK_JiBXX, MLK_CaoZDWXX where ShangJBMID=DanWID"), 2);
    EXPECT_EQ(TMainDM(Db()).QueryText("select XuanZBZ from MLK_YuanJGXX where ID='A2'"), "0");
    r = Run("select --ids A1");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("已入库，跳过：A1"), std::string::npos) << r.err;
    EXPECT_EQ(Run("select --ids NOPE").code, 1);

    r = Run("remove-initial");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("成功删除已导入的数据！"), std::string::npos);
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 0);
    EXPECT_EQ(Count("select count(*) from MLK_JiBXX"), 2);
}

TEST_F(InitialCliTest, AddsDivisionsWithTheWindowsChecks) {
    struct Case {
        const char* line;
        int code;
        const char* text;  // in stdout on success, in stderr on failure
    } cases[] = {
        {"add-division --parent 110100 --code 110199 --name 新区", 0, "已新增县：110199 新区"},
        {"add-division --parent 130000 --code 139900 --name 新市", 0, "已新增市：139900 新市"},
        {"add-division --parent 139900 --code 139901 --name 新县", 0, "已新增县：139901 新县"},
        {"add-division --parent 110101 --code 110198 --name 下面", 1,
         "不可以新增区县以下的行政区划"},
        {"add-division --parent 999999 --code 999998 --name 无", 1, "上级行政区划不存在"},
        {"add-division --parent 110100 --code 110199 --name 重复", 1, "行政区划已经存在"},
        {"add-division --parent 110100 --code 1101 --name 短", 1, "行政区划长度必须为6位"},
        {"add-division --parent 110100 --code 11a199 --name 字母", 1, "只能由0到9的数字组成"},
        {"add-division --parent 110100 --code 110197", 1, "名称不能为空"},
    };
    for (const Case& c : cases) {
        const MlkRun r = Run(c.line);
        EXPECT_EQ(r.code, c.code) << c.line << r.err;
        EXPECT_NE((c.code ? r.err : r.out).find(c.text), std::string::npos) << c.line << r.err;
    }
    EXPECT_EQ(TMainDM(Db()).CountyItems("139900").back(), "139901-新县");
}

}  // namespace
}  // namespace mlk::test
