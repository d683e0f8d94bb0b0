#pragma once
// The memory a run takes and the pages it touches for the first time, read from the process's
// own figures (Linux): the resident size, its peak, and the minor page faults. The peak is set
// back to the resident size at the start of a run, so that it tells the run's own growth.
//
//   bench_support::MemoryUse use;           // before the run: peak reset
//   ... the run ...
//   state.counters["pic_Mo"] = use.peakGrowth() / 1e6;
//   state.counters["fautes_mineures"] = double(use.minorFaults());

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace bench_support {

namespace detail {

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes; 0 when unreadable.
inline double statusBytes(const char* field)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    double kb = 0;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0) {
            kb = std::strtod(line + n, nullptr);
            break;
        }
    std::fclose(f);
    return kb * 1024;
}

inline long minorFaultsSoFar()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

} // namespace detail

class MemoryUse
{
public:
    MemoryUse()
    {
        // "5" sets the peak back to the present resident size (Linux 4.0 on).
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        m_resident = detail::statusBytes("VmRSS:");
        m_faults = detail::minorFaultsSoFar();
    }

    // The peak resident size since the start, above the resident size at the start, in bytes.
    double peakGrowth() const { return detail::statusBytes("VmHWM:") - m_resident; }
    // The pages touched for the first time since the start.
    long minorFaults() const { return detail::minorFaultsSoFar() - m_faults; }

private:
    double m_resident = 0;
    long m_faults = 0;
};

} // namespace bench_support
