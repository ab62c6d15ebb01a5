#pragma once

#include "entry/InstitutionEntry.h"
#include "ui/entry/TEditorBase.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace mlk::ui {

// "机构详细信息": one directory entry field by field, with the one action of its editor mode
// (insert, update, delete, confirm, or view only).
class TForm2311JiGXXMX final : public TEditorBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2311JiGXXMX)

  public:
    // record: the entry loaded in full by its JiGID; nullptr in the insert modes.
    TForm2311JiGXXMX(TMainDM& dm, int mode, const GGJG* record, QWidget* parent = nullptr);
    ~TForm2311JiGXXMX() override;

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
    // A unified social credit code typed or pasted into the code field leaves its organisation
    // code there; the editor says so below the fields.
    void CodeEdited(const QString& text);
    void ShowCodeNotes();
    // Asks before a new or changed organisation code with a wrong check character is saved.
    bool MaySaveCode(const InstitutionForm& form);

    InstitutionForm ReadForm() const;
    // Runs the completeness check, writing back the hidden fields it sets; true when it passed.
    bool Check(InstitutionForm& form);
    bool CheckInput() override;
    void SaveNew() override;
    void SaveChanges() override;

    const int mode_;

    QLabel* LBTitle;
    QLineEdit *EDJiGMC, *EDZuZJGDM, *EDHangYDM, *cbJigfl;
    QComboBox *cbJigfl1, *cbJigfl2, *cbJigfl3, *cbCaiZJFSY, *cbXingZJB;
    QComboBox *cbXingzqhss, *cbXingzqhds, *cbXingzqhxq, *cbJieDLB;
    QLineEdit *EDJieD, *EDHaoP, *EDYouZBM, *EDLianXR, *EDLianXDH, *EDTianBRQ, *EDGengxzt, *EDShunX;
    QLineEdit *EDXingZQH, *EDJieDMC, *EDZhiSZGBMQC, *EDYeWZGBMQC;
    QLabel* LBZuZJGDMTS;
    // What the last credit code said of itself, and its division, for as long as the code field
    // holds the organisation code taken from it.
    std::vector<std::string> creditNotes_;
    std::string creditDivision_;
};

}  // namespace mlk::ui
