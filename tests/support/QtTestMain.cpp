// Entry point of the test programs that need a QApplication (widgets, fonts,
// clipboard).  Runs under Xvfb in CI; QT_QPA_PLATFORM=offscreen also works.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
