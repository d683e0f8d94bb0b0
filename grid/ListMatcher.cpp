#include "grid/ListMatcher.h"

namespace grid {

ListMatcher::ListMatcher(const QStringList& labels)
{
    m_keys.reserve(labels.size());
    m_blank.reserve(labels.size());
    for (const QString& label : labels) {
        m_keys.append(searchForm(label));
        m_blank.append(label.trimmed().isEmpty());
    }
}

QList<int> ListMatcher::matches(const QString& typed) const
{
    QList<int> offered;
    if (typed.isEmpty()) {
        offered.reserve(count());
        for (int i = 0; i < count(); ++i)
            offered.append(i);
        return offered;
    }
    const QString key = searchForm(typed);
    QList<int> inside;
    for (int i = 0; i < count(); ++i) {
        if (m_blank[i])
            continue;
        const qsizetype at = m_keys[i].indexOf(key);
        if (at == 0)
            offered.append(i);
        else if (at > 0)
            inside.append(i);
    }
    return offered + inside;
}

QString ListMatcher::searchForm(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            continue;
        default:
            break;
        }
        switch (c.unicode()) {
        case u'œ':
        case u'Œ':
            key += QLatin1String("oe");
            break;
        case u'æ':
        case u'Æ':
            key += QLatin1String("ae");
            break;
        case u'’':
        case u'‘':
            key += u'\'';
            break;
        case u'\u00A0':
        case u'\u202F':
            key += u' ';
            break;
        default:
            key += c.toCaseFolded();
        }
    }
    return key;
}

} // namespace grid
