#include "ui/entry/TBrowserBase.h"

#include <QBrush>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/ColumnDefs.h"
#include "model/TMainDM.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/app/Lists.h"
#include "ui/app/WrapRow.h"

namespace mlk::ui {

namespace {

// The caption of a row button of a multiple-choice list with the number of rows it acts on, put
// before the accelerator: "添加到名录库(&A)" becomes "添加到名录库（3条）(&A)".
QString CountedCaption(const QString& caption, std::size_t rows) {
    if (rows == 0)
        return caption;
    const qsizetype accelerator = caption.lastIndexOf(QStringLiteral("(&"));
    const qsizetype at = accelerator < 0 ? caption.size() : accelerator;
    return caption.left(at) + QStringLiteral("（%1条）").arg(rows) + caption.mid(at);
}

}  // namespace

TBrowserBase::TBrowserBase(TMainDM& dm, Choice choice, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      choice_(choice),
      LBStatus(new QLabel(this)),
      layout_(new QVBoxLayout(this)),
      searchArea_(new QGridLayout),
      buttonArea_(new QHBoxLayout),
      list_(new QTableWidget(this)) {
    auto* conditions = new QGroupBox(QStringLiteral("查询条件区域"), this);
    conditions->setObjectName(QStringLiteral("GBSearch"));
    conditions->setLayout(searchArea_);
    layout_->addWidget(conditions);

    auto* pager = new QGroupBox(QStringLiteral("查询结果翻页控制"), this);
    pager->setObjectName(QStringLiteral("GBPager"));
    // The counts and the page buttons: on one line, or the buttons on a second where a small
    // screen makes the window narrow.
    auto* lines = new WrapRow(pager);
    auto* counts = new QWidget(pager);
    auto* pages = new QWidget(pager);
    lines->addWidget(counts);
    lines->addWidget(pages);
    auto* strip = new QHBoxLayout(counts);
    strip->setContentsMargins(QMargins());
    strip->addWidget(new QLabel(QStringLiteral("共 "), this));
    EDCount = AddPagerField(strip, "EDCount", false);
    strip->addWidget(new QLabel(QStringLiteral("条，分"), this));
    EDPageCount = AddPagerField(strip, "EDPageCount", false);
    strip->addWidget(new QLabel(QStringLiteral("页，每页"), this));
    EDPageSize = AddPagerField(strip, "EDPageSize", true);
    strip->addWidget(new QLabel(QStringLiteral("条，当前第"), this));
    EDCurPage = AddPagerField(strip, "EDCurPage", false);
    strip->addWidget(new QLabel(QStringLiteral("页"), this));
    strip = new QHBoxLayout(pages);
    strip->setContentsMargins(QMargins());
    BTFirst = AddPagerButton(strip, "首页(&F)", "BTFirst", PageMove::First);
    BTPre = AddPagerButton(strip, "前一页(&P)", "BTPre", PageMove::Previous);
    BTNext = AddPagerButton(strip, "后一页(&N)", "BTNext", PageMove::Next);
    BTLast = AddPagerButton(strip, "末页(&L)", "BTLast", PageMove::Last);
    layout_->addWidget(pager);

    list_->setObjectName(QStringLiteral("lvList"));
    SetUpList(list_);
    layout_->addWidget(list_, 1);
    LBStatus->setObjectName(QStringLiteral("LBStatus"));
    layout_->addWidget(LBStatus);
    layout_->addLayout(buttonArea_);

    EDPageSize->setText(QString::number(kDefaultPageSize));
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTableWidget::cellClicked, this,
            [this](int row, int) { Guarded(this, [&] { Toggle(row); }); });
    connect(list_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { Guarded(this, [&] { RowDoubleClicked(row); }); });
    if (choice_ == Choice::Single) {
        connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { Guarded(this, [&] { TickTheHighlight(); }); });
    }
}

TBrowserBase::~TBrowserBase() = default;

QPushButton* TBrowserBase::AddSearchButton(int row, int column) {
    QPushButton* button = NamedButton(this, "查   询(&S)", "BTSearch");
    button->setDefault(true);
    searchArea_->addWidget(button, row, column);
    connect(button, &QPushButton::clicked, this, [this] { Guarded(this, [&] { Search(); }); });
    return button;
}

QPushButton* TBrowserBase::AddButton(const char* caption, const char* name) {
    QPushButton* button = NamedButton(this, caption, name);
    buttonArea_->addWidget(button);
    return button;
}

QPushButton* TBrowserBase::AddRowButton(const char* caption, const char* name) {
    QPushButton* button = AddButton(caption, name);
    button->setEnabled(false);
    rowButtons_.emplace_back(button, button->text());
    return button;
}

bool TBrowserBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress) {
            const int row = list_->rowAt(mouse->position().toPoint().y());
            pressedOnChosen_ = row >= 0 && row == ChosenRow();
        } else if (event->type() == QEvent::MouseButtonDblClick && choice_ == Choice::Single) {
            // The first click of a double click on the chosen row took it back: a double click
            // leaves the row it opens chosen.
            const int row = list_->rowAt(mouse->position().toPoint().y());
            pressedOnChosen_ = false;
            if (row >= 0 && row != ChosenRow())
                list_->selectRow(row);
        }
        return QDialog::eventFilter(watched, event);
    }
    if (watched != list_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int row = list_->currentRow();
    if (key == Qt::Key_Space && list_->rowCount() > 0) {
        pressedOnChosen_ = row >= 0 && row == ChosenRow();
        if (row < 0)  // the cursor is on no row yet: Space takes the first, as Down does
            list_->setCurrentCell(0, 0);
        Guarded(this, [&] { Toggle(std::max(row, 0)); });
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0) {
        Guarded(this, [&] { RowDoubleClicked(row); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QLineEdit* TBrowserBase::AddPagerField(QHBoxLayout* strip, const char* name, bool editable) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(!editable);
    if (!editable)
        field->setFocusPolicy(Qt::ClickFocus);  // Tab goes past what only shows
    // Room for six digits: the count of a large initial-data file.
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    field->setAlignment(Qt::AlignCenter);
    strip->addWidget(field);
    return field;
}

QPushButton* TBrowserBase::AddPagerButton(QHBoxLayout* strip, const char* caption, const char* name,
                                          PageMove move) {
    QPushButton* button = NamedButton(this, caption, name);
    button->setEnabled(false);
    strip->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            [this, move] { Guarded(this, [&] { MovePage(move); }); });
    return button;
}

void TBrowserBase::SetUpColumns(const std::vector<std::string>& descriptions) {
    ui::SetUpColumns(list_, ParseColumnDefs(descriptions));
}

void TBrowserBase::Search() {
    const ListQueryBuilder query = BuildQuery();
    const long long count = query.Count(dm_.Db());
    EDCount->setText(QString::number(count));
    const PageSizeInput pageSize = ParsePageSize(S(EDPageSize->text()));
    // A page size that is not a positive whole number is replaced by the default, visibly.
    if (pageSize.fellBack)
        EDPageSize->setText(QString::number(pageSize.size));
    const long long page =
        PageToShow(ParseCurrentPage(S(EDCurPage->text())), PageCount(count, pageSize.size));
    Statement rows = query.PageStatement(dm_.Db(), pageSize.size, page);
    FillFromQuery(rows);
    UpdatePager(count, pageSize.size, page);
}

void TBrowserBase::FillFromQuery(Statement& page) {
    std::vector<std::vector<std::string>> rows;
    while (page.Step())
        rows.push_back(RowCells(page));

    list_->setUpdatesEnabled(false);
    list_->clearContents();
    list_->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const std::vector<std::string>& cells = rows[std::size_t(r)];
        const QColor colour = RowColour(cells);
        auto place = [&](int column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignCenter);
            item->setToolTip(text);
            if (colour.isValid())
                item->setBackground(colour);
            list_->setItem(r, column, item);
            return item;
        };
        // The tick box is shown but set only by the tick rule, so a click on it does not
        // toggle it twice.
        QTableWidgetItem* number = place(0, RowNumber(r));
        number->setFlags(number->flags() & ~Qt::ItemIsUserCheckable);
        if (choice_ != Choice::None)
            number->setCheckState(Qt::Unchecked);
        for (int c = 0; c < int(cells.size()) && c + 1 < list_->columnCount(); ++c) {
            place(c + 1, Q(cells[std::size_t(c)]));
        }
    }
    FitColumnsToCells(list_);
    list_->setUpdatesEnabled(true);
    // A new page has nothing chosen, what was chosen may be gone or elsewhere, and the cursor is
    // on no row: the first Down or Space takes the first row.
    list_->clearSelection();
    list_->setCurrentIndex(QModelIndex());
    AfterChoice();
}

QString TBrowserBase::RowNumber(int index) const {
    return QString::number(index + 1);
}

QColor TBrowserBase::RowColour(const std::vector<std::string>&) const {
    return {};
}

QString TBrowserBase::WhyNotChoosable(int) const {
    return {};
}

void TBrowserBase::ChoiceChanged() {}

void TBrowserBase::Toggle(int row) {
    if (choice_ == Choice::None)
        return;
    if (choice_ == Choice::Single) {
        // The mouse or Space chose the row already (the highlight moved to it); on the row that
        // was chosen before, it takes the choice back.
        if (pressedOnChosen_) {
            list_->clearSelection();
        } else if (ChosenRow() != row) {
            list_->selectRow(row);
        }
        pressedOnChosen_ = false;
        return;
    }
    if (IsTicked(row)) {
        SetTicked(row, false);
    } else if (const QString refusal = WhyNotChoosable(row); !refusal.isEmpty()) {
        AfterChoice();
        ShowStatus(refusal);
        return;
    } else {
        SetTicked(row, true);
    }
    AfterChoice();
}

void TBrowserBase::TickTheHighlight() {
    const QModelIndexList highlighted = list_->selectionModel()->selectedRows();
    const int chosen = highlighted.isEmpty() ? -1 : highlighted.front().row();
    for (int r = 0; r < list_->rowCount(); ++r)
        SetTicked(r, r == chosen);
    AfterChoice();
}

void TBrowserBase::AfterChoice() {
    const std::size_t chosen = ChosenRows().size();
    for (const auto& [button, caption] : rowButtons_) {
        button->setEnabled(chosen > 0);
        if (choice_ == Choice::Multiple)
            button->setText(CountedCaption(caption, chosen));
    }
    LBStatus->clear();
    ChoiceChanged();
}

void TBrowserBase::TickAll(bool ticked) {
    for (int r = 0; r < list_->rowCount(); ++r)
        SetTicked(r, ticked && WhyNotChoosable(r).isEmpty());
    AfterChoice();
}

void TBrowserBase::ShowStatus(const QString& text) {
    LBStatus->setText(text);
}

void TBrowserBase::RowDoubleClicked(int) {}

void TBrowserBase::UpdatePager(long long count, long long pageSize, long long page) {
    const long long pages = PageCount(count, pageSize);
    EDPageCount->setText(QString::number(pages));
    EDCurPage->setText(QString::number(page));
    const PagerButtons buttons = PagerButtonStates(page, pages);
    BTFirst->setEnabled(buttons.first);
    BTPre->setEnabled(buttons.previous);
    BTNext->setEnabled(buttons.next);
    BTLast->setEnabled(buttons.last);
}

void TBrowserBase::MovePage(PageMove move) {
    long long pages = 0;
    ParseInt(Trim(S(EDPageCount->text())), pages);
    const long long page = PageAfterMove(move, ParseCurrentPage(S(EDCurPage->text())), pages);
    EDCurPage->setText(QString::number(page));
    Search();
}

std::vector<int> TBrowserBase::ChosenRows() const {
    std::vector<int> rows;
    for (int r = 0; r < list_->rowCount(); ++r) {
        if (IsTicked(r))
            rows.push_back(r);
    }
    return rows;
}

int TBrowserBase::ChosenRow() const {
    const std::vector<int> rows = ChosenRows();
    return rows.size() == 1 ? rows.front() : -1;
}

std::string TBrowserBase::Cell(int row, int column) const {
    const QTableWidgetItem* item = list_->item(row, column);
    return item ? S(item->text()) : std::string();
}

bool TBrowserBase::IsTicked(int row) const {
    const QTableWidgetItem* item = list_->item(row, 0);
    return item && item->checkState() == Qt::Checked;
}

void TBrowserBase::SetTicked(int row, bool ticked) {
    if (QTableWidgetItem* item = list_->item(row, 0)) {
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

}  // namespace mlk::ui
