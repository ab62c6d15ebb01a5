#include "ui/entry/TForm2411JiGXXMX.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/app/Dialogs.h"

namespace mlk::ui {

TForm2411JiGXXMX::TForm2411JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent)
    : TEditorBase(dm, mode, record, parent) {
    setWindowTitle(QStringLiteral("节能管理机构信息"));
    resize(600, 300);
    auto* layout = new QVBoxLayout(this);
    AddHeading(layout, QStringLiteral("节能管理机构信息"));

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

    AddButtons(layout);
    if (HasRecord())
        LoadRecord();
    FinishBuilding();
}

TForm2411JiGXXMX::~TForm2411JiGXXMX() = default;

void TForm2411JiGXXMX::LoadRecord() {
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

AgencyForm TForm2411JiGXXMX::ReadForm() const {
    return {S(EDJiGMC->text()), S(EDLianXR->text()), S(EDLianXDH->text()), S(EDJieDMC->text()),
            S(EDShunX->text())};
}

bool TForm2411JiGXXMX::CheckInput() {
    const CheckResult failure = CheckAgency(ReadForm());
    if (failure)
        ShowCheckFailure(*failure);
    return !failure;
}

void TForm2411JiGXXMX::SaveNew() {
    if (!CheckInput())
        return;
    InsertAgency(dm_, ReadForm());
    accept();
}

void TForm2411JiGXXMX::SaveChanges() {
    if (!CheckInput())
        return;
    UpdateAgency(dm_, working_, ReadForm());
    accept();
}

}  // namespace mlk::ui
