#pragma once

#include <QDialog>

#include "entry/EditorMode.h"
#include "forms/Check.h"
#include "model/GGJG.h"
#include "ui/app/Keyboard.h"

class QBoxLayout;
class QLabel;
class QPushButton;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// What both entry editors share: the one action the editor mode fixes, its button among "保存",
// "修改", "删除", "通过核查" (at most one of them visible) and "关闭", the delete and the confirm
// with their question boxes, the refusal of an unknown mode, and the question before typed
// input is lost. A derived editor builds its fields, calls AddButtons() below them and
// FinishBuilding() last, and supplies its check and its two saves.
class TEditorBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEditorBase)

  public:
    ~TEditorBase() override;

    // Shows the window modally; a mode outside the known ones is refused with "非法操作！".
    int Run();
    // Closing (Esc, "关闭", the close box) asks first when typed input would be lost.
    void reject() override;

  protected:
    // record: the entry loaded in full by its JiGID, copied into the working record except in
    // the insert modes; nullptr in the insert modes.
    TEditorBase(TMainDM& dm, int mode, const GGJG* record, QWidget* parent);

    // Whether the working record holds the entry handed in, for the window to show.
    bool HasRecord() const { return hasRecord_; }
    // Adds the bold centred heading.
    QLabel* AddHeading(QBoxLayout* layout, const QString& text);
    // Adds the row of action buttons at the foot of the window.
    void AddButtons(QBoxLayout* layout);
    // Orders the tabs and notes the input as opened; the last step of building the window.
    void FinishBuilding();
    // Shows a failed check in a plain message box and focuses its control.
    void ShowCheckFailure(const CheckFailure& failure);

    // The completeness check guarding the saves and the confirm; true when it passed.
    virtual bool CheckInput() = 0;
    virtual void SaveNew() = 0;
    virtual void SaveChanges() = 0;

    TMainDM& dm_;
    const EditorAction action_;
    GGJG working_;

  private:
    void ShowButtonOfAction();
    void ConnectButtons();
    void Delete();
    void Confirm();

    const bool hasRecord_;
    InputSnapshot opened_;
    QPushButton *btInsert = nullptr, *btUpdate = nullptr, *btDelete = nullptr, *btQueR = nullptr,
                *Button2 = nullptr;
};

}  // namespace mlk::ui
