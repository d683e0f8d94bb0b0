#include "mainwindow/StartupSequence.h"

#include "common/EMail.h"
#include "common/ExcelWriter.h"
#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/Migration.h"
#include "common/OptionMarks.h"
#include "common/Paths.h"
#include "common/Questions.h"
#include "common/Settings.h"
#include "common/SpeciesUpgrade.h"
#include "common/TableCatalogue.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "mainwindow/MenuOptions.h"
#include "mainwindow/UpdateCheck.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <cmath>

using grid::Grid;
using grid::GridFile;
namespace mb = platform::mb;

namespace mainwindow {

namespace {

const QChar kLineFeed = QLatin1Char('\n');

QString setting(const QString& valeur, const QString& defaut)
{
    return fun_Get_Setting_Str(common::kParametersSection, valeur, defaut);
}

// A work grid emptied, then loaded from a table file (as the catalogue finds it); fails when the
// file is missing or unreadable (the grid then stays empty).
platform::Result loadTable(Grid& grille, const QString& chemin)
{
    grille.clear();
    grille.setRows(0);
    grille.setFixedRows(0);
    grille.setFixedCols(0);
    return GridFile::load(grille, chemin, GridFile::Complete);
}

// A setting that cannot be read as a number.
QString unreadableSetting(const QString& valeur)
{
    return QStringLiteral("Le paramètre « %1 » ne peut pas être lu comme un nombre.").arg(valeur);
}

// The reminders about the correspondents' addresses: the question, then, on No, whether to ask
// again at the next start (No records "6" and the reminder is never shown again).
void addressReminder(StartupWindow& window, const QString& valeur, const QString& texte)
{
    if (common::leadingNumber(setting(valeur, QStringLiteral("7"))) != 7)
        return;
    auto& dlg = platform::dialogs();
    if (dlg.ask(texte, mb::YesNo | mb::Exclamation, common::kProgramName) == mb::Yes) {
        window.openAddressBook();
        return;
    }
    const QString encore = QStringLiteral("Voulez-vous que ") + common::kProgramName +
                           QStringLiteral(" vous repose la question au prochain démarrage ?");
    if (dlg.ask(encore, mb::YesNo | mb::Exclamation, common::kProgramName) == mb::No)
        static_cast<void>(sub_Reg_Write_HKLM(common::kParametersSection, valeur, QStringLiteral("6")));
}

void installTables()
{
    QStringList erreurs;
    for (const data::TableInstallation& t : data::installStarterTables(common::programFolder()))
        if (t.state == data::InstallState::Failed)
            erreurs << t.fileName + QStringLiteral(" : ") + t.error;
    if (!erreurs.isEmpty())
        platform::dialogs().ask(
            QStringLiteral("Les tables de référence suivantes n'ont pas pu être installées dans "
                           "le dossier ") +
                common::programFolder() + QStringLiteral(" :") + kLineFeed + kLineFeed +
                erreurs.join(kLineFeed),
            mb::OKOnly | mb::Exclamation, common::kProgramName);
}

} // namespace

AddressCounts countAddresses(const Grid& table)
{
    AddressCounts n;
    for (const common::email::Correspondent& c : common::email::correspondentsOf(table)) {
        ++n.addresses;
        if (c.ticked)
            ++n.selected;
    }
    return n;
}

namespace {

// The steps of the start-up, in the order runStartupSequence takes them; each numbered as the
// sequence numbers its stages. A failed step is skipped and its reason kept in the result.
class StartupSteps
{
public:
    explicit StartupSteps(StartupWindow& window) : m_window(window) {}

    // 1-2. This program's identification items; the sibling program's settings; the starter
    // reference tables.
    void identifyAndMigrate()
    {
        m_window.showIdentificationItems();
        sub_Migration_Registre();
        installTables();
    }

    // 4. The workbook writer's font.
    void setWorkbookFont()
    {
        gstr_Police_Excel = QStringLiteral("MS Sans Serif");
        glng_Taille_Police_Excel = 8;
        gbol_Gras_Excel = false;
        gbol_Italique_Excel = false;
    }

    // 5. First start and data folder; false when the user quit the first start.
    bool chooseDataFolder()
    {
        const common::StartOutcome folder =
            sub_Init_Version_Dossier([this](const QString& title, const QString& propose) {
                return m_window.chooseFolder(title, propose);
            });
        if (folder == common::StartOutcome::Quit) {
            m_result.outcome = common::StartOutcome::Quit;
            return false;
        }
        m_window.setHourglass(true);
        return true;
    }

    // 7. Species learning mode.
    void speciesLearningMode()
    {
        const QString validation = setting(QStringLiteral("Validation Espèces"), QStringLiteral("2"));
        if (validation == QLatin1String("2")) {
            static_cast<void>(sub_Reg_Write_HKLM(common::kParametersSection,
                                                 QStringLiteral("Validation Espèces"), QStringLiteral("-1")));
            // A table that cannot be read or written has been told to the user; the answer is kept
            // and the sequence goes on.
            static_cast<void>(sub_Update_Espèce(m_window.Flx_Carrés()));
        } else if (const std::optional<qint16> v = common::roundToInt16(common::leadingNumber(validation))) {
            setOption(Option::SaisieEsp, *v != 0);
        } else {
            skip(platform::Result::failure(unreadableSetting(QStringLiteral("Validation Espèces"))));
        }
    }

    // 8. Start counter; a count too large to read is left as it is.
    void countStart()
    {
        if (const std::optional<double> lu = fun_Get_Setting_Dbl(
                common::kOptionsSection, QStringLiteral("Nbr_Demarrage"), QStringLiteral("0"))) {
            m_starts = *lu + 1;
            static_cast<void>(sub_Reg_Write_HKLM(common::kOptionsSection, QStringLiteral("Nbr_Demarrage"),
                                                 QString::number(m_starts, 'g', 15)));
        } else {
            skip(platform::Result::failure(unreadableSetting(QStringLiteral("Nbr_Demarrage"))));
        }
    }

    // 9. Update-check frequency; question 2700 when the user was never asked.
    void updateFrequency()
    {
        const std::optional<qint16> indice =
            fun_Get_Setting_Int(common::kOptionsSection, kUpdateFrequencyValue, QStringLiteral("999"));
        if (!indice) {
            skip(platform::Result::failure(unreadableSetting(kUpdateFrequencyValue)));
        } else if (*indice >= 0 && *indice < kFrequencyCount) {
            setFrequency(*indice, true);
            m_frequency = startsBetweenChecks(*indice);
        } else {
            fun_Dialogue(2700, gint_Réponse_Dialogue, QString());
            const bool oui = gint_Réponse_Dialogue == mb::Yes;
            setFrequency(oui ? 0 : kFrequencyNever, true);
            const QString choix = oui ? QStringLiteral("0") : QString::number(kFrequencyNever);
            static_cast<void>(sub_Reg_Write_HKLM(common::kOptionsSection, kUpdateFrequencyValue, choix));
        }
    }

    // 10. Automatic update check, once this start, when due and nothing failed so far. It is
    // decided here and started at the very end (finish): a timer running while a box of the
    // start-up is open would fire in that box's event loop and open the browser over the
    // question.
    void decideAutoCheck()
    {
        const bool jamais = isFrequencyChecked(kFrequencyNever);
        m_result.autoCheckEnabled =
            !jamais && !m_result.failed && isAutoCheckDue(m_starts, m_frequency, jamais);
    }

    // 11-12. Items this program does not offer; the option marks.
    void setOptions()
    {
        m_window.hideItemsNotOffered();
        setOption(Option::Saisie_Commentaires, false);
        setOption(Option::Saisie_Mammiferes, true);
        skip(loadOptions());
    }

    // 13-16. The workbook writer, captions, the window and its logo.
    void showWindow()
    {
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
        m_window.sub_Adapte_Affichage();
        m_window.showWindow();
    }

    // 17-19. Reminders about the correspondents' addresses.
    void remindAddresses()
    {
        Grid& adresses = m_window.Flx_Carrés();
        skip(loadTable(adresses, common::email::addressBookPath()));
        const AddressCounts n = countAddresses(adresses);
        if (n.addresses == 0) {
            addressReminder(
                m_window, QStringLiteral("Adresses email Check1"),
                QStringLiteral("Vous n'avez défini aucune adresse courriel pour transférer par Internet vos "
                               "fichiers à votre correspondant régional.") +
                    kLineFeed + kLineFeed + QStringLiteral("Voulez-vous la définir maintenant ?"));
        } else if (n.selected == 0) {
            addressReminder(
                m_window, QStringLiteral("Adresses email Check2"),
                QStringLiteral("Vous n'avez pas sélectionné l'adresse courriel de votre correspondant "
                               "régional.") +
                    kLineFeed + kLineFeed + QStringLiteral("Voulez-vous la sélectionner maintenant ?"));
        }
    }

    // 20-22. Documentation menu and the export log.
    void loadDocumentationAndLog()
    {
        const QString dossierLog = setting(QStringLiteral("Dossier"), gstr_Dossier);
        m_window.fillDocumentationMenu(common::programFolder());
        if (const platform::Result log = sub_Load_Log_Export(dossierLog, m_window.flx_Work()); !log) {
            platform::dialogs().ask(
                QStringLiteral("Le journal des exportations n'a pas pu être mis à jour.") + kLineFeed +
                    kLineFeed + log.error,
                mb::OKOnly | mb::Exclamation, common::kProgramName);
            skip(log);
        }
    }

    // 23. The squares table, in place of the address table.
    void loadSquares()
    {
        skip(loadTable(m_window.Flx_Carrés(), common::tablePath(common::ParamMode::Squares)));
    }

    // The end: the pointer back, the sound, and the update check's timer when it is due.
    void finish()
    {
        m_window.setHourglass(false);
        m_window.sub_Bing();
        if (m_result.autoCheckEnabled)
            m_window.startAutoCheck();
    }

    const StartupSequenceResult& result() const { return m_result; }

private:
    void skip(const platform::Result& pas)
    {
        if (pas)
            return;
        m_result.failed = true;
        m_result.reasons << pas.error;
    }

    StartupWindow& m_window;
    StartupSequenceResult m_result;
    double m_starts = 0;
    std::optional<int> m_frequency;
};

} // namespace

StartupSequenceResult runStartupSequence(StartupWindow& window)
{
    StartupSteps steps(window);
    steps.identifyAndMigrate();
    steps.setWorkbookFont();
    if (!steps.chooseDataFolder())
        return steps.result();
    steps.speciesLearningMode();
    steps.countStart();
    steps.updateFrequency();
    steps.decideAutoCheck();
    steps.setOptions();
    steps.showWindow();
    steps.remindAddresses();
    steps.loadDocumentationAndLog();
    steps.loadSquares();
    steps.finish();
    return steps.result();
}

} // namespace mainwindow
