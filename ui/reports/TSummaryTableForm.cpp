#include "ui/reports/TSummaryTableForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "print/SummaryPages.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/app/Lists.h"
#include "ui/app/LongWork.h"
#include "ui/app/OnScreen.h"
#include "ui/reports/SummaryModel.h"

namespace mlk::ui {

namespace {

const QString kNoticeTitle = QStringLiteral("提示信息");
// Above this many rows (some six hundred pages) the preview would hold too many pages in memory.
constexpr std::size_t kPreviewRows = 20000;

QLabel* NewLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

TSummaryTableForm::TSummaryTableForm(TMainDM& dm, const SummaryWindowLayout& layout,
                                     QWidget* parent)
    : QDialog(parent), dm_(dm), heading_(HeadingOf(layout.kind, dm.Unit())) {
    setObjectName(QLatin1String(layout.className));
    setWindowTitle(layout.caption);
    resize(layout.size);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumWidth(layout.listWidth);
    auto* heading = new QVBoxLayout(panel);
    QLabel* title = NewLabel(Q(heading_.title), "LBTitle", panel);
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 5);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    heading->addWidget(title);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(NewLabel(QStringLiteral("行政区划/部门全称："), "LBUnitCaption", panel));
    unitRow->addWidget(NewLabel(Q(heading_.unit), "LBUnit", panel), 1);
    heading->addLayout(unitRow);
    controls_ = new QHBoxLayout;
    heading->addLayout(controls_);

    model_ = new SummaryModel(this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("lvJGLB"));
    list_->setModel(model_);
    list_->setMinimumWidth(layout.listWidth);
    SetUpList(list_);
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        Guarded(this, [&] { RowDoubleClicked(index.row()); });
    });
    list_->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const struct {
        const char* caption;
        const char* name;
        void (TSummaryTableForm::*click)();
    } actions[] = {{"打印预览(&P)", "bt_preview", &TSummaryTableForm::bt_previewClick},
                   {"导出PDF(&D)", "bt_pdf", &TSummaryTableForm::bt_pdfClick},
                   {"导出excel文件(&E)", "bt_export", &TSummaryTableForm::bt_exportClick}};
    for (const auto& action : actions) {
        auto* button = new QPushButton(QString::fromUtf8(action.caption), this);
        button->setObjectName(QLatin1String(action.name));
        connect(button, &QPushButton::clicked, this,
                [this, click = action.click] { Guarded(this, [&] { (this->*click)(); }); });
        buttons->addWidget(button);
    }

    auto* main = new QVBoxLayout(this);
    main->addWidget(panel);
    main->addWidget(list_, 1);
    main->addLayout(buttons);
    OrderTabsByLayout(this);
}

const SummaryTable& TSummaryTableForm::Table() const {
    return model_->Table();
}

void TSummaryTableForm::RowDoubleClicked(int) {}

bool TSummaryTableForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return QDialog::eventFilter(watched, event);
    if (list_->currentIndex().isValid())
        Guarded(this, [&] { RowDoubleClicked(list_->currentIndex().row()); });
    return true;
}

void TSummaryTableForm::SetTable(SummaryTable table) {
    model_->SetTable(std::move(table));
    SizeColumns(list_, Table().columns);
    FitColumnsToCells(list_);
}

bool TSummaryTableForm::MakeTable(const TableMaker& make) {
    SummaryTable made;
    if (!LongWork(this, QStringLiteral("正在计算") + windowTitle() + QStringLiteral("…"))
             .Run(dm_, [&](TMainDM& own, Progress& progress) { made = make(own, progress); }))
        return false;
    SetTable(std::move(made));
    return true;
}

void TSummaryTableForm::MakeFirstTable(const TableMaker& make) {
    Guarded(this, [&] {
        if (!MakeTable(make))
            Abandon(this);
    });
}

QString TSummaryTableForm::FileName(const char* extension) const {
    return Q(dm_.Unit().DanWMC) + "-" + Q(heading_.title) + QLatin1String(extension);
}

// A4 landscape unless the user chooses otherwise in the preview. The preview holds every page
// in memory at once: a table of the centre's size is saved as a PDF file instead.
void TSummaryTableForm::bt_previewClick() {
    if (Table().rows.size() > kPreviewRows) {
        dialogs().Message(
            this, QStringLiteral("汇总表共%1行，页数太多，无法预览。请导出PDF文件后查看或打印。")
                      .arg(Table().rows.size()));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    print::SummaryPages::SetDefaultPage(printer);
    printer.setDocName(Q(heading_.title));
    print::SummaryPages pages(Table(), heading_, TMainDM::TodayText());
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("打印预览 - ") + Q(heading_.title));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* device) {
        QPainter painter(device);
        pages.Print(painter, *device);
    });
    ShowModal(preview, 0.85);
}

void TSummaryTableForm::bt_pdfClick() {
    const QString file = AskSaveFile(this, QStringLiteral("导出PDF"), FileName(".pdf"), {kPdfFile});
    if (file.isEmpty())
        return;
    print::SummaryPages pages(Table(), heading_, TMainDM::TodayText());
    if (!LongWork(this, QStringLiteral("正在导出PDF文件…")).Run([&](Progress& progress) {
            print::SaveSummaryPdf(PathFromText(S(file)), pages, &progress);
        }))
        return;
    dialogs().Notice(this, kNoticeTitle, QStringLiteral("PDF文件导出成功!"));
}

// The files are written without any spreadsheet program, so a failure is told as what went wrong,
// in the standard error box.
void TSummaryTableForm::bt_exportClick() {
    ExportTable(this, FileName(".xls"), Table());
}

void ExportTable(QWidget* parent, const QString& proposed, const SummaryTable& table) {
    const QString file =
        AskSaveFile(parent, QStringLiteral("导出excel文件"), proposed, {kXlsFile, kXlsxFile});
    if (file.isEmpty())
        return;
    if (!LongWork(parent, QStringLiteral("正在导出excel文件…")).Run([&](Progress& progress) {
            SaveSummary(S(file), table, &progress);
        }))
        return;
    dialogs().Notice(parent, kNoticeTitle, QStringLiteral("EXCEL数据导出成功!"));
}

}  // namespace mlk::ui
