#pragma once

#include <QDialog>
#include <memory>

#include "data/GGJG.h"
#include "entry/AgencyEntry.h"
#include "entry/EditorMode.h"
#include "ui/app/Keyboard.h"

class QLineEdit;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

struct EditorButtons;

// "节能管理机构信息": the editor of a subordinate energy-saving management agency, with a name,
// node name, contact, telephone and display order.
class TForm2411JiGXXMX final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2411JiGXXMX)

  public:
    // record: the agency loaded in full by its JiGID; nullptr in the insert modes.
    TForm2411JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent = nullptr);
    ~TForm2411JiGXXMX() override;

    // Shows the window modally; a mode outside the known ones is refused with "非法操作！".
    int Run();
    // Closing (Esc, "关闭", the close box) asks first when typed input would be lost.
    void reject() override;

  private:
    void LoadRecord(const GGJG& record);
    AgencyForm ReadForm() const;
    bool Check();
    void SaveNew();
    void SaveChanges();
    void Delete();
    void Confirm();

    TMainDM& dm_;
    const EditorAction action_;
    GGJG working_;
    InputSnapshot opened_;
    QLineEdit *EDJiGMC, *EDLianXR, *EDLianXDH, *EDJieDMC, *EDShunX, *EDXingZQH;
    std::unique_ptr<EditorButtons> buttons_;
};

}  // namespace mlk::ui
