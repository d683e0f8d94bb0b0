#include "grid/ListMatcher.h"

#include <gtest/gtest.h>

using grid::ListMatcher;

namespace {

const QStringList kLabels = {" ",
                             "Alouette des champs",
                             "Pie bavarde",
                             "Barge à queue noire",
                             "Bécasse des bois",
                             "Buse variable",
                             "Œdicnème criard"};

} // namespace

// The items a typed text offers: those beginning with it, then those holding it further on, in
// list order; case and accents ignored; the blank item only while nothing is typed.
TEST(ListMatcher, ItemsOfferedForATypedText)
{
    const ListMatcher matcher(kLabels);
    const struct
    {
        const char* typed;
        QList<int> offered;
    } cases[] = {
        {"", {0, 1, 2, 3, 4, 5, 6}}, // nothing typed: every item, the blank one too
        {"alouette", {1}},           // another case
        {"ALOUETTE DES", {1}},       // the whole beginning, a space inside
        {"bec", {4}},                // without its accent
        {"bé", {4}},                 // with it
        {"ba", {3, 2}},              // "Barge" begins with it, "Pie bavarde" holds it: in that order
        {"b", {3, 4, 5, 2}},         // beginnings in list order, then the others
        {"e b", {2}},                // a space is part of the text
        {" ", {1, 2, 3, 4, 5, 6}},   // and never picks the blank item
        {"a q", {3}},                // "à" typed as "a"
        {"oedic", {6}},              // the ligature written out
        {"CRIARD", {6}},             // held further on, in capitals
        {"xyz", {}},                 // nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(matcher.matches(QString::fromUtf8(c.typed)), c.offered) << c.typed;
}

TEST(ListMatcher, SearchForm)
{
    const struct
    {
        const char* text;
        const char* form;
    } cases[] = {
        {"Épervier d’Europe", "epervier d'europe"},
        {"ŒDICNÈME", "oedicneme"},
        {"Grive à ailes rousses", "grive a ailes rousses"},
        {"Garçon\u00A0", "garcon "},
        {"ALAARV", "alaarv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListMatcher::searchForm(QString::fromUtf8(c.text)), QString::fromUtf8(c.form)) << c.text;
}
