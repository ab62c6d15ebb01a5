#include "ui/exchange/TForm51DaoCSJ.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "exchange/Correction.h"
#include "exchange/Export.h"
#include "model/TMainDM.h"
#include "platform/Platform.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Gauge.h"
#include "ui/app/Keyboard.h"
#include "ui/app/LongWork.h"
#include "ui/app/OnScreen.h"
#include "ui/exchange/TForm5111GaiZSJ.h"

namespace mlk::ui {

TForm51DaoCSJ::TForm51DaoCSJ(TMainDM& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm51DaoCSJ"));
    setWindowTitle(QStringLiteral("导出数据"));
    resize(485, 360);

    const CaoZDWXX& unit = dm.Unit();
    const long long confirmed = ConfirmedCount(dm);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->addWidget(AddLabel("LBDanWMC", "操作单位全称：" + Q(unit.DanWMC)));
    layout->addWidget(AddLabel("LBXingZLSJB", "行政l隶属级别：" + Q(unit.XingZLSJBMC)));
    layout->addWidget(AddLabel("LBShengS", "省市：" + Q(unit.ssmc)));
    layout->addWidget(AddLabel("LBDiS", "地市：" + Q(unit.dsmc)));
    layout->addWidget(AddLabel("LBXianQ", "县区：" + Q(unit.xqmc)));
    layout->addWidget(AddLabel("LBDanWLB", "单位类别：" + Q(unit.DanWLXMC)));
    layout->addWidget(AddLabel("LBJieDMC", "节点名称：" + Q(unit.JieDMC)));
    layout->addWidget(AddLabel("LBCaoZRXM", "操作人姓名：" + Q(unit.TianBRXM)));
    layout->addWidget(AddLabel("LBJiGSL", "机构数量：" + QString::number(confirmed)));

    BTDaoC = new QPushButton(QStringLiteral("导出上报数据(&E)"), this);
    BTDaoC->setObjectName(QStringLiteral("BTDaoC"));
    BTDaoC->setEnabled(confirmed > 0);
    layout->addWidget(BTDaoC, 0, Qt::AlignHCenter);
    PBDaoC = new Gauge(this);
    PBDaoC->setObjectName(QStringLiteral("PBDaoC"));
    PBDaoC->hide();
    layout->addWidget(PBDaoC);
    connect(BTDaoC, &QPushButton::clicked, this, [this] { Guarded(this, [&] { BTDaoCClick(); }); });
    OrderTabsByLayout(this);
}

QLabel* TForm51DaoCSJ::AddLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

void TForm51DaoCSJ::BTDaoCClick() {
    if (const CheckResult refusal = CheckExport(dm_)) {
        dialogs().Message(this, Q(refusal->message));
        return;
    }
    const QString file = AskSaveFile(this, QStringLiteral("导出上报数据"),
                                     Q(ExportFileName(dm_.Unit())), {kTextFile});
    if (file.isEmpty())
        return;

    const long long count = ConfirmedCount(dm_);
    if (dialogs().Confirm(this, QStringLiteral("是否确认导出"), Q(ExportQuestion(count)),
                          Dialogs::Answer::Ok)) {
        PBDaoC->show();
        long long rows = 0;
        try {
            if (!LongWork(this, QStringLiteral("正在导出…"))
                     .ShowingOn(PBDaoC)
                     .Run(dm_, [&](TMainDM& own, Progress& progress) {
                         rows = ExportDirectory(own, PathFromText(S(file)), progress);
                     })) {
                PBDaoC->hide();
                return;
            }
            dialogs().Message(this, Q(ExportDoneMessage(rows)));
        } catch (const UntravelableError& error) {
            PBDaoC->hide();
            OfferCorrection(error.Values());
            return;
        }
    }
    accept();
}

void TForm51DaoCSJ::OfferCorrection(const std::vector<UntravelableValue>& values) {
    // A message box holds a few lines; the correction window lists them all.
    constexpr std::size_t kListed = 10;
    if (!dialogs().Confirm(
            this, QStringLiteral("是否改正"),
            Q(UntravelableMessage(values, kListed)) + QStringLiteral("\n\n是否现在改正？"),
            Dialogs::Answer::Ok)) {
        return;
    }
    TForm5111GaiZSJ correcting(dm_, values, this);
    ShowModal(correcting);
}

}  // namespace mlk::ui
