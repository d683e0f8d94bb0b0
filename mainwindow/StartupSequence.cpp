#include "mainwindow/StartupSequence.h"

#include "common/ExcelWriter.h"
#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/Migration.h"
#include "common/Options.h"
#include "common/Paths.h"
#include "common/Questions.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "mainwindow/Options.h"
#include "mainwindow/SpeciesUpgrade.h"
#include "mainwindow/UpdateCheck.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QFileInfo>
#include <cmath>

using grid::Grid;
using grid::GridFile;
namespace mb = platform::mb;

namespace mainwindow {

namespace {

const QChar LF = QLatin1Char('\n');

QString parametre(const QString& valeur, const QString& defaut)
{
    return fun_Get_Setting_Str(gstr_Section_Parametres, valeur, defaut);
}

// The table's file whatever the letter case of its name.
QString fichierExistant(const QString& chemin)
{
    const QString normal = fun_Chemin_Normalise(chemin);
    if (normal.isEmpty() || QFileInfo(normal).isFile())
        return normal;
    const QFileInfo info(normal);
    const QString trouve = fun_Trouver_Fichier(info.path(), info.fileName());
    return trouve.isEmpty() ? normal : trouve;
}

// A work grid emptied, then loaded from a table file; false when the file is missing or
// unreadable (the grid then stays empty).
bool chargerTable(Grid& grille, const QString& chemin)
{
    grille.clear();
    grille.setRows(0);
    grille.setFixedRows(0);
    grille.setFixedCols(0);
    return bool(GridFile::load(grille, fichierExistant(chemin), GridFile::Complete));
}

// The reminders about the correspondents' addresses: the question, then, on No, whether to ask
// again at the next start (No records "6" and the reminder is never shown again).
void rappelAdresses(FenetreDemarrage& fenetre, const QString& valeur, const QString& texte)
{
    if (fun_Val(parametre(valeur, QStringLiteral("7"))) != 7)
        return;
    auto& dlg = platform::dialogs();
    if (dlg.ask(texte, mb::YesNo | mb::Exclamation, gstr_Nom_Programme) == mb::Yes) {
        fenetre.sub_Ouvrir_Adresses();
        return;
    }
    const QString encore = QStringLiteral("Voulez-vous que ") + gstr_Nom_Programme
                           + QStringLiteral(" vous repose la question au prochain démarrage ?");
    if (dlg.ask(encore, mb::YesNo | mb::Exclamation, gstr_Nom_Programme) == mb::No)
        static_cast<void>(sub_Reg_Write_HKLM(gstr_Section_Parametres, valeur, QStringLiteral("6")));
}

void installerTables()
{
    QStringList erreurs;
    for (const InstallationTable& t : sub_Installer_Tables(fun_Dossier_Programme()))
        if (t.etat == EtatInstallation::Echec)
            erreurs << t.fichier + QStringLiteral(" : ") + t.erreur;
    if (!erreurs.isEmpty())
        platform::dialogs().ask(QStringLiteral("Les tables de référence suivantes n'ont pas pu être installées dans "
                                               "le dossier ")
                                    + fun_Dossier_Programme() + QStringLiteral(" :") + LF + LF
                                    + erreurs.join(LF),
                                mb::OKOnly | mb::Exclamation, gstr_Nom_Programme);
}

} // namespace

ComptesAdresses fun_Compter_Adresses(const Grid& table)
{
    ComptesAdresses n;
    for (int r = 1; r < table.rows(); ++r) {
        if (table.cell(r, 2).trimmed().isEmpty())
            continue;
        ++n.adresses;
        if (table.checkState(r, 1) == Grid::Checked)
            ++n.selectionnees;
    }
    return n;
}

ResultatSequence sub_Sequence_Demarrage(FenetreDemarrage& fenetre)
{
    ResultatSequence r;

    // 1-2. This program's identification items; the sibling program's settings.
    fenetre.sub_Items_Identification();
    sub_Migration_Registre();
    installerTables();

    // 4. The workbook writer's font.
    gstr_Police_Excel = QStringLiteral("MS Sans Serif");
    glng_Taille_Police_Excel = 8;
    gbol_Gras_Excel = false;
    gbol_Italique_Excel = false;

    // 5. First start and data folder.
    const ResultatDemarrage dossier = sub_Init_Version_Dossier(
        [&fenetre](const QString& titre, const QString& propose) { return fenetre.fun_Choisir_Dossier(titre, propose); });
    if (dossier == ResultatDemarrage::Quitter) {
        r.fin = ResultatDemarrage::Quitter;
        return r;
    }
    fenetre.sub_Sablier(true);

    // 7. Species learning mode.
    const QString validation = parametre(QStringLiteral("Validation Espèces"), QStringLiteral("2"));
    if (validation == QLatin1String("2")) {
        static_cast<void>(sub_Reg_Write_HKLM(gstr_Section_Parametres, QStringLiteral("Validation Espèces"),
                                             QStringLiteral("-1")));
        sub_Update_Espèce(fenetre.Flx_Carrés());
    } else if (const std::optional<qint16> v = fun_CInt(fun_Val(validation))) {
        sub_Option(Option::SaisieEsp, *v != 0);
    } else {
        r.echec = true;
    }

    // 8. Start counter; a count too large to read is left as it is.
    double compteur = 0;
    if (const std::optional<double> lu =
            fun_Get_Setting_Dbl(gstr_Section_Options, QStringLiteral("Nbr_Demarrage"), QStringLiteral("0"))) {
        compteur = *lu + 1;
        static_cast<void>(sub_Reg_Write_HKLM(gstr_Section_Options, QStringLiteral("Nbr_Demarrage"),
                                             QString::number(compteur, 'g', 15)));
    } else {
        r.echec = true;
    }

    // 9. Update-check frequency; question 2700 when the user was never asked.
    std::optional<int> frequence;
    const std::optional<qint16> indice =
        fun_Get_Setting_Int(gstr_Section_Options, gstr_Valeur_Frequence_Maj, QStringLiteral("999"));
    if (!indice) {
        r.echec = true;
    } else if (*indice >= 0 && *indice < gint_Nbr_Frequences) {
        sub_Frequence(*indice, true);
        frequence = fun_Frequence_Maj(*indice);
    } else {
        fun_Dialogue(2700, gint_Réponse_Dialogue, QString());
        const bool oui = gint_Réponse_Dialogue == mb::Yes;
        sub_Frequence(oui ? 0 : gint_Frequence_Jamais, true);
        const QString choix = oui ? QStringLiteral("0") : QString::number(gint_Frequence_Jamais);
        static_cast<void>(sub_Reg_Write_HKLM(gstr_Section_Options, gstr_Valeur_Frequence_Maj, choix));
    }

    // 10. Automatic update check, once this start, when due and nothing failed so far. It is
    // decided here and started at the very end: a timer running while a box of the start-up is
    // open would fire in that box's event loop and open the browser over the question.
    const bool jamais = fun_Frequence_Cochee(gint_Frequence_Jamais);
    r.verificationActivee = !jamais && !r.echec && fun_Verif_Auto_Due(compteur, frequence, jamais);

    // 11-12. Items this program does not offer; the option marks.
    fenetre.sub_Items_Non_Offerts();
    sub_Option(Option::Saisie_Commentaires, false);
    sub_Option(Option::Saisie_Mammiferes, true);
    if (!sub_Charger_Options())
        r.echec = true;

    // 13-16. The workbook writer, captions, the window and its logo.
    Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
    fenetre.sub_Adapte_Affichage();
    fenetre.sub_Afficher();

    // 17-19. Reminders about the correspondents' addresses.
    Grid& adresses = fenetre.Flx_Carrés();
    if (!chargerTable(adresses, parametre(QStringLiteral("Adresses email"),
                                          fun_Chemin(fun_Dossier_Programme(), QStringLiteral("email.DOV")))))
        r.echec = true;
    const ComptesAdresses n = fun_Compter_Adresses(adresses);
    if (n.adresses == 0) {
        rappelAdresses(fenetre, QStringLiteral("Adresses email Check1"),
                       QStringLiteral("Vous n'avez défini aucune adresse courriel pour transférer par Internet vos "
                                      "fichiers à votre correspondant régional.")
                           + LF + LF + QStringLiteral("Voulez-vous la définir maintenant ?"));
    } else if (n.selectionnees == 0) {
        rappelAdresses(fenetre, QStringLiteral("Adresses email Check2"),
                       QStringLiteral("Vous n'avez pas sélectionné l'adresse courriel de votre correspondant "
                                      "régional.")
                           + LF + LF + QStringLiteral("Voulez-vous la sélectionner maintenant ?"));
    }

    // 20-22. Documentation menu and the export log.
    const QString dossierLog = parametre(QStringLiteral("Dossier"), gstr_Dossier);
    fenetre.sub_Remplir_Documentation(fun_Dossier_Programme());
    if (const platform::Result log = sub_Load_Log_Export(dossierLog, fenetre.flx_Work()); !log) {
        platform::dialogs().ask(QStringLiteral("Le journal des exportations n'a pas pu être mis à jour.") +
                                    LF + LF + log.error,
                                mb::OKOnly | mb::Exclamation, gstr_Nom_Programme);
        r.echec = true;
    }

    // 23. The squares table, in place of the address table.
    if (!chargerTable(fenetre.Flx_Carrés(), parametre(QStringLiteral("Fichier carrés"),
                                                      fun_Chemin(fun_Dossier_Programme(), QStringLiteral("carrés.DOV")))))
        r.echec = true;

    fenetre.sub_Sablier(false);
    fenetre.sub_Bing();
    if (r.verificationActivee)
        fenetre.sub_Activer_Verif_Auto();
    return r;
}

} // namespace mainwindow
