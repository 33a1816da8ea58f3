#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>

#include "wm/x_session.h"

// The tests run programs and read their output; nothing of their own is shown.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsEmpty("WM_TEST_SCREENSHOTS") && QStandardPaths::findExecutable("import").isEmpty())
        std::fprintf(stderr, "WM_TEST_SCREENSHOTS is set, but ImageMagick's import is not installed: no screenshots\n");
    const int result = RUN_ALL_TESTS();
    // ctest reports a run with this line as skipped; one with a failure
    // does not print it and fails.
    const QStringList skipped = wmtest::skippedFor();
    if (result == 0 && !skipped.isEmpty())
        std::printf("wm tests skipped: not installed: %s\n", qPrintable(skipped.join(", ")));
    return result;
}
