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

ResultatMaj abandon()
{
    platform::dialogs().ask(texteAbandon, platform::mb::OKOnly, gstr_Nom_Programme);
    ResultatMaj r;
    r.abandonnee = true;
    return r;
}

// One file: read whole into a grid of its own, one cell written, written back whole. A failure
// says why the file was left alone.
platform::Result mettreAJour(const QString& dossier, const QString& nom, ActionMaj action,
                             const QString& valeur)
{
    const QString chemin = nom.trimmed().isEmpty() ? QString() : fun_Trouver_Fichier(dossier, nom);
    if (chemin.isEmpty())
        return platform::Result::failure(QStringLiteral("fichier introuvable"));
    Grid grille;
    if (platform::Result lu = GridFile::load(grille, chemin, GridFile::Complete); !lu)
        return lu;
    const CelluleMaj cellule = fun_Cellule_Maj(action, nom);
    if (cellule.row >= grille.rows() || cellule.col >= grille.cols())
        return platform::Result::failure(
            QStringLiteral("ce n'est pas un relevé complet (ligne %1, colonne %2 absente)")
                .arg(cellule.row)
                .arg(cellule.col));
    grille.setCell(cellule.row, cellule.col, valeur);
    return GridFile::save(grille, chemin, GridFile::Complete, true);
}

} // namespace

bool fun_Disposition_EPS(const QString& nomFichier)
{
    return nomFichier.left(4).toUpper() == QLatin1String("EPS-");
}

CelluleMaj fun_Cellule_Maj(ActionMaj action, const QString& nomFichier)
{
    const bool eps = fun_Disposition_EPS(nomFichier);
    switch (action) {
    case ActionMaj::Courriel:
        return eps ? CelluleMaj{3, 3} : CelluleMaj{6, 2};
    case ActionMaj::Observateur:
        return eps ? CelluleMaj{3, 2} : CelluleMaj{5, 2};
    case ActionMaj::Commune:
        return eps ? CelluleMaj{2, 4} : CelluleMaj{2, 3};
    }
    return {};
}

QStringList fun_Fichiers_Selectionnes(const Grid* grille)
{
    QStringList noms;
    if (!grille)
        return noms;
    for (int i = 0; i < grille->selectedRowCount(); ++i)
        noms << grille->cell(grille->selectedRow(i), 1);
    return noms;
}

ResultatMaj sub_Maj_Fichiers_Releves(int index, const QStringList& fichiers)
{
    if (index < 0 || index > 2)
        return {};
    const ActionMaj action = ActionMaj(index);
    const TextesMaj& t = textes[index];
    const QString dossier =
        fun_Get_Setting_Str(gstr_Section_Parametres, QStringLiteral("Dossier"), gstr_Dossier);

    QString liste;
    for (const QString& nom : fichiers)
        liste += nom + QLatin1Char('\n');
    const QString confirmation = QString::fromUtf8(t.confirmation) + QString::number(fichiers.size()) +
                                 QStringLiteral(" fichiers sélectionnés") + QStringLiteral("\n\n") + liste;
    if (platform::dialogs().ask(confirmation, platform::mb::YesNo, gstr_Nom_Programme) != platform::mb::Yes)
        return abandon();

    // Annuler gives no text at all: the user gave up, whatever the field.
    const std::optional<QString> saisie =
        platform::dialogs().inputBox(QString::fromUtf8(t.invite), gstr_Nom_Programme, QString());
    if (!saisie)
        return abandon();
    const QString valeur = *saisie;
    if (valeur.isEmpty() && platform::dialogs().ask(QString::fromUtf8(t.questionVide), platform::mb::YesNo,
                                                    gstr_Nom_Programme) != platform::mb::Yes)
        return abandon();

    ResultatMaj resultat;
    resultat.valeur = valeur;
    for (const QString& nom : fichiers) {
        if (const platform::Result fait = mettreAJour(dossier, nom, action, valeur); fait)
            resultat.misAJour << nom;
        else
            resultat.echecs.append({nom, fait.error});
    }

    if (!resultat.echecs.isEmpty()) {
        QString texte = QStringLiteral("Les fichiers suivants n'ont pas été mis à jour :\n\n");
        for (const EchecMaj& e : resultat.echecs)
            texte += e.fichier + QStringLiteral(" : ") + e.raison + QLatin1Char('\n');
        platform::dialogs().ask(texte, platform::mb::OKOnly | platform::mb::Exclamation, gstr_Nom_Programme);
    }
    return resultat;
}

ResultatMaj sub_Popup_Maj_Global_Click(int index)
{
    return sub_Maj_Fichiers_Releves(index, fun_Fichiers_Selectionnes(gobj_Grille_Liste));
}
