#include "common/PlainText.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    QString value;
    QString refusal; // the reason's part after "La commune contient "; empty: accepted
};

} // namespace

TEST(SingleLine, ControlCharactersAreRefusedWithTheirNameAndPlace)
{
    const QString kept = QStringLiteral(", qui ne peut pas figurer dans une valeur d'une seule ligne : "
                                        "veuillez le retirer.");
    const Case cases[] = {
        // What a commune, a name or an address may be.
        {"", ""},
        {"Crest", ""},
        {"Saint-Étienne-de-Saint-Geoirs", ""},
        {"L'Isle-d'Abeau (38)", ""},
        {QString("Le") + QChar(0xA0) + "Pouzin", ""},       // a no-break space is a character like others
        {QString("Valence ") + QChar(0x2014) + " Sud", ""}, // a dash
        {QString("Grive ") + QString::fromUcs4(U"\U0001F426"), ""}, // beyond the first plane
        {"  Crest  ", ""},                                          // blanks are the caller's business
        // Pasted from a spreadsheet or a mail.
        {"Crest\tX\nLoriol\n", "une tabulation (U+0009) après « Crest »"},
        {"Crest\nLoriol", "un saut de ligne (U+000A) après « Crest »"},
        {"Crest\r\n", "un retour chariot (U+000D) après « Crest »"},
        {"\tCrest", "une tabulation (U+0009) au début"},
        {QString("Crest") + QChar(0x7F), "un caractère de contrôle (U+007F) après « Crest »"},
        {QString("Crest") + QChar(0x85), "un caractère de contrôle (U+0085) après « Crest »"},
        {QString("Crest") + QChar(0x2028) + "Loriol", "un caractère de contrôle (U+2028) après « Crest »"},
        {QString(QChar(0x202E)) + "tserC", "un caractère de contrôle (U+202E) au début"},
        {QString(50, QChar(u'a')) + "\t",
         "une tabulation (U+0009) après « …" + QString(40, QChar(u'a')) + " »"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        const platform::Result r = common::checkSingleLine(QStringLiteral("La commune"), c.value);
        EXPECT_EQ(r.ok, c.refusal.isEmpty());
        EXPECT_EQ(r.error, c.refusal.isEmpty() ? QString() : "La commune contient " + c.refusal + kept);
    }
}
