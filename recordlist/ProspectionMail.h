#pragma once
// The mails of the prospection view to the observers of the sites: one circular to the selected
// sites' observers, opened in the mail client's compose window for the coordinator to write, and
// the reminders, one mail per site sent at once, worded from the number of the site's record
// files in the current winter (the record core's season rule: from January to September the
// current winter is the one that began in the previous October).
//
// Both read the view's filled grid (ProspectionTable.h): the site, the address column and the
// selected rows. An address cell may hold a telephone number (a record without e-mail): such an
// entry is no recipient; it is skipped and the box says how many were. Only the mails the mail
// service accepted are counted; a mail service that cannot be opened is reported and nothing is
// sent. The texts to the observers are those of the scheme the survey follows, word for word.

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace recordlist {

// The reminder buttons, by their index.
enum class ReminderKind : int {
    SeasonEnd = 0,    // "Courriels de relance fin de saison"
    FirstPassage = 1, // "Courriels relance 1er passage"
    TwoPassages = 2,  // "Courriels relance 2ème passage"
};
QString reminderCaption(ReminderKind kind);

// The five reminder texts.
enum class ReminderText { None, A, B, C, D, E };

// The text a site receives from the number of its record files in the current winter:
//
//   kind           none  one  two  more
//   SeasonEnd       C     A    B    -
//   FirstPassage    D     -    D    -
//   TwoPassages     E     E    -    -
ReminderText reminderTextFor(ReminderKind kind, int filesThisWinter);

struct MailText
{
    QString subject;
    QString body; // lines joined by line feeds, none after the last
    bool operator==(const MailText&) const = default;
};

// The reminder for a site (the text of the table's site column), dated today.
MailText reminderMail(ReminderText text, const QString& site, const QDate& today);
// "STOC-EPS : circulaire du 15/06/2010".
QString circularSubject(const QDate& today);
// The web page from which observers download the entry program, named in the reminders.
QString entryProgramPage();

// The recipients an address cell stands for: the addresses it holds (blanks removed, split at
// ";"); empty when the cell is empty or when any part of it is not an e-mail address.
QStringList recipientsOf(const QString& addressCell);

struct MailFailure
{
    QString address;
    QString reason; // what the user is told
    bool operator==(const MailFailure&) const = default;
};

struct [[nodiscard]] MailingOutcome
{
    // Mails the mail service accepted.
    int sent = 0;
    // "site : entry" for each entry left out because it is no e-mail address.
    QStringList skipped;
    // The mail service could not be opened: nothing was sent; the reason names what is missing.
    bool connectionFailed = false;
    QString connectionError;
    QList<MailFailure> failures;
    // The user stopped a mail that kept the program waiting, and with it the run: the mails
    // after that one were not sent.
    bool stopped = false;
    int notSent = 0;
    // The box to show, titled with the program's name; empty text: no box.
    QString message;
    int style = platform::mb::OKOnly;
};

// The circular (button "Envoyer un courriel"): one mail to the addresses of the selected rows,
// each address once, opened in the compose window with the subject and an empty body. No box
// when it opened and nothing was left out; nothing at all when no selected row has an address.
MailingOutcome sendCircular(const grid::Grid& table, const QDate& today = platform::clock().today());

// The reminders of one kind: one mail per row whose address cell holds e-mail addresses and
// whose number of files in the current winter calls for a text, sent at once; the box gives the
// number of mails sent, then what was left out or failed. A mail that the user stops ends the
// run.
MailingOutcome sendReminders(const grid::Grid& table, ReminderKind kind,
                             const QDate& today = platform::clock().today());

} // namespace recordlist
