// The initial-data import and the selection from it into the directory.
#include <QComboBox>
#include <QProgressBar>
#include <QTableWidget>

#include "WindowTest.h"
#include "data/Gbk.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/entry/TForm22XuanZGGJG.h"

namespace mlk::test {
namespace {

std::string Line(const std::string& id, const std::string& name, const std::string& county) {
    return id + "," + name + ",x,北京市,市辖区," + county + ",x,x,人民路,x,x,x,x\r\n";
}

class InitialWindowsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        Open("1");
    }
    QString WriteInitial(const std::string& utf8) {
        WriteFile(dir_ / "下发数据.txt", Utf8ToGbk(utf8));
        return QString::fromStdString((dir_ / "下发数据.txt").string());
    }
};

// Loaded initial data is removed first; then a file loads once, and a bad file leaves the window
// and the table as they were.
TEST_F(InitialWindowsTest, ImportWindowRemovesThenLoadsOnce) {
    {
        ui::TForm21DaoRYSSJ window(Dm());
        EXPECT_FALSE(Enabled(&window, "Button1") || Enabled(&window, "Button2"));
        Click(&window, "btDeleteData");
        EXPECT_EQ(dialogs_.LastMessage(), "成功删除已导入的数据！");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(Count("MLK_YuanJGXX"), 0);
    }
    ui::TForm21DaoRYSSJ window(Dm());
    EXPECT_FALSE(Enabled(&window, "btDeleteData") || Enabled(&window, "Button2"));
    Click(&window, "Button1");  // cancelled: nothing changes
    EXPECT_FALSE(Enabled(&window, "Button2"));

    dialogs_.openFiles.push_back(WriteInitial(Line("A1", "一中", "东城区") + "\r\nA2,x\r\n"));
    Click(&window, "Button1");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.errors, QStringList{"第2行：数据项不正确，数据项不为13个"});
    EXPECT_EQ(window.result(), 0) << "the window stays open";
    EXPECT_EQ(Count("MLK_YuanJGXX"), 0);

    dialogs_.openFiles.push_back(WriteInitial(
        Line("A1", "一中", "东城区") + Line("A2", "", "东城区") + Line("A3", "三中", "西城区")));
    Click(&window, "Button1");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.LastMessage(),
              "已成功导入2条机构信息数据。\n另有1行因机构ID、名称、省、市或县为空未导入：第2行。");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Find<QProgressBar>(&window, "ProgressBar1")->value(), 1000);
    EXPECT_EQ(Count("MLK_YuanJGXX"), 2);
    Click(&window, "Button2");  // loaded meanwhile: refused, nothing more
    EXPECT_EQ(dialogs_.LastMessage(), "初始数据已导入，不能再次导入!");
}

// The filters reach the search as the boxes show them. Rows not yet in the directory are ticked
// by click or Space, several at once; another page loses the ticks; the ticked rows are added,
// those whose county is unknown stay out.
TEST_F(InitialWindowsTest, SelectionTicksNewRowsAndAddsThem) {
    AddInitialRow(Dm(), "C4", "第四中学", "北京市", "市辖区", "不存在区");
    ui::TForm22XuanZGGJG window(Dm());
    Type(&window, {{"EDJiGMC", "中学"}, {"EDPageSize", "0"}});  // 0 falls back to 15
    Choose(&window, "cbXuanZBZ", "0-");
    Click(&window, "BTSearch");
    EXPECT_EQ(ShownRows(&window, 2), (QStringList{"第四中学", "第二中学"}));
    EXPECT_EQ(TextOf(&window, "EDPageSize"), "15");
    Find<QComboBox>(&window, "cbXuanZBZ")->setEditText("1");  // typed, not chosen, filters too
    Click(&window, "BTSearch");
    EXPECT_EQ(ShownRows(&window, 2), QStringList{"第三中学"});

    Type(&window, {{"EDJiGMC", ""}, {"EDPageSize", "2"}});
    Choose(&window, "cbXuanZBZ", "--全部--");
    Click(&window, "BTSearch");
    ClickRow(&window, 0);  // 不存在区 sorts first
    Click(&window, "BTNext");
    Click(&window, "BTPre");
    EXPECT_FALSE(Ticked(&window, 0));
    EXPECT_TRUE(Enabled(&window, "BTXuanZ"));
    Click(&window, "BTXuanZ");  // nothing ticked: nothing happens
    EXPECT_TRUE(dialogs_.confirms.isEmpty());

    Type(&window, "EDPageSize", "4");
    Click(&window, "BTSearch");
    EXPECT_EQ(ListOf(&window)->item(3, 2)->text() + ListOf(&window)->item(3, 8)->text(),
              "第三中学已入库");
    ClickRow(&window, 3);  // already in the directory: stays unticked
    ClickRow(&window, 0);
    Press(&window, "lvJGLB", Qt::Key_Down);
    Press(&window, "lvJGLB", Qt::Key_Space);
    Press(&window, "lvJGLB", Qt::Key_Down);
    Press(&window, "lvJGLB", Qt::Key_Space);
    Press(&window, "lvJGLB", Qt::Key_Space);  // unticked again
    EXPECT_EQ(QString("%1%2%3%4")
                  .arg(Ticked(&window, 0))
                  .arg(Ticked(&window, 1))
                  .arg(Ticked(&window, 2))
                  .arg(Ticked(&window, 3)),
              "1100");
    dialogs_.confirmAnswers = {false};
    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.confirms.last(), "是否确认: 确认将选择的 (2) 条机构信息添加到名录库中？");
    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.LastMessage(),
              "1条机构信息成功添加到名录库中！\n1条机构的省、市、县在行政区划中找不到，未添加，"
              "仍为未入库：第四中学。");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Column("C1", "XingZQH"), "110101");
    EXPECT_EQ(Dm().QueryText("select XuanZBZ from MLK_YuanJGXX where ID = 'C4'"), "0");
}

}  // namespace
}  // namespace mlk::test
