#pragma once

#include <QDialog>
#include <string>

#include "ui/app/Keyboard.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace mlk {
class TMainDM;
}

namespace mlk::setup {
struct ZhuCeInput;
}

namespace mlk::ui {

// "软件使用单位信息": registers the operating unit once; afterwards it only shows it, locked.
class TForm11ZhuCe final : public QDialog {
    Q_OBJECT

  public:
    explicit TForm11ZhuCe(TMainDM& dm, QWidget* parent = nullptr);
    // Closing (Esc, "关闭", the close box) asks first when typed input would be lost.
    void reject() override;

  signals:
    // The unit was registered and the window closed; the menu must follow.
    void Registered();

  private:
    void BuildControls();
    void showCaoZDW();
    setup::ZhuCeInput ReadInput() const;

    void cbXingZQHSSChange();
    void cbXingZQHDSChange();
    void cbXingZLSJBChange();
    void cbJieDLBChange();
    void Button1Click();

    TMainDM& dm_;
    QLineEdit* editJgmc_;
    QComboBox* cbXingZLSJB_;
    QComboBox* cbXingZQHSS_;
    QComboBox* cbXingZQHDS_;
    QComboBox* cbXingZQHXQ_;
    QComboBox* cbJieDLB_;
    QLineEdit* EditJieDMC_;
    QLineEdit* editTianBRXM_;
    QLineEdit* EditTianBSJ_;
    QPushButton* Button1_;
    QPushButton* Button2_;
    InputSnapshot opened_;
};

}  // namespace mlk::ui
