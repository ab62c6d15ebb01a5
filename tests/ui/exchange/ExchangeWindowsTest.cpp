#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

#include "../../core/exchange/ExchangeFixtures.h"
#include "RecordingDialogs.h"
#include "data/Platform.h"
#include "exchange/Export.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm32DaoRXJGLJGSJ.h"
#include "ui/exchange/TForm33DaoRXSBMSJ.h"
#include "ui/exchange/TForm51DaoCSJ.h"
#include "ui/reports/TForm41ShenHSJ.h"

namespace mlk::test {
namespace {

using ui::Q;

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
    return Find<QPushButton>(window, name)->isEnabled();
}
void ClickRow(QWidget* window, int row) {
    QTableWidget* list = Find<QTableWidget>(window, "lvList");
    list->selectRow(row);
    emit list->cellClicked(row, 2);
}
int RowOf(QWidget* window, const std::string& id) {
    QTableWidget* list = Find<QTableWidget>(window, "lvList");
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 1)->text() == Q(id))
            return r;
    }
    return -1;
}

class ExchangeWindowsTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        RegisterUnit("0", "110101", "东城区节能管理机构");
    }
    RecordingDialogs dialogs_;
};

TEST_F(ExchangeWindowsTest, ExportWindowShowsTheUnitAndGuards) {
    {
        ui::TForm51DaoCSJ window(Dm());
        EXPECT_EQ(Find<QLabel>(&window, "LBDanWMC")->text(), "操作单位全称：东城区节能管理机构");
        EXPECT_EQ(Find<QLabel>(&window, "LBShengS")->text(), "省市：北京市");
        EXPECT_EQ(Find<QLabel>(&window, "LBJiGSL")->text(), "机构数量：0");
        EXPECT_FALSE(Enabled(&window, "BTDaoC"));
        EXPECT_TRUE(Find<QProgressBar>(&window, "PBDaoC")->isHidden());
    }
    SampleRecord("A").Insert(Dm());
    GGJG open = SampleRecord("B");
    open.QueRZT = "";
    open.Insert(Dm());
    ui::TForm51DaoCSJ window(Dm());
    EXPECT_EQ(Find<QLabel>(&window, "LBJiGSL")->text(), "机构数量：1");
    Click(&window, "BTDaoC");
    EXPECT_EQ(dialogs_.LastMessage(), "请核查全部机构信息后再导出机构列表！");
    EXPECT_TRUE(dialogs_.fileCaptions.isEmpty());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(ExchangeWindowsTest, ExportWritesAfterConfirmationAndCloses) {
    SampleRecord("A").Insert(Dm());
    SampleRecord("B").Insert(Dm());
    const QString file = Q(PathText(dir_ / "上报"));  // the extension is added
    {
        ui::TForm51DaoCSJ window(Dm());
        Click(&window, "BTDaoC");  // the save dialog is cancelled
        EXPECT_EQ(dialogs_.fileCaptions.size(), 1);
        EXPECT_EQ(window.result(), QDialog::Rejected);

        dialogs_.saveFiles.push_back(file);
        dialogs_.confirmAnswers.push_back(false);
        Click(&window, "BTDaoC");
        EXPECT_EQ(dialogs_.confirms.last(), "是否确认导出: 共有2条机构导出");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_FALSE(std::filesystem::exists(dir_ / "上报.txt"));
    }
    ui::TForm51DaoCSJ window(Dm());
    dialogs_.saveFiles.push_back(file);
    Click(&window, "BTDaoC");
    EXPECT_EQ(dialogs_.LastMessage(), "导出完成，共导出2条数据！");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "上报.txt"));
}

TEST_F(ExchangeWindowsTest, ImportWindowsListTheirKindWithColumnsAndColours) {
    AddPending(Dm(), "DEPT1", "教育局");
    AddPending(Dm(), "DEPT2", "卫生局");
    AddPending(Dm(), "AGENCY", "下级机构", "0");
    Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT='1' where JiGID='DEPT2'");
    Dm().ExecSQL("update MLK_DaiDRJG set ShenHZT='1' where JiGID='AGENCY'");
    const struct {
        std::function<QDialog*()> make;
        const char* name;
        QSize size;
        int columns, rows;
        const char* marked;
    } cases[] = {
        {[&] { return new ui::TForm31DaoRTJBMSJ(Dm()); }, "31", {780, 580}, 21, 2, "DEPT2"},
        {[&] { return new ui::TForm32DaoRXJGLJGSJ(Dm()); }, "32", {780, 580}, 17, 1, "AGENCY"},
        {[&] { return new ui::TForm33DaoRXSBMSJ(Dm()); }, "33", {770, 570}, 21, 2, "DEPT2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QDialog> window(c.make());
        EXPECT_EQ(window->size(), c.size);
        QTableWidget* list = Find<QTableWidget>(window.get(), "lvList");
        EXPECT_EQ(list->columnCount(), c.columns);
        EXPECT_EQ(list->rowCount(), 0);
        for (const char* name : {"BTImport", "BTSelectFile", "BTDelete"}) {
            EXPECT_FALSE(Enabled(window.get(), name)) << name;
        }
        Click(window.get(), "BTSearch");
        ASSERT_EQ(list->rowCount(), c.rows);
        for (int r = 0; r < list->rowCount(); ++r) {
            const bool marked = list->item(r, 1)->text() == c.marked;
            EXPECT_EQ(list->item(r, 2)->background().color(),
                      marked ? QColor(166, 202, 240) : QColor(Qt::white))
                << "row " << r;
        }
    }
}

TEST_F(ExchangeWindowsTest, TickRulesEnableTheActionsOfTheRowsState) {
    AddPending(Dm(), "OPEN", "教育局");
    AddPending(Dm(), "DONE", "卫生局");
    AddPending(Dm(), "AUDITED", "文化局");
    Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT='1' where JiGID='DONE'");
    Dm().ExecSQL("update MLK_DaiDRJG set DaoRZT='1', ShenHZT='1' where JiGID='AUDITED'");
    ui::TForm31DaoRTJBMSJ window(Dm());
    Click(&window, "BTSearch");
    const struct {
        const char* id;
        bool chooseFile, remove;
    } cases[] = {{"OPEN", true, false}, {"DONE", false, true}, {"AUDITED", false, false}};
    for (const auto& c : cases) {
        ClickRow(&window, RowOf(&window, c.id));
        EXPECT_EQ(Enabled(&window, "BTSelectFile"), c.chooseFile) << c.id;
        EXPECT_EQ(Enabled(&window, "BTDelete"), c.remove) << c.id;
        EXPECT_FALSE(Enabled(&window, "BTImport")) << c.id;
    }
    // A second click unticks the row and disables everything.
    ClickRow(&window, RowOf(&window, "AUDITED"));
    ClickRow(&window, RowOf(&window, "OPEN"));
    dialogs_.openFiles.push_back("/some/file.txt");
    Click(&window, "BTSelectFile");
    EXPECT_EQ(Find<QLineEdit>(&window, "EDFileName")->text(), "/some/file.txt");
    EXPECT_TRUE(Enabled(&window, "BTImport"));
    ClickRow(&window, RowOf(&window, "OPEN"));
    EXPECT_FALSE(Enabled(&window, "BTSelectFile"));
    EXPECT_FALSE(Enabled(&window, "BTImport"));
    EXPECT_TRUE(Find<QLineEdit>(&window, "EDFileName")->text().isEmpty());
    // A search leaves nothing ticked and nothing to import into.
    ClickRow(&window, RowOf(&window, "OPEN"));
    dialogs_.openFiles.push_back("/some/file.txt");
    Click(&window, "BTSelectFile");
    Click(&window, "BTSearch");
    EXPECT_FALSE(Enabled(&window, "BTImport"));
}

TEST_F(ExchangeWindowsTest, ImportAndRemovalThroughTheWindow) {
    AddPending(Dm(), "DEPT1", "教育局");
    WriteFile(dir_ / "good.txt", GbkLine(SampleRecord("A")) + GbkLine(SampleRecord("B")));
    WriteFile(dir_ / "bad.txt", GbkLine(SampleRecord("C")) + "x,y\r\n");
    {
        ui::TForm31DaoRTJBMSJ window(Dm());
        Click(&window, "BTSearch");
        ClickRow(&window, 0);
        dialogs_.openFiles.push_back(Q(PathText(dir_ / "bad.txt")));
        Click(&window, "BTSelectFile");
        Click(&window, "BTImport");
        ASSERT_EQ(dialogs_.errors.size(), 1);
        EXPECT_TRUE(dialogs_.errors[0].endsWith("数据项不正确，数据项不为38个"));
        EXPECT_EQ(window.result(), QDialog::Rejected);
        EXPECT_EQ(RowCount(Dm(), "MLK_JiBXX"), 0);

        dialogs_.openFiles.push_back(Q(PathText(dir_ / "good.txt")));
        Click(&window, "BTSelectFile");
        Click(&window, "BTImport");
        EXPECT_EQ(dialogs_.LastMessage(), "已成功导入2条机构信息数据。");
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(RowCount(Dm(), "MLK_JiBXX"), 2);
    }
    ui::TForm31DaoRTJBMSJ window(Dm());
    Click(&window, "BTSearch");
    QTableWidget* list = Find<QTableWidget>(&window, "lvList");
    EXPECT_EQ(list->item(0, 9)->text(), "已导入");
    EXPECT_EQ(list->item(0, 11)->text(), "2");
    ClickRow(&window, 0);
    dialogs_.confirmAnswers = {false, true};  // only OK deletes
    for (const long long left : {2, 0}) {
        Click(&window, "BTDelete");
        EXPECT_EQ(dialogs_.confirms.last(), "是否删除: 确认删除教育局下已导入的 (2) 条机构信息？");
        EXPECT_EQ(RowCount(Dm(), "MLK_JiBXX"), left);
    }
    EXPECT_EQ(list->item(0, 9)->text(), "未导入");
}

class AuditWindowTest : public ExchangeWindowsTest {
  protected:
    void SetUp() override {
        ExchangeWindowsTest::SetUp();
        Add("DEPT", Dm().Unit().DanWID, "教育局");
        Add("EMPTY", Dm().Unit().DanWID, "空部门");
        Add("SCHOOL", "DEPT", "学校");
        Add("CLASS", "SCHOOL", "班级");
    }
    void Add(const std::string& id, const std::string& parent, const std::string& node) {
        GGJG r = SampleRecord(id, node);
        r.JieDMC = node;
        r.ShangJBMID = parent;
        r.Insert(Dm());
    }
    QTreeWidgetItem* Child(QTreeWidgetItem* parent, const char* text) {
        parent->setExpanded(true);
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0) == QString::fromUtf8(text))
                return parent->child(i);
        }
        ADD_FAILURE() << "no node " << text;
        return nullptr;
    }
};

TEST_F(AuditWindowTest, TreeLoadsOnExpansionAndApprovalOnlyForDirectChildren) {
    ui::TForm41ShenHSJ window(Dm());
    QTreeWidget* tree = Find<QTreeWidget>(&window, "tvDanW");
    QTableWidget* list = Find<QTableWidget>(&window, "lvJGLB");
    EXPECT_EQ(list->columnCount(), 26);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "东城区节能管理机构");
    EXPECT_EQ(root->childCount(), 0);
    EXPECT_FALSE(Enabled(&window, "BTShenH"));

    const struct {
        std::vector<const char*> path;
        int rows;
        bool approve;
    } cases[] = {
        {{}, 2, false},
        {{"教育局"}, 1, true},
        {{"空部门"}, 0, false},
        {{"教育局", "学校"}, 1, false},
    };
    for (const auto& c : cases) {
        QTreeWidgetItem* node = root;
        for (const char* step : c.path)
            node = Child(node, step);
        tree->setCurrentItem(node);
        EXPECT_EQ(list->rowCount(), c.rows) << node->text(0).toStdString();
        EXPECT_EQ(Enabled(&window, "BTShenH"), c.approve) << node->text(0).toStdString();
    }
    EXPECT_EQ(root->childCount(), 2);
    Child(root, "教育局")->setExpanded(false);
    Child(root, "教育局");  // expanded again: not loaded twice
    EXPECT_EQ(Child(root, "教育局")->childCount(), 1);
}

TEST_F(AuditWindowTest, ApprovalAsksAndMarksTheRows) {
    AddPending(Dm(), "DEPT", "教育局");
    ui::TForm41ShenHSJ window(Dm());
    QTreeWidget* tree = Find<QTreeWidget>(&window, "tvDanW");
    QTableWidget* list = Find<QTableWidget>(&window, "lvJGLB");
    tree->setCurrentItem(Child(tree->topLevelItem(0), "教育局"));
    dialogs_.confirmAnswers.push_back(false);
    Click(&window, "BTShenH");
    EXPECT_EQ(dialogs_.confirms.last(),
              "是否确认: 请确认审核通过教育局下所有机构信息，审核后不能再次审核或删除！");
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "SCHOOL").ShenHZT, "0");
    Click(&window, "BTShenH");
    EXPECT_EQ(GGJG::LoadByJiGID(Dm(), "SCHOOL").ShenHZT, "1");
    EXPECT_EQ(list->item(0, 14)->text(), "已审核");
    EXPECT_EQ(RowCount(Dm(), "MLK_ShenHRZ"), 1);

    ui::TForm31DaoRTJBMSJ imports(Dm());  // the unit is audited: nothing is offered on it
    Click(&imports, "BTSearch");
    ClickRow(&imports, 0);
    EXPECT_FALSE(Enabled(&imports, "BTDelete") || Enabled(&imports, "BTSelectFile"));
}

}  // namespace
}  // namespace mlk::test
