#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Qt aborts without a display unless told where to paint; tests default to offscreen.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
