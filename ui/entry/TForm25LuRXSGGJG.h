#pragma once

#include "ui/entry/TEntryBrowser.h"

namespace mlk::ui {

// "录入下属公共机构": the competent department's subordinate public institutions.
class TForm25LuRXSGGJG final : public TEntryBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm25LuRXSGGJG)

  public:
    explicit TForm25LuRXSGGJG(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void OpenEditor(int mode, const GGJG* record) override;
};

}  // namespace mlk::ui
