#include "record/BulkUpdate.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/PlainText.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/PlainFile.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"
#include "record/RecordStore.h"

using grid::Grid;
using grid::GridFile;
using record::RecordStore;

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

// One file: its cell written with the value. A failure says why the file was left alone.
platform::Result updateFile(const QString& dossier, const QString& nom, record::UpdateAction action,
                            const QString& valeur)
{
    const QString chemin = nom.trimmed().isEmpty() ? QString() : common::findFile(dossier, nom);
    if (chemin.isEmpty())
        return platform::Result::failure(QStringLiteral("fichier introuvable"));
    const record::UpdateCell cellule = record::cellToUpdate(action, nom);
    return record::updateRecordFile(chemin, [&](Grid& grid) {
        if (cellule.row >= grid.rows() || cellule.col >= grid.cols())
            return platform::Result::failure(
                QStringLiteral("ce n'est pas un relevé complet (ligne %1, colonne %2 absente)")
                    .arg(cellule.row)
                    .arg(cellule.col));
        grid.setCell(cellule.row, cellule.col, valeur);
        return platform::Result::success();
    });
}

} // namespace

platform::Result record::updateRecordFile(const QString& path, const RecordChange& change)
{
    const auto gone = [&path] {
        return platform::Result::failure(platform::writeFailureText(
            path, QStringLiteral("il n'existe plus, il a été renommé ou supprimé pendant la mise à jour")));
    };
    constexpr int kAttempts = 10;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Taken before the read: a save made while the file is read is seen by the write.
        const platform::FileVersion read = platform::fileVersion(path);
        if (!read.exists())
            return gone();
        // Never written through a link, nor over what is not a plain file.
        if (const QString why = platform::notPlainFileReason(path); !why.isEmpty())
            return platform::Result::failure(platform::writeFailureText(path, why));
        Grid grid;
        if (platform::Result lu = GridFile::load(grid, path, GridFile::Complete, RecordStore::fileBounds());
            !lu)
            return lu;
        if (platform::Result changed = change(grid); !changed)
            return changed;
        // What is written must be read again, by the list and by the record window.
        const QByteArray bytes = GridFile::toComplete(grid);
        if (const platform::Result r = GridFile::checkBounds(grid, bytes, RecordStore::fileBounds()); !r)
            return platform::Result::failure(
                QStringLiteral("Le fichier « %1 » n'est pas écrit : %2.").arg(path, r.error));
        const platform::GuardedResult written = platform::replaceFile(path, bytes, read);
        if (written.outcome == platform::GuardedResult::Done)
            return platform::Result::success();
        if (written.outcome == platform::GuardedResult::Failed)
            return written.result;
        if (written.outcome == platform::GuardedResult::Gone)
            return gone();
        // Changed: another program's save came between the read and the write; read it again.
    }
    return platform::Result::failure(
        platform::writeFailureText(path, QStringLiteral("un autre programme le modifie sans cesse")));
}

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
