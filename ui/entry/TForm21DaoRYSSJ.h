#pragma once

#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace mlk {
class TMainDM;
}

namespace mlk::ui {

// "导入初始数据": loads the initial-data file distributed from above, once, or removes what was
// loaded so that another file can be.
class TForm21DaoRYSSJ final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm21DaoRYSSJ)

  public:
    explicit TForm21DaoRYSSJ(TMainDM& dm, QWidget* parent = nullptr);

  private:
    void Button1Click();
    void Button2Click();
    void btDeleteDataClick();

    TMainDM& dm_;
    QString startDirectory_;
    QLineEdit* EDFileName;
    QPushButton* Button1;
    QProgressBar* ProgressBar1;
    QPushButton* Button2;
    QPushButton* btDeleteData;
};

}  // namespace mlk::ui
