#include "record/BulkUpdate.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/PlainText.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"
#include "record/RecordStore.h"

using grid::Grid;
using grid::GridFile;

namespace {

struct UpdateTexts
{
    const char* value;        // the value written, as a reason names it
    const char* confirmation; // followed by the number of files
    const char* prompt;
    const char* emptyQuestion;
};

// By menu index.
const UpdateTexts kUpdateTexts[] = {
    {"L'adresse courriel", "Confirmez votre intention de modifier l'adresse courriel des ",
     "Veuillez indiquer la nouvelle adresse courriel qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion de l'adresse courriel dans les fichiers sélectionnés"},
    {"Le nom de l'observateur", "Confirmez votre intention de modifier les noms des observateurs des ",
     "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion des noms dans les fichiers sélectionnés"},
    {"Le nom de la commune", "Confirmez votre intention de modifier les noms des communes des ",
     "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion des noms dans les fichiers sélectionnés"},
};

// The cells of the older EPS layout, which only the bulk update still writes.
constexpr record::UpdateCell kEpsEmail{3, 3};
constexpr record::UpdateCell kEpsObserver{3, 2};
constexpr record::UpdateCell kEpsCommune{2, 4};

const QString kAbandonText = QStringLiteral("La mise à jour a été abandonnée à votre demande");

record::BulkUpdateResult giveUp()
{
    platform::dialogs().ask(kAbandonText, platform::mb::OKOnly, common::kProgramName);
    record::BulkUpdateResult r;
    r.abandoned = true;
    return r;
}

// One file: read whole into a grid of its own, one cell written, written back whole. A failure
// says why the file was left alone.
platform::Result updateFile(const QString& dossier, const QString& nom, record::UpdateAction action,
                            const QString& valeur)
{
    const QString chemin = nom.trimmed().isEmpty() ? QString() : common::findFile(dossier, nom);
    if (chemin.isEmpty())
        return platform::Result::failure(QStringLiteral("fichier introuvable"));
    Grid grid;
    if (platform::Result lu =
            GridFile::load(grid, chemin, GridFile::Complete, record::RecordStore::fileBounds());
        !lu)
        return lu;
    const record::UpdateCell cellule = record::cellToUpdate(action, nom);
    if (cellule.row >= grid.rows() || cellule.col >= grid.cols())
        return platform::Result::failure(
            QStringLiteral("ce n'est pas un relevé complet (ligne %1, colonne %2 absente)")
                .arg(cellule.row)
                .arg(cellule.col));
    grid.setCell(cellule.row, cellule.col, valeur);
    // What is written must be read again, by the list and by the record window.
    const QByteArray bytes = GridFile::toComplete(grid);
    if (const platform::Result r = GridFile::checkBounds(grid, bytes, record::RecordStore::fileBounds()); !r)
        return platform::Result::failure(
            QStringLiteral("Le fichier « %1 » n'est pas écrit : %2.").arg(chemin, r.error));
    return platform::saveFile(chemin, bytes);
}

} // namespace

bool record::hasEpsLayout(const QString& fileName)
{
    return fileName.left(4).toUpper() == QLatin1String("EPS-");
}

record::UpdateCell record::cellToUpdate(record::UpdateAction action, const QString& fileName)
{
    namespace file = record::file;
    const bool eps = record::hasEpsLayout(fileName);
    switch (action) {
    case record::UpdateAction::Email:
        return eps ? kEpsEmail : record::UpdateCell{file::ContactRow, file::ContactColumn::Email};
    case record::UpdateAction::Observer:
        return eps ? kEpsObserver : record::UpdateCell{file::ObserverRow, file::ObserverColumn::Name};
    case record::UpdateAction::Commune:
        return eps ? kEpsCommune
                   : record::UpdateCell{file::IdentificationRow, file::IdentificationColumn::Commune};
    }
    return {};
}

QStringList record::selectedFiles(const Grid* grid)
{
    QStringList noms;
    if (!grid)
        return noms;
    for (int i = 0; i < grid->selectedRowCount(); ++i)
        noms << grid->cell(grid->selectedRow(i), 1);
    return noms;
}

record::BulkUpdateResult record::updateRecordFiles(int index, const QStringList& fileNames)
{
    if (index < 0 || index > 2)
        return {};
    const record::UpdateAction action = record::UpdateAction(index);
    const UpdateTexts& t = kUpdateTexts[index];
    const QString dossier =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier);

    QString liste;
    for (const QString& nom : fileNames)
        liste += nom + QLatin1Char('\n');
    const QString confirmation = QString::fromUtf8(t.confirmation) + QString::number(fileNames.size()) +
                                 QStringLiteral(" fichiers sélectionnés") + QStringLiteral("\n\n") + liste;
    if (platform::dialogs().ask(confirmation, platform::mb::YesNo, common::kProgramName) != platform::mb::Yes)
        return giveUp();

    // Annuler gives no text at all: the user gave up, whatever the field.
    const std::optional<QString> saisie =
        platform::dialogs().inputBox(QString::fromUtf8(t.prompt), common::kProgramName, QString());
    if (!saisie)
        return giveUp();
    const QString valeur = *saisie;
    // A value pasted with its tabs or line ends would go into every file as it is.
    if (platform::Result plain = common::checkSingleLine(QString::fromUtf8(t.value), valeur); !plain) {
        platform::dialogs().ask(plain.error, platform::mb::OKOnly | platform::mb::Exclamation,
                                common::kProgramName);
        record::BulkUpdateResult refused;
        refused.abandoned = true;
        refused.refusal = plain.error;
        return refused;
    }
    if (valeur.isEmpty() && platform::dialogs().ask(QString::fromUtf8(t.emptyQuestion), platform::mb::YesNo,
                                                    common::kProgramName) != platform::mb::Yes)
        return giveUp();

    record::BulkUpdateResult resultat;
    resultat.value = valeur;
    for (const QString& nom : fileNames) {
        if (const platform::Result fait = updateFile(dossier, nom, action, valeur); fait)
            resultat.updated << nom;
        else
            resultat.failures.append({nom, fait.error});
    }

    if (!resultat.failures.isEmpty()) {
        QString texte = QStringLiteral("Les fichiers suivants n'ont pas été mis à jour :\n\n");
        for (const record::UpdateFailure& e : resultat.failures)
            texte += e.fileName + QStringLiteral(" : ") + e.reason + QLatin1Char('\n');
        platform::dialogs().ask(texte, platform::mb::OKOnly | platform::mb::Exclamation,
                                common::kProgramName);
    }
    return resultat;
}

record::BulkUpdateResult record::updateSelectedRecordFiles(int index)
{
    return record::updateRecordFiles(index, record::selectedFiles(gobj_Grille_Liste));
}
