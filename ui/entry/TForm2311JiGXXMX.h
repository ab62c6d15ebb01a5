#pragma once

#include <QDialog>
#include <memory>

#include "data/GGJG.h"
#include "entry/EditorMode.h"
#include "entry/InstitutionEntry.h"
#include "ui/app/Keyboard.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

struct EditorButtons;

// "机构详细信息": one directory entry field by field, with the one action of its editor mode
// (insert, update, delete, confirm, or view only).
class TForm2311JiGXXMX final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2311JiGXXMX)

  public:
    // record: the entry loaded in full by its JiGID; nullptr in the insert modes.
    TForm2311JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent = nullptr);
    ~TForm2311JiGXXMX() override;

    // Shows the window modally; a mode outside the known ones is refused with "非法操作！".
    int Run();
    // Closing (Esc, "关闭", the close box) asks first when typed input would be lost.
    void reject() override;

  private:
    void BuildControls();
    void ReserveCascadeWidths();
    void ConnectCascades();
    void PrepareInsert();
    void LoadRecord();
    // Sets every control to what the form holds.
    void ShowForm(const InstitutionForm& form);
    void SetEditable(bool editable);

    void TypeChosen(QComboBox* box, QComboBox* below, QComboBox* belowThat);
    void ProvinceChosen();
    void CityChosen();
    void CountyChosen();

    InstitutionForm ReadForm() const;
    // Runs the completeness check, writing back the hidden fields it sets; true when it passed.
    bool Check(InstitutionForm& form);
    void SaveNew();
    void SaveChanges();
    void Delete();
    void Confirm();

    TMainDM& dm_;
    const int mode_;
    const EditorAction action_;
    GGJG working_;
    InputSnapshot opened_;

    QLabel* LBTitle;
    QLineEdit *EDJiGMC, *EDZuZJGDM, *EDHangYDM, *cbJigfl;
    QComboBox *cbJigfl1, *cbJigfl2, *cbJigfl3, *cbCaiZJFSY, *cbXingZJB;
    QComboBox *cbXingzqhss, *cbXingzqhds, *cbXingzqhxq, *cbJieDLB;
    QLineEdit *EDJieD, *EDHaoP, *EDYouZBM, *EDLianXR, *EDLianXDH, *EDTianBRQ, *EDGengxzt, *EDShunX;
    QLineEdit *EDXingZQH, *EDJieDMC, *EDZhiSZGBMQC, *EDYeWZGBMQC;
    std::unique_ptr<EditorButtons> buttons_;
};

}  // namespace mlk::ui
