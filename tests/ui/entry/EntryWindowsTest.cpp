#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "data/GGJG.h"
#include "entry/EditorMode.h"
#include "ui/entry/TForm2311JiGXXMX.h"
#include "ui/entry/TForm23LuRTJZGBM.h"
#include "ui/entry/TForm2411JiGXXMX.h"
#include "ui/entry/TForm24LuRXJGLJG.h"
#include "ui/entry/TForm25LuRXSGGJG.h"

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
QString TextOf(QWidget* window, const char* name) {
    return Find<QLineEdit>(window, name)->text();
}
void Type(QWidget* window, const char* name, const char* text) {
    Find<QLineEdit>(window, name)->setText(QString::fromUtf8(text));
}
void Choose(QWidget* window, const char* name, const char* item) {
    QComboBox* box = Find<QComboBox>(window, name);
    const int index = box->findText(QString::fromUtf8(item));
    ASSERT_GE(index, 0) << name << " has no " << item;
    box->setCurrentIndex(index);
}

class EntryWindowsTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能监察中心");
    }

    std::string AddEntry(const std::string& name, const std::string& node, int order,
                         const std::string& confirmed = "0") {
        GGJG r;
        r.JiGID = "110101" + TMainDM::NewID();
        r.JiGMC = r.JieDMC = name;
        r.ZuZJGDM = std::to_string(100000000 + order);
        r.HangYDM = "P82";
        r.XingZQH = "110101";
        r.XingZJB = "4";
        r.JieDLB = node;
        r.CaiZJFLYFS = "0";
        r.JiGLX = "8230";
        r.DiZhi_Shen = "北京市";
        r.DiZhi_Shi = "市辖区";
        r.DiZhi_Xian = "东城区";
        r.DiZhi_JieD = "东华门街道";
        r.DiZhi_HaoP = "1";
        r.YouZBM = "100010";
        r.LianXRXM = "王";
        r.LianXDH = "010";
        r.ChuSHSJ = "2024-05-06";
        r.GengXZT = "0";
        r.QueRZT = confirmed;
        r.ShenHZT = r.ShuJLY = "0";
        r.ShangJBMID = Dm().Unit().DanWID;
        r.JiC = 1;
        r.ShunX = order;
        r.Insert(Dm());
        return r.JiGID;
    }

    std::string Column(const std::string& id, const char* column) {
        return Dm().QueryText(std::string("select ") + column + " from MLK_JiBXX where JiGID=?",
                              {id});
    }

    // Answers the next modal window with the action, once it is shown.
    void WhenModal(std::function<void(QDialog*)> action) {
        QTimer::singleShot(0, [action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            action(dialog);
            dialog->reject();
        });
    }

    RecordingDialogs dialogs_;
};

TEST_F(EntryWindowsTest, BrowsersOpenEmptyWithTheirColumnsAndFilters) {
    const struct {
        std::function<QDialog*()> make;
        const char* caption;
        int height, columns, visible;
        bool typeFilter;
    } cases[] = {
        {[&] { return new ui::TForm23LuRTJZGBM(Dm()); }, "录入同级主管部门", 600, 26, 17, true},
        {[&] { return new ui::TForm24LuRXJGLJG(Dm()); }, "录入下级管理机构", 560, 18, 8, false},
        {[&] { return new ui::TForm25LuRXSGGJG(Dm()); }, "录入下属公共机构", 600, 26, 18, true},
    };
    for (const auto& c : cases) {
        std::unique_ptr<QDialog> window(c.make());
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(window->size(), QSize(790, c.height));
        QTableWidget* list = Find<QTableWidget>(window.get(), "lvList");
        EXPECT_EQ(list->columnCount(), c.columns);
        int visible = 0;
        for (int i = 0; i < list->columnCount(); ++i)
            visible += !list->isColumnHidden(i);
        EXPECT_EQ(visible, c.visible) << c.caption;
        EXPECT_EQ(list->rowCount(), 0);
        EXPECT_EQ(TextOf(window.get(), "EDPageSize"), "15");
        EXPECT_EQ(window->findChild<QComboBox*>("cbJigfl") != nullptr, c.typeFilter);
        for (const char* name : {"BTUpdate", "BTDelete", "BTQueR", "BTFirst", "BTLast"}) {
            EXPECT_FALSE(Find<QPushButton>(window.get(), name)->isEnabled()) << name;
        }
        EXPECT_TRUE(Find<QPushButton>(window.get(), "BTAdd")->isEnabled());
        EXPECT_EQ(Find<QComboBox>(window.get(), "cbQueRZT")->currentText(), "--全部--");
    }
}

TEST_F(EntryWindowsTest, PagerWalksThePagesAndFallsBackToTheDefaultSize) {
    for (int i = 1; i <= 16; ++i)
        AddEntry("学校" + std::to_string(i), "1", i, i == 1 ? "1" : "0");
    ui::TForm23LuRTJZGBM window(Dm());
    QTableWidget* list = Find<QTableWidget>(&window, "lvList");

    Type(&window, "EDPageSize", "abc");
    Click(&window, "BTSearch");
    EXPECT_EQ(TextOf(&window, "EDPageSize"), "15");
    EXPECT_EQ(TextOf(&window, "EDCount"), "16");
    EXPECT_EQ(TextOf(&window, "EDPageCount"), "2");
    EXPECT_EQ(TextOf(&window, "EDCurPage"), "1");
    EXPECT_EQ(list->rowCount(), 15);
    EXPECT_FALSE(Find<QPushButton>(&window, "BTPre")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&window, "BTNext")->isEnabled());
    // The confirmed first row is coloured, the others are white.
    EXPECT_EQ(list->item(0, 2)->background().color(), QColor(166, 202, 240));
    EXPECT_EQ(list->item(1, 2)->background().color(), QColor(Qt::white));

    Click(&window, "BTNext");
    EXPECT_EQ(TextOf(&window, "EDCurPage"), "2");
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), "1");
    EXPECT_EQ(list->item(0, 2)->text(), "学校16");
    EXPECT_FALSE(Find<QPushButton>(&window, "BTLast")->isEnabled());

    Type(&window, "EDJiGMC", "学校1");  // narrower: 8 rows on one page, shown from page 2
    Click(&window, "BTSearch");
    EXPECT_EQ(TextOf(&window, "EDCount"), "8");
    EXPECT_EQ(TextOf(&window, "EDCurPage"), "1");
    EXPECT_EQ(list->rowCount(), 8);
    EXPECT_FALSE(Find<QPushButton>(&window, "BTNext")->isEnabled());
}

TEST_F(EntryWindowsTest, TickRuleAndRefusalOfConfirmedRows) {
    AddEntry("已确认局", "1", 1, "1");
    AddEntry("未确认局", "1", 2);
    ui::TForm23LuRTJZGBM window(Dm());
    Click(&window, "BTSearch");
    QTableWidget* list = Find<QTableWidget>(&window, "lvList");

    list->selectRow(0);
    emit list->cellClicked(0, 2);
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Checked);
    EXPECT_TRUE(Find<QPushButton>(&window, "BTUpdate")->isEnabled());
    emit list->cellClicked(1, 2);
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Checked);
    emit list->cellClicked(1, 2);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(Find<QPushButton>(&window, "BTUpdate")->isEnabled());

    emit list->cellClicked(0, 2);
    for (const char* button : {"BTUpdate", "BTDelete", "BTQueR"})
        Click(&window, button);
    EXPECT_EQ(dialogs_.errors, (QStringList{"已经通过核查的机构不能进行修改操作！！！",
                                            "已经通过核查的机构不能删除！！！",
                                            "已经通过核查的机构不能再次通过核查！！！"}));
}

TEST_F(EntryWindowsTest, AddOpensTheAgencyEditorAndDoubleClickViews) {
    const std::string id = AddEntry("区节能中心", "0", 1, "1");
    ui::TForm24LuRXJGLJG window(Dm());
    QString opened;
    WhenModal([&](QDialog* editor) {
        opened = editor->windowTitle();
        EXPECT_FALSE(Find<QPushButton>(editor, "btInsert")->isHidden());
        EXPECT_EQ(TextOf(editor, "EDJiGMC"), "");
    });
    Click(&window, "BTAdd");
    EXPECT_EQ(opened, "节能管理机构信息");
    QTableWidget* list = Find<QTableWidget>(&window, "lvList");
    ASSERT_EQ(list->rowCount(), 1);  // "增加" searches afterwards

    WhenModal([&](QDialog* editor) {
        EXPECT_EQ(TextOf(editor, "EDJiGMC"), "区节能中心");
        EXPECT_TRUE(Find<QLineEdit>(editor, "EDJiGMC")->isReadOnly());
        for (const char* name : {"btInsert", "btUpdate", "btDelete", "btQueR"}) {
            EXPECT_TRUE(Find<QPushButton>(editor, name)->isHidden()) << name;
        }
    });
    emit list->cellDoubleClicked(0, 2);
    EXPECT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_EQ(Column(id, "QueRZT"), "1");
}

TEST_F(EntryWindowsTest, InsertThroughTheCascades) {
    ui::TForm2311JiGXXMX editor(Dm(), mode::kInsertSubordinate, nullptr);
    EXPECT_EQ(Find<QLabel>(&editor, "LBTitle")->text(), "下级公共机构基本信息");
    EXPECT_EQ(Find<QComboBox>(&editor, "cbJieDLB")->currentText(), "1-主管部门");
    EXPECT_EQ(TextOf(&editor, "EDGengxzt"), "0-新增");
    EXPECT_EQ(TextOf(&editor, "EDTianBRQ"), QString::fromStdString(TMainDM::TodayText()));

    Type(&editor, "EDJiGMC", "北京市第一中学");
    Type(&editor, "EDZuZJGDM", "123456789");
    Type(&editor, "EDHangYDM", "P82");
    Choose(&editor, "cbJigfl1", "80-事业单位");
    EXPECT_FALSE(Find<QComboBox>(&editor, "cbJigfl2")->isHidden());
    EXPECT_EQ(TextOf(&editor, "cbJigfl"), "");
    Click(&editor, "btInsert");
    EXPECT_EQ(dialogs_.LastMessage(), "机构分类不能为空！");

    Choose(&editor, "cbJigfl2", "8200-教育");
    Choose(&editor, "cbJigfl3", "8230-普通中学");
    EXPECT_EQ(TextOf(&editor, "cbJigfl"), "8230-普通中学");
    Choose(&editor, "cbXingZJB", "4-县(处)级");
    Choose(&editor, "cbCaiZJFSY", "0-全额财政");
    // A city without counties gives its own code.
    Choose(&editor, "cbXingzqhss", "440000-广东省");
    Choose(&editor, "cbXingzqhds", "441900-东莞市");
    EXPECT_EQ(Find<QComboBox>(&editor, "cbXingzqhxq")->currentText(), "441900-东莞市");
    EXPECT_EQ(TextOf(&editor, "EDXingZQH"), "441900");
    Choose(&editor, "cbXingzqhss", "110000-北京市");
    Choose(&editor, "cbXingzqhds", "110100-市辖区");
    Choose(&editor, "cbXingzqhxq", "110101-东城区");
    EXPECT_EQ(TextOf(&editor, "EDXingZQH"), "110101");
    for (const auto& [name, text] : {std::pair{"EDJieD", "东华门街道"},
                                     {"EDHaoP", "1"},
                                     {"EDYouZBM", "100010"},
                                     {"EDLianXR", "王老师"},
                                     {"EDLianXDH", "0106512"},
                                     {"EDShunX", "4"}}) {
        Type(&editor, name, text);
    }
    dialogs_.Clear();
    Click(&editor, "btInsert");
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join("|").toStdString();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(Dm().QueryText("select JiGLX||'/'||ShangJXZZGBM||'/'||DiZhi_Xian||'/'||ShunX"
                             " from MLK_JiBXX"),
              "8230/东城区节能监察中心/东城区/4");
}

TEST_F(EntryWindowsTest, LoadedModesUpdateDeleteAndConfirm) {
    const std::string id = AddEntry("东城区教委", "1", 7);
    GGJG record = GGJG::LoadByJiGID(Dm(), id);
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kUpdateSameLevel, &record);
        EXPECT_EQ(Find<QComboBox>(&editor, "cbXingzqhxq")->currentText(), "110101-东城区");
        EXPECT_EQ(Find<QComboBox>(&editor, "cbXingZJB")->currentText(), "4-县(处)级");
        EXPECT_EQ(TextOf(&editor, "cbJigfl"), "8230-普通中学");
        EXPECT_EQ(TextOf(&editor, "EDGengxzt"), "0");
        EXPECT_EQ(TextOf(&editor, "EDShunX"), "7");
        Type(&editor, "EDLianXR", "赵");
        Click(&editor, "btUpdate");
        EXPECT_EQ(Column(id, "LianXRXM"), "赵");
        EXPECT_EQ(Column(id, "GengXZT"), "1");
        EXPECT_EQ(Column(id, "ShunX"), "7");
    }
    record = GGJG::LoadByJiGID(Dm(), id);
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kDelete, &record);
        EXPECT_FALSE(Find<QComboBox>(&editor, "cbXingZJB")->isEnabled());
        dialogs_.confirmAnswers = {false};
        Click(&editor, "btDelete");
        EXPECT_EQ(dialogs_.confirms.last(), "是否删除: 从名录库汇总删除机构信息，删除后不能恢复！");
        EXPECT_EQ(Column(id, "JiGMC"), "东城区教委");
    }
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kConfirm, &record);
        Click(&editor, "btQueR");
        EXPECT_EQ(dialogs_.confirms.last(),
                  "是否确认: 请确认机构信息是否完整，确认后不能再修改和删除！");
        EXPECT_EQ(Column(id, "QueRZT"), "1");
        EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_DaiDRJG where JiGID=?", {id}), 1);
    }
    {
        ui::TForm2311JiGXXMX editor(Dm(), mode::kDelete, &record);
        Click(&editor, "btDelete");
        EXPECT_EQ(Column(id, "JiGMC"), "");
    }
    ui::TForm2311JiGXXMX refused(Dm(), 5, &record);
    EXPECT_EQ(refused.Run(), QDialog::Rejected);
    EXPECT_EQ(dialogs_.LastMessage(), "非法操作！");
}

TEST_F(EntryWindowsTest, AgencyEditorChecksAndSaves) {
    ui::TForm2411JiGXXMX editor(Dm(), mode::kInsertAgency, nullptr);
    Type(&editor, "EDJiGMC", "朝阳区节能中心");
    Click(&editor, "btInsert");
    EXPECT_EQ(dialogs_.LastMessage(), "节点名称不能为空！");
    Type(&editor, "EDJieDMC", "朝阳节点");
    Type(&editor, "EDLianXR", "李");
    Type(&editor, "EDLianXDH", "010");
    Type(&editor, "EDShunX", "2");
    Click(&editor, "btInsert");
    EXPECT_EQ(Dm().QueryText("select JieDMC||'/'||JieDLB||'/'||length(JiGID) from MLK_JiBXX"),
              "朝阳节点/0/10");
}

}  // namespace
}  // namespace mlk::test
