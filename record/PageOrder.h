#pragma once
// The keyboard's way through the record window's pages: Ctrl+Tab and Ctrl+Page Down go to the
// next page, Ctrl+Shift+Tab and Ctrl+Page Up to the one before, going round from the last page
// to the first, and passing over the pages that cannot be reached (hidden, or not yet open).

#include <QList>

namespace record {

// The page that a step from the current page leads to: step +1 forward, -1 backward. Pages are
// numbered from 0; reachable[i] tells whether page i can be shown. The current page when no
// other page can be reached (or when there is no page: -1).
int nextReachablePage(const QList<bool>& reachable, int current, int step);

} // namespace record
