#include <gtest/gtest.h>
#include <QCoreApplication>

// The tests run programs and read their output; nothing of their own is shown.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
