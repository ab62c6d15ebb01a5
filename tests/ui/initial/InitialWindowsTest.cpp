// The initial-data import, the selection into the directory and the division tree, driven as
// widgets with the dialogs recorded.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "data/Gbk.h"
#include "entry/InitialData.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/entry/TForm22XuanZGGJG.h"
#include "ui/setup/TForm12XingZQH.h"

namespace mlk::test {
namespace {

template <class T = QWidget>
T* Find(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
void Click(QWidget* window, const char* name) {
    Find<QPushButton>(window, name)->click();
}
bool Enabled(QWidget* window, const char* name) {
    return Find(window, name)->isEnabled();
}

std::string Line(const std::string& id, const std::string& name, const std::string& county,
                 const std::string& address = "人民路") {
    return id + "," + name + ",x,北京市,市辖区," + county + ",x,x," + address + ",x,x,x,x\r\n";
}

class InitialWindowsTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("1", "110101", "东城区教育局");
    }
    QString WriteInitial(const std::string& utf8) {
        const auto path = dir_ / "下发数据.txt";
        WriteFile(path, Utf8ToGbk(utf8));
        return QString::fromStdString(path.string());
    }
    long long Count(const char* sql) { return Dm().QueryInt(sql); }
    void LoadInitialDataForTest(const std::string& utf8) {
        const auto path = dir_ / "load.txt";
        WriteFile(path, Utf8ToGbk(utf8));
        LoadInitialData(Dm(), path);
    }
    RecordingDialogs dialogs_;
};

TEST_F(InitialWindowsTest, ImportWindowLoadsOnceAndRemoves) {
    {
        ui::TForm21DaoRYSSJ window(Dm());
        EXPECT_EQ(window.windowTitle(), "导入初始数据");
        EXPECT_EQ(window.size(), QSize(500, 250));
        EXPECT_TRUE(Enabled(&window, "Button1"));
        EXPECT_FALSE(Enabled(&window, "Button2"));
        EXPECT_FALSE(Enabled(&window, "btDeleteData"));

        Click(&window, "Button1");  // cancelled: nothing changes
        EXPECT_FALSE(Enabled(&window, "Button2"));
        EXPECT_EQ(dialogs_.fileCaptions.size(), 1);

        dialogs_.openFiles.push_back(WriteInitial(Line("A1", "一中", "东城区") +
                                                  Line("A2", "", "东城区") +
                                                  Line("A3", "三中", "西城区")));
        Click(&window, "Button1");
        EXPECT_TRUE(Enabled(&window, "Button2"));
        Click(&window, "Button2");
        EXPECT_EQ(
            dialogs_.LastMessage(),
            "已成功导入2条机构信息数据。\n另有1行因机构ID、名称、省、市或县为空未导入：第2行。");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(Find<QProgressBar>(&window, "ProgressBar1")->value(), 1000);
    }
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 2);
    {
        ui::TForm21DaoRYSSJ window(Dm());
        EXPECT_FALSE(Enabled(&window, "Button1"));
        EXPECT_FALSE(Enabled(&window, "Button2"));
        EXPECT_TRUE(Enabled(&window, "btDeleteData"));
        Click(&window, "btDeleteData");
        EXPECT_EQ(dialogs_.LastMessage(), "成功删除已导入的数据！");
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 0);
}

TEST_F(InitialWindowsTest, ImportWindowKeepsItsStateOnErrors) {
    ui::TForm21DaoRYSSJ window(Dm());
    dialogs_.openFiles.push_back(WriteInitial(Line("A1", "一中", "东城区") + "\r\nA2,x\r\n"));
    Click(&window, "Button1");
    Click(&window, "Button2");
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_EQ(dialogs_.errors[0], "第2行：数据项不正确，数据项不为13个");
    EXPECT_EQ(window.result(), 0) << "the window stays open";
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 0);

    // The chosen file vanished before the import.
    std::filesystem::remove(dir_ / "下发数据.txt");
    Click(&window, "Button2");
    ASSERT_EQ(dialogs_.errors.size(), 2);
    EXPECT_TRUE(dialogs_.errors[1].endsWith("下发数据.txt：文件不存在"))
        << dialogs_.errors[1].toStdString();
    EXPECT_EQ(window.result(), 0);

    // Loaded meanwhile by someone else: refused with a message, nothing more.
    Dm().ExecSQL("insert into MLK_YuanJGXX (ID) values ('X')");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.LastMessage(), "初始数据已导入，不能再次导入!");
    EXPECT_EQ(Count("select count(*) from MLK_YuanJGXX"), 1);
}

TEST_F(InitialWindowsTest, SelectionTicksOnlyNewRowsAndAddsThem) {
    std::string text;
    for (int i = 1; i <= 12; ++i) {
        const std::string n = std::to_string(100 + i);
        text += Line("B" + n, "学校" + n, i == 3 ? "不存在区" : "东城区", "路" + n);
    }
    LoadInitialDataForTest(text);
    Dm().ExecSQL("update MLK_YuanJGXX set XuanZBZ = '1' where ID = 'B102'");

    ui::TForm22XuanZGGJG window(Dm());
    EXPECT_EQ(window.windowTitle(), "选择公共机构");
    EXPECT_EQ(window.size(), QSize(775, 555));
    EXPECT_EQ(Find<QLineEdit>(&window, "EDPageSize")->text(), "30");
    EXPECT_EQ(Find<QComboBox>(&window, "cbXuanZBZ")->currentText(), "--全部--");
    EXPECT_FALSE(Enabled(&window, "BTXuanZ"));
    QTableWidget* list = Find<QTableWidget>(&window, "lvJGLB");
    EXPECT_EQ(list->columnCount(), 10);

    Find<QLineEdit>(&window, "EDPageSize")->setText("5");
    Click(&window, "BTSearch");
    ASSERT_EQ(list->rowCount(), 5);
    EXPECT_EQ(Find<QLineEdit>(&window, "EDCount")->text(), "12");
    EXPECT_EQ(Find<QLineEdit>(&window, "EDPageCount")->text(), "3");
    // 不存在区 sorts before 东城区.
    EXPECT_EQ(list->item(0, 2)->text(), "学校103");
    EXPECT_EQ(list->item(1, 2)->text(), "学校101");
    EXPECT_EQ(list->item(2, 8)->text(), "已入库");

    emit list->cellClicked(2, 2);  // already in the directory: stays unticked
    EXPECT_EQ(list->item(2, 0)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(Enabled(&window, "BTXuanZ"));
    emit list->cellClicked(0, 2);
    emit list->cellClicked(1, 2);
    emit list->cellClicked(3, 2);
    emit list->cellClicked(3, 2);  // unticked again
    EXPECT_TRUE(Enabled(&window, "BTXuanZ"));

    dialogs_.confirmAnswers.push_back(false);
    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.confirms.last(), "是否确认: 确认将选择的 (2) 条机构信息添加到名录库中？");
    EXPECT_EQ(Count("select count(*) from MLK_JiBXX"), 0);

    Click(&window, "BTXuanZ");
    EXPECT_EQ(dialogs_.LastMessage(),
              "1条机构信息成功添加到名录库中！\n1条机构的省、市、县在行政区划中找不到，未添加，"
              "仍为未入库：学校103。");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(Dm().QueryText("select XingZQH from MLK_JiBXX where JiGID = 'B101'"), "110101");
    EXPECT_EQ(Dm().QueryText("select XuanZBZ from MLK_YuanJGXX where ID = 'B103'"), "0");
}

TEST_F(InitialWindowsTest, SelectionFiltersAndLosesTicksOnAnotherPage) {
    LoadInitialDataForTest(Line("C1", "第一小学", "东城区", "和平路") +
                           Line("C2", "第二中学", "东城区", "和平街") +
                           Line("C3", "第三中学", "西城区", "长安街"));
    Dm().ExecSQL("update MLK_YuanJGXX set XuanZBZ = '1' where ID = 'C3'");
    ui::TForm22XuanZGGJG window(Dm());
    QTableWidget* list = Find<QTableWidget>(&window, "lvJGLB");
    struct Case {
        const char *name, *address, *state;
        int rows;
    };
    const Case cases[] = {{"中学", "", "--全部--", 2}, {"", "和平", "--全部--", 2},
                          {"", "", "0-未入库", 2},     {"", "", "1-已入库", 1},
                          {"中学", "", "0-未入库", 1}, {"", "", "--全部--", 3}};
    for (const Case& c : cases) {
        Find<QLineEdit>(&window, "EDJiGMC")->setText(QString::fromUtf8(c.name));
        Find<QLineEdit>(&window, "EDDiZhi")->setText(QString::fromUtf8(c.address));
        QComboBox* state = Find<QComboBox>(&window, "cbXuanZBZ");
        state->setCurrentIndex(state->findText(QString::fromUtf8(c.state)));
        Click(&window, "BTSearch");
        EXPECT_EQ(list->rowCount(), c.rows) << c.name << c.address << c.state;
    }
    // A page size of 0 falls back to the default.
    Find<QLineEdit>(&window, "EDPageSize")->setText("0");
    Click(&window, "BTSearch");
    EXPECT_EQ(list->rowCount(), 3);
    EXPECT_EQ(Find<QLineEdit>(&window, "EDPageSize")->text(), "15");

    Find<QLineEdit>(&window, "EDPageSize")->setText("2");
    Click(&window, "BTSearch");
    emit list->cellClicked(0, 2);
    Click(&window, "BTNext");
    Click(&window, "BTPre");
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(Enabled(&window, "BTXuanZ"));
    Click(&window, "BTXuanZ");  // nothing ticked: nothing happens
    EXPECT_TRUE(dialogs_.confirms.isEmpty());
    EXPECT_EQ(window.result(), 0);
}

QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name)
            return parent->child(i);
    }
    return nullptr;
}

QTreeWidgetItem* TopNode(QTreeWidget* tree, const QString& name) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == name)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

TEST_F(InitialWindowsTest, DivisionTreeLoadsLazilyAndAddsChildren) {
    ui::TForm12XingZQH window(Dm());
    EXPECT_EQ(window.windowTitle(), "行政区划维护");
    EXPECT_EQ(window.size(), QSize(468, 430));
    auto* tree = Find<QTreeWidget>(&window, "TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 31);
    EXPECT_FALSE(Find<QPushButton>(&window, "Button2")->isVisibleTo(&window));

    Click(&window, "Button1");
    EXPECT_EQ(dialogs_.LastMessage(), "请选择一个上级行政区划");

    // A province never expanded gets a new city first, then is expanded.
    QTreeWidgetItem* hebei = TopNode(tree, "河北省");
    ASSERT_NE(hebei, nullptr);
    EXPECT_EQ(hebei->childCount(), 0);
    tree->setCurrentItem(hebei);
    EXPECT_EQ(Find<QLineEdit>(&window, "EDCode")->text(), "130000");
    EXPECT_FALSE(Enabled(&window, "EDName"));
    Click(&window, "Button1");
    EXPECT_FALSE(tree->isEnabled());
    EXPECT_TRUE(Enabled(&window, "EDCode"));
    EXPECT_TRUE(Find<QPushButton>(&window, "Button2")->isVisibleTo(&window));
    EXPECT_EQ(Find<QLineEdit>(&window, "EDCode")->text(), "");

    // Only digits can be typed; pasted text is checked on saving.
    QTest::keyClicks(Find<QLineEdit>(&window, "EDCode"), "13a9b9c0d0");
    EXPECT_EQ(Find<QLineEdit>(&window, "EDCode")->text(), "139900");
    Find<QLineEdit>(&window, "EDName")->setText("新城市");
    Find<QLineEdit>(&window, "EDCode")->setText("13990x");
    Click(&window, "Button2");
    EXPECT_EQ(dialogs_.LastMessage(), "行政区划只能由0到9的数字组成");
    EXPECT_FALSE(tree->isEnabled()) << "a failed check keeps the adding state";
    Find<QLineEdit>(&window, "EDCode")->setText("139900");
    Click(&window, "Button2");
    EXPECT_TRUE(tree->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(&window, "Button2")->isVisibleTo(&window));
    EXPECT_EQ(tree->currentItem()->text(0), "新城市");

    const int stored =
        int(Dm().QueryInt("select count(*) from MLK_XingZQH where parentCode = '130000'"));
    hebei->setExpanded(true);
    EXPECT_EQ(hebei->childCount(), stored) << "all stored cities, the new one once";
    EXPECT_NE(Child(hebei, "石家庄市"), nullptr);
    EXPECT_EQ(hebei->child(hebei->childCount() - 1)->text(0), "新城市");

    // A following "新增" adds under the new city, as a county.
    Click(&window, "Button1");
    Find<QLineEdit>(&window, "EDName")->setText("新县");
    Find<QLineEdit>(&window, "EDCode")->setText("139901");
    Click(&window, "Button2");
    EXPECT_EQ(Dm().QueryText("select XZJB from MLK_XingZQH where code = '139901'"), "县");
    EXPECT_EQ(Dm().CountyItems("139900").back(), "139901-新县");

    // Nothing under a county; cancelling returns to browsing on the same node.
    Click(&window, "Button1");
    EXPECT_EQ(dialogs_.LastMessage(), "不可以新增区县以下的行政区划");
    tree->setCurrentItem(hebei);
    Click(&window, "Button1");
    Click(&window, "Button3");
    EXPECT_TRUE(tree->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(&window, "EDName")->text(), "河北省");
}

}  // namespace
}  // namespace mlk::test
