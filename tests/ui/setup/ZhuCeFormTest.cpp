#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <functional>

#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "ui/app/TMainForm.h"
#include "ui/setup/TForm11ZhuCe.h"

namespace mlk::test {
namespace {

class ZhuCeFormTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        Open();
    }

    void Open() {
        form_ = std::make_unique<ui::TForm11ZhuCe>(Dm());
        registered_ = std::make_unique<QSignalSpy>(form_.get(), &ui::TForm11ZhuCe::Registered);
    }

    template <class Control>
    Control* Find(const char* name) {
        auto* control = form_->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }

    // Chooses the item that starts with the text, as the user would with the mouse.
    void Choose(const char* combo, const QString& start) {
        QComboBox* box = Combo(combo);
        const int index = box->findText(start, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << combo << " " << start.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void Type(const char* edit, const QString& text) { Edit(edit)->setText(text); }
    std::string Text(const char* edit) { return Edit(edit)->text().toStdString(); }
    std::string Shown(const char* combo) { return Combo(combo)->currentText().toStdString(); }

    // An agency at prefecture level in 石家庄市, everything filled in.
    void FillPrefectureAgency() {
        Type("editJgmc", "石家庄市节能监察中心");
        Choose("cbXingZLSJB", "3-");
        Choose("cbXingZQHSS", "130000-");
        Choose("cbXingZQHDS", "130100-");
        Choose("cbXingZQHXQ", "130102-");
        Choose("cbJieDLB", "0-");
        Type("editTianBRXM", "张三");
    }

    void Register() { Find<QPushButton>("Button1")->click(); }

    RecordingDialogs dialogs_;
    std::unique_ptr<ui::TForm11ZhuCe> form_;
    std::unique_ptr<QSignalSpy> registered_;
};

TEST_F(ZhuCeFormTest, OpensEmptyAndDivisionListsCascade) {
    EXPECT_EQ(Shown("cbXingZQHSS"), "--全部--");
    EXPECT_GT(Combo("cbXingZQHSS")->count(), 30);
    EXPECT_EQ(Combo("cbXingZQHDS")->count() + Combo("cbXingZQHXQ")->count(), 0);
    EXPECT_TRUE(Edit("EditTianBSJ")->isReadOnly());
    EXPECT_EQ(Edit("EditTianBSJ")->text().size(), 19);
    EXPECT_FALSE(Edit("editJgmc")->isReadOnly());
    EXPECT_FALSE(Find<QPushButton>("Button1")->isHidden());

    Choose("cbXingZQHSS", "130000-");
    Choose("cbXingZQHDS", "130100-");
    EXPECT_EQ(Shown("cbXingZQHXQ"), "--全部--");
    EXPECT_GE(Combo("cbXingZQHXQ")->findText("130102-长安区"), 0);

    // Another province empties the counties and offers its own cities, none chosen.
    Choose("cbXingZQHSS", "440000-");
    EXPECT_EQ(Combo("cbXingZQHXQ")->count(), 0);
    EXPECT_EQ(Shown("cbXingZQHDS"), "--全部--");
    EXPECT_GE(Combo("cbXingZQHDS")->findText("441900-东莞市"), 0);

    // Choosing "--全部--" changes nothing.
    Choose("cbXingZQHSS", "--全部--");
    EXPECT_GE(Combo("cbXingZQHDS")->findText("441900-东莞市"), 0);
}

// Changing the province or the level after filling in clears what depends on it; a failed check
// registers nothing and puts the focus on its control.
TEST_F(ZhuCeFormTest, AFailedCheckRefusesAndFocusesItsControl) {
    form_->show();
    QApplication::setActiveWindow(form_.get());
    const struct {
        std::function<void()> change;
        const char *message, *focus;
    } cases[] = {
        {[this] { Choose("cbXingZQHSS", "440000-"); }, "行政区划地市不能为空。", "cbXingZQHDS"},
        {[this] { Choose("cbXingZLSJB", "4-"); }, "单位类型不能为空。", "cbJieDLB"},
        {[this] { Type("editTianBRXM", "  "); }, "填表人姓名不能为空。", "editTianBRXM"},
    };
    for (const auto& c : cases) {
        dialogs_.messages.clear();
        FillPrefectureAgency();
        c.change();
        Register();
        EXPECT_EQ(dialogs_.messages, QStringList{c.message}) << c.focus;
        EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(c.focus)) << c.focus;
        EXPECT_EQ(registered_->count(), 0) << c.focus;
        EXPECT_FALSE(Dm().Unit().ZhuCeBZ) << c.focus;
    }
}

// The node name needs name, level and division first, then follows the type.
TEST_F(ZhuCeFormTest, NodeNameFollowsTheType) {
    Type("EditJieDMC", "旧名称");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(dialogs_.messages, QStringList{"单位全称不能为空。"});
    EXPECT_EQ(Text("EditJieDMC"), "");
    Type("editJgmc", "某单位");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(dialogs_.LastMessage().toStdString(), "行政隶属级别不能为空。");

    dialogs_.messages.clear();
    FillPrefectureAgency();
    EXPECT_EQ(Text("EditJieDMC"), "石家庄市");
    Choose("cbJieDLB", "1-");
    EXPECT_EQ(Text("EditJieDMC"), "石家庄市节能监察中心");
    Choose("cbXingZLSJB", "1-");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(Text("EditJieDMC"), "中华人民共和国");
    EXPECT_TRUE(dialogs_.messages.isEmpty());
}

// A city without counties offers itself as the only county; a department registers and the main
// window's menus switch.
TEST_F(ZhuCeFormTest, CityWithoutCountiesRegistersAndSwitchesTheMenu) {
    ui::TMainForm mainForm(Dm());
    form_ = std::make_unique<ui::TForm11ZhuCe>(Dm(), &mainForm);
    registered_ = std::make_unique<QSignalSpy>(form_.get(), &ui::TForm11ZhuCe::Registered);
    QObject::connect(form_.get(), &ui::TForm11ZhuCe::Registered, &mainForm,
                     &ui::TMainForm::RefreshMenus);
    EXPECT_FALSE(mainForm.MenuAction("menuInput")->isEnabled());

    Type("editJgmc", "东莞市节能办");
    Choose("cbXingZLSJB", "3-");
    Choose("cbXingZQHSS", "440000-");
    Choose("cbXingZQHDS", "441900-");
    EXPECT_EQ(Combo("cbXingZQHXQ")->count(), 1);
    EXPECT_EQ(Shown("cbXingZQHXQ"), "441900-东莞市");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(Text("EditJieDMC"), "东莞市");
    Choose("cbJieDLB", "1-");
    Type("editTianBRXM", "王五");
    Register();
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join('\n').toStdString();
    EXPECT_EQ(registered_->count(), 1);
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    EXPECT_EQ(Dm().Unit().XingZQH + Dm().Unit().DanWID.substr(0, 6), "441900441900");
    EXPECT_EQ(Dm().Unit().DanWLXMC + Dm().Unit().JieDMC, "主管部门东莞市节能办");
    EXPECT_TRUE(mainForm.MenuAction("menuInput")->isEnabled());
    EXPECT_TRUE(mainForm.MenuAction("menuLuRXJGGJG")->isVisible());
    EXPECT_FALSE(mainForm.MenuAction("menuLuRTJZGBM")->isVisible());
    registered_.reset();
    form_.reset();  // before its parent, the main window, goes
}

TEST_F(ZhuCeFormTest, RegisteredUnitIsShownLocked) {
    FillPrefectureAgency();
    Register();
    ASSERT_TRUE(Dm().Unit().ZhuCeBZ);
    const std::string registeredAt = Dm().Unit().ChuSHSJ;
    Reopen();
    Open();

    EXPECT_TRUE(Find<QPushButton>("Button1")->isHidden());
    EXPECT_FALSE(Find<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("Button2")->isHidden());
    const std::pair<const char*, std::string> edits[] = {{"editJgmc", "石家庄市节能监察中心"},
                                                         {"EditJieDMC", "石家庄市"},
                                                         {"editTianBRXM", "张三"},
                                                         {"EditTianBSJ", registeredAt}};
    for (const auto& [name, shown] : edits) {
        EXPECT_TRUE(Edit(name)->isReadOnly()) << name;
        EXPECT_EQ(Edit(name)->text().toStdString(), shown) << name;
    }
    const std::pair<const char*, const char*> combos[] = {{"cbXingZLSJB", "3-地(区、市、州、盟)"},
                                                          {"cbXingZQHSS", "130000-河北省"},
                                                          {"cbXingZQHDS", "130100-石家庄市"},
                                                          {"cbXingZQHXQ", "130102-长安区"},
                                                          {"cbJieDLB", "0-节能管理机构"}};
    for (const auto& [combo, shown] : combos) {
        EXPECT_FALSE(Combo(combo)->isEnabled()) << combo;
        EXPECT_EQ(Shown(combo), shown) << combo;
    }
}

}  // namespace
}  // namespace mlk::test
