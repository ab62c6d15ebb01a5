#pragma once

#include <QDialog>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace mlk {
class TMainDM;
struct UntravelableValue;
}  // namespace mlk

namespace mlk::ui {

// "导出数据": writes the whole directory into one exchange file for the level above; allowed
// only when every institution is confirmed. Closes itself after an export.
class TForm51DaoCSJ final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm51DaoCSJ)

  public:
    explicit TForm51DaoCSJ(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void BTDaoCClick();
    // Shows what cannot travel and, when the user agrees, the window to correct it.
    void OfferCorrection(const std::vector<UntravelableValue>& values);
    QLabel* AddLabel(const char* name, const QString& text);

    TMainDM& dm_;
    QPushButton* BTDaoC;
    QProgressBar* PBDaoC;
};

}  // namespace mlk::ui
