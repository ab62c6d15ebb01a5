#include "print/PaintingApplication.h"

#include <QGuiApplication>
#include <clocale>
#include <string>

namespace mlk::print {

namespace {

QtMessageHandler passOn = nullptr;

// Only what stops Qt reaches the user.
void DropNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        passOn(type, context, message);
}

}  // namespace

PaintingApplication::PaintingApplication() {
    if (QCoreApplication::instance())
        return;
#ifndef _WIN32
    // No display is needed, nor looked for.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    previous_ = passOn = qInstallMessageHandler(DropNotes);
    // Qt takes the environment's locale for the whole process; the program's output keeps its own.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    std::setlocale(LC_ALL, locale.c_str());
}

PaintingApplication::~PaintingApplication() {
    app_.reset();
    if (passOn)
        qInstallMessageHandler(previous_);
}

}  // namespace mlk::print
