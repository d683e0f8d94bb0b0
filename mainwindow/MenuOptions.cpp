#include "mainwindow/MenuOptions.h"

#include "common/OptionMarks.h"
#include "common/Settings.h"

#include <QStringList>

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
const std::array<OptionInfo, kOptionCount> kOptions = {{
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

const OptionInfo& info(Option option) { return kOptions[std::size_t(option)]; }
bool isValidFrequency(int index) { return index >= 0 && index < kFrequencyCount; }
} // namespace

QString optionName(Option option) { return QString::fromUtf8(info(option).item); }
QString optionValueName(Option option) { return QString::fromUtf8(info(option).valueName); }
bool optionCheckedAtCreation(Option option) { return info(option).checkedAtCreation; }
QString frequencyItemName(int index) { return QStringLiteral("auto_maj_Internet_Freq(%1)").arg(index); }

void resetMenuOptions()
{
    for (int i = 0; i < kOptionCount; ++i)
        setOption(Option(i), optionCheckedAtCreation(Option(i)));
    for (int i = 0; i < kFrequencyCount; ++i)
        setFrequency(i, false);
}

bool isOptionOn(Option option) { return common::isOptionChecked(optionName(option)); }
void setOption(Option option, bool on) { common::setOptionChecked(optionName(option), on); }

platform::Result clickOption(Option option)
{
    const bool on = !isOptionOn(option);
    setOption(option, on);
    const QString name = optionValueName(option);
    if (name.isEmpty())
        return platform::Result::success();
    const QString value = on ? QStringLiteral("-1") : QStringLiteral("0");
    return sub_Reg_Write_HKLM(common::kParametersSection, name, value);
}

bool isFrequencyChecked(int index)
{
    return isValidFrequency(index) && common::isOptionChecked(frequencyItemName(index));
}

void setFrequency(int index, bool on)
{
    if (isValidFrequency(index))
        common::setOptionChecked(frequencyItemName(index), on);
}

platform::Result clickFrequency(int index)
{
    if (!isValidFrequency(index))
        return platform::Result::failure(
            QStringLiteral("La fréquence de vérification n° %1 n'existe pas (0 à %2).")
                .arg(index)
                .arg(kFrequencyCount - 1));
    for (int i = 0; i < kFrequencyCount; ++i)
        setFrequency(i, i == index);
    return sub_Reg_Write_HKLM(common::kOptionsSection, kUpdateFrequencyValue, QString::number(index));
}

platform::Result loadOptions()
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
    QStringList unreadable;
    for (const Restored& r : restored) {
        const std::optional<qint16> value = fun_Get_Setting_Int(
            common::kParametersSection, optionValueName(r.option), QString::fromUtf8(r.defaultText));
        if (!value) {
            unreadable << QStringLiteral("« %1 »").arg(optionValueName(r.option));
            continue;
        }
        setOption(r.option, *value != 0);
    }
    setOption(Option::Atlas_STOC_EPS, false);
    if (unreadable.isEmpty())
        return platform::Result::success();
    return platform::Result::failure(
        QStringLiteral(
            "Ces options des paramètres ne sont pas des nombres de -32768 à 32767 et gardent leur coche : ") +
        unreadable.join(QStringLiteral(", ")));
}

} // namespace mainwindow
