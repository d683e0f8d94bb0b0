#pragma once
// Failed checks (platform/Check.h) fail the test that triggered them: the test programs' main()
// installs a Qt message handler that turns every message of a failed check into a test failure
// and hands every other message on to the handler that was there before.

#include <QStringList>
#include <functional>

namespace testing_support {

void failTestsOnChecks();

// Runs `run` and gives the messages of the checks that failed in it, in order, instead of
// failing the test with them; any other failure inside `run` fails the test as usual. For the
// tests of a check's recovery step.
QStringList failedChecks(const std::function<void()>& run);

} // namespace testing_support
