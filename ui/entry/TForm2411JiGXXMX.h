#pragma once

#include "entry/AgencyEntry.h"
#include "ui/entry/TEditorBase.h"

class QLineEdit;

namespace mlk::ui {

// "节能管理机构信息": the editor of a subordinate energy-saving management agency, with a name,
// node name, contact, telephone and display order.
class TForm2411JiGXXMX final : public TEditorBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2411JiGXXMX)

  public:
    // record: the agency loaded in full by its JiGID; nullptr in the insert modes.
    TForm2411JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent = nullptr);
    ~TForm2411JiGXXMX() override;

  private:
    void LoadRecord();
    AgencyForm ReadForm() const;
    bool CheckInput() override;
    void SaveNew() override;
    void SaveChanges() override;

    QLineEdit *EDJiGMC, *EDLianXR, *EDLianXDH, *EDJieDMC, *EDShunX, *EDXingZQH;
};

}  // namespace mlk::ui
