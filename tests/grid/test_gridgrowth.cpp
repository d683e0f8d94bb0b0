// Rows added to a grid a block at a time, as the export adds one record's rows after another's:
// the row array grows by doubling, so it is moved a few times in all, not once per block. The
// program counts the large allocations made while the rows are added (its own operator new).

#include "grid/Grid.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_counting{false};
std::atomic<int> g_largeAllocations{0};
// Each row's own cells take less; the row array of a few hundred rows takes more.
constexpr std::size_t kLarge = 16 * 1024;

} // namespace

void* operator new(std::size_t size)
{
    if (g_counting && size >= kLarge)
        ++g_largeAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(GridGrowth, RowsAddedABlockAtATimeMoveTheRowArrayAFewTimesOnly)
{
    for (const int block : {1, 9, 90}) {
        SCOPED_TRACE(block);
        grid::Grid g;
        g.setCols(3);
        g_largeAllocations = 0;
        g_counting = true;
        for (int first = 1; first < 20'000; first += block)
            g.setRows(first + block);
        g_counting = false;
        EXPECT_GE(g.rows(), 20'000);
        // Doubling from 16 KB to the 20,000 rows: a dozen moves; once a block would be hundreds.
        EXPECT_LE(g_largeAllocations.load(), 16);
        EXPECT_EQ(g.cell(g.rows() - 1, 2), QString());
    }
}
