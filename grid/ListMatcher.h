#pragma once
// The items of an edit list that a typed text picks out, as the list editor of a grid cell
// offers them while the user types: first the items whose label begins with the text, then the
// items whose label holds it further on, each group in list order. Case and accents are ignored
// ("bec" finds "Bécasse des bois", "oedic" finds "Œdicnème criard"); a space is a character of
// the text like any other. A blank item (the list's "nothing") is offered only while nothing is
// typed: no typed text ever picks it.

#include <QList>
#include <QString>
#include <QStringList>

namespace grid {

class ListMatcher
{
public:
    explicit ListMatcher(const QStringList& labels = {});

    int count() const { return int(m_keys.size()); }
    // Indexes of the items offered for a typed text; every item for an empty text.
    QList<int> matches(const QString& typed) const;

    // A text as the search compares it: accents and other marks dropped, the ligatures œ and æ
    // written out, typographic apostrophes and no-break spaces made plain, case folded.
    static QString searchForm(const QString& text);

private:
    QStringList m_keys; // each label in its search form
    QList<bool> m_blank;
};

} // namespace grid
