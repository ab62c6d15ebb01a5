#pragma once

#include <QString>

namespace mlk::ui {

// The product title: the application's name, the main window's caption and the title of the
// program's own message boxes.
inline QString ProductTitle() {
    return QStringLiteral("公共机构名录库");
}

}  // namespace mlk::ui
