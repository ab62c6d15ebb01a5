#include "ui/app/Application.h"

#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "ui/app/AppTitle.h"
#include "ui/app/Dialogs.h"
#include "ui/app/THelpForm.h"

namespace mlk::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(ProductTitle());
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    InstallQtTranslation(QtTranslationFolders());
    installEventFilter(this);
}

// Caught before any window's own keys, so that no window need know of the guide.
bool Application::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        THelpForm::ShowFor(static_cast<QWidget*>(watched)->window());
        return true;
    }
    return QApplication::eventFilter(watched, event);
}

QStringList Application::QtTranslationFolders() {
    const QString beside = applicationDirPath();
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath), beside,
            beside + QStringLiteral("/translations")};
}

bool Application::InstallQtTranslation(const QStringList& folders) {
    auto translator = std::make_unique<QTranslator>(qApp);
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
            installTranslator(translator.release());
            return true;
        }
    }
    return false;
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
