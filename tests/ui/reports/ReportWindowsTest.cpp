// The audit window and the summary windows over the shared sample directory.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "PdfText.h"
#include "WindowTest.h"
#include "XlsxCells.h"
#include "model/GGJG.h"
#include "platform/Platform.h"
#include "reports/Save2Excel.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm34DaoRRZCX.h"
#include "ui/reports/TForm41ShenHSJ.h"
#include "ui/reports/TForm42ShenHRZCX.h"
#include "ui/reports/TForm61MingLKHZB.h"
#include "ui/reports/TForm62ShuLHZB.h"
#include "ui/reports/TForm63GuoJJGSL.h"
#include "ui/reports/TForm64ShiYDWSL.h"
#include "ui/reports/TForm65ShuJZLJC.h"

namespace mlk::test {
namespace {

using ui::Q;
using ui::S;

class ReportWindowsTest : public AgencyWindowTest {
  protected:
    void SetUp() override {
        AgencyWindowTest::SetUp();
        Dm().ExecSQL("update MLK_CaoZDWXX set JieDMC='东城区'");
        Dm().LoadCaoZDWXX();
    }
};

// The node at the end of a path of names from the root, each level expanded on the way.
QTreeWidgetItem* NodeAt(QWidget* window, std::initializer_list<const char*> path) {
    QTreeWidgetItem* node = Find<QTreeWidget>(window, "tvDanW")->topLevelItem(0);
    for (const char* step : path) {
        QTreeWidgetItem* parent = node;
        parent->setExpanded(true);
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0) == QString::fromUtf8(step))
                node = parent->child(i);
        }
    }
    return node;
}

TEST_F(ReportWindowsTest, AuditTreeLoadsOnExpansionAndApprovalIsForDirectChildren) {
    ui::TForm41ShenHSJ window(Dm());
    window.show();  // at its own size the list is 450 high, the room below it left empty
    EXPECT_EQ(Find<QWidget>(&window, "lvJGLB")->height(), 450);
    QTreeWidget* tree = Find<QTreeWidget>(&window, "tvDanW");
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "东城区");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0) << "children come on expansion";
    const struct {
        std::initializer_list<const char*> path;
        int rows;
        QString why;  // beside the disabled button; empty when it is enabled
    } cases[] = {{{}, 6, "请在左侧选择本单位的直属下级单位。"},
                 {{"教育局"}, 2, ""},
                 {{"文化局"}, 0, "文化局下没有机构信息，不能审核。"},
                 {{"卫生局"}, 1, "该单位的数据已审核"},
                 {{"教育局", "一中"}, 1, "一中不是本单位的直属下级单位，不能审核。"}};
    for (const auto& c : cases) {
        QTreeWidgetItem* node = NodeAt(&window, c.path);
        tree->setCurrentItem(node);
        EXPECT_EQ(ListOf(&window)->rowCount(), c.rows) << node->text(0).toStdString();
        EXPECT_EQ(TextOf(&window, "LBShenH"), c.why);
        EXPECT_EQ(Enabled(&window, "BTShenH"), c.why.isEmpty()) << node->text(0).toStdString();
    }
    NodeAt(&window, {"教育局"})->setExpanded(false);
    EXPECT_EQ(NodeAt(&window, {"教育局"})->childCount(), 2) << "not loaded twice";

    // Approval asks, marks the rows below and ends what the import windows offer on the unit; it
    // is not offered again.
    Find<QTreeWidget>(&window, "tvDanW")->setCurrentItem(NodeAt(&window, {"教育局"}));
    dialogs_.confirmAnswers = {false, true};
    for (const char* audited : {"0", "1"}) {
        Click(&window, "BTShenH");
        EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "a1").ShenHZT, audited);
    }
    EXPECT_EQ(dialogs_.confirms.last(),
              "是否确认: 请确认审核通过教育局下所有机构信息，审核后不能再次审核或删除！");
    EXPECT_EQ(ListOf(&window)->item(0, 14)->text(), "已审核");
    EXPECT_FALSE(Enabled(&window, "BTShenH"));
    EXPECT_EQ(TextOf(&window, "LBShenH"), "该单位的数据已审核");
    EXPECT_EQ(Dm().QueryInt("select count(*) from MLK_ShenHRZ"), 1);

    ui::TForm31DaoRTJBMSJ imports(Dm());  // the unit is audited: nothing is offered on it
    Click(&imports, "BTSearch");
    ClickRow(&imports, RowOf(&imports, "T1", 1));
    EXPECT_FALSE(Enabled(&imports, "BTDelete") || Enabled(&imports, "BTSelectFile"));
}

// The list's rows as "cell|cell|..." of the given columns.
QStringList Rows(QWidget& form, std::vector<int> columns) {
    const QAbstractItemModel* model = Find<QTableView>(&form, "lvJGLB")->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c : columns)
            cells << model->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

TEST_F(ReportWindowsTest, EachSummaryFillsWhenCreated) {
    const struct {
        std::function<ui::TSummaryTableForm*(TMainDM&)> make;
        const char* unit;
        std::vector<int> columns;
        QStringList rows;
    } cases[] = {
        {[](TMainDM& dm) { return new ui::TForm61MingLKHZB(dm); },
         "东城区",
         {0, 1, 2, 3},
         {"1|T1|教育局|高等教育", "1.1|a1|一中|中等职业教育", "1.1.1|a4|一中分校|普通中学",
          "1.2|a2|党委|中国共产党机关", "2|T2|卫生局|其他事业单位", "2.1|a3|体育场|体育场馆",
          "3|T4|民政局|", "4|A1|朝阳节能中心|"}},
        {[](TMainDM& dm) { return new ui::TForm62ShuLHZB(dm); },
         "东城区",
         {0, 2, 3, 4, 5, 6, 10, 11},
         {"1|教育局|4|1|3|3|0|0", "2|卫生局|2|0|2|0|1|1", "3|民政局|1|0|0|0|0|0",
          "4|朝阳节能中心|0|0|0|0|0|0", "5|合计|7|1|5|3|1|1"}},
        {[](TMainDM& dm) { return new ui::TForm63GuoJJGSL(dm); },
         "东城区节能办",
         {0, 1, 2, 3, 4},
         {"1|T1|教育局|1|1"}},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<ui::TSummaryTableForm> form(c.make(Dm()));
        SCOPED_TRACE(form->windowTitle().toStdString());
        EXPECT_EQ(Find<QLabel>(form.get(), "LBUnit")->text(), c.unit);
        EXPECT_EQ(Rows(*form, c.columns), c.rows);
    }
}

// The save dialog offers .xls first and .xlsx; a name without an extension gets the chosen one's.
TEST_F(ReportWindowsTest, SummaryExportWritesTheListAndTellsTheOutcome) {
    const QString dir = Q(PathText(dir_.Path()));
    const struct {
        const char* name;
        QString chosen;      // empty: the dialog is cancelled
        QString filter;      // the filter chosen, empty for the first
        QString written;     // the file that must hold the list, empty for none
        QString notice;      // the notice shown, empty for none
        QString error = {};  // the error shown, empty for none
    } cases[] = {
        {"no extension", dir + "/汇总表", "", dir + "/汇总表.xls", "提示信息: EXCEL数据导出成功!"},
        {"no extension, .xlsx chosen", dir + "/汇总表", "Excel 工作簿 (*.xlsx)",
         dir + "/汇总表.xlsx", "提示信息: EXCEL数据导出成功!"},
        {".xlsx typed", dir + "/汇总.XLSX", "", dir + "/汇总.XLSX", "提示信息: EXCEL数据导出成功!"},
        {"cancelled", "", "", "", ""},
        // Only what went wrong: no spreadsheet program is needed.
        {"failed", dir + "/无此目录/汇总.xls", "", "", "",
         "无法创建文件 " + dir + "/无此目录/汇总.xls：文件夹不存在"},
    };
    ui::TForm61MingLKHZB form(Dm());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_.Clear();
        if (!c.chosen.isEmpty())
            dialogs_.saveFiles.push_back(c.chosen);
        if (!c.filter.isEmpty())
            dialogs_.saveFilters.push_back(c.filter);
        Click(&form, "bt_export");
        EXPECT_EQ(dialogs_.fileFilters,
                  QStringList{"Excel 97-2003 工作簿 (*.xls);;Excel 工作簿 (*.xlsx)"});
        EXPECT_EQ(dialogs_.notices, c.notice.isEmpty() ? QStringList() : QStringList{c.notice});
        EXPECT_EQ(dialogs_.errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        if (c.written.endsWith(".xls")) {
            EXPECT_EQ(ReadFile(PathFromText(S(c.written))),
                      XlsRecords(true, form.Table().Captions(), form.Table().rows));
        } else if (!c.written.isEmpty()) {
            EXPECT_EQ(ReadFile(PathFromText(S(c.written))).substr(0, 4), "PK\x03\x04");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "无此目录"));
}

// The PDF file is what the preview shows: the same pages, A4 landscape, the title and the unit
// on each.
TEST_F(ReportWindowsTest, SummaryPreviewShowsThePagesThePdfHolds) {
    std::vector<SampleRow> more;
    for (int i = 0; i < 40; ++i)
        more.push_back(OwnRow(Dm(), "M" + std::to_string(i), "民政所", "1", "8210", 10 + i));
    InsertSampleRows(Dm(), more);
    ui::TForm62ShuLHZB form(Dm());
    dialogs_.saveFiles = {Q(PathText(dir_ / "数量"))};
    Click(&form, "bt_pdf");
    EXPECT_EQ(dialogs_.fileFilters, QStringList{"PDF 文件 (*.pdf)"});
    EXPECT_EQ(dialogs_.notices, QStringList{"提示信息: PDF文件导出成功!"});
    const std::vector<std::string> pages = PdfPages(dir_ / "数量.pdf");
    ASSERT_GE(pages.size(), 2u);
    for (const char* text : {"公共机构数量汇总表", "行政区划/部门全称：东城区", "朝阳节能中心"})
        EXPECT_NE(pages[0].find(text), std::string::npos) << text;
    EXPECT_NE(pages.back().find("合计"), std::string::npos);

    int shown = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    WhenModal([&](QDialog* preview) {
        auto* view = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        view->updatePreview();
        shown = view->pageCount();
        orientation = view->orientation();
    });
    Click(&form, "bt_preview");
    EXPECT_EQ(shown, int(pages.size()));
    EXPECT_EQ(orientation, QPageLayout::Landscape);
}

TEST_F(ReportWindowsTest, TypeSummaryNarrowsByTheTwoTypeLevels) {
    ui::TForm64ShiYDWSL form(Dm());
    auto* second = Find<QComboBox>(&form, "cbJigfl2");
    auto* third = Find<QComboBox>(&form, "cbJigfl3");
    EXPECT_EQ(Rows(form, {0}), QStringList()) << "empty until the first search";
    EXPECT_EQ(second->count(), 7);
    EXPECT_TRUE(third->isHidden());
    const QStringList education = {"1|教育局|8210|1", "2|教育局|8220|1", "3|教育局|8230|1"};
    const QStringList all = education + QStringList{"4|卫生局|8015|1", "5|卫生局|8810|1"};
    const struct {
        const char* name;
        QString secondItem;  // chosen in cbJigfl2, empty to leave it
        QString thirdItem;   // chosen in cbJigfl3, empty to leave it
        bool thirdShown;
        QStringList rows;  // number|name|type code|count
    } steps[] = {
        {"all", "", "", false, all},
        {"education", "8200-教育", "", true, education},
        {"secondary vocational", "", "8220-中等职业教育", true, {"1|教育局|8220|1"}},
        {"other has no third level", "8015-其他事业单位", "", false, {"1|卫生局|8015|1"}},
        {"back to all", "--全部--", "", false, all},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        if (!step.secondItem.isEmpty())
            second->setCurrentText(step.secondItem);
        if (!step.thirdItem.isEmpty())
            third->setCurrentText(step.thirdItem);
        EXPECT_EQ(!third->isHidden(), step.thirdShown);
        Click(&form, "btSearch");
        EXPECT_EQ(Rows(form, {0, 2, 3, 5}), step.rows);
    }
}

// Both logs list newest first and narrow by the unit's name and by days, both days included; a
// range that ends before it begins is refused and the list stays. A save holds every entry the
// filters let through, not only the page shown.
TEST_F(ReportWindowsTest, LogWindowsListNewestFirstFilterAndSaveAll) {
    for (const std::vector<std::string>& entry :
         {std::vector<std::string>{"L1", "T1", "教育局全称", "1", "2024-05-06 10:00:00", "张三"},
          {"L2", "A1", "朝阳节能中心全称", "0", "2025-01-02 08:00:00", "张三"},
          {"L3", "T2", "卫生局全称", "1", "2024-06-01 23:59:59", "李四"}}) {
        Dm().ExecSQL(
            "insert into MLK_DaoRRZ (ID,DanWID,DanWMC,JieDLB,DaoRSJ,DaoRRXM,DaoRSL)"
            " values (?,?,?,?,?,?,'1')",
            entry);
        Dm().ExecSQL(
            "insert into MLK_ShenHRZ (ID,DanWID,DanWMC,JieDLB,ShenHSJ,ShenHRXM)"
            " values (?,?,?,?,?,?)",
            entry);
    }
    const struct {
        const char* name;
        QString unit;
        QString from, to;  // empty: the days are not ticked
        QStringList rows;  // time|unit|node type
        QString error = {};
    } cases[] = {
        {"all",
         "",
         "",
         "",
         {"2025-01-02 08:00:00|朝阳节能中心全称|节能管理机构",
          "2024-06-01 23:59:59|卫生局全称|主管部门", "2024-05-06 10:00:00|教育局全称|主管部门"}},
        {"unit", "节能", "", "", {"2025-01-02 08:00:00|朝阳节能中心全称|节能管理机构"}},
        {"days",
         "",
         "2024-05-06",
         "2024-06-01",
         {"2024-06-01 23:59:59|卫生局全称|主管部门", "2024-05-06 10:00:00|教育局全称|主管部门"}},
        {"unit and days", "卫生", "2024-06-02", "2025-12-31", {}},
        {"reversed",
         "",
         "2024-06-02",
         "2024-06-01",
         {},
         "起始日期2024-06-02晚于截止日期2024-06-01。"},
    };
    const std::function<QDialog*()> windows[] = {[&] { return new ui::TForm34DaoRRZCX(Dm()); },
                                                 [&] { return new ui::TForm42ShenHRZCX(Dm()); }};
    for (const auto& make : windows) {
        const std::unique_ptr<QDialog> window(make());
        SCOPED_TRACE(window->windowTitle().toStdString());
        QStringList shown;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            dialogs_.Clear();
            Type(window.get(), "EDDanWMC", c.unit);
            Find<QCheckBox>(window.get(), "ckRiQ")->setChecked(!c.from.isEmpty());
            if (!c.from.isEmpty()) {
                Find<QDateEdit>(window.get(), "EDQiSRQ")
                    ->setDate(QDate::fromString(c.from, Qt::ISODate));
                Find<QDateEdit>(window.get(), "EDJieZRQ")
                    ->setDate(QDate::fromString(c.to, Qt::ISODate));
            }
            Click(window.get(), "BTSearch");
            EXPECT_EQ(dialogs_.errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
            if (c.error.isEmpty())
                shown = c.rows;
            QStringList rows;
            for (int r = 0; r < ListOf(window.get())->rowCount(); ++r) {
                QStringList cells;
                for (int column : {1, 2, 3})
                    cells << ListOf(window.get())->item(r, column)->text();
                rows << cells.join('|');
            }
            EXPECT_EQ(rows, shown);
        }
        Type(window.get(), "EDDanWMC", "");
        Find<QCheckBox>(window.get(), "ckRiQ")->setChecked(false);
        Type(window.get(), "EDPageSize", "1");
        Click(window.get(), "BTSearch");
        EXPECT_EQ(ListOf(window.get())->rowCount(), 1);
        const QString file = Q(PathText(dir_ / "日志.xlsx"));
        dialogs_.saveFiles.push_back(file);
        Click(window.get(), "bt_export");
        const auto cells = XlsxCells(dir_ / "日志.xlsx", true);
        ASSERT_EQ(cells.size(), 4u);
        EXPECT_EQ(cells[1][0] + cells[3][0] + cells[3][2], "#1#3教育局全称");
    }
}

// The counts above the list; a double click on an own entry's finding opens its editor (update
// while unconfirmed), on an imported row nothing.
TEST_F(ReportWindowsTest, QualityCountsAndOpensOwnEntries) {
    ui::TForm65ShuJZLJC form(Dm());
    form.show();
    EXPECT_EQ(Find<QLabel>(&form, "LBCounts")->text(),
              "共 15 条问题　组织机构代码校验位 8　组织机构代码重复 6　机构类型代码无效 1");
    auto* list = Find<QTableView>(&form, "lvJGLB");
    const auto doubleClick = [&](const QString& id) {
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 2), Qt::DisplayRole, id, 1, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << id.toStdString();
        list->scrollTo(found[0]);
        // As a mouse sends it: a click, then the second press that makes it double.
        const QPoint at = list->visualRect(found[0]).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    QString opened;
    WhenModal([&](QDialog* editor) {
        opened = TextOf(editor, "EDJiGMC") + "|" + QString::number(Enabled(editor, "btUpdate"));
    });
    doubleClick("T3");
    EXPECT_EQ(opened, "文化局全称|1");
    // Enter opens it too, and the window's default button stays unpressed.
    WhenModal([&](QDialog* editor) { opened = TextOf(editor, "EDJiGMC"); });
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(opened, "文化局全称");
    EXPECT_FALSE(form.findChild<QDialog*>("PrintPreview"));
    opened.clear();
    doubleClick("a1");
    QTest::qWait(50);
    EXPECT_EQ(opened, "");
}

}  // namespace
}  // namespace mlk::test
