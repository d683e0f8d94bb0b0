#pragma once
// Where the child windows of the main window go when they are arranged: cascade, horizontal
// tiles, icons of the minimised windows, and the logo in the middle. Sizes and positions are
// in pixels inside the main window's client area.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace mainwindow {

// Smallest part of a cascaded window that must stay inside the area; below it the cascade
// starts again from the top-left corner.
inline constexpr QSize kCascadeMinimum{160, 100};

// Windows in stacking order (back to front): window k of a run at (k * step, k * step), with its
// own size reduced to what fits in the area from there. A run starts again from the corner
// when the next window would keep less than kCascadeMinimum inside the area.
QList<QRect> cascadeLayout(QSize zone, const QList<QSize>& tailles, int pas);

// n windows one above the other, each the area's full width; the heights share the area's
// height, the last window taking what the division leaves.
QList<QRect> horizontalTileLayout(QSize zone, int n);

// Minimised windows side by side from the bottom-left corner, a new row above when a row is
// full; each row as high as its tallest window.
QList<QPoint> iconLayout(QSize zone, const QList<QSize>& tailles);

// The size a child window opens at: the size it asks for, reduced to the area; a smaller one
// gets the cascade's minimum where the area has room for it.
QSize openingSize(QSize souhaitee, QSize zone);

// The top-left corner that centres a window in the area (it may be negative when the window
// is larger than the area).
QPoint centredPosition(QSize zone, QSize taille);

// The main window's place on the screen: where it stands when it is not maximised (its inner
// area, in screen pixels), and whether it is maximised.
struct MainWindowPlace
{
    QRect normal;
    bool maximised = false;
    bool operator==(const MainWindowPlace&) const = default;
};

// Where the place the user last left is kept: a per-user setting of the program.
inline const QString kPlaceSection = QStringLiteral("Fenêtres");
inline const QString kMainWindowPlaceKey = QStringLiteral("Fenêtre principale");

// The place as kept: "left,top,width,height,maximised" (maximised 1 or 0).
QString placeText(const MainWindowPlace& place);
// The place of a kept text; nullopt for a text that is not one (empty, a missing or non-numeric
// part, a width or height below 1).
std::optional<MainWindowPlace> readPlace(const QString& text);

// Where the main window opens on a screen whose free area (without the desktop's panels) is
// given: the place kept, moved and reduced as far as needed to lie inside the area, maximised as
// it was left; with no place kept, the whole area, maximised.
MainWindowPlace openingPlace(const std::optional<MainWindowPlace>& kept, const QRect& available);

} // namespace mainwindow
