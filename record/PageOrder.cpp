#include "record/PageOrder.h"

namespace record {

int nextReachablePage(const QList<bool>& reachable, int current, int step)
{
    const int count = int(reachable.size());
    if (count == 0)
        return -1;
    const int direction = step < 0 ? -1 : 1;
    int page = current < 0 || current >= count ? (direction > 0 ? -1 : count) : current;
    for (int tried = 0; tried < count; ++tried) {
        page = (page + direction + count) % count;
        if (page == current)
            break;
        if (reachable[page])
            return page;
    }
    return current < 0 || current >= count ? -1 : current;
}

} // namespace record
