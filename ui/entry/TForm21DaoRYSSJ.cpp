#include "ui/entry/TForm21DaoRYSSJ.h"

#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "entry/InitialData.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Gauge.h"
#include "ui/app/Keyboard.h"
#include "ui/app/LongWork.h"

namespace mlk::ui {

TForm21DaoRYSSJ::TForm21DaoRYSSJ(TMainDM& dm, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      startDirectory_(QDir::currentPath()),
      EDFileName(new QLineEdit(this)),
      Button1(NamedButton(this, "选择下发文件(&O)", "Button1")),
      ProgressBar1(new Gauge(this)),
      Button2(NamedButton(this, "导入(&I)", "Button2")),
      btDeleteData(NamedButton(this, "删除已导入数据(&D)", "btDeleteData")) {
    setObjectName(QStringLiteral("TForm21DaoRYSSJ"));
    setWindowTitle(QStringLiteral("导入初始数据"));
    resize(500, 250);

    EDFileName->setObjectName(QStringLiteral("EDFileName"));
    EDFileName->setReadOnly(true);
    EDFileName->setFocusPolicy(Qt::ClickFocus);  // filled by the file dialog; Tab goes past
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->setValue(0);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setVerticalSpacing(18);
    layout->addWidget(EDFileName, 0, 0, 1, 2);
    layout->addWidget(Button1, 0, 2);
    layout->addWidget(ProgressBar1, 1, 0, 1, 3);
    layout->addWidget(Button2, 2, 1);
    layout->addWidget(btDeleteData, 2, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(3, 1);

    const bool imported = InitialDataImported(dm_);
    Button1->setEnabled(!imported);
    Button2->setEnabled(false);
    btDeleteData->setEnabled(imported);

    connect(Button1, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button2Click(); }); });
    connect(btDeleteData, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { btDeleteDataClick(); }); });
    OrderTabsByLayout(this);
}

void TForm21DaoRYSSJ::Button1Click() {
    const QString file = dialogs().OpenFile(this, QStringLiteral("选择下发文件"), startDirectory_,
                                            QStringLiteral("文本文件 (*.txt)"));
    if (file.isEmpty())
        return;
    EDFileName->setText(file);
    Button2->setEnabled(true);
}

void TForm21DaoRYSSJ::Button2Click() {
    const std::string file = Trim(S(EDFileName->text()));
    if (file.empty())
        return;
    if (InitialDataImported(dm_)) {
        dialogs().Message(this, Q(std::string(kAlreadyImportedMessage)));
        return;
    }
    InitialLoadResult result;
    if (!LongWork(this, QStringLiteral("正在导入初始数据…"))
             .ShowingOn(ProgressBar1)
             .Run(dm_, [&](TMainDM& own, Progress& progress) {
                 result = LoadInitialData(own, PathFromText(file), &progress);
             }))
        return;
    // An empty file closes the window without a word.
    if (result.lines > 0)
        dialogs().Message(this, Q(InitialLoadMessage(result)));
    accept();
}

// Asks first, naming the rows that go; only OK removes.
void TForm21DaoRYSSJ::btDeleteDataClick() {
    if (!dialogs().Confirm(
            this, QStringLiteral("是否删除"),
            Q(RemoveInitialQuestion(InitialRowCount(dm_)) + std::string(kSafetyCopyNote)),
            Dialogs::Answer::Cancel))
        return;
    if (!LongWork(this, QStringLiteral("正在保存安全副本并删除初始数据…"))
             .ShowingOn(ProgressBar1)
             .Run(dm_, [&](TMainDM& own, Progress& progress) {
                 RemoveInitialData(own, SafetyCopy::Keep, progress);
             }))
        return;
    dialogs().Message(this, Q(std::string(kRemovedMessage)));
    accept();
}

}  // namespace mlk::ui
