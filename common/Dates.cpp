#include "common/Dates.h"

#include "platform/Clock.h"
#include "platform/Services.h"

#include <QDate>

namespace {

bool allDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The "00" (or "0000") number format applied to a text: a number gets at least that many
// digits; any other text is left as it is.
QString formatDigits(const QString& text, int width)
{
    const QString t = text.trimmed();
    if (!allDigits(t) || t.size() > 18)
        return text;
    return QString::number(t.toLongLong()).rightJustified(width, QLatin1Char('0'));
}

// Day, separator, month, separator, year, written with digits only (DD, MM, YYYY).
bool digitsDateShape(const QString& text, const QString& sep)
{
    const qsizetype n = sep.size();
    return text.size() == 8 + 2 * n && allDigits(text.mid(0, 2)) && text.mid(2, n) == sep &&
           allDigits(text.mid(2 + n, 2)) && text.mid(4 + n, n) == sep && allDigits(text.mid(4 + 2 * n, 4));
}

struct TokenScanner
{
    QString text;
    int position = 1; // counted from 1
};
TokenScanner g_scanner;

} // namespace

QString common::yearWithCentury(int annee2)
{
    const int year = platform::clock().today().year();
    const int currentTwoDigits = year % 100;
    int century = year / 100;
    if (annee2 > currentTwoDigits)
        century -= 1;
    return QString::number(century).rightJustified(2, QLatin1Char('0')) +
           QString::number(annee2).rightJustified(2, QLatin1Char('0'));
}

QString fun_Get_Token(const QString& texte, const QString& separateurs)
{
    TokenScanner& s = g_scanner;
    if (!texte.isEmpty()) {
        s.text = texte;
        s.position = 1;
    }
    const int len = int(s.text.size());
    if (s.position > len || separateurs.isEmpty()) {
        if (separateurs.isEmpty() && s.position <= len) {
            const QString rest = s.text.mid(s.position - 1);
            s.position = len + 1;
            return rest;
        }
        return QString();
    }
    auto isSep = [&](int pos) { return pos <= len && separateurs.contains(s.text[pos - 1]); };
    if (isSep(s.position)) {
        if (s.text.mid(s.position - 1, separateurs.size()) == separateurs) {
            s.position += int(separateurs.size());
            return QString();
        }
        while (isSep(s.position))
            ++s.position;
    }
    int end = s.position;
    while (end <= len && !isSep(end))
        ++end;
    const QString token = s.text.mid(s.position - 1, end - s.position);
    s.position += int(token.size()) + int(separateurs.size());
    return token;
}

QString fun_Date_Conversion(const QString& date, const QString& separateur)
{
    if (date.trimmed().isEmpty())
        return QString();
    if (date.size() == 8)
        return date.mid(6, 2) + separateur + date.mid(4, 2) + separateur + date.mid(0, 4);
    if (date.size() == 6) {
        const QString yy = date.mid(0, 2);
        const QString year = allDigits(yy) ? common::yearWithCentury(yy.toInt()) : yy;
        return date.mid(4, 2) + separateur + date.mid(2, 2) + separateur + year;
    }
    return QString();
}

void fun_Format_Date(const QString& masque, QString& date, const QString& separateur)
{
    Q_UNUSED(masque);
    if (date.trimmed().isEmpty())
        return;
    const QString sep = separateur.isEmpty() ? QStringLiteral("/") : separateur;
    QString work = date;
    if (!date.contains(sep)) {
        if (date.size() == 8) {
            work = date.mid(0, 2) + sep + date.mid(2, 2) + sep + date.mid(4, 4);
        } else if (date.size() == 6) {
            const QString yy = date.mid(4, 2);
            const QString year = allDigits(yy) ? common::yearWithCentury(yy.toInt()) : yy;
            work = date.mid(0, 2) + sep + date.mid(2, 2) + sep + year;
        }
    } else {
        const QString day = formatDigits(fun_Get_Token(date, sep), 2);
        const QString month = formatDigits(fun_Get_Token(QString(), sep), 2);
        const QString yearToken = fun_Get_Token(QString(), sep);
        QString year;
        bool shaped = true;
        if (yearToken.size() == 1 || yearToken.size() == 2) {
            const QString yy = formatDigits(yearToken, 2);
            if (allDigits(yy))
                year = common::yearWithCentury(yy.toInt());
            else
                shaped = false;
        } else if (yearToken.size() == 4) {
            year = formatDigits(yearToken, 4);
        } else {
            shaped = false;
        }
        work = shaped ? day + sep + month + sep + year : date;
    }
    if (!sub_Vérif_Date(work).valid) {
        const QString yearFirst = fun_Date_Conversion(date, QStringLiteral("/"));
        if (!yearFirst.isEmpty() && sub_Vérif_Date(yearFirst).valid)
            work = yearFirst;
        else if (!digitsDateShape(work, sep))
            work = date; // the pieces are not day, month and year digits ("5.3.2009"): keep the text as typed
    }
    date = work;
}

common::DateCheck sub_Vérif_Date(const QString& date)
{
    common::DateCheck r;
    const QDate d = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid() || d.toString(QStringLiteral("dd/MM/yyyy")) != date) {
        r.message = QStringLiteral("Date invalide.");
        r.valid = false;
        return r;
    }
    r.message = QStringLiteral("Date correcte.");
    r.valid = true;
    const QString key = fun_Date_Clé(date);
    const QString today = platform::clock().today().toString(QStringLiteral("yyyyMMdd"));
    r.relation = key > today ? QStringLiteral(">") : key < today ? QStringLiteral("<") : QStringLiteral("=");
    return r;
}

QString fun_Date_Clé(const QString& date)
{
    QString d = date;
    if (d.mid(0, 2) == QLatin1String("00"))
        d.replace(0, 2, QStringLiteral("**"));
    if (d.mid(3, 2) == QLatin1String("00"))
        d.replace(3, 2, QStringLiteral("**"));
    return d.mid(6, 4) + d.mid(3, 2) + d.mid(0, 2);
}

void fun_Format_Heure(QString& heure)
{
    QString t = heure.toUpper();
    t.replace(QLatin1Char('H'), QLatin1Char(':'));
    if (t.trimmed().isEmpty())
        return;
    QString hours, minutes;
    if (t.contains(QLatin1Char(':'))) {
        const QStringList parts = t.split(QLatin1Char(':'));
        hours = parts.value(0);
        minutes = parts.value(1);
        if (minutes.isEmpty())
            minutes = QStringLiteral("00");
    } else {
        // A plain number (written back unchanged) or four digits: the last two are minutes.
        const bool plainNumber = allDigits(t) && t.size() <= 9 && QString::number(t.toLongLong()) == t;
        if (!plainNumber && !(t.size() == 4 && allDigits(t))) {
            heure = t; // fits no shape
            return;
        }
        const qint64 n = t.toLongLong();
        hours = QString::number(n / 100);
        minutes = QString::number(n % 100);
    }
    heure = formatDigits(hours, 2) + QLatin1Char(':') + formatDigits(minutes, 2);
}
