#pragma once

#include <QPixmap>

namespace mlk::ui {

// The two pictures of the main window, painted when the window is built.
// The title banner: the product title over a public building.
QPixmap PaintTitleBanner(const QSize& size);
// The steps banner below "操作步骤：": the order in which the menu is worked through.
QPixmap PaintStepsBanner(const QSize& size);

}  // namespace mlk::ui
