#include "ui/setup/TForm11ZhuCe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/TMainDM.h"
#include "setup/ZhuCe.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"

namespace mlk::ui {
namespace {

template <class Control>
Control* Named(QWidget* parent, const char* name) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QComboBox* NamedCombo(QWidget* parent, const char* name) {
    auto* combo = Named<QComboBox>(parent, name);
    combo->setEditable(false);
    return combo;
}

void SelectComboItem(QComboBox* combo, const std::string& text) {
    const int index = combo->findText(Q(text), Qt::MatchExactly);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

std::string SelectedText(const QComboBox* combo) {
    return S(combo->currentText());
}

}  // namespace

TForm11ZhuCe::TForm11ZhuCe(TMainDM& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TForm11ZhuCe"));
    setWindowTitle(QStringLiteral("软件使用单位信息"));
    BuildControls();
    // The size to start from; the controls may ask for more.
    resize(500, 320);
    EditTianBSJ_->setReadOnly(true);
    showCaoZDW();
    // Enter registers; once registered, it closes the window.
    (Button1_->isHidden() ? Button2_ : Button1_)->setDefault(true);
    OrderTabsByLayout(this);
    opened_.Take(this);
}

void TForm11ZhuCe::reject() {
    if (MayDiscard(this, opened_))
        QDialog::reject();
}

void TForm11ZhuCe::BuildControls() {
    auto* heading = new QLabel(QStringLiteral("软件使用单位信息"), this);
    heading->setObjectName(QStringLiteral("LBTitle"));
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setPointSize(headingFont.pointSize() + 4);
    headingFont.setBold(true);
    heading->setFont(headingFont);

    editJgmc_ = Named<QLineEdit>(this, "editJgmc");
    cbXingZLSJB_ = NamedCombo(this, "cbXingZLSJB");
    cbXingZQHSS_ = NamedCombo(this, "cbXingZQHSS");
    cbXingZQHDS_ = NamedCombo(this, "cbXingZQHDS");
    cbXingZQHXQ_ = NamedCombo(this, "cbXingZQHXQ");
    cbJieDLB_ = NamedCombo(this, "cbJieDLB");
    EditJieDMC_ = Named<QLineEdit>(this, "EditJieDMC");
    editTianBRXM_ = Named<QLineEdit>(this, "editTianBRXM");
    EditTianBSJ_ = Named<QLineEdit>(this, "EditTianBSJ");
    Button1_ = NamedButton(this, "确定(&O)", "Button1");
    Button2_ = NamedButton(this, "关闭(&C)", "Button2");

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    const auto label = [this](const char* text) {
        auto* caption = new QLabel(QString::fromUtf8(text), this);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return caption;
    };
    grid->addWidget(label("单位全称："), 0, 0);
    grid->addWidget(editJgmc_, 0, 1, 1, 3);
    const struct {
        const char* leftCaption;
        QWidget* left;
        const char* rightCaption;
        QWidget* right;
    } rows[] = {
        {"行政隶属级别：", cbXingZLSJB_, "所在省市：", cbXingZQHSS_},
        {"所在地市：", cbXingZQHDS_, "所在区县：", cbXingZQHXQ_},
        {"单位类型：", cbJieDLB_, "节点名称：", EditJieDMC_},
        {"填表人姓名：", editTianBRXM_, "初始化时间：", EditTianBSJ_},
    };
    int row = 1;
    for (const auto& pair : rows) {
        grid->addWidget(label(pair.leftCaption), row, 0);
        grid->addWidget(pair.left, row, 1);
        grid->addWidget(label(pair.rightCaption), row, 2);
        grid->addWidget(pair.right, row, 3);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1_);
    buttons->addSpacing(40);
    buttons->addWidget(Button2_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(heading);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    // Only a choice of the user runs the handlers, not a selection made by the window itself.
    connect(cbXingZQHSS_, &QComboBox::activated, this,
            [this] { Guarded(this, [&] { cbXingZQHSSChange(); }); });
    connect(cbXingZQHDS_, &QComboBox::activated, this,
            [this] { Guarded(this, [&] { cbXingZQHDSChange(); }); });
    connect(cbXingZLSJB_, &QComboBox::activated, this,
            [this] { Guarded(this, [&] { cbXingZLSJBChange(); }); });
    connect(cbJieDLB_, &QComboBox::activated, this,
            [this] { Guarded(this, [&] { cbJieDLBChange(); }); });
    connect(Button1_, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { Button1Click(); }); });
    connect(Button2_, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm11ZhuCe::showCaoZDW() {
    FillCombo(cbXingZLSJB_, dm_.CodeComboItems("XingZLSJB"));
    FillCombo(cbXingZQHSS_, dm_.ProvinceItems());
    FillCombo(cbJieDLB_, dm_.CodeComboItems("JieDLB"));
    WidenComboFor(cbXingZQHDS_, {Q(dm_.LongestDivisionItem("市"))});
    WidenComboFor(cbXingZQHXQ_, {Q(dm_.LongestDivisionItem("县"))});

    const CaoZDWXX& unit = dm_.Unit();
    if (!unit.ZhuCeBZ) {
        EditTianBSJ_->setText(Q(TMainDM::NowText()));
        return;
    }
    // Registered once for good: the window only shows the unit.
    Button1_->hide();
    Button1_->setEnabled(false);
    FillCombo(cbXingZQHDS_, dm_.CityItems(unit.ssbm));
    FillCombo(cbXingZQHXQ_, dm_.CountyItems(unit.dsbm));
    for (QLineEdit* edit : {editJgmc_, EditJieDMC_, editTianBRXM_})
        edit->setReadOnly(true);
    for (QComboBox* combo : {cbXingZLSJB_, cbXingZQHSS_, cbXingZQHDS_, cbXingZQHXQ_, cbJieDLB_}) {
        combo->setEnabled(false);
    }
    editJgmc_->setText(Q(unit.DanWMC));
    EditJieDMC_->setText(Q(unit.JieDMC));
    editTianBRXM_->setText(Q(unit.TianBRXM));
    EditTianBSJ_->setText(Q(unit.ChuSHSJ));
    SelectComboItem(cbXingZLSJB_, unit.XingZLSJB + "-" + unit.XingZLSJBMC);
    SelectComboItem(cbXingZQHSS_, unit.ssbm + "-" + unit.ssmc);
    SelectComboItem(cbXingZQHDS_, unit.dsbm + "-" + unit.dsmc);
    SelectComboItem(cbXingZQHXQ_, unit.XingZQH + "-" + unit.xqmc);
    SelectComboItem(cbJieDLB_, unit.DanWLX + "-" + unit.DanWLXMC);
}

setup::ZhuCeInput TForm11ZhuCe::ReadInput() const {
    setup::ZhuCeInput input;
    input.editJgmc = S(editJgmc_->text());
    input.cbXingZLSJB = SelectedText(cbXingZLSJB_);
    input.cbXingZQHSS = SelectedText(cbXingZQHSS_);
    input.cbXingZQHDS = SelectedText(cbXingZQHDS_);
    input.cbXingZQHXQ = SelectedText(cbXingZQHXQ_);
    input.cbJieDLB = SelectedText(cbJieDLB_);
    input.EditJieDMC = S(EditJieDMC_->text());
    input.editTianBRXM = S(editTianBRXM_->text());
    input.EditTianBSJ = S(EditTianBSJ_->text());
    return input;
}

void TForm11ZhuCe::cbXingZQHSSChange() {
    if (cbXingZQHSS_->currentIndex() <= 0)
        return;
    cbXingZQHDS_->clear();
    cbXingZQHXQ_->clear();
    FillCombo(cbXingZQHDS_, dm_.CityItems(ItemCode(SelectedText(cbXingZQHSS_))));
    // A province without cities is its own city, already chosen: its county list follows.
    if (setup::IsItemChosen(SelectedText(cbXingZQHDS_)))
        cbXingZQHDSChange();
}

void TForm11ZhuCe::cbXingZQHDSChange() {
    // The own entry of a province without cities stands at the first position and counts.
    if (!setup::IsItemChosen(SelectedText(cbXingZQHDS_)))
        return;
    cbXingZQHXQ_->clear();
    FillCombo(cbXingZQHXQ_, dm_.CountyItems(ItemCode(SelectedText(cbXingZQHDS_))));
}

void TForm11ZhuCe::cbXingZLSJBChange() {
    cbJieDLB_->setCurrentIndex(0);
}

void TForm11ZhuCe::cbJieDLBChange() {
    EditJieDMC_->clear();
    const setup::NodeNameResult result = setup::DeriveJieDMC(ReadInput());
    if (result.failure) {
        dialogs().Message(this, Q(result.failure->message));
        return;
    }
    EditJieDMC_->setText(Q(result.name));
}

void TForm11ZhuCe::Button1Click() {
    if (const CheckResult failure = setup::ZhuCe(dm_, ReadInput())) {
        dialogs().Message(this, Q(failure->message));
        if (auto* control = findChild<QWidget*>(Q(failure->focus)))
            control->setFocus();
        return;
    }
    accept();
    emit Registered();
}

}  // namespace mlk::ui
