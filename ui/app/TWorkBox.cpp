#include "ui/app/TWorkBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/app/LongWork.h"

namespace mlk::ui {

namespace {
// A bar holds an int: large counts are shown in thousandths.
constexpr int kSteps = 1000;
}  // namespace

TWorkBox::TWorkBox(QWidget* parent, const QString& what) : QDialog(parent), what_(what) {
    setObjectName(QStringLiteral("TWorkBox"));
    setWindowTitle(QStringLiteral("请稍候"));
    setWindowModality(Qt::ApplicationModal);
    LBWhat = new QLabel(what, this);
    LBWhat->setObjectName(QStringLiteral("LBWhat"));
    // Wide enough for either text, so that the box keeps its size when the text changes.
    LBWhat->setMinimumWidth(
        std::max(LBWhat->fontMetrics().horizontalAdvance(QString::fromUtf8(kWaitingForLock)),
                 LBWhat->fontMetrics().horizontalAdvance(what)) +
        40);
    PBWork = new QProgressBar(this);
    PBWork->setObjectName(QStringLiteral("PBWork"));
    PBWork->setRange(0, 0);
    BTCancel = new QPushButton(QStringLiteral("取消"), this);
    BTCancel->setObjectName(QStringLiteral("BTCancel"));
    BTCancel->setAutoDefault(false);
    connect(BTCancel, &QPushButton::clicked, this, &TWorkBox::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BTCancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(LBWhat);
    layout->addWidget(PBWork);
    layout->addLayout(buttons);
}

void TWorkBox::Report(std::int64_t range, std::int64_t position, bool waitingForLock) {
    if (!BTCancel->isEnabled())
        return;  // cancelling: says so until the work has ended
    LBWhat->setText(waitingForLock ? QString::fromUtf8(kWaitingForLock) : what_);
    if (range <= 0) {
        PBWork->setRange(0, 0);
        return;
    }
    PBWork->setRange(0, kSteps);
    PBWork->setValue(int(std::clamp<std::int64_t>(position, 0, range) * kSteps / range));
}

// Asks the work to stop; the box goes when the work has.
void TWorkBox::reject() {
    if (!BTCancel->isEnabled())
        return;
    BTCancel->setEnabled(false);
    LBWhat->setText(QStringLiteral("正在取消…"));
    emit CancelRequested();
}

}  // namespace mlk::ui
