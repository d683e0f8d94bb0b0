#pragma once
// Programming errors: a condition that holds whatever the user does or the files hold (a service
// wired at start, a cell inside the grid). MIRELOT_CHECK(condition) gives the condition's truth;
// when it is false, one critical message beginning with kCheckFailedPrefix names the condition
// and where it stands, and the caller takes its recovery step:
//
//     if (!MIRELOT_CHECK(row >= 0 && row < rows()))
//         return;
//
// The program logs and goes on; the test programs turn that message into a failure of the test
// that triggered it (tests/support/CheckFailures.h). Expected failures (files, user input, a
// missing mail program) are not checks: they are platform::Result.

namespace platform {

// The start of every message of a failed check.
inline constexpr char kCheckFailedPrefix[] = "Mirelot check failed: ";

// Logs the failed check; returns false.
bool checkFailed(const char* condition, const char* file, int line);

} // namespace platform

#define MIRELOT_CHECK(condition)                                                                             \
    (static_cast<bool>(condition) ? true : ::platform::checkFailed(#condition, __FILE__, __LINE__))
