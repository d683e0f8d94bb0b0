#include "recordlist/ExportRun.h"

#include "common/EMail.h"
#include "common/ExcelWriter.h"
#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/SaveFile.h"
#include "record/RecordStore.h"
#include "recordlist/ExportTable.h"

#include <QDir>
#include <QFileInfo>

namespace recordlist {

namespace {

const QString kLineFeed = QStringLiteral("\n");

const QString kRecordSheet = QStringLiteral("SHOC");
const QString kCombinedSheet = QStringLiteral("STOC-EPS");
const QString kWorkbookSuffix = QStringLiteral("xlsx");
const QString kMailText = QStringLiteral("Fichier(s) EPS");

QString mailSubject() { return common::kProgramName + QStringLiteral(" : Fichier EPS"); }

QString notValidQuestionText(qsizetype selected, int notValid)
{
    return QStringLiteral("ATTENTION !") + kLineFeed + kLineFeed + kLineFeed + QStringLiteral("Sur les ") +
           QString::number(selected) + QStringLiteral(" fichier(s) que vous avez sélectionné, ") +
           QString::number(notValid) +
           QStringLiteral(" sont notés 'Non validé' ; leur exportation n'est pas possible !") + kLineFeed +
           kLineFeed + QStringLiteral(" Nous vous conseillons de les corriger.") + kLineFeed + kLineFeed +
           QStringLiteral("Toutefois, voulez-vous n'exporter que les fichiers valides ?");
}

QString noTargetFileText()
{
    return QStringLiteral(
        "Si vous souhaitez créer un seul fichier lors de cette opération, veuillez indiquer le "
        "nom du fichier cible");
}

QString noFolderText()
{
    return QStringLiteral("Aucun dossier n'est choisi pour y créer les fichiers : rien n'est exporté.");
}

QString createdText(const QString& path)
{
    return QStringLiteral("Le fichier ") + QDir::toNativeSeparators(path) + QStringLiteral(" a été créé.");
}

QString nothingExportedText(const QString& path)
{
    return QStringLiteral("Aucun relevé n'a pu être exporté : le fichier ") + QDir::toNativeSeparators(path) +
           QStringLiteral(" n'est pas créé.");
}

QString doneText(qsizetype exported, qsizetype asked)
{
    if (exported == asked)
        return QStringLiteral("Traitement terminé");
    return QStringLiteral("Traitement terminé : %1 relevé(s) exporté(s) sur %2.").arg(exported).arg(asked);
}

QString sheetsText(int sheets)
{
    return QStringLiteral("ATTENTION !!!!") + kLineFeed + kLineFeed +
           QStringLiteral(
               "Le fichier EXCEL a été créé avec succès mais, le nombre de lignes en sortie nous a "
               "contraint à créer ") +
           QString::number(sheets) + QStringLiteral(" feuilles dans le fichier.") + kLineFeed + kLineFeed +
           QStringLiteral(
               "Pour pallier un éventuel problème lors de l'importation dans Gadrel, veuillez vous "
               "assurez qu'aucun inventaire (Point EPS) n'a ses données à cheval sur deux feuilles.") +
           kLineFeed + kLineFeed +
           QStringLiteral("Si tel est le cas, effectuez un couper/déplacer pour que toutes les données de "
                          "l'inventaire soit sur la même feuille.");
}

QString noAddressText()
{
    return QStringLiteral("Veuillez sélectionner au moins une adresse courriel.") + kLineFeed + kLineFeed +
           QStringLiteral("Pour créer une adresse, utilisez le menu Option/Paramètrage/Adresses courriel");
}

// why: what the mail service said, naming the mail program or command that is missing; it comes
// after the box's own sentence.
QString noMailSessionText(const QString& why)
{
    return QStringLiteral("Envoi du fichier par messagerie Internet") + kLineFeed + kLineFeed +
           QStringLiteral("Tessilon est dans l'impossibilité d'envoyer le fichier d'exportation par Intenet "
                          "(soit parce que vous ne disposez pas de service de messagerie, soit celui-ci "
                          "n'est pas à la norme MAPI).") +
           kLineFeed + kLineFeed + why + kLineFeed + kLineFeed +
           QStringLiteral("Veuillez prendre les dispositions nécessaires pour l'envoyer.");
}

QString mailsStoppedText(qsizetype notSent)
{
    const QString stopped = QStringLiteral("L'envoi des courriels a été arrêté à votre demande");
    if (notSent == 0)
        return stopped + QLatin1Char('.');
    if (notSent == 1)
        return stopped + QStringLiteral(" : le courriel au correspondant suivant n'a pas été envoyé.");
    return stopped + QStringLiteral(" : les courriels aux %1 correspondants suivants n'ont pas été envoyés.")
                         .arg(notSent);
}

QString mailsSentText(int sent)
{
    if (sent == 1)
        return QStringLiteral("Un courriel a été créé dans votre boîte d'envoi et attend d'être envoyé.");
    return QString::number(sent) +
           QStringLiteral(" courriels ont été créés dans votre boîte d'envoi et attendent d'être envoyés.");
}

QString mailFailedText(const QString& address, const QString& why)
{
    return QStringLiteral("Le courriel à %1 n'a pas été envoyé : %2").arg(address, why);
}

constexpr int kWarning = platform::mb::OKOnly | platform::mb::Exclamation;

ExportOutcome notStarted(const QString& why, int style = kWarning)
{
    ExportOutcome out;
    out.started = platform::Result::failure(why);
    out.notices.append({why, style});
    return out;
}

// The file name with its last extension replaced by ".xlsx".
QString withWorkbookSuffix(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot <= 0 ? fileName : fileName.left(dot)) + QLatin1Char('.') + kWorkbookSuffix;
}

// The failures' reasons first, in order, then what the run says about what it did.
void addFailureNotices(ExportOutcome& out)
{
    QList<ExportNotice> failures;
    for (const ExportFailure& f : std::as_const(out.failures))
        failures.append({f.reason, kWarning});
    out.notices = failures + out.notices;
}

// A table without rows: one empty header cell.
void writeLog(ExportOutcome& out, const QString& folder)
{
    out.log = common::logExports(folder, out.exported);
    out.refreshList = out.log.ok && !out.exported.isEmpty();
    if (!out.log.ok)
        out.notices.append(
            {QStringLiteral("Cette exportation n'a pas été inscrite dans le journal des exportations.") +
                 QStringLiteral("\n\n") + out.log.error,
             kWarning});
}

} // namespace

ExportSelection selectForExport(const QList<ListedRecord>& selected)
{
    ExportSelection s;
    for (const ListedRecord& r : selected) {
        if (r.status.trimmed().isEmpty())
            s.records.append(r.fileName);
        else
            ++s.notValid;
    }
    if (s.notValid > 0)
        s.notValidQuestion = notValidQuestionText(selected.size(), s.notValid);
    const qsizetype n = s.records.size();
    if (n == 1)
        s.confirmation = QStringLiteral("Confirmez votre intention de exporter l'EPS ") + s.records.first();
    if (n > 1) {
        s.confirmation = QStringLiteral("Confirmez votre intention d'exporter ") + QString::number(n) +
                         QStringLiteral(" EPS.");
        s.oneWorkbookCaption = QStringLiteral("Alimenter un seul fichier avec les ") + QString::number(n) +
                               QStringLiteral(" fichiers sélectionnés");
        s.mailCaption = QStringLiteral("Envoi par courriel à votre correspondant régional des ") +
                        QString::number(n) + QStringLiteral(" fichiers sélectionnés");
    }
    return s;
}

QString exportQuestionTitle() { return common::kProgramName + QStringLiteral(" - Exportation des données"); }

QString mailWarningText()
{
    return QStringLiteral("ATTENTION !!!") + kLineFeed + kLineFeed +
           QStringLiteral("Cette option nécessite que vous ayez un client de messagerie local  correctement "
                          "paramétré et compatible avec le protocole MAPI tel que Outlook, Outlook Express, "
                          "Firebird ou Eudora.") +
           kLineFeed + kLineFeed +
           QStringLiteral("L'utilisation d'une messageire accessible  par un navigateur Internet n'est pas "
                          "compatible.") +
           kLineFeed + kLineFeed + QStringLiteral("Confirmez votre intention");
}

QString mailWarningTitle()
{
    return common::kProgramName + QStringLiteral("  - Exportation direct sous Internet");
}

platform::FileRequest combinedWorkbookRequest(const QString& dataFolder)
{
    platform::FileRequest r;
    r.folder = dataFolder;
    r.filter = QStringLiteral("Classeur Excel (*.xlsx)|*.xlsx");
    r.filterIndex = 1;
    return r;
}

QString recordWorkbookPath(const QString& folder, const QString& recordFileName)
{
    return common::joinPath(folder, withWorkbookSuffix(recordFileName));
}

QString combinedWorkbookPath(const QString& dataFolder, const QString& typed)
{
    QString path = common::normalisePath(typed.trimmed());
    if (QDir::isRelativePath(path))
        path = common::joinPath(dataFolder, path);
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(kWorkbookSuffix, Qt::CaseInsensitive) == 0)
        return path;
    static const QStringList replaced = {QStringLiteral("xls"), QStringLiteral("txt"), QStringLiteral("csv")};
    for (const QString& other : replaced)
        if (suffix.compare(other, Qt::CaseInsensitive) == 0)
            return withWorkbookSuffix(path);
    return path + QLatin1Char('.') + kWorkbookSuffix;
}

ExportRun::ExportRun(const QString& dataFolder) : m_folder(common::normalisePath(dataFolder)) {}

ExportRun ExportRun::fromSettings()
{
    return ExportRun(
        fun_Get_Setting_Str(common::kParametersSection, QStringLiteral("Dossier"), gstr_Dossier));
}

ExportOutcome ExportRun::run(const ExportRequest& request) const
{
    grid::Grid table;
    return run(request, table);
}

ExportOutcome ExportRun::run(const ExportRequest& request, grid::Grid& table) const
{
    emptyExportTable(table);
    if (request.records.isEmpty())
        return notStarted(kNoRecordText, platform::mb::OKOnly | platform::mb::Critical);
    ExportOutcome out;
    if (request.kind == ExportKind::Mail) {
        out = runMail(request);
    } else {
        // The views of the table read it once, at the end.
        const bool redraw = table.redraw();
        table.setRedraw(false);
        out = runWorkbooks(request, table);
        if (out.exported.isEmpty())
            emptyExportTable(table);
        table.setRedraw(redraw);
    }
    if (out.started)
        out.selectAgain = request.records;
    return out;
}

ExportOutcome ExportRun::runWorkbooks(const ExportRequest& request, grid::Grid& all) const
{
    const bool combined = request.kind == ExportKind::CombinedWorkbook;
    if (combined && request.combinedFile.trimmed().isEmpty())
        return notStarted(noTargetFileText(), platform::mb::OKOnly);
    if (!combined && request.targetFolder.trimmed().isEmpty())
        return notStarted(noFolderText());
    const ExportSettingsReading settings = readExportSettings(request.withLocality);
    if (!settings.result)
        return notStarted(settings.result.error);

    ExportOutcome out;
    const ExportTable table(settings.settings);
    const record::RecordStore store(m_folder);
    QStringList staged;
    for (const QString& name : request.records) {
        grid::Grid record;
        if (const platform::Result loaded = store.load(name, record); !loaded) {
            out.failures.append({name, loaded.error});
            continue;
        }
        const RecordExport rows = table.gridRows(record, common::joinPath(m_folder, name));
        if (!rows.result) {
            out.failures.append({name, rows.result.error});
            continue;
        }
        if (combined) {
            // Only a record that passed whole reaches the table.
            setExportHeader(all, rows.header);
            appendGridRows(all, rows.rows);
            staged.append(name);
            continue;
        }
        grid::Grid one;
        setExportHeader(one, rows.header);
        appendGridRows(one, rows.rows);
        const QString target = recordWorkbookPath(request.targetFolder, name);
        int sheets = 0;
        const platform::Result written =
            sub_Export_Excel(false, one, target, QString(), kRecordSheet, false, 0, one.rows() - 1, sheets);
        if (!written.ok) {
            out.failures.append({name, written.error});
            continue;
        }
        out.exported.append(name);
        out.files.append(target);
        setExportHeader(all, rows.header);
        appendGridRows(all, rows.rows);
    }

    if (combined) {
        const QString target = combinedWorkbookPath(m_folder, request.combinedFile);
        if (staged.isEmpty()) {
            out.notices.append({nothingExportedText(target), kWarning});
        } else {
            const platform::Result written = sub_Export_Excel(false, all, target, QString(), kCombinedSheet,
                                                              false, 0, all.rows() - 1, out.sheets);
            if (written.ok) {
                out.exported = staged;
                out.files.append(target);
            } else {
                out.failures.append({target, written.error});
            }
        }
        if (out.sheets > 1)
            out.notices.append({sheetsText(out.sheets), kWarning});
    }

    const qsizetype asked = request.records.size();
    if (asked == 1 && !combined && out.exported.size() == 1)
        out.notices.append({createdText(out.files.first()), platform::mb::OKOnly});
    if (asked > 1 && !out.exported.isEmpty())
        out.notices.append({doneText(out.exported.size(), asked), platform::mb::OKOnly});
    addFailureNotices(out);
    writeLog(out, m_folder);
    return out;
}

ExportOutcome ExportRun::runMail(const ExportRequest& request) const
{
    if (request.recipients.isEmpty())
        return notStarted(noAddressText(), platform::mb::OKOnly);

    ExportOutcome out;
    QStringList attached;
    QStringList paths;
    QString stopped; // the user stopped a mail, and with it the run
    for (const QString& name : request.records) {
        const platform::ResultOf<QString> found = common::findDataFile(m_folder, name);
        if (!found) {
            out.failures.append({name, found.result.error});
            continue;
        }
        const QString& path = found.value;
        if (path.isEmpty()) {
            out.failures.append({name, platform::readFailureText(common::joinPath(m_folder, name),
                                                                 QStringLiteral("il n'existe pas"))});
            continue;
        }
        // The mail takes its attachments whole: only a file within the bounds of a record goes,
        // judged from its size and first lines as the record's readers judge it.
        const auto nothing = [](int, const QList<QStringList>&) { return 0; };
        if (const platform::Result bounded =
                grid::GridFile::readHead(path, 0, nothing, record::RecordStore::fileBounds()).result;
            !bounded) {
            out.failures.append({name, bounded.error});
            continue;
        }
        attached.append(name);
        paths.append(path);
    }
    if (!paths.isEmpty()) {
        const platform::Result opened = sub_Envoi_EMail_Open();
        gbol_Erreur_MAPI = !opened.ok;
        if (!opened)
            return notStarted(noMailSessionText(opened.error));
        for (qsizetype i = 0; i < request.recipients.size(); ++i) {
            const QString& address = request.recipients[i];
            bool failed = false;
            QString why;
            sub_Envoi_EMail(true, address, mailSubject(), kMailText, paths, false, failed, why);
            if (failed)
                out.failures.append({address, mailFailedText(address, why)});
            else
                ++out.mailsSent;
            // Stopped by the user: the run ends with this mail.
            if (failed && !common::email::sessionOpen()) {
                stopped = mailsStoppedText(request.recipients.size() - i - 1);
                break;
            }
        }
        sub_Envoi_EMail_Close();
    }
    if (out.mailsSent > 0) {
        out.exported = attached;
        out.notices.append({mailsSentText(out.mailsSent), platform::mb::OKOnly});
    }
    if (!stopped.isEmpty())
        out.notices.append({stopped, kWarning});
    addFailureNotices(out);
    writeLog(out, m_folder);
    return out;
}

} // namespace recordlist
