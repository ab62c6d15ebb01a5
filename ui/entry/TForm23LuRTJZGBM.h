#pragma once

#include "ui/entry/TEntryBrowser.h"

namespace mlk::ui {

// "录入同级主管部门": the agency's same-level competent departments.
class TForm23LuRTJZGBM final : public TEntryBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm23LuRTJZGBM)

  public:
    explicit TForm23LuRTJZGBM(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void OpenEditor(int mode, const GGJG* record) override;
};

}  // namespace mlk::ui
