#pragma once

#include <QRect>

class QDialog;
class QWidget;

namespace mlk::ui {

// Sizes and places a window before it shows, inside the room an area gives it (by default the
// available area of its screen, the task bar left out): the size it was made with where that
// fits, else what the area holds, its layout shrinking to it; centred in the area. With a screen
// share, that share of the area. The window manager's frame around it counts as part of it.
void FitOnScreen(QWidget& window, double screenShare = 0, QRect area = {});

// Shows a window modally, fitted on its screen; a window whose making was cancelled is not shown.
// The dialog's result.
int ShowModal(QDialog& window, double screenShare = 0);

}  // namespace mlk::ui
