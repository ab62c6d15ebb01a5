// How every window looks and handles: nothing cut short, at the usual font and a larger one;
// Tab row by row and out of every list, a button's own accelerator, Enter on a destructive
// question cancels; and the progress gauge readable at every position.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "WindowTest.h"
#include "entry/EditorMode.h"
#include "model/GGJG.h"
#include "ui/app/Gauge.h"
#include "ui/app/OnScreen.h"
#include "ui/app/TMainForm.h"
#include "ui/entry/TForm21DaoRYSSJ.h"
#include "ui/entry/TForm22XuanZGGJG.h"
#include "ui/entry/TForm2311JiGXXMX.h"
#include "ui/entry/TForm23LuRTJZGBM.h"
#include "ui/entry/TForm2411JiGXXMX.h"
#include "ui/entry/TForm24LuRXJGLJG.h"
#include "ui/entry/TForm26QueRJGXX.h"
#include "ui/exchange/TForm31DaoRTJBMSJ.h"
#include "ui/exchange/TForm32DaoRXJGLJGSJ.h"
#include "ui/exchange/TForm34DaoRRZCX.h"
#include "ui/exchange/TForm51DaoCSJ.h"
#include "ui/reports/TForm41ShenHSJ.h"
#include "ui/reports/TForm42ShenHRZCX.h"
#include "ui/reports/TForm61MingLKHZB.h"
#include "ui/reports/TForm62ShuLHZB.h"
#include "ui/reports/TForm64ShiYDWSL.h"
#include "ui/setup/TForm11ZhuCe.h"
#include "ui/setup/TForm12XingZQH.h"

namespace mlk::test {
namespace {

QString NameOf(const QWidget* widget) {
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// Every text of the window that does not fit its control, as "control: text".
QStringList ClippedTexts(QWidget* window) {
    QStringList clipped;
    for (QComboBox* box : window->findChildren<QComboBox*>()) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        const int room =
            box->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                .width();
        for (int i = 0; box->isVisible() && i < box->count(); ++i) {
            if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > room)
                clipped << NameOf(box) + ": " + box->itemText(i);
        }
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        // What a field shows of its own (not what the user types) must fit whole.
        if (!field->isVisible() || (field->isEnabled() && !field->isReadOnly()))
            continue;
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int room =
            field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width();
        if (field->fontMetrics().horizontalAdvance(field->text()) > room - 4)
            clipped << NameOf(field) + ": " + field->text();
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisible() && label->pixmap().isNull() &&
            label->width() < label->sizeHint().width())
            clipped << NameOf(label) + ": " + label->text();
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->width() < button->sizeHint().width())
            clipped << NameOf(button) + ": " + button->text();
    }
    for (QTableView* list : window->findChildren<QTableView*>()) {
        const QAbstractItemView* view = list;
        for (int c = 0; list->isVisible() && c < list->model()->columnCount(); ++c) {
            const int needed =
                std::max(list->horizontalHeader()->sectionSizeHint(c), view->sizeHintForColumn(c));
            if (!list->isColumnHidden(c) && list->columnWidth(c) < needed)
                clipped << NameOf(list) + ": " +
                               list->model()->headerData(c, Qt::Horizontal).toString();
        }
    }
    return clipped;
}

// Pairs of controls where Tab goes back up, or left within a row, starting from the control
// that has the focus when the window opens.
QStringList TabBreaks(QWidget* window) {
    QWidget* start = window->focusWidget();
    if (!start)
        return {"no control has the focus"};
    QList<QWidget*> chain{start};
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy())
            chain << w;
    }
    QStringList breaks;
    for (int i = 1; i < chain.size(); ++i) {
        const QRect a(chain[i - 1]->mapTo(window, QPoint()), chain[i - 1]->size());
        const QRect b(chain[i]->mapTo(window, QPoint()), chain[i]->size());
        const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
        const bool sameRow = overlap * 2 >= std::min(a.height(), b.height());
        if (sameRow ? b.left() <= a.left() : b.center().y() <= a.center().y())
            breaks << NameOf(chain[i - 1]) + " -> " + NameOf(chain[i]);
    }
    return breaks;
}

// Lists that keep Tab, and buttons without an accelerator of their own ("删除(&D)").
QStringList KeyboardFaults(QWidget* window) {
    QStringList faults, keys;
    for (QTableView* list : window->findChildren<QTableView*>()) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Tab);
        if (window->focusWidget() == list)
            faults << NameOf(list) + " keeps Tab";
    }
    const QRegularExpression accelerator(QStringLiteral("\\(&([A-Z])\\)$"));
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QString key = accelerator.match(button->text()).captured(1);
        const bool shown = button->isVisibleTo(window);
        if (key.isEmpty() || (shown && keys.contains(key)))
            faults << button->text();
        if (shown)
            keys << key;
    }
    return faults;
}

struct WindowCase {
    const char* name;
    std::function<QWidget*(TMainDM&)> make;
    std::function<void(QWidget*)> fill;  // what a user does first, so the lists show rows
};

const std::vector<WindowCase>& Windows() {
    using namespace ui;
    const auto search = [](QWidget* w) { Click(w, "BTSearch"); };
    static const std::vector<WindowCase> windows = {
        {"registration", [](TMainDM& dm) { return new TForm11ZhuCe(dm); },
         [](QWidget* w) {
             Choose(w, "cbXingZQHSS", "530000-");
             Choose(w, "cbXingZQHDS", "530900-");
             Choose(w, "cbXingZQHXQ", "530925-");  // the longest county name
         }},
        {"divisions", [](TMainDM& dm) { return new TForm12XingZQH(dm); }, {}},
        {"initial data", [](TMainDM& dm) { return new TForm21DaoRYSSJ(dm); }, {}},
        {"selection", [](TMainDM& dm) { return new TForm22XuanZGGJG(dm); }, search},
        {"departments", [](TMainDM& dm) { return new TForm23LuRTJZGBM(dm); }, search},
        {"agencies", [](TMainDM& dm) { return new TForm24LuRXJGLJG(dm); }, search},
        {"confirmation", [](TMainDM& dm) { return new TForm26QueRJGXX(dm); }, {}},
        {"editor",
         [](TMainDM& dm) {
             const GGJG record = GGJG::LoadByJiGID(dm, "T1");
             return new TForm2311JiGXXMX(dm, mode::kUpdateSameLevel, &record);
         },
         [](QWidget* w) {
             Choose(w, "cbJigfl1", "80-");
             Choose(w, "cbJigfl2", "8300-");
             Choose(w, "cbXingzqhss", "530000-");
             Choose(w, "cbXingzqhds", "530900-");
         }},
        {"agency editor",
         [](TMainDM& dm) {
             const GGJG record = GGJG::LoadByJiGID(dm, "A1");
             return new TForm2411JiGXXMX(dm, mode::kView, &record);
         },
         {}},
        {"department import", [](TMainDM& dm) { return new TForm31DaoRTJBMSJ(dm); }, search},
        {"agency import", [](TMainDM& dm) { return new TForm32DaoRXJGLJGSJ(dm); }, search},
        {"import log", [](TMainDM& dm) { return new TForm34DaoRRZCX(dm); },
         [](QWidget* w) { Find<QAbstractButton>(w, "ckRiQ")->click(); }},
        {"audit log", [](TMainDM& dm) { return new TForm42ShenHRZCX(dm); }, {}},
        {"audit", [](TMainDM& dm) { return new TForm41ShenHSJ(dm); },
         [](QWidget* w) {
             auto* root = w->findChild<QTreeWidget*>()->topLevelItem(0);
             root->setExpanded(true);
             root->treeWidget()->setCurrentItem(root->child(0));
         }},
        {"export", [](TMainDM& dm) { return new TForm51DaoCSJ(dm); }, {}},
        {"directory summary", [](TMainDM& dm) { return new TForm61MingLKHZB(dm); }, {}},
        {"count summary", [](TMainDM& dm) { return new TForm62ShuLHZB(dm); }, {}},
        {"type summary", [](TMainDM& dm) { return new TForm64ShiYDWSL(dm); },
         [](QWidget* w) {
             Choose(w, "cbJigfl2", "8200-");
             Click(w, "btSearch");
         }},
    };
    return windows;
}

using LookTest = AgencyWindowTest;

// At the usual font and at one half larger, as on a laptop set to 150 %.
TEST_F(LookTest, NothingIsCutShortAndTabGoesRowByRowAndOutOfLists) {
    const QFont usual = QApplication::font();
    for (const double scale : {1.0, 1.5}) {
        QFont font = usual;
        font.setPointSizeF(usual.pointSizeF() * scale);
        QApplication::setFont(font);
        for (const WindowCase& c : Windows()) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(scale));
            const std::unique_ptr<QWidget> window(c.make(Dm()));
            window->show();
            if (c.fill)
                c.fill(window.get());
            QApplication::processEvents();
            EXPECT_EQ(ClippedTexts(window.get()).join(" | ").toStdString(), "");
            EXPECT_EQ(TabBreaks(window.get()).join(" | ").toStdString(), "");
            EXPECT_EQ(KeyboardFaults(window.get()).join(" | ").toStdString(), "");
        }
    }
    QApplication::setFont(usual);
    EXPECT_TRUE(dialogs_.all.isEmpty()) << dialogs_.all.join('\n').toStdString();
}

// On a laptop at 150 % (1280 x 1024 or 1366 x 768 shown as 853 x 682 or 910 x 512, less a task
// bar) every window opens inside the room it has, frame and all, nothing cut short and Tab still
// row by row: the lists take the loss. Where the window's own size fits, it keeps it.
TEST_F(LookTest, EveryWindowFitsASmallScreen) {
    ui::TMainForm main(Dm());  // framed by the window manager as the windows opened from it
    main.setWindowState(Qt::WindowNoState);
    main.show();
    for (const QRect area : {QRect(0, 0, 853, 650), QRect(40, 30, 910, 480)}) {
        // The main window, maximised there, shows its pictures whole.
        main.resize(area.size());
        QApplication::processEvents();
        for (const char* name : {"Image1", "Image2", "Label1"}) {
            const QWidget* part = Find(&main, name);
            EXPECT_TRUE(part->parentWidget()->rect().contains(part->geometry())) << name;
        }
        for (const WindowCase& c : Windows()) {
            SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(area.width()) + " x " +
                         std::to_string(area.height()));
            const std::unique_ptr<QWidget> window(c.make(Dm()));
            window->ensurePolished();
            const QSize made = window->size().expandedTo(window->minimumSizeHint());
            ui::FitOnScreen(*window, 0, area);
            window->show();
            QApplication::processEvents();
            const QRect frame = window->frameGeometry();
            const QSize framed = made + frame.size() - window->size();
            if (framed.width() <= area.width() && framed.height() <= area.height()) {
                EXPECT_EQ(window->size(), made);
            }
            // A name filter keeps room for a name.
            if (const auto* name = window->findChild<QLineEdit*>(QStringLiteral("EDJiGMC"))) {
                EXPECT_GE(name->width(), name->fontMetrics().horizontalAdvance(
                                             QStringLiteral("机构名称机构名称")));
            }
            if (c.fill)
                c.fill(window.get());
            QApplication::processEvents();
            EXPECT_TRUE(area.contains(window->frameGeometry()))
                << window->frameGeometry().x() << " " << window->width() << " x "
                << window->height() << ", least " << window->minimumSizeHint().width() << " x "
                << window->minimumSizeHint().height();
            EXPECT_EQ(ClippedTexts(window.get()).join(" | ").toStdString(), "");
            EXPECT_EQ(TabBreaks(window.get()).join(" | ").toStdString(), "");
        }
    }
}

// Enter, Enter in the delete editor, and Esc, Enter over typed input: the real question box
// answers Enter with 取消, and nothing is lost.
TEST_F(LookTest, EnterOnADestructiveQuestionCancels) {
    const GGJG t3 = GGJG::LoadByJiGID(Dm(), "T3");
    ui::TForm2311JiGXXMX deleting(Dm(), mode::kDelete, &t3);
    ui::TForm2311JiGXXMX adding(Dm(), mode::kInsertSameLevel, nullptr);
    Type(&adding, "EDJiGMC", "半截");
    QTimer enter;  // Enter on every box that shows
    QObject::connect(&enter, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            QTest::keyClick(box, Qt::Key_Return);
    });
    enter.start(0);
    ui::SetDialogs(nullptr);  // the real boxes
    for (const auto& [editor, key] : {std::pair<QWidget*, int>{&deleting, Qt::Key_Return},
                                      std::pair<QWidget*, int>{&adding, Qt::Key_Escape}}) {
        editor->show();
        Press(editor, nullptr, key);
        EXPECT_TRUE(editor->isVisible()) << NameOf(editor).toStdString();
    }
    ui::SetDialogs(&dialogs_);
    EXPECT_EQ(Column("T3", "JiGMC"), "文化局全称");
}

// The percentage must read on the navy bar and on the white beside it, wherever the bar ends:
// the pixels the text changes must stand out from what lies under them.
TEST(Look, GaugeTextReadsAtEveryPosition) {
    ui::Gauge gauge;
    gauge.resize(300, 24);
    gauge.setRange(0, 1000);
    const auto picture = [&](bool text) {
        gauge.setTextVisible(text);
        return gauge.grab().toImage();
    };
    for (const int value : {0, 250, 500, 750, 1000}) {
        gauge.setValue(value);
        const QImage plain = picture(false), text = picture(true);
        int contrast[2] = {-1, -1};  // the strongest of a text pixel on the bar and beside it
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                const int under = qGray(plain.pixel(x, y)), over = qGray(text.pixel(x, y));
                if (text.pixel(x, y) != plain.pixel(x, y))
                    contrast[under < 128] = std::max(contrast[under < 128], qAbs(over - under));
            }
        }
        EXPECT_GE(std::max(contrast[0], contrast[1]), 0) << value << ": no text drawn";
        for (const int strongest : contrast)
            EXPECT_TRUE(strongest < 0 || strongest > 150) << value << ": " << strongest;
    }
}

}  // namespace
}  // namespace mlk::test
