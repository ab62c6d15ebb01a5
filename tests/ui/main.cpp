// The window tests drive real widgets; without a display they run on the offscreen platform.
// The program's own application object catches what escapes a handler, as it does in use.
#include <gtest/gtest.h>

#include "ui/app/Application.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    mlk::ui::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
