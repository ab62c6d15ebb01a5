#pragma once

#include "ui/entry/TBrowserBase.h"

class QComboBox;

namespace mlk::ui {

// "选择公共机构": lists the loaded initial data, lets the user tick the rows that belong to the
// unit's directory and adds them in one batch ("添加到名录库").
class TForm22XuanZGGJG final : public TBrowserBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm22XuanZGGJG)

  public:
    explicit TForm22XuanZGGJG(TMainDM& dm, QWidget* parent = nullptr);

  private:
    ListQueryBuilder BuildQuery() override;
    std::vector<std::string> RowCells(const Statement& row) override;
    QString WhyNotChoosable(int row) const override;
    void BTXuanZClick();

    QLineEdit* EDJiGMC;
    QLineEdit* EDDiZhi;
    QComboBox* cbXuanZBZ;
    QPushButton* BTXuanZ = nullptr;
};

}  // namespace mlk::ui
