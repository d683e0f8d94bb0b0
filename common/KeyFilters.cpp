#include "common/KeyFilters.h"

#include <QStringList>

int fun_Car_Dans_Plages(int cle, const QString& permis)
{
    if (!permis.isEmpty())
        return cle >= 0 && cle <= 0xFFFF && permis.contains(QChar(char16_t(cle))) ? cle : 0;
    const bool garde = (cle >= 0 && cle <= 31) || cle == 45 || (cle >= 48 && cle <= 57) ||
                       (cle >= 65 && cle <= 90) || (cle >= 87 && cle <= 122) || (cle >= 127 && cle <= 159) ||
                       (cle >= 192 && cle <= 255);
    return garde ? cle : 0;
}

int fun_Majuscule_Sans_Accent(int cle)
{
    if (cle < 0 || cle > 0xFFFF)
        return cle;
    const QString upper = QString(QChar(char16_t(cle))).toUpper();
    return upper.size() == 1 ? upper[0].unicode() : cle;
}

QString fun_Majuscule_Sans_Accent(const QString& texte)
{
    static const struct
    {
        char16_t from;
        char16_t to;
    } folds[] = {
        {u'à', u'A'}, {u'ä', u'A'}, {u'â', u'A'}, {u'é', u'E'}, {u'è', u'E'},
        {u'ê', u'E'}, {u'ë', u'E'}, {u'ï', u'I'}, {u'î', u'I'}, {u'ô', u'O'},
        {u'ö', u'O'}, {u'û', u'U'}, {u'ü', u'U'}, {u'ù', u'U'}, {u'ç', u'C'},
    };
    QString out = texte;
    for (QChar& ch : out)
        for (const auto& f : folds)
            if (ch.unicode() == f.from) {
                ch = QChar(f.to);
                break;
            }
    return out.toUpper();
}

common::DigitsDecision common::filterDigitKey(int cle, const QString& permis, QChar separateurDecimal,
                                              bool celluleGrille, const QString& texteChamp)
{
    common::DigitsDecision f;
    const bool chiffre = cle >= '0' && cle <= '9';
    const bool autorise = !permis.isEmpty() && cle == permis[0].unicode();
    const bool controle = (cle >= 0 && cle <= 31) || (cle >= 127 && cle <= 159);
    if (chiffre || autorise || controle) {
        f.key = cle;
        return f;
    }
    if (cle == separateurDecimal.unicode()) {
        if (celluleGrille || !texteChamp.contains(separateurDecimal))
            f.key = cle;
        return f;
    }
    if (cle == '-' || cle == '+') {
        if (celluleGrille) {
            f.key = cle;
        } else if (!texteChamp.contains(u'-') && !texteChamp.contains(u'+')) {
            f.key = cle;
            f.caretToStart = true;
        }
        return f;
    }
    return f;
}

QString common::digitsOnlyMessage(const QString& permis)
{
    QString m = QStringLiteral("Veuillez saisir uniquement des chiffres");
    if (!permis.isEmpty())
        m += QStringLiteral(" et ") + permis;
    return m;
}

int common::findItemStartingWith(const QStringList& items, const QString& texte)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].startsWith(texte, Qt::CaseInsensitive))
            return i;
    return -1;
}

int common::findItemIgnoringCase(const QStringList& items, const QString& texte)
{
    const QString cherche = texte.trimmed();
    if (cherche.isEmpty())
        return -1;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].trimmed().compare(cherche, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
