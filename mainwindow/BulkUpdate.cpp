#include "mainwindow/BulkUpdate.h"

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

using grid::Grid;
using grid::GridFile;

namespace {

struct TextesMaj
{
    const char* confirmation; // followed by the number of files
    const char* invite;
    const char* questionVide;
};

// By menu index.
const TextesMaj textes[] = {
    {"Confirmez votre intention de modifier l'adresse courriel des ",
     "Veuillez indiquer la nouvelle adresse courriel qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion de l'adresse courriel dans les fichiers sélectionnés"},
    {"Confirmez votre intention de modifier les noms des observateurs des ",
     "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion des noms dans les fichiers sélectionnés"},
    {"Confirmez votre intention de modifier les noms des communes des ",
     "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés",
     "Confirmez la suppresion des noms dans les fichiers sélectionnés"},
};

const QString texteAbandon = QStringLiteral("La mise à jour a été abandonnée à votre demande");

mainwindow::BulkUpdateResult abandon()
{
    platform::dialogs().ask(texteAbandon, platform::mb::OKOnly, common::kProgramName);
    mainwindow::BulkUpdateResult r;
    r.abandonnee = true;
    return r;
}

// One file: read whole into a grid of its own, one cell written, written back whole. A failure
// says why the file was left alone.
platform::Result mettreAJour(const QString& dossier, const QString& nom, mainwindow::UpdateAction action,
                             const QString& valeur)
{
    const QString chemin = nom.trimmed().isEmpty() ? QString() : common::findFile(dossier, nom);
    if (chemin.isEmpty())
        return platform::Result::failure(QStringLiteral("fichier introuvable"));
    Grid grille;
    if (platform::Result lu = GridFile::load(grille, chemin, GridFile::Complete); !lu)
        return lu;
    const mainwindow::UpdateCell cellule = mainwindow::cellToUpdate(action, nom);
    if (cellule.row >= grille.rows() || cellule.col >= grille.cols())
        return platform::Result::failure(
            QStringLiteral("ce n'est pas un relevé complet (ligne %1, colonne %2 absente)")
                .arg(cellule.row)
                .arg(cellule.col));
    grille.setCell(cellule.row, cellule.col, valeur);
    return GridFile::save(grille, chemin, GridFile::Complete, true);
}

} // namespace

bool mainwindow::hasEpsLayout(const QString& nomFichier)
{
    return nomFichier.left(4).toUpper() == QLatin1String("EPS-");
}

mainwindow::UpdateCell mainwindow::cellToUpdate(mainwindow::UpdateAction action, const QString& nomFichier)
{
    const bool eps = mainwindow::hasEpsLayout(nomFichier);
    switch (action) {
    case mainwindow::UpdateAction::Email:
        return eps ? mainwindow::UpdateCell{3, 3} : mainwindow::UpdateCell{6, 2};
    case mainwindow::UpdateAction::Observer:
        return eps ? mainwindow::UpdateCell{3, 2} : mainwindow::UpdateCell{5, 2};
    case mainwindow::UpdateAction::Commune:
        return eps ? mainwindow::UpdateCell{2, 4} : mainwindow::UpdateCell{2, 3};
    }
    return {};
}

QStringList mainwindow::selectedFiles(const Grid* grille)
{
    QStringList noms;
    if (!grille)
        return noms;
    for (int i = 0; i < grille->selectedRowCount(); ++i)
        noms << grille->cell(grille->selectedRow(i), 1);
    return noms;
}

mainwindow::BulkUpdateResult mainwindow::updateRecordFiles(int index, const QStringList& fichiers)
{
    if (index < 0 || index > 2)
        return {};
    const mainwindow::UpdateAction action = mainwindow::UpdateAction(index);
    const TextesMaj& t = textes[index];
    const QString dossier =
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier);

    QString liste;
    for (const QString& nom : fichiers)
        liste += nom + QLatin1Char('\n');
    const QString confirmation = QString::fromUtf8(t.confirmation) + QString::number(fichiers.size()) +
                                 QStringLiteral(" fichiers sélectionnés") + QStringLiteral("\n\n") + liste;
    if (platform::dialogs().ask(confirmation, platform::mb::YesNo, common::kProgramName) != platform::mb::Yes)
        return abandon();

    // Annuler gives no text at all: the user gave up, whatever the field.
    const std::optional<QString> saisie =
        platform::dialogs().inputBox(QString::fromUtf8(t.invite), common::kProgramName, QString());
    if (!saisie)
        return abandon();
    const QString valeur = *saisie;
    if (valeur.isEmpty() && platform::dialogs().ask(QString::fromUtf8(t.questionVide), platform::mb::YesNo,
                                                    common::kProgramName) != platform::mb::Yes)
        return abandon();

    mainwindow::BulkUpdateResult resultat;
    resultat.valeur = valeur;
    for (const QString& nom : fichiers) {
        if (const platform::Result fait = mettreAJour(dossier, nom, action, valeur); fait)
            resultat.misAJour << nom;
        else
            resultat.echecs.append({nom, fait.error});
    }

    if (!resultat.echecs.isEmpty()) {
        QString texte = QStringLiteral("Les fichiers suivants n'ont pas été mis à jour :\n\n");
        for (const mainwindow::UpdateFailure& e : resultat.echecs)
            texte += e.fichier + QStringLiteral(" : ") + e.raison + QLatin1Char('\n');
        platform::dialogs().ask(texte, platform::mb::OKOnly | platform::mb::Exclamation,
                                common::kProgramName);
    }
    return resultat;
}

mainwindow::BulkUpdateResult mainwindow::updateSelectedRecordFiles(int index)
{
    return mainwindow::updateRecordFiles(index, mainwindow::selectedFiles(gobj_Grille_Liste));
}
