#pragma once
// The screen's mouse pointer, as long operations show it: they remember the pointer showing,
// show the hourglass while they work and put the remembered pointer back. The main window
// installs functions that change the application's cursor; until then the value is only kept
// here, so that the operations run the same without a window.

#include <functional>

namespace pointer {

// Values of the screen's mouse pointer.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

struct MousePointer
{
    std::function<int()> get;
    std::function<void(int)> set;
};
void installMousePointer(MousePointer pointer);
int mousePointer();
void setMousePointer(int value);

} // namespace pointer
