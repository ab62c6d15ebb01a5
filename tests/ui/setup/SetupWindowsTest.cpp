// The registration window and the division tree, driven as a user drives them.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "WindowTest.h"
#include "ui/setup/TForm11ZhuCe.h"
#include "ui/setup/TForm12XingZQH.h"

namespace mlk::test {
namespace {

class ZhuCeFormTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form_ = std::make_unique<ui::TForm11ZhuCe>(Dm());
        registered_ = std::make_unique<QSignalSpy>(form_.get(), &ui::TForm11ZhuCe::Registered);
    }
    QWidget* Form() { return form_.get(); }

    // An agency at prefecture level in 石家庄市, everything filled in.
    void FillPrefectureAgency() {
        Type(Form(), "editJgmc", "石家庄市节能监察中心");
        Choose(Form(), "cbXingZLSJB", "3-");
        Choose(Form(), "cbXingZQHSS", "130000-");
        Choose(Form(), "cbXingZQHDS", "130100-");
        Choose(Form(), "cbXingZQHXQ", "130102-");
        Choose(Form(), "cbJieDLB", "0-");
        Type(Form(), "editTianBRXM", "张三");
    }

    std::unique_ptr<ui::TForm11ZhuCe> form_;
    std::unique_ptr<QSignalSpy> registered_;
};

TEST_F(ZhuCeFormTest, DivisionListsCascadeAndTheNodeNameFollowsTheType) {
    EXPECT_EQ(Find<QComboBox>(Form(), "cbXingZQHDS")->count(), 0);
    Choose(Form(), "cbXingZQHSS", "130000-");
    Choose(Form(), "cbXingZQHDS", "130100-");
    EXPECT_EQ(TextOf(Form(), "cbXingZQHXQ"), "--全部--");
    // Another province empties the counties and offers its own cities, none chosen; a city
    // without counties is its own only county; "--全部--" changes nothing.
    Choose(Form(), "cbXingZQHSS", "440000-");
    EXPECT_EQ(Find<QComboBox>(Form(), "cbXingZQHXQ")->count(), 0);
    EXPECT_EQ(TextOf(Form(), "cbXingZQHDS"), "--全部--");
    Choose(Form(), "cbXingZQHDS", "441900-");
    EXPECT_EQ(Find<QComboBox>(Form(), "cbXingZQHXQ")->count(), 1);
    EXPECT_EQ(TextOf(Form(), "cbXingZQHXQ"), "441900-东莞市");
    Choose(Form(), "cbXingZQHSS", "--全部--");
    EXPECT_EQ(TextOf(Form(), "cbXingZQHDS"), "441900-东莞市");

    // The node name needs name, level and division first, then follows the type; a new level
    // asks for the type again.
    Type(Form(), "EditJieDMC", "旧名称");
    Choose(Form(), "cbJieDLB", "0-");
    EXPECT_EQ(dialogs_.messages, QStringList{"单位全称不能为空。"});
    EXPECT_EQ(TextOf(Form(), "EditJieDMC"), "");
    FillPrefectureAgency();
    EXPECT_EQ(TextOf(Form(), "EditJieDMC"), "石家庄市");
    Choose(Form(), "cbXingZLSJB", "1-");
    EXPECT_EQ(TextOf(Form(), "cbJieDLB"), "--全部--");
    Choose(Form(), "cbJieDLB", "1-");
    EXPECT_EQ(TextOf(Form(), "EditJieDMC"), "石家庄市节能监察中心");
}

// A failed check registers nothing and focuses its control; Enter presses "确定".
TEST_F(ZhuCeFormTest, EnterRegistersAfterTheChecks) {
    form_->show();
    QApplication::setActiveWindow(Form());
    const struct {
        std::function<void()> change;
        const char *message, *focus;
    } cases[] = {
        {[this] { Choose(Form(), "cbXingZQHSS", "440000-"); }, "行政区划地市不能为空。",
         "cbXingZQHDS"},
        {[this] { Choose(Form(), "cbXingZLSJB", "4-"); }, "单位类型不能为空。", "cbJieDLB"},
        {[this] { Type(Form(), "editTianBRXM", "  "); }, "填表人姓名不能为空。", "editTianBRXM"},
    };
    for (const auto& c : cases) {
        dialogs_.Clear();
        FillPrefectureAgency();
        c.change();
        Press(Form(), "editJgmc", Qt::Key_Return);
        EXPECT_EQ(dialogs_.messages, QStringList{c.message}) << c.focus;
        EXPECT_EQ(QApplication::focusWidget(), Find(Form(), c.focus)) << c.focus;
        EXPECT_EQ(registered_->count(), 0) << c.focus;
    }
    dialogs_.Clear();
    FillPrefectureAgency();
    Press(Form(), "editTianBRXM", Qt::Key_Enter);
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join('\n').toStdString();
    EXPECT_EQ(registered_->count(), 1);
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    EXPECT_EQ(Dm().Unit().DanWID.substr(0, 6) + Dm().Unit().JieDMC, "130102石家庄市");
}

// Esc on typed input asks before the window goes; once registered, the window shows the unit
// locked, with only "关闭", which Enter presses.
TEST_F(ZhuCeFormTest, EscAsksBeforeTypedInputIsLostAndARegisteredUnitIsLocked) {
    form_->show();
    FillPrefectureAgency();
    dialogs_.confirmAnswers = {false};
    Press(Form(), nullptr, Qt::Key_Escape);
    EXPECT_EQ(dialogs_.confirms, QStringList{"是否放弃: 录入的内容尚未保存，是否放弃并关闭窗口？"});
    EXPECT_TRUE(form_->isVisible());
    Click(Form(), "Button1");

    Reopen();
    ui::TForm11ZhuCe shown(Dm());
    EXPECT_FALSE(Shown(&shown, "Button1"));
    EXPECT_TRUE(Find<QPushButton>(&shown, "Button2")->isDefault());
    const std::pair<const char*, const char*> fields[] = {{"editJgmc", "石家庄市节能监察中心"},
                                                          {"EditJieDMC", "石家庄市"},
                                                          {"cbXingZLSJB", "3-地(区、市、州、盟)"},
                                                          {"cbXingZQHXQ", "130102-长安区"},
                                                          {"cbJieDLB", "0-节能管理机构"}};
    for (const auto& [name, shownText] : fields) {
        EXPECT_EQ(TextOf(&shown, name), shownText) << name;
        auto* edit = qobject_cast<QLineEdit*>(Find(&shown, name));
        EXPECT_TRUE(edit ? edit->isReadOnly() : !Enabled(&shown, name)) << name;
    }
}

class DivisionWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window_ = std::make_unique<ui::TForm12XingZQH>(Dm());
    }
    QTreeWidgetItem* Node(const QString& province) {
        return Find<QTreeWidget>(window_.get(), "TreeView1")
            ->findItems(province, Qt::MatchExactly)
            .value(0);
    }
    void Select(QTreeWidgetItem* node) {
        Find<QTreeWidget>(window_.get(), "TreeView1")->setCurrentItem(node);
    }
    bool Adding() { return !Enabled(window_.get(), "TreeView1"); }

    std::unique_ptr<ui::TForm12XingZQH> window_;
};

// Enter presses "新增" on the tree and "保存" in the fields; only digits are typed into the code.
TEST_F(DivisionWindowTest, AddsCitiesAndCountiesWithTheKeyboard) {
    Click(window_.get(), "Button1");
    EXPECT_EQ(dialogs_.LastMessage(), "请选择一个上级行政区划");
    window_->show();  // the default buttons take Enter only in a shown window

    // A province never expanded gets a new city first, then shows all its cities once.
    QTreeWidgetItem* hebei = Node("河北省");
    ASSERT_NE(hebei, nullptr);
    EXPECT_EQ(hebei->childCount(), 0);
    Select(hebei);
    EXPECT_EQ(TextOf(window_.get(), "EDCode"), "130000");
    Press(window_.get(), "TreeView1", Qt::Key_Return);  // Enter presses "新增"
    ASSERT_TRUE(Adding());
    EXPECT_EQ(TextOf(window_.get(), "EDCode"), "");
    QTest::keyClicks(Find(window_.get(), "EDCode"), "13a9b9c0d0");  // only digits are typed
    EXPECT_EQ(TextOf(window_.get(), "EDCode"), "139900");
    Type(window_.get(), "EDName", "新城市");
    Type(window_.get(), "EDCode", "13990x");         // pasted text is checked on saving
    Press(window_.get(), "EDName", Qt::Key_Return);  // Enter presses "保存"
    EXPECT_EQ(dialogs_.LastMessage(), "行政区划只能由0到9的数字组成");
    EXPECT_TRUE(Adding()) << "a failed check keeps the adding state";
    Type(window_.get(), "EDCode", "139900");
    Press(window_.get(), "EDCode", Qt::Key_Enter);
    EXPECT_FALSE(Adding());
    const int stored =
        int(Dm().QueryInt("select count(*) from MLK_XingZQH where parentCode = '130000'"));
    hebei->setExpanded(true);
    EXPECT_EQ(hebei->childCount(), stored);
    EXPECT_EQ(hebei->child(stored - 1)->text(0), "新城市");

    // A following "新增" adds under the new city, as a county; nothing goes under a county.
    Click(window_.get(), "Button1");
    Type(window_.get(), {{"EDName", "新县"}, {"EDCode", "139901"}});
    Click(window_.get(), "Button2");
    EXPECT_EQ(Dm().CountyItems("139900"), (std::vector<std::string>{"--全部--", "139901-新县"}));
    Click(window_.get(), "Button1");
    EXPECT_EQ(dialogs_.LastMessage(), "不可以新增区县以下的行政区划");

    // Esc while adding leaves the adding, as "取消" does; then it closes the window.
    Select(hebei);
    Click(window_.get(), "Button1");
    Type(window_.get(), "EDName", "半截");
    Press(window_.get(), "EDName", Qt::Key_Escape);
    EXPECT_FALSE(Adding());
    EXPECT_EQ(TextOf(window_.get(), "EDName"), "河北省");
    EXPECT_TRUE(window_->isVisible());
    Press(window_.get(), nullptr, Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
}

// "修改" renames a division nothing uses and keeps its code; "删除" removes it after a question.
TEST_F(DivisionWindowTest, RenamesAndRemovesWhatNothingUses) {
    window_->show();
    Node("北京市")->setExpanded(true);
    QTreeWidgetItem* city = Node("北京市")->child(0);
    city->setExpanded(true);
    Select(city->child(1));  // 西城区
    Click(window_.get(), "BTRename");
    EXPECT_FALSE(Enabled(window_.get(), "EDCode"));
    Type(window_.get(), "EDName", "西城");
    Press(window_.get(), "EDName", Qt::Key_Return);
    Click(window_.get(), "BTRemove");
    EXPECT_EQ(dialogs_.confirms.last(), "是否删除: 确认删除行政区划“西城”（110102）？");
    EXPECT_EQ(Dm().GetXingZQH("110102").code + city->child(1)->text(0).toStdString(), "朝阳区");
}

}  // namespace
}  // namespace mlk::test
