#pragma once

#include <QDialog>
#include <deque>
#include <optional>

#include "model/GGJG.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "审核数据": the unit tree on the left (loaded as nodes are expanded), the institutions directly
// under the selected node on the right, and the approval of every institution under a unit
// directly below the operating unit.
class TForm41ShenHSJ final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm41ShenHSJ)

  public:
    explicit TForm41ShenHSJ(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void tvDanWExpanding(QTreeWidgetItem* node);
    void tvDanWChange(QTreeWidgetItem* node);
    void BTShenHClick();
    // Fills the list with the rows under key; enables approval when canApprove and rows came.
    void ShowList(const std::string& key, bool canApprove);
    // The record a node carries; none for the root.
    const GGJG* RecordOf(const QTreeWidgetItem* node) const;

    TMainDM& dm_;
    QTreeWidget* tvDanW;
    QTableWidget* lvJGLB;
    QPushButton* BTShenH;
    QLabel* LBShenH;            // why "审核" is disabled
    std::deque<GGJG> records_;  // the records of the tree's nodes; a node holds its index
    std::optional<GGJG> current_;
};

}  // namespace mlk::ui
