#pragma once
// The Windows codes that the grid's keyboard and mouse events carry (grid::GridView): key codes,
// the shift state's bits and the mouse buttons.

namespace platform {

// Key codes: a letter is its capital's character code.
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyB = 'B';
inline constexpr int kKeyC = 'C';
inline constexpr int kKeyV = 'V';

// The shift state: the keys held, one bit each.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// Mouse buttons.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

} // namespace platform
