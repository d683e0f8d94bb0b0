#include "record/FieldChecks.h"

#include "common/Dates.h"
#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "common/Messages.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/SurveyRecord.h"

#include <QStringList>

namespace mb = platform::mb;

namespace record {

namespace {

// Two characters that are both decimal digits, and their value.
bool twoDigits(QStringView text, int* value)
{
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit() || text[0].unicode() > 127 ||
        text[1].unicode() > 127)
        return false;
    *value = (text[0].unicode() - '0') * 10 + (text[1].unicode() - '0');
    return true;
}

} // namespace

int timeMessageNumber(const QString& value)
{
    if (value.trimmed().isEmpty())
        return 0;
    if (value.size() != 5)
        return kMessageHourRange;
    if (value[2] != QLatin1Char(':'))
        return kMessageTimeFormat;
    // Digits only: a time such as " 9:30" would pass as a number and then sort before "08:00".
    int hours = 0;
    if (!twoDigits(QStringView(value).left(2), &hours) || hours > 23)
        return kMessageHourRange;
    int minutes = 0;
    if (!twoDigits(QStringView(value).right(2), &minutes) || minutes > 59)
        return kMessageMinuteRange;
    return 0;
}

bool sub_Heure_Vérifier(const QString& value, bool show)
{
    const int message = timeMessageNumber(value);
    if (message != 0 && show)
        sub_Message(qint16(message), 0, QString(), QString());
    return message != 0;
}

bool isDateInSeason(const QString& date, const QString& season)
{
    if (season.isEmpty())
        return true;
    const QString key = fun_Date_Clé(date);
    const QString first = season.mid(6, 4) + QStringLiteral("1101");
    const QString last = season.mid(11, 4) + QStringLiteral("0229");
    return !(key < first) && !(key > last);
}

QString outOfSeasonMessage(const QString& season)
{
    return QStringLiteral("Date de passage hors période par rapport à la saison d'observation ") + season;
}

VisitDateCheck checkVisitDate(const QString& typed, const QString& season)
{
    VisitDateCheck check{typed, QString()};
    if (typed.isEmpty())
        return check;
    fun_Format_Date(common::kDateMask, check.date);
    const common::DateCheck verdict = sub_Vérif_Date(check.date);
    if (!verdict.valid)
        check.message = QStringLiteral("Date invalide");
    else if (verdict.relation == QLatin1String(">"))
        check.message = QStringLiteral("La date est supérieure à la date du jour");
    else if (!isDateInSeason(check.date, season))
        check.message = outOfSeasonMessage(season);
    return check;
}

// ---------------------------------------------------------------- the text boxes

namespace {

// The keys of a digits box: digits and the allowed character; control keys pass.
KeyVerdict digitsOnly(int key, const QString& allowed)
{
    const bool digit = key >= '0' && key <= '9';
    const bool control = (key >= 0 && key <= 31) || (key >= 127 && key <= 159);
    if (digit || control || (!allowed.isEmpty() && key == allowed[0].unicode()))
        return {key, QString()};
    return {0, common::digitsOnlyMessage(allowed)};
}

// A box with the program's name as title.
int ask(const QString& text, int style) { return platform::dialogs().ask(text, style, common::kProgramName); }

// The user keeps what was typed: Yes.
bool confirmed(const QString& question) { return ask(question, mb::YesNo | mb::Exclamation) == mb::Yes; }

BoxVerdict checkDate(const QString& typed, const BoxContext& context)
{
    const VisitDateCheck check = checkVisitDate(typed, context.season);
    if (!check.accepted())
        ask(check.message, mb::OKOnly | mb::Exclamation);
    return {check.date, check.accepted(), context.parcelCount};
}

// The start time and the duration: "HH:MM", then the time check, then the question of an
// unusual value when there is one.
BoxVerdict checkTime(const QString& typed, const BoxContext& context, QString (*unusual)(const QString&))
{
    BoxVerdict v{typed, true, context.parcelCount};
    fun_Format_Heure(v.text);
    if (sub_Heure_Vérifier(v.text, true)) {
        v.accepted = false;
        return v;
    }
    if (v.text.trimmed().isEmpty())
        return v;
    if (const QString question = unusual(v.text); !question.isEmpty())
        v.accepted = confirmed(question);
    return v;
}

QString unusualStart(const QString& time)
{
    if (time < QLatin1String("08:00"))
        return QStringLiteral("Le relevé a été faite avant 8:00 !\n\nConserver cet horaire ?");
    if (time > QLatin1String("16:00"))
        return QStringLiteral("Le relevé a été faite après 16:00 !\n\nConserver cet horaire ?");
    return QString();
}

QString unusualDuration(const QString& duration)
{
    if (duration > QLatin1String("00:30"))
        return QStringLiteral("La parcelle doit être très grande pour l'avoir parcourue en ") + duration +
               QStringLiteral("  !\n\nConserver ce temps ?");
    return QString();
}

// The e-mail address and the telephone: one of them is recommended.
BoxVerdict checkContact(const QString& typed, const BoxContext& context, bool address)
{
    BoxVerdict v{typed, true, context.parcelCount};
    if (typed.trimmed().isEmpty()) {
        const QString question = QStringLiteral(
            "Nous vous recommandons d'indiquer votre adresse courriel ou à défaut votre numéro de "
            "téléphone.\n\nValoriser maintenant ?");
        v.accepted = ask(question, mb::YesNo | mb::Exclamation) != mb::Yes;
    } else if (address) {
        v.accepted = Fun_Validation_Adresse_Courriel(typed);
    }
    return v;
}

BoxVerdict checkFirstName(const QString& typed, const BoxContext& context)
{
    const QString padded = typed + QStringLiteral("  ");
    return {(padded.left(1).toUpper() + padded.mid(1)).trimmed(), true, context.parcelCount};
}

// "N°4", "N°4 et N°5", "N°2, N°4 et N°5".
QString parcelNumbers(const QList<int>& parcels)
{
    QStringList names;
    for (int p : parcels)
        names << QStringLiteral("N°") + QString::number(p);
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" et ") + last;
}

BoxVerdict checkParcelCount(const QString& typed, const BoxContext& context)
{
    BoxVerdict v{typed, false, context.parcelCount};
    bool number = false;
    const int count = typed.trimmed().toInt(&number);
    if (!number || count < 1 || count > kMaxParcels) {
        ask(QStringLiteral("Veuillez indiquer le nombre [1,30] de points d'écoute qui seront effectués dans "
                           "votre EPS Site. "),
            mb::OKOnly | mb::Exclamation);
        return v;
    }
    QList<int> dropped;
    for (int p : context.filledParcels)
        if (p > count && p <= context.parcelCount)
            dropped << p;
    if (!dropped.isEmpty()) {
        const QString question =
            QStringLiteral("Le nombre de parcelles passe de %1 à %2 : les données déjà saisies pour %3 %4 ne "
                           "feront plus partie du relevé.\n\nConfirmez-vous ce nombre de parcelles ?")
                .arg(context.parcelCount)
                .arg(count)
                .arg(dropped.size() == 1 ? QStringLiteral("la parcelle") : QStringLiteral("les parcelles"),
                     parcelNumbers(dropped));
        if (ask(question, mb::YesNo | mb::Question | mb::DefaultButton2) != mb::Yes) {
            v.text = QString::number(context.parcelCount);
            return v;
        }
    }
    v.text = QString::number(count);
    v.accepted = true;
    v.parcelCount = count;
    return v;
}

} // namespace

KeyVerdict fun_Filtre_Touche(RecordBox box, int key)
{
    switch (box) {
    case RecordBox::Date:
        return digitsOnly(key, QStringLiteral("/"));
    case RecordBox::StartTime:
    case RecordBox::Duration:
        return digitsOnly(key, QStringLiteral(":"));
    case RecordBox::ParcelCount:
        return digitsOnly(key, QString());
    case RecordBox::ObserverName:
        return {fun_Majuscule_Sans_Accent(key), QString()};
    default:
        return {key, QString()};
    }
}

BoxVerdict fun_Verifier_Case(RecordBox box, const QString& typed, const BoxContext& context)
{
    switch (box) {
    case RecordBox::Date:
        return checkDate(typed, context);
    case RecordBox::StartTime:
        return checkTime(typed, context, unusualStart);
    case RecordBox::Duration:
        return checkTime(typed, context, unusualDuration);
    case RecordBox::Email:
        return checkContact(typed, context, true);
    case RecordBox::Telephone:
        return checkContact(typed, context, false);
    case RecordBox::ObserverFirstName:
        return checkFirstName(typed, context);
    case RecordBox::ParcelCount:
        return checkParcelCount(typed, context);
    case RecordBox::PlaceName:
    case RecordBox::ObserverName:
        break;
    }
    return {typed, true, context.parcelCount};
}

bool Fun_Validation_Adresse_Courriel(const QString&) { return true; }

} // namespace record
