#include "common/MousePointer.h"

namespace pointer {

namespace {
MousePointer g_pointer;
int g_pointerValue = vbDefault;
} // namespace

void installMousePointer(MousePointer pointer) { g_pointer = std::move(pointer); }

int mousePointer() { return g_pointer.get ? g_pointer.get() : g_pointerValue; }

void setMousePointer(int value)
{
    g_pointerValue = value;
    if (g_pointer.set)
        g_pointer.set(value);
}

} // namespace pointer
