#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

namespace mlk::ui {

// The box of long work (LongWork): what is being done, or that the database is waited for, a
// progress bar and 取消. Closing it, or Esc, cancels as well; it goes when the work has ended.
class TWorkBox final : public QDialog {
    Q_OBJECT

  public:
    TWorkBox(QWidget* parent, const QString& what);

    // A range of 0 shows a bar that only says the work goes on.
    void Report(std::int64_t range, std::int64_t position, bool waitingForLock);

  signals:
    void CancelRequested();

  public slots:
    void reject() override;

  private:
    QString what_;
    QLabel* LBWhat;
    QProgressBar* PBWork;
    QPushButton* BTCancel;
};

}  // namespace mlk::ui
