#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <functional>
#include <memory>

#include "../../core/reports/SampleDirectory.h"
#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "data/Platform.h"
#include "reports/Save2Excel.h"
#include "ui/reports/TForm61MingLKHZB.h"
#include "ui/reports/TForm62ShuLHZB.h"
#include "ui/reports/TForm63GuoJJGSL.h"
#include "ui/reports/TForm64ShiYDWSL.h"

namespace mlk::test {
namespace {

using ui::Q;
using ui::S;
using ui::TSummaryTableForm;

class SummaryWindowsTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理办公室");
        Dm().ExecSQL("update MLK_CaoZDWXX set JieDMC='东城区'");
        Dm().LoadCaoZDWXX();
        InsertSampleRows(Dm(), {OwnRow(Dm(), "T1", "教育局", "1", "8210", 1),
                                OwnRow(Dm(), "T2", "卫生局", "1", "8015", 2),
                                ImportedRow("a1", "一中", "T1", "T1", "1", "8220", 2, 1),
                                ImportedRow("a2", "党委", "T1", "T1", "1", "7010", 2, 2),
                                ImportedRow("a3", "体育场", "T2", "T2", "1", "8810", 2, 1)});
    }

    static QTableView* List(QWidget& form) { return form.findChild<QTableView*>("lvJGLB"); }
    static QString Label(QWidget& form, const char* name) {
        return form.findChild<QLabel*>(name)->text();
    }
    // The list's rows as "cell|cell|..." of the given columns.
    static QStringList Rows(QWidget& form, std::vector<int> columns) {
        const QAbstractItemModel* model = List(form)->model();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c : columns)
                cells << model->index(r, c).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    static QStringList HiddenColumns(QWidget& form) {
        QStringList hidden;
        for (int c = 0; c < List(form)->model()->columnCount(); ++c) {
            if (List(form)->isColumnHidden(c))
                hidden << QString::number(c);
        }
        return hidden;
    }

    RecordingDialogs dialogs_;
};

TEST_F(SummaryWindowsTest, EachWindowFillsWhenCreated) {
    struct Case {
        std::function<std::unique_ptr<TSummaryTableForm>(TMainDM&)> make;
        const char* title;
        const char* unit;
        std::vector<int> columns;
        QStringList rows;
        QStringList hidden;
    };
    const std::vector<Case> cases = {
        {[](TMainDM& dm) { return std::make_unique<ui::TForm61MingLKHZB>(dm); },
         "公共机构名录汇总表",
         "东城区",
         {0, 1, 2, 3},
         {"1|T1|教育局|高等教育", "1.1|a1|一中|中等职业教育", "1.2|a2|党委|中国共产党机关",
          "2|T2|卫生局|其他事业单位", "2.1|a3|体育场|体育场馆"},
         {"1", "8", "14", "15", "16"}},
        {[](TMainDM& dm) { return std::make_unique<ui::TForm62ShuLHZB>(dm); },
         "公共机构数量汇总表",
         "东城区",
         {0, 2, 3, 4, 5, 6, 10, 11},
         {"1|教育局|3|1|2|2|0|0", "2|卫生局|2|0|2|0|1|1", "3|合计|5|1|4|2|1|1"},
         {"1"}},
        {[](TMainDM& dm) { return std::make_unique<ui::TForm63GuoJJGSL>(dm); },
         "公共机构（国家机关）数量汇总表",
         "东城区节能管理办公室",
         {0, 1, 2, 3, 4},
         {"1|T1|教育局|1|1"},
         {"1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const std::unique_ptr<TSummaryTableForm> form = c.make(Dm());
        EXPECT_EQ(form->size(), QSize(775, 530));
        EXPECT_EQ(Label(*form, "LBTitle").toStdString(), c.title);
        EXPECT_EQ(Label(*form, "LBUnit").toStdString(), c.unit);
        EXPECT_EQ(List(*form)->width(), 740);
        EXPECT_EQ(Rows(*form, c.columns), c.rows);
        EXPECT_EQ(HiddenColumns(*form), c.hidden);
        EXPECT_EQ(List(*form)->model()->index(0, 0).data(Qt::TextAlignmentRole).toInt(),
                  int(Qt::AlignCenter));
    }
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
}

TEST_F(SummaryWindowsTest, ExportWritesTheListAndTellsTheOutcome) {
    struct Case {
        const char* name;
        QString chosen;   // empty: the dialog is cancelled
        QString written;  // the file that must hold the list, empty for none
        QString notice;   // the notice shown, empty for none
    };
    const QString dir = Q(PathText(dir_.Path()));
    const std::vector<Case> cases = {
        {"saved", dir + "/汇总.xls", dir + "/汇总.xls", "提示信息: EXCEL数据导出成功!"},
        {"no extension", dir + "/汇总表", dir + "/汇总表.xls", "提示信息: EXCEL数据导出成功!"},
        {"cancelled", "", "", ""},
        {"failed", dir + "/无此目录/汇总.xls", "",
         "提示信息: Excel没有安装！\n无法创建文件 " + dir + "/无此目录/汇总.xls：文件夹不存在"},
    };
    ui::TForm61MingLKHZB form(Dm());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_.Clear();
        if (!c.chosen.isEmpty())
            dialogs_.saveFiles.push_back(c.chosen);
        form.findChild<QPushButton*>("bt_export")->click();
        EXPECT_EQ(dialogs_.fileFilters, QStringList{"Excel 97-2003 工作簿 (*.xls)"});
        if (c.notice.isEmpty()) {
            EXPECT_TRUE(dialogs_.notices.isEmpty());
        } else {
            ASSERT_EQ(dialogs_.notices.size(), 1);
            EXPECT_TRUE(dialogs_.notices[0].startsWith(c.notice))
                << dialogs_.notices[0].toStdString();
        }
        if (!c.written.isEmpty()) {
            EXPECT_EQ(ReadFile(PathFromText(S(c.written))),
                      XlsRecords(true, form.Table().Captions(), form.Table().rows));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "无此目录"));
}

TEST_F(SummaryWindowsTest, TypeWindowNarrowsByTheTwoTypeLevels) {
    ui::TForm64ShiYDWSL form(Dm());
    EXPECT_EQ(form.size(), QSize(520, 450));
    EXPECT_EQ(List(form)->width(), 480);
    EXPECT_EQ(Label(form, "LBUnit").toStdString(), "东城区");
    auto* second = form.findChild<QComboBox*>("cbJigfl2");
    auto* third = form.findChild<QComboBox*>("cbJigfl3");
    auto* search = form.findChild<QPushButton*>("btSearch");
    EXPECT_EQ(List(form)->model()->rowCount(), 0);
    EXPECT_EQ(second->count(), 7);
    EXPECT_EQ(second->itemText(0).toStdString(), "--全部--");
    EXPECT_TRUE(third->isHidden());

    struct Step {
        const char* name;
        QString secondItem;  // chosen in cbJigfl2, empty to leave it
        QString thirdItem;   // chosen in cbJigfl3, empty to leave it
        bool thirdShown;
        QStringList rows;  // number|name|type code|count
    };
    const QStringList all = {"1|教育局|8210|1", "2|教育局|8220|1", "3|卫生局|8015|1",
                             "4|卫生局|8810|1"};
    const std::vector<Step> steps = {
        {"all", "", "", false, all},
        {"education", "8200-教育", "", true, {"1|教育局|8210|1", "2|教育局|8220|1"}},
        {"secondary vocational", "", "8220-中等职业教育", true, {"1|教育局|8220|1"}},
        {"other has no third level", "8015-其他事业单位", "", false, {"1|卫生局|8015|1"}},
        {"back to all", "--全部--", "", false, all},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (!step.secondItem.isEmpty())
            second->setCurrentText(step.secondItem);
        if (!step.thirdItem.isEmpty())
            third->setCurrentText(step.thirdItem);
        EXPECT_EQ(!third->isHidden(), step.thirdShown);
        search->click();
        EXPECT_EQ(Rows(form, {0, 2, 3, 5}), step.rows);
    }
    second->setCurrentText("8200-教育");
    EXPECT_EQ(third->count(), 7);
    EXPECT_EQ(third->currentIndex(), 0);
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join('\n').toStdString();
}

}  // namespace
}  // namespace mlk::test
