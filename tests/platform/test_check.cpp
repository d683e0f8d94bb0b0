#include "platform/Check.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Shell.h"

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

namespace {

// A service missing from the registry of services, and whether its stand-in did something
// harmless when used once.
struct MissingService
{
    const char* service;
    bool (*harmless)();
};
const MissingService* g_missing = nullptr;
bool g_harmless = false;

} // namespace

TEST(Check, AMissingServiceIsAWiringFaultAndItsStandInIsHarmless)
{
    namespace mb = platform::mb;
    const MissingService rows[] = {
        {"registry", [] { return platform::registry().storeFile().isEmpty(); }}, // in memory only
        {"dialogs",
         [] {
             platform::Dialogs& d = platform::dialogs();
             return d.ask("Supprimer ?", mb::YesNo | mb::DefaultButton2, "Mirelot") == mb::No &&
                    !d.inputBox("Nom ?", "Mirelot", "Dupont") && !d.saveFileName({});
         }},
        {"shell",
         [] {
             platform::Shell& s = platform::shell();
             return !s.openUrl("https://exemple.fr").ok && !s.openFile("/tmp/a.pdf").ok && !s.isConnected();
         }},
        {"clock", [] { return platform::clock().now().isValid(); }},
    };
    const platform::Services previous = platform::installServices({});
    for (const MissingService& r : rows) {
        g_missing = &r;
        g_harmless = false;
        EXPECT_NONFATAL_FAILURE(g_harmless = g_missing->harmless(), g_missing->service);
        EXPECT_TRUE(g_harmless) << r.service;
    }
    platform::installServices(previous);
}
