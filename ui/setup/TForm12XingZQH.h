#pragma once

#include <QDialog>

#include "model/XingZQH.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "行政区划维护": the divisions as a tree of provinces, cities and counties, loaded level by
// level as nodes are expanded, where the user adds a city under a province or a county under a
// city, and renames or removes a city or county that nothing uses yet.
class TForm12XingZQH final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm12XingZQH)

  public:
    explicit TForm12XingZQH(TMainDM& dm, QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const XingZQH& division);
    static XingZQH DivisionOf(const QTreeWidgetItem* node);
    // Reads the node's stored children the first time it is needed.
    void LoadChildren(QTreeWidgetItem* node);
    void ShowNode(const QTreeWidgetItem* node);
    // Browsing (tree and its buttons usable, edits off), or adding or renaming (the reverse,
    // "保存" and "取消"; renaming keeps the code).
    enum class State { Browsing, Adding, Renaming };
    void SetState(State state);

    void TreeView1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void BTRenameClick();
    void BTRemoveClick();

    TMainDM& dm_;
    QTreeWidget* TreeView1;
    QPushButton* Button1;
    QPushButton* BTRename;
    QPushButton* BTRemove;
    State state_ = State::Browsing;
    QLineEdit* EDName;
    QLineEdit* EDCode;
    QPushButton* Button2;
    QPushButton* Button3;
};

}  // namespace mlk::ui
