#include "common/SpeciesUpgrade.h"

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "common/TableCatalogue.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QFileInfo>

using grid::Grid;
using grid::GridFile;
namespace mb = platform::mb;

namespace {
constexpr int kEntryColumn = common::kSpeciesEntryColumn;

QString questionText()
{
    const QChar kLineFeed = QLatin1Char('\n');
    return QStringLiteral("Souhaitez-vous activer la saisie par apprentissage des codes espèces ?") +
           kLineFeed + kLineFeed +
           QStringLiteral("Cette option vous demandera de confirmer la saisie des codes espèces la première "
                          "fois que vous valoriserez le code.") +
           kLineFeed + kLineFeed +
           QStringLiteral("Le but de cette nouvelle option est d'éviter, tant ce faire ce peut, la saisie de "
                          "codes espèces non souhaités.") +
           kLineFeed + kLineFeed + QStringLiteral("Souhaitez-vous activer cette option maintenant ?") +
           kLineFeed + kLineFeed + kLineFeed +
           QStringLiteral(
               "PS : si vous n'activez pas cette option tout de suite, vous pourrez intervenir sur "
               "la liste des codes espèces via le menu paramètres");
}
} // namespace

bool common::addEntryColumn(Grid& table)
{
    if (table.cols() != 5)
        return false;
    table.setCols(6);
    table.setCell(0, kEntryColumn, QStringLiteral("Saisie"));
    table.setColDataType(kEntryColumn, Grid::DataType::Boolean);
    return true;
}

platform::Result sub_Update_Espèce(Grid& brouillon)
{
    // The table whatever the letter case of its name, as it was copied from elsewhere.
    const QString chemin = common::tablePath(common::ParamMode::Species);
    brouillon.clear();
    brouillon.setRows(0);
    brouillon.setFixedRows(0);
    const platform::Result lu = GridFile::load(brouillon, chemin, GridFile::Complete);
    if (lu)
        common::addEntryColumn(brouillon);

    const int reponse = platform::dialogs().ask(questionText(), mb::YesNo | mb::Exclamation,
                                                QStringLiteral("SAISIE DES CODES ESPECES"));
    const bool apprentissage = reponse != mb::No;
    common::setOptionChecked(QStringLiteral("SaisieEsp"), apprentissage);
    static_cast<void>(sub_Reg_Write_HKLM(common::kParametersSection, QStringLiteral("Validation Espèces"),
                                         apprentissage ? QStringLiteral("-1") : QStringLiteral("0")));

    if (!lu) {
        // Only a missing table is silent: an unreadable one is left as it is and the user is told.
        const QString pourquoi =
            QStringLiteral("La table des espèces n'a pas pu être lue : elle n'a pas été modifiée.\n\n") +
            lu.error;
        if (QFileInfo::exists(chemin))
            platform::dialogs().ask(pourquoi, mb::OKOnly | mb::Exclamation, common::kProgramName);
        return platform::Result::failure(pourquoi);
    }
    if (brouillon.rows() > 1 && brouillon.cols() > kEntryColumn)
        brouillon.setCheckState({1, kEntryColumn, brouillon.rows() - 1, kEntryColumn},
                                apprentissage ? Grid::Unchecked : Grid::Checked);
    const platform::Result ecrit =
        GridFile::save(brouillon, chemin, GridFile::Complete, true, platform::Links::Follow);
    if (!ecrit) {
        const QString pourquoi =
            QStringLiteral("La table des espèces n'a pas pu être enregistrée.\n\n") + ecrit.error;
        platform::dialogs().ask(pourquoi, mb::OKOnly | mb::Exclamation, common::kProgramName);
        return platform::Result::failure(pourquoi);
    }
    return ecrit;
}
