#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "ui/app/TMainForm.h"
#include "ui/setup/TForm11ZhuCe.h"

namespace mlk::test {
namespace {

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

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

TEST_F(ZhuCeFormTest, OpensEmptyAndEditable) {
    EXPECT_EQ(form_->windowTitle().toStdString(), "软件使用单位信息");
    EXPECT_EQ(form_->size(), QSize(500, 320));
    EXPECT_EQ(Items(Combo("cbXingZLSJB")),
              (QStringList{"--全部--", "1-中央", "2-省(自治区、直辖市)", "3-地(区、市、州、盟)",
                           "4-县(区、市、旗)"}));
    EXPECT_EQ(Items(Combo("cbJieDLB")), (QStringList{"--全部--", "0-节能管理机构", "1-主管部门"}));
    EXPECT_EQ(Combo("cbXingZQHSS")->currentText().toStdString(), "--全部--");
    EXPECT_GT(Combo("cbXingZQHSS")->count(), 30);
    EXPECT_EQ(Combo("cbXingZQHDS")->count(), 0);
    EXPECT_EQ(Combo("cbXingZQHXQ")->count(), 0);
    EXPECT_TRUE(Edit("EditTianBSJ")->isReadOnly());
    EXPECT_EQ(Edit("EditTianBSJ")->text().size(), 19);
    EXPECT_FALSE(Edit("editJgmc")->isReadOnly());
    EXPECT_FALSE(Find<QPushButton>("Button1")->isHidden());
}

TEST_F(ZhuCeFormTest, DivisionListsCascade) {
    Choose("cbXingZQHSS", "130000-");
    EXPECT_EQ(Combo("cbXingZQHDS")->currentText().toStdString(), "--全部--");
    EXPECT_TRUE(Items(Combo("cbXingZQHDS")).contains("130100-石家庄市"));
    Choose("cbXingZQHDS", "130100-");
    EXPECT_EQ(Combo("cbXingZQHXQ")->currentText().toStdString(), "--全部--");
    EXPECT_TRUE(Items(Combo("cbXingZQHXQ")).contains("130102-长安区"));

    // Another province empties the counties and offers its own cities, none chosen.
    Choose("cbXingZQHSS", "440000-");
    EXPECT_EQ(Combo("cbXingZQHXQ")->count(), 0);
    EXPECT_EQ(Combo("cbXingZQHDS")->currentText().toStdString(), "--全部--");
    EXPECT_TRUE(Items(Combo("cbXingZQHDS")).contains("441900-东莞市"));

    // Choosing "--全部--" changes nothing.
    Choose("cbXingZQHSS", "--全部--");
    EXPECT_TRUE(Items(Combo("cbXingZQHDS")).contains("441900-东莞市"));
}

TEST_F(ZhuCeFormTest, ChangingTheProvinceAfterwardsStopsAtTheCity) {
    FillPrefectureAgency();
    Choose("cbXingZQHSS", "440000-");
    Register();
    EXPECT_EQ(dialogs_.messages, QStringList{"行政区划地市不能为空。"});
    EXPECT_EQ(registered_->count(), 0);
    EXPECT_FALSE(Dm().Unit().ZhuCeBZ);
}

TEST_F(ZhuCeFormTest, NodeNameFollowsTheType) {
    FillPrefectureAgency();
    EXPECT_EQ(Edit("EditJieDMC")->text().toStdString(), "石家庄市");
    Choose("cbJieDLB", "1-");
    EXPECT_EQ(Edit("EditJieDMC")->text().toStdString(), "石家庄市节能监察中心");
    Choose("cbXingZLSJB", "1-");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(Edit("EditJieDMC")->text().toStdString(), "中华人民共和国");
    EXPECT_TRUE(dialogs_.messages.isEmpty());
}

TEST_F(ZhuCeFormTest, NodeNameNeedsNameLevelAndDivisionFirst) {
    Type("EditJieDMC", "旧名称");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(dialogs_.messages, QStringList{"单位全称不能为空。"});
    EXPECT_EQ(Edit("EditJieDMC")->text(), "");
    Type("editJgmc", "某单位");
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(dialogs_.LastMessage().toStdString(), "行政隶属级别不能为空。");
}

TEST_F(ZhuCeFormTest, ChangingTheLevelResetsTheType) {
    FillPrefectureAgency();
    Choose("cbXingZLSJB", "4-");
    EXPECT_EQ(Combo("cbJieDLB")->currentText().toStdString(), "--全部--");
    Register();
    EXPECT_EQ(dialogs_.messages, QStringList{"单位类型不能为空。"});
}

TEST_F(ZhuCeFormTest, AFailedCheckFocusesItsControl) {
    form_->show();
    QApplication::setActiveWindow(form_.get());
    FillPrefectureAgency();
    Type("editTianBRXM", "  ");
    Register();
    EXPECT_EQ(dialogs_.messages, QStringList{"填表人姓名不能为空。"});
    EXPECT_EQ(QApplication::focusWidget(), Edit("editTianBRXM"));
}

TEST_F(ZhuCeFormTest, RegistersAndSwitchesTheMenu) {
    ui::TMainForm mainForm(Dm());
    form_ = std::make_unique<ui::TForm11ZhuCe>(Dm(), &mainForm);
    registered_ = std::make_unique<QSignalSpy>(form_.get(), &ui::TForm11ZhuCe::Registered);
    QObject::connect(form_.get(), &ui::TForm11ZhuCe::Registered, &mainForm,
                     &ui::TMainForm::RefreshMenus);
    EXPECT_FALSE(mainForm.MenuAction("menuInput")->isEnabled());

    FillPrefectureAgency();
    Choose("cbJieDLB", "1-");
    Register();
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join('\n').toStdString();
    EXPECT_EQ(registered_->count(), 1);
    EXPECT_EQ(form_->result(), QDialog::Accepted);
    const CaoZDWXX& unit = Dm().Unit();
    EXPECT_TRUE(unit.ZhuCeBZ);
    EXPECT_EQ(unit.DanWID.substr(0, 6), "130102");
    EXPECT_EQ(unit.DanWLXMC, "主管部门");
    EXPECT_EQ(unit.JieDMC, "石家庄市节能监察中心");
    EXPECT_TRUE(mainForm.MenuAction("menuInput")->isEnabled());
    EXPECT_TRUE(mainForm.MenuAction("menuLuRXJGGJG")->isVisible());
    EXPECT_FALSE(mainForm.MenuAction("menuLuRTJZGBM")->isVisible());
    registered_.reset();
    form_.reset();  // before its parent, the main window, goes
}

TEST_F(ZhuCeFormTest, CityWithoutCountiesRegisters) {
    Type("editJgmc", "东莞市节能办");
    Choose("cbXingZLSJB", "3-");
    Choose("cbXingZQHSS", "440000-");
    Choose("cbXingZQHDS", "441900-");
    EXPECT_EQ(Items(Combo("cbXingZQHXQ")), QStringList{"441900-东莞市"});
    EXPECT_EQ(Combo("cbXingZQHXQ")->currentIndex(), 0);
    Choose("cbJieDLB", "0-");
    EXPECT_EQ(Edit("EditJieDMC")->text().toStdString(), "东莞市");
    Type("editTianBRXM", "王五");
    Register();
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join('\n').toStdString();
    EXPECT_EQ(Dm().Unit().XingZQH, "441900");
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
    for (const char* name : {"editJgmc", "EditJieDMC", "editTianBRXM", "EditTianBSJ"}) {
        EXPECT_TRUE(Edit(name)->isReadOnly()) << name;
    }
    const struct {
        const char* combo;
        const char* shown;
    } combos[] = {
        {"cbXingZLSJB", "3-地(区、市、州、盟)"}, {"cbXingZQHSS", "130000-河北省"},
        {"cbXingZQHDS", "130100-石家庄市"},      {"cbXingZQHXQ", "130102-长安区"},
        {"cbJieDLB", "0-节能管理机构"},
    };
    for (const auto& c : combos) {
        EXPECT_FALSE(Combo(c.combo)->isEnabled()) << c.combo;
        EXPECT_EQ(Combo(c.combo)->currentText().toStdString(), c.shown) << c.combo;
    }
    EXPECT_EQ(Edit("editJgmc")->text().toStdString(), "石家庄市节能监察中心");
    EXPECT_EQ(Edit("EditJieDMC")->text().toStdString(), "石家庄市");
    EXPECT_EQ(Edit("editTianBRXM")->text().toStdString(), "张三");
    EXPECT_EQ(Edit("EditTianBSJ")->text().toStdString(), registeredAt);
}

}  // namespace
}  // namespace mlk::test
