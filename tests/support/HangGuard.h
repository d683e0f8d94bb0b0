#pragma once
// While alive, a test that waits longer than the given seconds (a read of a FIFO that never ends,
// say) ends the whole test program with a message naming what hung, so that a regression fails
// instead of hanging the suite.

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace testing_support {

class HangGuard
{
public:
    HangGuard(unsigned seconds, const char* what)
    {
        s_what = what;
        m_old = std::signal(SIGALRM, &HangGuard::hung);
        ::alarm(seconds);
    }
    ~HangGuard()
    {
        ::alarm(0);
        std::signal(SIGALRM, m_old);
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    static void hung(int)
    {
        static const char prefix[] = "\nHung, and stopped: ";
        (void)!::write(2, prefix, sizeof prefix - 1);
        (void)!::write(2, s_what, std::strlen(s_what));
        (void)!::write(2, "\n", 1);
        ::_exit(3);
    }

    static inline const char* s_what = "";
    void (*m_old)(int) = nullptr;
};

} // namespace testing_support
