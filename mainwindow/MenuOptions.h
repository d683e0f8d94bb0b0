#pragma once
// The main window's option items over the shared store of check marks (common/OptionMarks): what
// each item saves, its mark when the window is created, the click that inverts the mark and
// saves it at once as "-1" or "0" under the item's value name in "Paramètres", the update-check
// frequency items, and the restore of the marks at start. Other windows read a mark with
// common::isOptionChecked(item name).

#include "platform/Result.h"

#include <QString>

namespace mainwindow {

// The option items of the main window, in menu order, and Réorg of the "Fenêtres" menu.
enum class Option {
    RenumGrid,
    AltColor,
    Ajust,
    Regroup,
    SaisieEsp,
    Saisie_Mammiferes,
    Atlas_STOC_EPS,
    Saisie_Commentaires,
    TabCell,
    bing,
    Réorg,
};
inline constexpr int kOptionCount = int(Option::Réorg) + 1;
// The update-check frequency items auto_maj_Internet_Freq(0) to (3); (3) is "Jamais".
inline constexpr int kFrequencyCount = 4;
inline constexpr int kFrequencyNever = 3;

inline const QString kUpdateFrequencyValue = QStringLiteral("Check UPDATE sur Web");

// The menu item's name ("RenumGrid", "Réorg"), also its key in the store of marks.
QString optionName(Option option);
// The value name in "Paramètres" ("Grilles numérotées"); empty for Réorg, which is not saved.
QString optionValueName(Option option);
// The check mark the item has when the main window is created.
bool optionCheckedAtCreation(Option option);
// "auto_maj_Internet_Freq(2)"
QString frequencyItemName(int index);

// Every mark as at the main window's creation; the frequency items unchecked.
void resetMenuOptions();

bool isOptionOn(Option option);
// Sets a mark without saving it (start-up, display adaptation).
void setOption(Option option, bool on);
// The item's click: inverts the mark and saves it. Fails when the save failed (the settings
// layer tells the user); the mark then stays inverted for this run only.
platform::Result clickOption(Option option);

bool isFrequencyChecked(int index);
// Sets one frequency mark without saving it and without touching the others (start-up).
void setFrequency(int index, bool on);
// A frequency item's click: checks this item only and saves its index. Fails when the index is
// out of range (nothing changes) or the save failed (the settings layer tells the user).
platform::Result clickFrequency(int index);

// The six marks restored at every start, in this order, each checked when its setting read as
// an integer is not 0: AltColor, RenumGrid, Ajust, Regroup, bing, TabCell; then Atlas_STOC_EPS
// unchecked whatever its setting. A setting that cannot be read as a 16-bit integer leaves its
// mark as it was, and the result then fails, naming every such setting.
platform::Result loadOptions();

} // namespace mainwindow
