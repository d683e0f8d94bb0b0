#include "common/PlainText.h"

bool common::isControlCharacter(QChar ch)
{
    const char16_t c = ch.unicode();
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString common::controlCharacterName(QChar ch)
{
    const QString code = QStringLiteral("U+%1").arg(
        QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    switch (ch.unicode()) {
    case u'\t':
        return QStringLiteral("une tabulation (%1)").arg(code);
    case u'\n':
        return QStringLiteral("un saut de ligne (%1)").arg(code);
    case u'\r':
        return QStringLiteral("un retour chariot (%1)").arg(code);
    default:
        return QStringLiteral("un caractère de contrôle (%1)").arg(code);
    }
}

platform::Result common::checkSingleLine(const QString& what, const QString& value)
{
    // What comes before the character, its end only when it is long.
    constexpr qsizetype kShownBefore = 40;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (!common::isControlCharacter(value[i]))
            continue;
        const QString before = i <= kShownBefore
                                   ? value.left(i)
                                   : QStringLiteral("…") + value.mid(i - kShownBefore, kShownBefore);
        const QString where =
            i == 0 ? QStringLiteral("au début") : QStringLiteral("après « %1 »").arg(before);
        return platform::Result::failure(
            QStringLiteral("%1 contient %2 %3, qui ne peut pas figurer dans une valeur d'une seule ligne : "
                           "veuillez le retirer.")
                .arg(what, common::controlCharacterName(value[i]), where));
    }
    return platform::Result::success();
}
