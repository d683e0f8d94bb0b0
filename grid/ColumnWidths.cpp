#include "grid/ColumnWidths.h"

#include <algorithm>

namespace grid {

namespace {

// The widths when every narrowable column is at most cap wide (and at least its floor).
QList<int> capped(const QList<int>& natural, const QList<int>& floors, int cap)
{
    QList<int> widths = natural;
    for (int i = 0; i < widths.size(); ++i) {
        const int floor = i < floors.size() ? floors[i] : -1;
        if (floor >= 0)
            widths[i] = std::max(std::min(natural[i], floor), std::min(natural[i], cap));
    }
    return widths;
}

long long total(const QList<int>& widths)
{
    long long sum = 0;
    for (int w : widths)
        sum += std::max(0, w);
    return sum;
}

} // namespace

QList<int> fitWidths(const QList<int>& natural, const QList<int>& floors, int available)
{
    if (total(natural) <= available)
        return natural;
    // The largest common width that fits: the total grows with the cap.
    int low = 0;
    int high = natural.isEmpty() ? 0 : *std::max_element(natural.begin(), natural.end());
    if (total(capped(natural, floors, low)) > available)
        return capped(natural, floors, low);
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (total(capped(natural, floors, middle)) <= available)
            low = middle;
        else
            high = middle - 1;
    }
    return capped(natural, floors, low);
}

} // namespace grid
