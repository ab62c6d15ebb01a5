#pragma once

#include "ui/entry/TEntryBrowser.h"

namespace mlk::ui {

// "录入下级管理机构": the agency's subordinate energy-saving management agencies.
class TForm24LuRXJGLJG final : public TEntryBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm24LuRXJGLJG)

  public:
    explicit TForm24LuRXJGLJG(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void OpenEditor(int mode, const GGJG* record) override;
};

}  // namespace mlk::ui
