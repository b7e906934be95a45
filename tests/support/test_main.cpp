#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Every test binary runs with a QApplication on the offscreen platform, so window tests and
// logic tests share one main and gtest_discover_tests can list them without a display.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
