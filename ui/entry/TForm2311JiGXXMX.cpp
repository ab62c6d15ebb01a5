#include "ui/entry/TForm2311JiGXXMX.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "forms/CodeCheck.h"
#include "model/CodeTables.h"
#include "model/TMainDM.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"

namespace mlk::ui {

namespace {

void SelectComboItem(QComboBox* box, const std::string& text) {
    const int index = box->findText(Q(text));
    if (index >= 0)
        box->setCurrentIndex(index);
}

std::string Text(const QComboBox* box) {
    return S(box->currentText());
}
std::string Text(const QLineEdit* field) {
    return S(field->text());
}

}  // namespace

TForm2311JiGXXMX::TForm2311JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent)
    : TEditorBase(dm, mode, record, parent), mode_(mode) {
    setWindowTitle(QStringLiteral("机构详细信息"));
    // The size to start from; the fields may ask for more.
    resize(660, 500);
    BuildControls();

    FillCombo(cbXingZJB, dm.CodeComboItems("XingZJB"));
    FillCombo(cbJigfl1, dm.TopTypeItems());
    FillCombo(cbCaiZJFSY, dm.CodeComboItems("CaiZJFSY"));
    FillCombo(cbJieDLB, dm.CodeComboItems("JieDLB"));
    FillCombo(cbXingzqhss, dm.ProvinceItems());
    FillCombo(cbXingzqhds, {std::string(kAllItem)});
    FillCombo(cbXingzqhxq, {std::string(kAllItem)});
    ReserveCascadeWidths();
    ConnectCascades();

    if (action_ == EditorAction::Insert)
        PrepareInsert();
    else if (HasRecord())
        LoadRecord();
    LBTitle->setText(IsSubordinateMode(mode) ? QStringLiteral("下级公共机构基本信息")
                                             : QStringLiteral("同级公共机构基本信息"));
    FinishBuilding();
}

TForm2311JiGXXMX::~TForm2311JiGXXMX() = default;

void TForm2311JiGXXMX::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    LBTitle = AddHeading(layout, QString());
    LBTitle->setObjectName(QStringLiteral("LBTitle"));

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    auto line = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        return field;
    };
    auto combo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    auto label = [this, grid](const char* text, int row, int column) {
        grid->addWidget(new QLabel(QString::fromUtf8(text), this), row, column, Qt::AlignRight);
    };

    label("单位详细名称：", 0, 0);
    EDJiGMC = line("EDJiGMC");
    EDJiGMC->setMinimumWidth(465);
    grid->addWidget(EDJiGMC, 0, 1, 1, 3);
    label("组织机构代码：", 1, 0);
    grid->addWidget(EDZuZJGDM = line("EDZuZJGDM"), 1, 1);
    label("行业代码：", 1, 2);
    grid->addWidget(EDHangYDM = line("EDHangYDM"), 1, 3);
    label("机构类型：", 2, 0);
    cbJigfl = line("cbJigfl");
    cbJigfl->setReadOnly(true);
    cbJigfl->setFocusPolicy(Qt::ClickFocus);  // shows the type chosen below; Tab goes past
    grid->addWidget(cbJigfl, 2, 1);
    grid->addWidget(cbJigfl1 = combo("cbJigfl1"), 2, 2, 1, 2);
    grid->addWidget(cbJigfl2 = combo("cbJigfl2"), 3, 1);
    grid->addWidget(cbJigfl3 = combo("cbJigfl3"), 3, 2, 1, 2);
    // The row keeps its height while the lower type boxes come and go, so nothing below moves.
    for (QComboBox* lower : {cbJigfl2, cbJigfl3}) {
        QSizePolicy policy = lower->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        lower->setSizePolicy(policy);
        lower->hide();
    }
    label("财政经费来源方式：", 4, 0);
    grid->addWidget(cbCaiZJFSY = combo("cbCaiZJFSY"), 4, 1);
    label("行政级别：", 4, 2);
    grid->addWidget(cbXingZJB = combo("cbXingZJB"), 4, 3);

    // The address in two rows: province and city, then county, street and number; each box as
    // wide as the longest division name it may show.
    label("单位地址：", 5, 0);
    const auto captioned = [this](const char* caption, QWidget* field) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QString::fromUtf8(caption), this));
        row->addWidget(field, 1);
        return row;
    };
    grid->addLayout(captioned("省市区", cbXingzqhss = combo("cbXingzqhss")), 5, 1);
    label("地市州", 5, 2);
    grid->addWidget(cbXingzqhds = combo("cbXingzqhds"), 5, 3);
    grid->addLayout(captioned("县区旗", cbXingzqhxq = combo("cbXingzqhxq")), 6, 1);
    label("街道", 6, 2);
    auto* street = new QHBoxLayout;
    street->addWidget(EDJieD = line("EDJieD"), 3);
    street->addWidget(new QLabel(QStringLiteral("号"), this));
    street->addWidget(EDHaoP = line("EDHaoP"), 1);
    grid->addLayout(street, 6, 3);

    label("节点类别：", 7, 0);
    grid->addWidget(cbJieDLB = combo("cbJieDLB"), 7, 1);
    cbJieDLB->setEnabled(false);
    label("邮政编码：", 7, 2);
    grid->addWidget(EDYouZBM = line("EDYouZBM"), 7, 3);
    label("联系人：", 8, 0);
    grid->addWidget(EDLianXR = line("EDLianXR"), 8, 1);
    label("联系电话：", 8, 2);
    grid->addWidget(EDLianXDH = line("EDLianXDH"), 8, 3);
    label("填表日期：", 9, 0);
    grid->addWidget(EDTianBRQ = line("EDTianBRQ"), 9, 1);
    label("更新状态：", 9, 2);
    grid->addWidget(EDGengxzt = line("EDGengxzt"), 9, 3);
    EDGengxzt->setEnabled(false);
    label("排序：", 10, 0);
    grid->addWidget(EDShunX = line("EDShunX"), 10, 1);

    LBZuZJGDMTS = new QLabel(this);
    LBZuZJGDMTS->setObjectName(QStringLiteral("LBZuZJGDMTS"));
    LBZuZJGDMTS->setWordWrap(true);
    LBZuZJGDMTS->setStyleSheet(QStringLiteral("color: #a00000"));
    LBZuZJGDMTS->hide();
    layout->addWidget(LBZuZJGDMTS);

    // Carriers of values that the user does not edit.
    EDXingZQH = line("EDXingZQH");
    EDJieDMC = line("EDJieDMC");
    EDZhiSZGBMQC = line("EDZhiSZGBMQC");
    EDYeWZGBMQC = line("EDYeWZGBMQC");
    for (QLineEdit* hidden : {EDXingZQH, EDJieDMC, EDZhiSZGBMQC, EDYeWZGBMQC})
        hidden->hide();
    for (QLineEdit* digits : {EDLianXDH, EDYouZBM, EDXingZQH, EDShunX})
        AcceptDigitsOnly(digits);

    AddButtons(layout);
}

void TForm2311JiGXXMX::ReserveCascadeWidths() {
    const QString type = Q(dm_.LongestTypeItem());
    for (QComboBox* box : {cbJigfl1, cbJigfl2, cbJigfl3})
        WidenComboFor(box, {type});
    cbJigfl->setMinimumWidth(cbJigfl2->minimumWidth());
    WidenComboFor(cbXingzqhds, {Q(dm_.LongestDivisionItem("市"))});
    WidenComboFor(cbXingzqhxq, {Q(dm_.LongestDivisionItem("县"))});
}

void TForm2311JiGXXMX::ConnectCascades() {
    // A box being emptied reports index -1; only a choice moves the cascade on.
    auto on = [this](QComboBox* box, auto chosen) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, chosen](int index) {
            if (index >= 0)
                Guarded(this, chosen);
        });
    };
    on(cbJigfl1, [this] { TypeChosen(cbJigfl1, cbJigfl2, cbJigfl3); });
    on(cbJigfl2, [this] { TypeChosen(cbJigfl2, cbJigfl3, nullptr); });
    on(cbJigfl3, [this] { TypeChosen(cbJigfl3, nullptr, nullptr); });
    on(cbXingzqhss, [this] { ProvinceChosen(); });
    on(cbXingzqhds, [this] { CityChosen(); });
    on(cbXingzqhxq, [this] { CountyChosen(); });
    connect(EDZuZJGDM, &QLineEdit::textEdited, this, &TForm2311JiGXXMX::CodeEdited);
}

void TForm2311JiGXXMX::PrepareInsert() {
    cbJigfl1->show();
    EDGengxzt->setText(QStringLiteral("0-新增"));
    EDXingZQH->setReadOnly(true);
    ShowForm(InsertForm(dm_, mode_));
}

void TForm2311JiGXXMX::LoadRecord() {
    const XingZQH division = dm_.GetXingZQH(working_.XingZQH);
    SetEditable(action_ == EditorAction::Update);
    if (!division.ssbm.empty()) {
        const QSignalBlocker city(cbXingzqhds), county(cbXingzqhxq);
        FillCombo(cbXingzqhds, dm_.CityItems(division.ssbm));
        FillCombo(cbXingzqhxq, dm_.CountyItems(division.dsbm));
    }
    cbJigfl1->setVisible(action_ == EditorAction::Update);
    EDGengxzt->setText(Q(working_.GengXZT));
    ShowForm(LoadedForm(dm_, working_));
}

void TForm2311JiGXXMX::ShowForm(const InstitutionForm& f) {
    {
        // The boxes are set to the form; the cascades must not refill them meanwhile.
        const QSignalBlocker province(cbXingzqhss), city(cbXingzqhds), county(cbXingzqhxq);
        SelectComboItem(cbXingzqhss, f.Xingzqhss);
        SelectComboItem(cbXingzqhds, f.Xingzqhds);
        SelectComboItem(cbXingzqhxq, f.Xingzqhxq);
    }
    SelectComboItem(cbXingZJB, f.XingZJB);
    SelectComboItem(cbCaiZJFSY, f.CaiZJFSY);
    SelectComboItem(cbJieDLB, f.JieDLB);
    cbJigfl->setText(Q(f.Jigfl));
    const std::pair<QLineEdit*, const std::string&> fields[] = {
        {EDJiGMC, f.JiGMC},         {EDZuZJGDM, f.ZuZJGDM},
        {EDHangYDM, f.HangYDM},     {EDZhiSZGBMQC, f.ZhiSZGBMQC},
        {EDYeWZGBMQC, f.YeWZGBMQC}, {EDJieD, f.JieD},
        {EDHaoP, f.HaoP},           {EDYouZBM, f.YouZBM},
        {EDLianXR, f.LianXR},       {EDLianXDH, f.LianXDH},
        {EDXingZQH, f.XingZQH},     {EDTianBRQ, f.TianBRQ},
        {EDJieDMC, f.JieDMC},       {EDShunX, f.ShunX}};
    for (const auto& [field, text] : fields)
        field->setText(Q(text));
}

void TForm2311JiGXXMX::SetEditable(bool editable) {
    for (QLineEdit* field : {EDJiGMC, EDZuZJGDM, EDHangYDM, EDJieD, EDHaoP, EDYouZBM, EDLianXR,
                             EDLianXDH, EDTianBRQ, EDShunX}) {
        field->setReadOnly(!editable);
    }
    for (QComboBox* box : {cbJigfl1, cbJigfl2, cbJigfl3, cbCaiZJFSY, cbXingZJB, cbXingzqhss,
                           cbXingzqhds, cbXingzqhxq}) {
        box->setEnabled(editable);
    }
}

void TForm2311JiGXXMX::TypeChosen(QComboBox* box, QComboBox* below, QComboBox* belowThat) {
    for (QComboBox* lower : {belowThat, below}) {
        if (!lower)
            continue;
        const QSignalBlocker blocker(lower);
        lower->clear();
        lower->hide();
    }
    cbJigfl->clear();
    const std::string chosen = Text(box);
    // The placeholder heads the child list; choosing it leaves the type unchosen.
    if (chosen == kChooseItem)
        return;
    const std::vector<std::string> children =
        below ? ChildTypesOfItem(dm_, chosen) : std::vector<std::string>{};
    if (children.empty()) {
        cbJigfl->setText(Q(chosen));
        return;
    }
    std::vector<std::string> items{kChooseItem};
    items.insert(items.end(), children.begin(), children.end());
    const QSignalBlocker blocker(below);
    FillCombo(below, items);
    below->show();
}

void TForm2311JiGXXMX::ProvinceChosen() {
    const std::string chosen = Text(cbXingzqhss);
    if (chosen == kAllItem)
        return;
    FillCombo(cbXingzqhds, dm_.CityItems(chosen.substr(0, 6)));
}

void TForm2311JiGXXMX::CityChosen() {
    const std::string chosen = Text(cbXingzqhds);
    if (chosen == kAllItem)
        return;
    FillCombo(cbXingzqhxq, dm_.CountyItems(chosen.substr(0, 6)));
}

void TForm2311JiGXXMX::CountyChosen() {
    const std::string chosen = Text(cbXingzqhxq);
    if (chosen == kAllItem)
        return;
    EDXingZQH->setText(Q(chosen.substr(0, 6)));
    ShowCodeNotes();
}

void TForm2311JiGXXMX::CodeEdited(const QString& text) {
    creditNotes_.clear();
    creditDivision_.clear();
    if (const std::optional<CreditCode> credit = ReadCreditCode(S(text))) {
        creditNotes_ = credit->notes;
        creditDivision_ = credit->division;
        EDZuZJGDM->setText(Q(credit->organisation));
    }
    ShowCodeNotes();
}

void TForm2311JiGXXMX::ShowCodeNotes() {
    std::vector<std::string> notes = creditNotes_;
    if (const auto other = CreditDivisionNote(creditDivision_, Text(EDXingZQH)))
        notes.push_back(*other);
    LBZuZJGDMTS->setText(Q(Join(notes, "\n")));
    LBZuZJGDMTS->setVisible(!notes.empty());
}

bool TForm2311JiGXXMX::MaySaveCode(const InstitutionForm& form) {
    const std::optional<std::string> warning = CheckCharacterWarning(form, working_);
    return !warning || dialogs().Confirm(this, QStringLiteral("是否保存"),
                                         Q(*warning + "，是否仍然保存？"), Dialogs::Answer::Cancel);
}

InstitutionForm TForm2311JiGXXMX::ReadForm() const {
    InstitutionForm f;
    f.JiGMC = Text(EDJiGMC);
    f.ZuZJGDM = Text(EDZuZJGDM);
    f.HangYDM = Text(EDHangYDM);
    f.Jigfl = Text(cbJigfl);
    f.jigfl2Visible = !cbJigfl2->isHidden();
    f.jigfl3Visible = !cbJigfl3->isHidden();
    f.XingZJB = Text(cbXingZJB);
    f.JieDLB = Text(cbJieDLB);
    f.CaiZJFSY = Text(cbCaiZJFSY);
    f.Xingzqhss = Text(cbXingzqhss);
    f.Xingzqhds = Text(cbXingzqhds);
    f.Xingzqhxq = Text(cbXingzqhxq);
    f.JieD = Text(EDJieD);
    f.HaoP = Text(EDHaoP);
    f.YouZBM = Text(EDYouZBM);
    f.LianXR = Text(EDLianXR);
    f.LianXDH = Text(EDLianXDH);
    f.TianBRQ = Text(EDTianBRQ);
    f.ShunX = Text(EDShunX);
    f.XingZQH = Text(EDXingZQH);
    f.JieDMC = Text(EDJieDMC);
    f.ZhiSZGBMQC = Text(EDZhiSZGBMQC);
    f.YeWZGBMQC = Text(EDYeWZGBMQC);
    return f;
}

bool TForm2311JiGXXMX::Check(InstitutionForm& form) {
    const CheckResult failure = CheckInstitution(dm_, form, working_, mode_);
    EDJieDMC->setText(Q(form.JieDMC));
    EDZhiSZGBMQC->setText(Q(form.ZhiSZGBMQC));
    EDYeWZGBMQC->setText(Q(form.YeWZGBMQC));
    if (failure)
        ShowCheckFailure(*failure);
    return !failure;
}

bool TForm2311JiGXXMX::CheckInput() {
    InstitutionForm form = ReadForm();
    return Check(form);
}

void TForm2311JiGXXMX::SaveNew() {
    InstitutionForm form = ReadForm();
    if (!Check(form) || !MaySaveCode(form))
        return;
    InsertInstitution(dm_, form);
    accept();
}

void TForm2311JiGXXMX::SaveChanges() {
    InstitutionForm form = ReadForm();
    if (!Check(form) || !MaySaveCode(form))
        return;
    UpdateInstitution(dm_, working_, form);
    accept();
}

}  // namespace mlk::ui
