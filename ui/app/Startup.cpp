#include "ui/app/Startup.h"

#include "model/TMainDM.h"
#include "platform/FileErrors.h"
#include "ui/app/Dialogs.h"

namespace mlk::ui {

std::unique_ptr<TMainDM> OpenDataModule(const std::filesystem::path& path) {
    try {
        return std::make_unique<TMainDM>(path);
    } catch (const std::exception& error) {
        dialogs().Error(nullptr, QStringLiteral("程序无法启动。\n\n") +
                                     QString::fromStdString(ErrorMessage(error)));
        return nullptr;
    }
}

}  // namespace mlk::ui
