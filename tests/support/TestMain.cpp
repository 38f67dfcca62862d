// One application object for every test binary, with message boxes recorded rather than
// shown, and the user's real config and cache folders kept out of reach.

#include "MessageBoxRecorder.h"
#include "WinApp.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QTemporaryDir cache; // the timeshift buffer's
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());

    CWinApp app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvanta"));
    MessageBoxRecorder boxes; // a box a test did not expect must not block the run
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
