#pragma once
// Failed checks (platform/Check.h) fail the test that triggered them: the test programs' main()
// installs a Qt message handler that turns every message of a failed check into a test failure
// and hands every other message on to the handler that was there before.

namespace testing_support {

void failTestsOnChecks();

} // namespace testing_support
