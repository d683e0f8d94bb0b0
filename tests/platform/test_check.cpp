#include "platform/Check.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// A routine with a recovery step, as the program writes them: the value is kept inside 0..9.
int g_stored = -1;
bool store(int value)
{
    if (!MIRELOT_CHECK(value >= 0 && value < 10))
        return false;
    g_stored = value;
    return true;
}

} // namespace

TEST(Check, AConditionThatHoldsPassesSilently)
{
    EXPECT_TRUE(store(4));
    EXPECT_EQ(g_stored, 4);
}

TEST(Check, AFailedCheckFailsTheTestAndTheCallerRecovers)
{
    g_stored = 4;
    // The test main's message handler turns the check's message into a failure of this test,
    // naming the condition and where it stands.
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(store(12)), "value >= 0 && value < 10");
    EXPECT_NONFATAL_FAILURE(store(-1), "test_check.cpp");
    EXPECT_EQ(g_stored, 4) << "the recovery step kept the value";
}
