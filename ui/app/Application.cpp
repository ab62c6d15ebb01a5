#include "ui/app/Application.h"

#include "ui/app/AppTitle.h"
#include "ui/app/Dialogs.h"

namespace mlk::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ProductTitle());
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(nullptr, error);
    } catch (...) {
        dialogs().Error(nullptr, QStringLiteral("发生未知错误。"));
    }
    return false;
}

}  // namespace mlk::ui
