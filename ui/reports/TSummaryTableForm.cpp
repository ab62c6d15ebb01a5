#include "ui/reports/TSummaryTableForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "model/TMainDM.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"
#include "ui/app/Lists.h"
#include "ui/reports/SummaryModel.h"

namespace mlk::ui {

namespace {

const QString kNoticeTitle = QStringLiteral("提示信息");

QLabel* NewLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

TSummaryTableForm::TSummaryTableForm(TMainDM& dm, const SummaryWindowLayout& layout,
                                     QWidget* parent)
    : QDialog(parent), dm_(dm), title_(layout.title) {
    setObjectName(QLatin1String(layout.className));
    setWindowTitle(layout.caption);
    resize(layout.size);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumWidth(layout.listWidth);
    auto* heading = new QVBoxLayout(panel);
    QLabel* title = NewLabel(layout.title, "LBTitle", panel);
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 5);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    heading->addWidget(title);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(NewLabel(QStringLiteral("行政区划/部门全称："), "LBUnitCaption", panel));
    unitRow->addWidget(NewLabel(layout.unitName, "LBUnit", panel), 1);
    heading->addLayout(unitRow);
    controls_ = new QHBoxLayout;
    heading->addLayout(controls_);

    model_ = new SummaryModel(this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("lvJGLB"));
    list_->setModel(model_);
    list_->setMinimumWidth(layout.listWidth);
    list_->setMinimumHeight(layout.listHeight);
    SetUpList(list_);

    auto* exportButton = new QPushButton(QStringLiteral("导出excel文件(&E)"), this);
    exportButton->setObjectName(QStringLiteral("bt_export"));
    connect(exportButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { bt_exportClick(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);

    auto* main = new QVBoxLayout(this);
    main->addWidget(panel);
    main->addWidget(list_, 1);
    main->addLayout(buttons);
    OrderTabsByLayout(this);
}

const SummaryTable& TSummaryTableForm::Table() const {
    return model_->Table();
}

void TSummaryTableForm::SetTable(SummaryTable table) {
    model_->SetTable(std::move(table));
    SizeColumns(list_, Table().columns);
    FitColumnsToCells(list_);
}

// The default name is the unit's name and the window's title, with the .xls offered first; .xlsx
// holds the lists too long for .xls. The files are written without any spreadsheet program, so a
// failure is told as what went wrong, in the standard error box.
void TSummaryTableForm::bt_exportClick() {
    const QString proposed = Q(dm_.Unit().DanWMC) + "-" + title_ + ".xls";
    const QString file =
        AskSaveFile(this, QStringLiteral("导出excel文件"), proposed, {kXlsFile, kXlsxFile});
    if (file.isEmpty())
        return;
    SaveSummary(S(file), Table());
    dialogs().Notice(this, kNoticeTitle, QStringLiteral("EXCEL数据导出成功!"));
}

}  // namespace mlk::ui
