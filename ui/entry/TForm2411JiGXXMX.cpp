#include "ui/entry/TForm2411JiGXXMX.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry/AgencyEntry.h"
#include "entry/EntryActions.h"
#include "ui/app/Dialogs.h"
#include "ui/entry/EditorSupport.h"

namespace mlk::ui {

TForm2411JiGXXMX::TForm2411JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent)
    : QDialog(parent), dm_(dm), action_(ActionOfMode(mode)) {
    setWindowTitle(QStringLiteral("节能管理机构信息"));
    resize(600, 300);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("节能管理机构信息"), this);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto line = [this, form](const char* label, const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromUtf8(label), field);
        return field;
    };
    EDJiGMC = line("单位详细名称：", "EDJiGMC");
    EDLianXR = line("联系人：", "EDLianXR");
    EDLianXDH = line("联系电话：", "EDLianXDH");
    EDJieDMC = line("节点名称：", "EDJieDMC");
    EDShunX = line("排序：", "EDShunX");
    AcceptDigitsOnly(EDLianXDH);
    AcceptDigitsOnly(EDShunX);
    // Kept for the shape of the record; an agency has no county.
    EDXingZQH = new QLineEdit(this);
    EDXingZQH->setObjectName(QStringLiteral("EDXingZQH"));
    EDXingZQH->hide();

    layout->addStretch();
    auto* buttonRow = new QHBoxLayout;
    layout->addLayout(buttonRow);
    buttons_ = std::make_unique<EditorButtons>(this, buttonRow);
    buttons_->ShowFor(action_);
    buttons_->Connect(
        this, [this] { SaveNew(); }, [this] { SaveChanges(); }, [this] { Delete(); },
        [this] { Confirm(); });

    if (action_ != EditorAction::Insert && action_ != EditorAction::Invalid && record)
        LoadRecord(*record);
    OrderTabsByLayout(this);
    opened_.Take(this);
}

void TForm2411JiGXXMX::LoadRecord(const GGJG& record) {
    working_.AssignFrom(record);
    working_.ShunX = record.ShunX;
    working_.JiC = record.JiC;
    const AgencyForm shown = AgencyFormOf(working_);
    EDJiGMC->setText(Q(shown.JiGMC));
    EDLianXR->setText(Q(shown.LianXR));
    EDLianXDH->setText(Q(shown.LianXDH));
    EDJieDMC->setText(Q(shown.JieDMC));
    EDShunX->setText(Q(shown.ShunX));
    for (QLineEdit* field : {EDJiGMC, EDLianXR, EDLianXDH, EDJieDMC, EDShunX}) {
        field->setReadOnly(action_ != EditorAction::Update);
    }
}

void TForm2411JiGXXMX::reject() {
    if (MayDiscard(this, opened_))
        QDialog::reject();
}

TForm2411JiGXXMX::~TForm2411JiGXXMX() = default;

int TForm2411JiGXXMX::Run() {
    if (action_ == EditorAction::Invalid) {
        dialogs().Message(this, QStringLiteral("非法操作！"));
        return QDialog::Rejected;
    }
    return exec();
}

AgencyForm TForm2411JiGXXMX::ReadForm() const {
    return {S(EDJiGMC->text()), S(EDLianXR->text()), S(EDLianXDH->text()), S(EDJieDMC->text()),
            S(EDShunX->text())};
}

bool TForm2411JiGXXMX::Check() {
    const CheckResult failure = CheckAgency(ReadForm());
    if (failure)
        ShowCheckFailure(this, *failure);
    return !failure;
}

void TForm2411JiGXXMX::SaveNew() {
    if (!Check())
        return;
    InsertAgency(dm_, ReadForm());
    accept();
}

void TForm2411JiGXXMX::SaveChanges() {
    if (!Check())
        return;
    UpdateAgency(dm_, working_, ReadForm());
    accept();
}

void TForm2411JiGXXMX::Delete() {
    if (!AskDelete(this))
        return;
    DeleteEntry(dm_, working_.JiGID);
    accept();
}

void TForm2411JiGXXMX::Confirm() {
    if (!Check() || !AskConfirm(this))
        return;
    ConfirmEntry(dm_, working_);
    accept();
}

}  // namespace mlk::ui
