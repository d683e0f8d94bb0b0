#include "mainwindow/Options.h"

#include "common/Options.h"
#include "common/Settings.h"

#include <array>

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
bool frequenceValide(int index) { return index >= 0 && index < gint_Nbr_Frequences; }
} // namespace

QString fun_Nom_Option(Option option) { return QString::fromUtf8(info(option).item); }
QString fun_Valeur_Option(Option option) { return QString::fromUtf8(info(option).valueName); }
bool fun_Option_Cochee_Creation(Option option) { return info(option).checkedAtCreation; }
QString fun_Nom_Frequence(int index) { return QStringLiteral("auto_maj_Internet_Freq(%1)").arg(index); }

void sub_Options_Creation()
{
    for (int i = 0; i < gint_Nbr_Options; ++i)
        sub_Option(Option(i), fun_Option_Cochee_Creation(Option(i)));
    for (int i = 0; i < gint_Nbr_Frequences; ++i)
        sub_Frequence(i, false);
}

bool fun_Option(Option option) { return fun_Option_Cochee(fun_Nom_Option(option)); }
void sub_Option(Option option, bool on) { sub_Cocher_Option(fun_Nom_Option(option), on); }

bool sub_Click_Option(Option option)
{
    const bool on = !fun_Option(option);
    sub_Option(option, on);
    const QString name = fun_Valeur_Option(option);
    if (name.isEmpty())
        return true;
    const QString value = on ? QStringLiteral("-1") : QStringLiteral("0");
    return sub_Reg_Write_HKLM(gstr_Section_Parametres, name, value).ok;
}

bool fun_Frequence_Cochee(int index) { return frequenceValide(index) && fun_Option_Cochee(fun_Nom_Frequence(index)); }

void sub_Frequence(int index, bool on)
{
    if (frequenceValide(index))
        sub_Cocher_Option(fun_Nom_Frequence(index), on);
}

bool sub_Click_Frequence(int index)
{
    if (!frequenceValide(index))
        return false;
    for (int i = 0; i < gint_Nbr_Frequences; ++i)
        sub_Frequence(i, i == index);
    return sub_Reg_Write_HKLM(gstr_Section_Options, gstr_Valeur_Frequence_Maj, QString::number(index)).ok;
}

bool sub_Charger_Options()
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
        sub_Option(r.option, *value != 0);
    }
    sub_Option(Option::Atlas_STOC_EPS, false);
    return ok;
}

} // namespace mainwindow
