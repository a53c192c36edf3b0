// The view tests need a QApplication before any widget exists, with the toolkit's Turkish
// texts as the program loads them. They draw offscreen unless told otherwise, so they also
// run (and are listed by CTest) without a display.
#include "gui/GuiApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!belmo::gui::useTurkish()) return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
