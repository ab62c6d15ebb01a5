#include "ui/entry/TForm23LuRTJZGBM.h"

#include "entry/EditorMode.h"
#include "ui/entry/TForm2311JiGXXMX.h"

namespace mlk::ui {

TForm23LuRTJZGBM::TForm23LuRTJZGBM(TMainDM& dm, QWidget* parent)
    : TEntryBrowser(dm,
                    {EntryListKind::SameLevelDepartments, "录入同级主管部门", 790, 600,
                     mode::kInsertSameLevel, mode::kUpdateSameLevel},
                    parent) {}

void TForm23LuRTJZGBM::OpenEditor(int mode, const GGJG* record) {
    TForm2311JiGXXMX editor(Dm(), mode, record, this);
    editor.Run();
}

}  // namespace mlk::ui
