// Test runner: a real QApplication (offscreen unless a display is given) under GoogleTest.
#include "platform/Fonts.h"

#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never touch the operator's own settings from a test.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    return RUN_ALL_TESTS();
}
