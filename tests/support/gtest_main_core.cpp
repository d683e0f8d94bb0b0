// main() of the test programs without widgets.

#include "tests/support/CheckFailures.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing_support::failTestsOnChecks();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
