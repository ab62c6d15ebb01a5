#include "ui/entry/TForm24LuRXJGLJG.h"

#include "entry/EditorMode.h"
#include "ui/entry/TForm2411JiGXXMX.h"

namespace mlk::ui {

TForm24LuRXJGLJG::TForm24LuRXJGLJG(TMainDM& dm, QWidget* parent)
    : TEntryBrowser(dm,
                    {EntryListKind::Agencies, "录入下级管理机构", 790, 560, mode::kInsertAgency,
                     mode::kUpdateAgency},
                    parent) {}

void TForm24LuRXJGLJG::OpenEditor(int mode, const GGJG* record) {
    TForm2411JiGXXMX editor(Dm(), mode, record, this);
    editor.Run();
}

}  // namespace mlk::ui
