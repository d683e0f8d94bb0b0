#pragma once
// The check marks of the main window's option items ("RenumGrid", "AltColor", "TabCell",
// "bing", "Ajust", "SaisieEsp", "Regroup", ...), readable and settable without the window.
// The main window keeps its menu items and these marks in step; every other window and every
// piece of logic reads an option here when it acts.

#include <QString>
#include <functional>

namespace common {

bool isOptionChecked(const QString& item);
void setOptionChecked(const QString& item, bool coche);
// Called after every change of a mark (the main window updates its menu item).
void observeOptions(std::function<void(const QString& item, bool coche)> observateur);
// Forgets every mark (tests, and the main window's creation).
void resetOptions();

} // namespace common
