// main() of the test programs that need a screen of a given size: offscreen, with the screen
// described by the JSON file named at build time (MIRELOT_TEST_SCREEN), whatever platform the
// environment names.

#include "tests/support/CheckFailures.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=") + QByteArray(MIRELOT_TEST_SCREEN));
    testing_support::failTestsOnChecks();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
