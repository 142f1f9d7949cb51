// A QApplication around the tests; offscreen unless a platform is named.
// What the program keeps for its next start goes to a directory of the
// test process's own, never to the home of whoever runs the tests.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "no temporary directory for the settings: %s\n", qPrintable(config.errorString()));
        return 1;
    }
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
