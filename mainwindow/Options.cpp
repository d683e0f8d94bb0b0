#include "mainwindow/Options.h"

#include "common/Globals.h"
#include "common/Settings.h"

namespace mainwindow {

namespace {
struct OptionInfo
{
    const char* item;
    const char* valueName;
    bool checkedAtCreation;
};

// Item, value name in "Paramètres", mark at creation.
const std::array<OptionInfo, gint_Nbr_Options> k_options = {{
    {"RenumGrid", "Grilles numérotées", false},
    {"AltColor", "Couleur alternée", false},
    {"Ajust", "Largeur automatique", true},
    {"Regroup", "Regroupement espèce", true},
    {"SaisieEsp", "Validation Espèces", true},
    {"Saisie_Mammiferes", "Saisie mammiferes", false},
    {"Atlas_STOC_EPS", "Atlas STOC-EPS", false},
    {"Saisie_Commentaires", "Saisie commentaires", false},
    {"TabCell", "TabCell", true},
    {"bing", "Bing", false},
    {"Réorg", "", true},
}};

const OptionInfo& info(Option option) { return k_options[std::size_t(option)]; }

QString texteCoche(bool on) { return on ? QStringLiteral("-1") : QStringLiteral("0"); }
} // namespace

QString fun_Nom_Option(Option option) { return QString::fromUtf8(info(option).item); }
QString fun_Valeur_Option(Option option) { return QString::fromUtf8(info(option).valueName); }
bool fun_Option_Cochee_Creation(Option option) { return info(option).checkedAtCreation; }

Options::Options(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < gint_Nbr_Options; ++i)
        m_marks[std::size_t(i)] = k_options[std::size_t(i)].checkedAtCreation;
}

void Options::setChecked(Option option, bool on)
{
    bool& mark = m_marks[std::size_t(option)];
    if (mark == on)
        return;
    mark = on;
    Q_EMIT optionChanged(int(option), on);
}

bool Options::click(Option option)
{
    const bool on = !checked(option);
    setChecked(option, on);
    const QString name = fun_Valeur_Option(option);
    if (name.isEmpty())
        return true;
    return sub_Reg_Write_HKLM(gstr_Section_Parametres, name, texteCoche(on));
}

bool Options::frequencyChecked(int index) const
{
    return index >= 0 && index < gint_Nbr_Frequences && m_frequencies[std::size_t(index)];
}

void Options::setFrequencyChecked(int index, bool on)
{
    if (index < 0 || index >= gint_Nbr_Frequences)
        return;
    bool& mark = m_frequencies[std::size_t(index)];
    if (mark == on)
        return;
    mark = on;
    Q_EMIT frequencyChanged(index, on);
}

bool Options::clickFrequency(int index)
{
    if (index < 0 || index >= gint_Nbr_Frequences)
        return false;
    for (int i = 0; i < gint_Nbr_Frequences; ++i)
        setFrequencyChecked(i, i == index);
    return sub_Reg_Write_HKLM(gstr_Section_Options, gstr_Valeur_Frequence_Maj, QString::number(index));
}

bool Options::sub_Charger_Options()
{
    struct Restored
    {
        Option option;
        const char* defaultText;
    };
    static const Restored restored[] = {
        {Option::AltColor, "0"}, {Option::RenumGrid, "0"}, {Option::Ajust, "-1"},
        {Option::Regroup, "-1"}, {Option::bing, "-1"},     {Option::TabCell, "0"},
    };
    bool ok = true;
    for (const Restored& r : restored) {
        const std::optional<qint16> value = fun_Get_Setting_Int(
            gstr_Section_Parametres, fun_Valeur_Option(r.option), QString::fromUtf8(r.defaultText));
        if (!value) {
            ok = false;
            continue;
        }
        setChecked(r.option, *value != 0);
    }
    setChecked(Option::Atlas_STOC_EPS, false);
    return ok;
}

Options& options()
{
    if (gobj_Options)
        return *gobj_Options;
    static Options standIn;
    return standIn;
}

} // namespace mainwindow
