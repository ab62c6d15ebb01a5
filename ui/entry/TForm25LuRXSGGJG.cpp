#include "ui/entry/TForm25LuRXSGGJG.h"

#include "entry/EditorMode.h"
#include "ui/entry/TForm2311JiGXXMX.h"

namespace mlk::ui {

TForm25LuRXSGGJG::TForm25LuRXSGGJG(TMainDM& dm, QWidget* parent)
    : TEntryBrowser(dm,
                    {EntryListKind::SubordinateInstitutions, "录入下属公共机构", 790, 600,
                     mode::kInsertSubordinate, mode::kUpdateSubordinate},
                    parent) {}

void TForm25LuRXSGGJG::OpenEditor(int mode, const GGJG* record) {
    TForm2311JiGXXMX editor(Dm(), mode, record, this);
    editor.Run();
}

}  // namespace mlk::ui
