#include "ui/reports/TForm64ShiYDWSL.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "model/CodeTables.h"
#include "model/TMainDM.h"
#include "reports/TypeSummary.h"
#include "text/Text.h"
#include "ui/app/Dialogs.h"
#include "ui/app/Keyboard.h"

namespace mlk::ui {

namespace {

// "--全部--" followed by the types.
std::vector<std::string> WithAllItem(std::vector<std::string> items) {
    items.insert(items.begin(), std::string(kAllItem));
    return items;
}

// The code of the chosen item, or empty for the all item (or an item without a code).
std::string ChosenCode(const QComboBox* combo) {
    const std::string text = S(combo->currentText());
    if (combo->currentIndex() <= 0 || text.find('-') == std::string::npos)
        return {};
    return ItemCode(text);
}

}  // namespace

TForm64ShiYDWSL::TForm64ShiYDWSL(TMainDM& dm, QWidget* parent)
    : TSummaryTableForm(dm,
                        {"TForm64ShiYDWSL", QStringLiteral("事业单位数量汇总表"),
                         SummaryKind::Types, QSize(520, 450), 480},
                        parent) {
    auto* typeLabel = new QLabel(QStringLiteral("事业单位类型："), this);
    typeLabel->setObjectName(QStringLiteral("LBJigfl"));
    cbJigfl2_ = new QComboBox(this);
    cbJigfl2_->setObjectName(QStringLiteral("cbJigfl2"));
    cbJigfl3_ = new QComboBox(this);
    cbJigfl3_->setObjectName(QStringLiteral("cbJigfl3"));
    auto* search = new QPushButton(QStringLiteral("查询(&S)"), this);
    search->setObjectName(QStringLiteral("btSearch"));
    QHBoxLayout* row = ControlsRow();
    row->addWidget(typeLabel);
    row->addWidget(cbJigfl2_, 1);
    row->addWidget(cbJigfl3_, 1);
    row->addWidget(search);

    SetTable(TypeSummaryColumns());
    Guarded(this, [&] { FillCombo(cbJigfl2_, WithAllItem(SecondLevelTypeItems(dm))); });
    FillCombo(cbJigfl3_, WithAllItem({}));
    // Room for any third-level type, kept while the box is hidden, so the row never moves.
    WidenComboFor(cbJigfl3_, {Q(dm.LongestTypeItem())});
    QSizePolicy keep = cbJigfl3_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    cbJigfl3_->setSizePolicy(keep);
    cbJigfl3_->hide();

    connect(cbJigfl2_, &QComboBox::currentIndexChanged, this,
            [this] { Guarded(this, [&] { cbJigfl2Change(); }); });
    connect(search, &QPushButton::clicked, this,
            [this] { Guarded(this, [&] { btSearchClick(); }); });
    search->setAutoDefault(false);
    search->setDefault(true);  // Enter on a type box searches
    OrderTabsByLayout(this);
}

// A new second-level type forgets the former third-level choice.
void TForm64ShiYDWSL::cbJigfl2Change() {
    cbJigfl3_->clear();
    cbJigfl3_->hide();
    const std::string code = ChosenCode(cbJigfl2_);
    if (code.empty())
        return;
    const std::vector<std::string> children = ChildTypeItems(Dm(), code);
    if (children.empty())
        return;
    FillCombo(cbJigfl3_, WithAllItem(children));
    cbJigfl3_->show();
}

void TForm64ShiYDWSL::btSearchClick() {
    SetTable(TypeSummaryColumns());
    const std::string second = ChosenCode(cbJigfl2_);
    const std::string third = cbJigfl3_->isVisibleTo(this) ? ChosenCode(cbJigfl3_) : std::string();
    MakeTable([&](TMainDM& own, Progress&) { return TypeSummary(own, second, third); });
}

}  // namespace mlk::ui
