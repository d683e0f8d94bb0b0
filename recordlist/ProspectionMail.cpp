#include "recordlist/ProspectionMail.h"

#include "common/EMail.h"
#include "common/Globals.h"
#include "common/Publisher.h"
#include "grid/Grid.h"
#include "platform/Mail.h"
#include "platform/MousePointer.h"
#include "record/Season.h"
#include "recordlist/ProspectionTable.h"

namespace recordlist {

namespace {

const QChar kLineFeed = QLatin1Char('\n');
// Entries named in the box of the entries left out; the others are counted.
constexpr int kSkippedNamed = 10;

QString dateText(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

QString yearText(const QDate& day) { return day.toString(QStringLiteral("yyyy")); }

// The pieces of the reminders.
QString salutation() { return QStringLiteral("Mon cher collègue,"); }
QString seasonLine(const QDate& today)
{
    return QStringLiteral("La saison STOC-EPS ") + yearText(today) +
           QStringLiteral(" est maintenant terminée.");
}
QString programParagraph()
{
    return QStringLiteral("Si vous utilisez un micro-ordinateur doté de Windows 95 ou supérieur, je vous "
                          "rappelle que vous devez saisir vos données avec le programme Tessilon "
                          "téléchargeable gratuitement sur ") +
           entryProgramPage();
}
QString closing() { return QStringLiteral("Cordialement."); }
QString signOff() { return QStringLiteral("Votre responsable régional"); }
QString square(const QString& site) { return QStringLiteral(">- ") + site + QStringLiteral(" -<"); }

// The number of a winter cell: 0 when empty, -1 when it is no whole number.
int filesIn(const QString& cell)
{
    const QString t = cell.trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

// The column of the current winter in the filled table; -1 when the table has none.
int currentWinterColumn(const grid::Grid& table, const QDate& today)
{
    const QString title = record::seasonText(record::winterOf(today));
    for (int c = FirstWinterColumn; c < table.cols(); ++c)
        if (table.cell(0, c) == title)
            return c;
    return -1;
}

QString noConnectionText(const QString& why)
{
    return QStringLiteral("La messagerie n'a pas pu être ouverte : aucun courriel n'a été envoyé.") +
           kLineFeed + why;
}

QString stoppedText(int notSent)
{
    const QString stopped = QStringLiteral("L'envoi des courriels a été arrêté à votre demande");
    if (notSent == 0)
        return stopped + QLatin1Char('.');
    if (notSent == 1)
        return stopped + QStringLiteral(" : un courriel de plus n'a pas été envoyé.");
    return stopped + QStringLiteral(" : %1 courriels de plus n'ont pas été envoyés.").arg(notSent);
}

QString failedText(const QString& address, const QString& why)
{
    return QStringLiteral("Le courriel à %1 n'a pas été envoyé : %2").arg(address, why);
}

QString skippedText(const QStringList& skipped)
{
    const int n = int(skipped.size());
    QString text =
        n == 1 ? QStringLiteral("Un site n'a pas d'adresse courriel (numéro de téléphone ou adresse "
                                "invalide) ; aucun courriel ne lui a été envoyé :")
               : QString::number(n) + QStringLiteral(" sites n'ont pas d'adresse courriel (numéro de "
                                                     "téléphone ou adresse invalide) ; aucun courriel "
                                                     "ne leur a été envoyé :");
    for (int i = 0; i < n && i < kSkippedNamed; ++i)
        text += kLineFeed + skipped[i];
    if (n > kSkippedNamed)
        text += kLineFeed + QStringLiteral("...");
    return text;
}

// What went wrong, one paragraph each; empty when nothing did.
QString problemsText(const MailingOutcome& o)
{
    QStringList parts;
    if (o.connectionFailed)
        parts << noConnectionText(o.connectionError);
    if (!o.skipped.isEmpty())
        parts << skippedText(o.skipped);
    for (const MailFailure& f : o.failures)
        parts << f.reason;
    if (o.stopped)
        parts << stoppedText(o.notSent);
    return parts.join(QStringLiteral("\n\n"));
}

QString skippedEntry(const grid::Grid& table, int row, const QString& entry)
{
    return table.cell(row, ProspectionSiteColumn) + QStringLiteral(" : ") + entry;
}

} // namespace

QString reminderCaption(ReminderKind kind)
{
    switch (kind) {
    case ReminderKind::SeasonEnd:
        return QStringLiteral("Courriels de relance fin de saison");
    case ReminderKind::FirstPassage:
        return QStringLiteral("Courriels relance 1er passage");
    case ReminderKind::TwoPassages:
        return QStringLiteral("Courriels relance 2ème passage");
    }
    return QString();
}

ReminderText reminderTextFor(ReminderKind kind, int files)
{
    using T = ReminderText;
    switch (kind) {
    case ReminderKind::SeasonEnd:
        return files == 0 ? T::C : files == 1 ? T::A : files == 2 ? T::B : T::None;
    case ReminderKind::FirstPassage:
        return files == 0 || files == 2 ? T::D : T::None;
    case ReminderKind::TwoPassages:
        return files == 0 || files == 1 ? T::E : T::None;
    }
    return T::None;
}

QString entryProgramPage()
{
    return common::kPublisherSite + QStringLiteral("/index_download.php?Organisme=ALL&Logiciel=Tessilon");
}

MailText reminderMail(ReminderText text, const QString& site, const QDate& today)
{
    const QString relance =
        QStringLiteral("STOC-EPS ") + site + QStringLiteral(" : relance du ") + dateText(today);
    const QString rappel =
        QStringLiteral("STOC-EPS ") + site + QStringLiteral(" : rappel du ") + dateText(today);
    const QString ask = QStringLiteral("Veuillez me faire parvenir rapidement ");
    const QString yours = QStringLiteral(" dont vous avez la responsabilité.");
    QStringList lines;
    QString subject;
    switch (text) {
    case ReminderText::None:
        return {};
    case ReminderText::A:
        subject = relance;
        lines = {salutation(),
                 seasonLine(today),
                 ask + QStringLiteral("le fichier du second passage sur le carré ") + square(site) + yours,
                 programParagraph(),
                 closing(),
                 signOff()};
        break;
    case ReminderText::B:
        subject = relance;
        lines = {salutation(),
                 seasonLine(today),
                 ask + QStringLiteral("le fichier du premier passage sur le carré ") + square(site) + yours,
                 closing(),
                 programParagraph(),
                 signOff()};
        break;
    case ReminderText::C:
        subject = relance;
        lines = {salutation(),
                 seasonLine(today),
                 ask + QStringLiteral("les fichiers des deux passages du carré ") + square(site) + yours,
                 programParagraph(),
                 closing(),
                 signOff()};
        break;
    case ReminderText::D:
        subject = rappel;
        lines = {
            salutation(),
            QStringLiteral("Comme je l'espère, vous avez dû effectuer le premier passage sur le carré ") +
                square(site) +
                QStringLiteral(" pour la première période (avant le 8 mai) de la saison STOC-EPS ") +
                yearText(today) + QStringLiteral("."),
            ask + QStringLiteral("le fichier correspondant."),
            closing(),
            programParagraph(),
            signOff()};
        break;
    case ReminderText::E:
        subject = rappel;
        lines = {salutation(),
                 seasonLine(today),
                 QStringLiteral("Comme je l'espère, vous avez dû effectuer vos deux passages sur le carré ") +
                     square(site) + QStringLiteral("."),
                 ask + QStringLiteral("les fichiers correspondants."),
                 closing(),
                 programParagraph(),
                 signOff()};
        break;
    }
    return {subject, lines.join(kLineFeed)};
}

QString circularSubject(const QDate& today)
{
    return QStringLiteral("STOC-EPS : circulaire du ") + dateText(today);
}

QStringList recipientsOf(const QString& addressCell)
{
    const QStringList addresses = common::email::recipientList(addressCell);
    for (const QString& a : addresses)
        if (!platform::isMailAddress(a))
            return {};
    return addresses;
}

MailingOutcome sendCircular(const grid::Grid& table, const QDate& today)
{
    MailingOutcome out;
    QStringList recipients;
    for (int r = table.fixedRows(); r < table.rows(); ++r) {
        if (!table.isRowSelected(r))
            continue;
        const QString entry = table.cell(r, ProspectionContactColumn).trimmed();
        if (entry.isEmpty())
            continue;
        const QStringList addresses = recipientsOf(entry);
        if (addresses.isEmpty())
            out.skipped << skippedEntry(table, r, entry);
        for (const QString& a : addresses)
            if (!recipients.contains(a, Qt::CaseInsensitive))
                recipients << a;
    }

    gbol_Erreur_MAPI = false;
    if (!recipients.isEmpty()) {
        const platform::Result opened = sub_Envoi_EMail_Open(true);
        gbol_Erreur_MAPI = !opened.ok;
        if (!opened) {
            out.connectionFailed = true;
            out.connectionError = opened.error;
        } else {
            bool failed = false;
            QString why;
            const QString to = recipients.join(QLatin1Char(';'));
            sub_Envoi_EMail(true, to, circularSubject(today), QString(), QString(), true, failed, why);
            if (failed)
                out.failures.append({to, failedText(to, why)});
            else
                out.sent = 1;
            sub_Envoi_EMail_Close();
        }
    }
    out.message = problemsText(out);
    if (!out.message.isEmpty())
        out.style = platform::mb::OKOnly | platform::mb::Exclamation;
    return out;
}

MailingOutcome sendReminders(const grid::Grid& table, ReminderKind kind, const QDate& today)
{
    const platform::PointerGuard hourglass;
    MailingOutcome out;

    struct Planned
    {
        QString address;
        MailText text;
    };
    QList<Planned> planned;
    const int winter = currentWinterColumn(table, today);
    for (int r = table.fixedRows(); r < table.rows(); ++r) {
        const QString entry = table.cell(r, ProspectionContactColumn).trimmed();
        if (entry.isEmpty())
            continue;
        const ReminderText text = reminderTextFor(kind, filesIn(table.cell(r, winter)));
        if (text == ReminderText::None)
            continue;
        if (recipientsOf(entry).isEmpty()) {
            out.skipped << skippedEntry(table, r, entry);
            continue;
        }
        planned.append({entry, reminderMail(text, table.cell(r, ProspectionSiteColumn), today)});
    }

    gbol_Erreur_MAPI = false;
    if (!planned.isEmpty()) {
        const platform::Result opened = sub_Envoi_EMail_Open(false);
        gbol_Erreur_MAPI = !opened.ok;
        if (!opened) {
            out.connectionFailed = true;
            out.connectionError = opened.error;
        } else {
            for (qsizetype i = 0; i < planned.size(); ++i) {
                const Planned& p = planned[i];
                bool failed = false;
                QString why;
                sub_Envoi_EMail(true, p.address, p.text.subject, p.text.body, QString(), false, failed, why);
                if (failed)
                    out.failures.append({p.address, failedText(p.address, why)});
                else
                    ++out.sent;
                // Stopped by the user: the run ends with this mail.
                if (failed && !common::email::sessionOpen()) {
                    out.stopped = true;
                    out.notSent = int(planned.size() - i - 1);
                    break;
                }
            }
            sub_Envoi_EMail_Close();
        }
    }

    out.message = QString::number(out.sent) + QStringLiteral(" courriel") +
                  (out.sent >= 2 ? QStringLiteral("s") : QString()) +
                  QStringLiteral(" de relance ont été envoyés.");
    if (const QString problems = problemsText(out); !problems.isEmpty()) {
        out.message += QStringLiteral("\n\n") + problems;
        out.style = platform::mb::OKOnly | platform::mb::Exclamation;
    }
    return out;
}

} // namespace recordlist
