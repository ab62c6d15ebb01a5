#include "ui/app/THelpForm.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/UserGuide.h"
#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {

// The section that explains each window, by the window's class.
const struct {
    const char* window;
    const char* section;
} kSections[] = {
    {"TForm11ZhuCe", "注册操作单位"},
    {"TForm12XingZQH", "行政区划维护"},
    {"TForm23LuRTJZGBM", "录入名录"},
    {"TForm24LuRXJGLJG", "录入名录"},
    {"TForm25LuRXSGGJG", "录入名录"},
    {"TForm2311JiGXXMX", "机构信息窗口"},
    {"TForm2411JiGXXMX", "机构信息窗口"},
    {"TForm26QueRJGXX", "确认机构信息"},
    {"TForm21DaoRYSSJ", "导入初始数据"},
    {"TForm22XuanZGGJG", "选择公共机构"},
    {"TForm31DaoRTJBMSJ", "导入下级数据"},
    {"TForm32DaoRXJGLJGSJ", "导入下级数据"},
    {"TForm33DaoRXSBMSJ", "导入下级数据"},
    {"TForm34DaoRRZCX", "导入日志查询"},
    {"TForm41ShenHSJ", "审核数据"},
    {"TForm42ShenHRZCX", "审核日志查询"},
    {"TForm51DaoCSJ", "导出上报数据"},
    {"TForm5111GaiZSJ", "改正无法导出的数据"},
    {"TForm61MingLKHZB", "汇总表"},
    {"TForm62ShuLHZB", "汇总表"},
    {"TForm63GuoJJGSL", "汇总表"},
    {"TForm64ShiYDWSL", "汇总表"},
    {"TWorkBox", "长时间的操作和取消"},
};

QPointer<THelpForm> openGuide;

// At the right of the screen, so that the window it explains stays in view beside it.
void PlaceBeside(QWidget& guide) {
    const QScreen* screen = guide.screen() ? guide.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    guide.resize(std::max(area.width() * 9 / 20, std::min(area.width(), 600)),
                 area.height() * 17 / 20);
    guide.move(area.right() - guide.width() - area.width() / 40,
               area.top() + (area.height() - guide.height()) / 2);
}

}  // namespace

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("THelpForm"));
    setWindowTitle(QStringLiteral("用户指南"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 640);

    auto* searchLabel = new QLabel(QStringLiteral("搜索(&F)："), this);
    EDSearch = new QLineEdit(this);
    EDSearch->setObjectName(QStringLiteral("EDSearch"));
    EDSearch->setClearButtonEnabled(true);
    searchLabel->setBuddy(EDSearch);
    LBFound = new QLabel(this);
    LBFound->setObjectName(QStringLiteral("LBFound"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(EDSearch, 1);
    searchRow->addWidget(LBFound);

    tvContents = new QTreeWidget(this);
    tvContents->setObjectName(QStringLiteral("tvContents"));
    tvContents->setHeaderLabel(QStringLiteral("目录"));
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setOpenExternalLinks(false);
    const std::string_view guide = UserGuide();
    text_->setMarkdown(QString::fromUtf8(guide.data(), qsizetype(guide.size())));
    auto* split = new QSplitter(this);
    split->addWidget(tvContents);
    split->addWidget(text_);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 660});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(split, 1);
    BuildContents();

    connect(EDSearch, &QLineEdit::textChanged, this, [this] { EDSearchChanged(); });
    connect(EDSearch, &QLineEdit::returnPressed, this, [this] { Find(EDSearch->text()); });
    connect(tvContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowSection(item->text(0)); });
    connect(tvContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowSection(item->text(0)); });
}

// The headings of the text, the sections (level 2) with their parts (level 3) below them.
void THelpForm::BuildContents() {
    QTreeWidgetItem* section = nullptr;
    for (QTextBlock block = text_->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 2 || (level == 3 && !section)) {
            section = new QTreeWidgetItem(tvContents, {block.text()});
        } else if (level == 3) {
            new QTreeWidgetItem(section, {block.text()});
        }
    }
    tvContents->expandAll();
}

QString THelpForm::SectionFor(const QWidget* window) {
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        const QString name = QString::fromLatin1(w->metaObject()->className()).section("::", -1);
        for (const auto& entry : kSections) {
            if (name == QLatin1String(entry.window))
                return QString::fromUtf8(entry.section);
        }
    }
    return {};
}

THelpForm* THelpForm::ShowFor(QWidget* window) {
    if (openGuide && window == openGuide)
        return openGuide;
    if (!openGuide) {
        openGuide = new THelpForm(window ? window->window() : nullptr);
        PlaceBeside(*openGuide);
    }
    openGuide->show();
    openGuide->raise();
    openGuide->activateWindow();
    // Laid out for its width once shown.
    const QString section = SectionFor(window);
    if (section.isEmpty() || !openGuide->ShowSection(section))
        openGuide->text_->verticalScrollBar()->setValue(0);
    return openGuide;
}

bool THelpForm::ShowSection(const QString& heading) {
    for (QTextBlock block = text_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && block.text() == heading) {
            text_->setTextCursor(QTextCursor(block));
            // At the top of the view, not merely somewhere in it.
            const QRectF place = text_->document()->documentLayout()->blockBoundingRect(block);
            text_->verticalScrollBar()->setValue(int(place.top()));
            return true;
        }
    }
    return false;
}

QString THelpForm::CurrentSection() const {
    for (QTextBlock block = text_->textCursor().block(); block.isValid();
         block = block.previous()) {
        if (block.blockFormat().headingLevel() > 0)
            return block.text();
    }
    return {};
}

int THelpForm::Find(const QString& text) {
    QList<QTextEdit::ExtraSelection> marks;
    if (!text.isEmpty()) {
        QTextCharFormat mark;
        mark.setBackground(QColor(255, 230, 120));
        for (QTextCursor at = text_->document()->find(text); !at.isNull();
             at = text_->document()->find(text, at))
            marks.append({at, mark});
    }
    text_->setExtraSelections(marks);
    if (!marks.isEmpty() && !text_->find(text)) {
        text_->moveCursor(QTextCursor::Start);
        text_->find(text);
    }
    LBFound->setText(text.isEmpty()    ? QString()
                     : marks.isEmpty() ? QStringLiteral("找不到")
                                       : QStringLiteral("共 %1 处").arg(marks.size()));
    return int(marks.size());
}

// Marks the places while the word is typed; Enter goes on to the next.
void THelpForm::EDSearchChanged() {
    text_->moveCursor(QTextCursor::Start);
    Find(EDSearch->text());
}

}  // namespace mlk::ui
