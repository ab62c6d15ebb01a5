#pragma once

#include <QApplication>
#include <QStringList>

namespace mlk::ui {

// The application object of the program (and of the window tests): Qt's own texts (standard
// buttons, message boxes, file dialogs) read Chinese, an exception that escaped an event handler
// is shown in the standard error box, and the program goes on. F1 opens the user guide in any
// window, at the section that explains it.
class Application final : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Where Qt's Chinese translation is looked for: Qt's translations folder, then beside the
    // program and its translations folder, as a deployed copy carries it.
    static QStringList QtTranslationFolders();
    // Installs Qt's Chinese translation from the first folder that holds it; false when none
    // does, and the program goes on with Qt's English texts.
    static bool InstallQtTranslation(const QStringList& folders);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace mlk::ui
