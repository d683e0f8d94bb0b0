#pragma once
// The user's options: the check marks of the main window's option items. Every window reads an
// option here at the moment it acts, so its logic can be tested without the main window. A
// click inverts the mark and saves it at once as "-1" or "0" under the option's value name in
// "Paramètres"; the update-check frequency items save their index in "Options Générales".

#include <QObject>
#include <QString>
#include <array>

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
inline constexpr int gint_Nbr_Options = int(Option::Réorg) + 1;
// The update-check frequency items auto_maj_Internet_Freq(0) to (3).
inline constexpr int gint_Nbr_Frequences = 4;
inline constexpr int gint_Frequence_Jamais = 3;

// The menu item's name ("RenumGrid", "Réorg").
QString fun_Nom_Option(Option option);
// The value name in "Paramètres" ("Grilles numérotées"); empty for Réorg, which is not saved.
QString fun_Valeur_Option(Option option);
// The check mark the item has when the main window is created.
bool fun_Option_Cochee_Creation(Option option);

inline const QString gstr_Valeur_Frequence_Maj = QStringLiteral("Check UPDATE sur Web");

class Options : public QObject
{
    Q_OBJECT
public:
    // Every mark as at the main window's creation; the frequency items unchecked.
    explicit Options(QObject* parent = nullptr);

    bool checked(Option option) const { return m_marks[std::size_t(option)]; }
    // Sets the mark without saving it (start-up, display adaptation).
    void setChecked(Option option, bool on);
    // The item's click: inverts the mark and saves it. Returns false when the save failed; the
    // mark stays inverted for this run.
    bool click(Option option);

    bool frequencyChecked(int index) const;
    // Sets one frequency mark without saving it and without touching the others.
    void setFrequencyChecked(int index, bool on);
    // A frequency item's click: checks only this item and saves its index. Returns false when
    // the index is out of range (nothing changes) or the save failed.
    bool clickFrequency(int index);

    // The six option marks that are restored at every start, each checked when its setting
    // read as an integer is not 0: AltColor, RenumGrid, Ajust, Regroup, bing, TabCell, then
    // Atlas_STOC_EPS unchecked whatever its setting. A setting that cannot be read as a 16-bit
    // integer leaves its mark as it was; the result is false when one did.
    bool sub_Charger_Options();

Q_SIGNALS:
    // A mark changed, by code or by a click (option is an Option).
    void optionChanged(int option, bool on);
    void frequencyChanged(int index, bool on);

private:
    std::array<bool, gint_Nbr_Options> m_marks{};
    std::array<bool, gint_Nbr_Frequences> m_frequencies{};
};

// The options of the running main window, or, when there is none, a program-wide stand-in
// holding the creation marks (so a window opened without the main window reads defaults).
Options& options();

} // namespace mainwindow
