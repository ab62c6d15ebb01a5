#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

#include "RecordingDialogs.h"
#include "TestSupport.h"
#include "data/MlkError.h"
#include "data/TMainDM.h"
#include "ui/app/Application.h"
#include "ui/app/Startup.h"

namespace mlk::test {
namespace {

// A missing or empty file is created with its reference rows; a file that is not a database
// stops the start in the standard error box and stays untouched.
TEST(Startup, OpensOrCreatesTheDatabaseAndLeavesAnythingElseAlone) {
    std::string garbage = "这不是数据库文件\n";
    for (int i = 0; i < 300; ++i)
        garbage += char(i * 37 % 256);
    for (const std::optional<std::string>& bytes :
         {std::optional<std::string>(), std::optional<std::string>(""), std::optional(garbage)}) {
        TempDir dir;
        if (bytes)
            WriteFile(dir / "GGJGMLK.DB", *bytes);
        RecordingDialogs dialogs;
        const auto dm = ui::OpenDataModule(dir / "GGJGMLK.DB");
        if (bytes == garbage) {
            EXPECT_EQ(dm, nullptr);
            ASSERT_EQ(dialogs.errors.size(), 1);
            EXPECT_TRUE(dialogs.errors[0].startsWith("程序无法启动。"));
            EXPECT_TRUE(dialogs.errors[0].contains("GGJGMLK.DB"));
            EXPECT_EQ(ReadFile(dir / "GGJGMLK.DB"), garbage);
            continue;
        }
        ASSERT_NE(dm, nullptr);
        EXPECT_GT(dm->QueryInt("select count(*) from MLK_XingZQH"), 3000);
        EXPECT_FALSE(dm->Unit().ZhuCeBZ);
        EXPECT_TRUE(dialogs.errors.isEmpty());
    }
}

// An object whose event handler fails, as a window's handler might.
class FailingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw MlkError("处理失败");
        return QObject::event(event);
    }
};

TEST(Startup, AnExceptionEscapingAHandlerIsShownAndTheProgramGoesOn) {
    RecordingDialogs dialogs;
    FailingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    EXPECT_EQ(dialogs.errors, QStringList{"处理失败"});
}

// Qt's standard buttons and file dialogs speak Chinese; without the translation file the program
// still starts, in Qt's English.
TEST(Startup, QtsOwnTextsReadChinese) {
    QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.labelText(QFileDialog::LookIn).startsWith("查找范围"));

    TempDir empty;
    EXPECT_FALSE(
        ui::Application::InstallQtTranslation({QString::fromStdString(empty.Path().string())}));
}

}  // namespace
}  // namespace mlk::test
