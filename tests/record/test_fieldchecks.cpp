#include "common/Messages.h"
#include "grid/Grid.h"
#include "platform/Dialogs.h"
#include "record/FieldChecks.h"
#include "record/ParcelTabs.h"
#include "record/SiteName.h"
#include "record/SpeciesStore.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace record;
namespace mb = platform::mb;

TEST(FieldChecks, TimeCheckAndItsMessages)
{
    const struct
    {
        QString value;
        int message;
    } cases[] = {
        {"00:00", 0},
        {"23:59", 0},
        {"   ", 0},
        {"25:00", kMessageHourRange},
        {"12:60", kMessageMinuteRange},
        {"12.30", kMessageTimeFormat},
        {"123:45", kMessageHourRange}, // length
        {"9:30", kMessageHourRange},   // length
        {"+9:30", kMessageHourRange},  // a sign is no digit
        {" 9:30", kMessageHourRange},  // two digits, not a number with a blank
        {"ab:30", kMessageHourRange},
        {"12:5a", kMessageMinuteRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        testing_support::TestEnvironment env;
        EXPECT_EQ(timeMessageNumber(c.value), c.message);
        EXPECT_EQ(sub_Heure_Vérifier(c.value, false), c.message != 0);
        EXPECT_TRUE(env.dialogs().asked().isEmpty());
        if (c.message == 0)
            continue;
        env.dialogs().answer(platform::mb::OK);
        EXPECT_TRUE(sub_Heure_Vérifier(c.value, true));
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        EXPECT_EQ(env.dialogs().asked()[0].text,
                  common::buildMessageBox(qint16(c.message), 0, QString(), QString()).text);
    }
}

TEST(FieldChecks, VisitDateAgainstTodayAndTheSeason)
{
    testing_support::TestEnvironment env; // today: 15 June 2010
    const QString outside = "Date de passage hors période par rapport à la saison d'observation ";
    const struct
    {
        QString typed, season, date, message;
    } cases[] = {
        {"", "Hiver 2009-2010", "", ""},
        {"01/11/2009", "Hiver 2009-2010", "01/11/2009", ""},
        {"29/02/2010", "Hiver 2009-2010", "29/02/2010", "Date invalide"}, // no such day
        {"28/02/2010", "Hiver 2009-2010", "28/02/2010", ""},
        {"5/1/2010", "Hiver 2009-2010", "05/01/2010", ""},
        {"31/10/2009", "Hiver 2009-2010", "31/10/2009", outside + "Hiver 2009-2010"},
        {"01/03/2010", "Hiver 2009-2010", "01/03/2010", outside + "Hiver 2009-2010"},
        {"15/01/2009", "", "15/01/2009", ""}, // no season, no period to be outside of
        {"32/01/2010", "Hiver 2009-2010", "32/01/2010", "Date invalide"},
        {"16/06/2010", "Hiver 2009-2010", "16/06/2010", "La date est supérieure à la date du jour"},
        {"15/06/2010", "Hiver 2009-2010", "15/06/2010", outside + "Hiver 2009-2010"}, // today goes on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const VisitDateCheck check = checkVisitDate(c.typed, c.season);
        EXPECT_EQ(check.date, c.date);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.accepted(), c.message.isEmpty());
    }
    // The bounds of a winter, in leap and other years alike.
    EXPECT_TRUE(isDateInSeason("29/02/2012", "Hiver 2011-2012"));
    EXPECT_TRUE(isDateInSeason("29/02/2010", "Hiver 2009-2010"));
    EXPECT_FALSE(isDateInSeason("01/03/2012", "Hiver 2011-2012"));
    EXPECT_TRUE(isDateInSeason("01/11/2011", "Hiver 2011-2012"));
    EXPECT_FALSE(isDateInSeason("31/10/2011", "Hiver 2011-2012"));
}

namespace {

// Every text the boxes of the field checks show, once.
const QMap<QString, QString> kBoxTexts = {
    {"digits", "Veuillez saisir uniquement des chiffres"},
    {"digitsSlash", "Veuillez saisir uniquement des chiffres et /"},
    {"digitsColon", "Veuillez saisir uniquement des chiffres et :"},
    {"invalidDate", "Date invalide"},
    {"future", "La date est supérieure à la date du jour"},
    {"outside", "Date de passage hors période par rapport à la saison d'observation Hiver 2009-2010"},
    {"early", "Le relevé a été faite avant 8:00 !\n\nConserver cet horaire ?"},
    {"late", "Le relevé a été faite après 16:00 !\n\nConserver cet horaire ?"},
    {"long", "La parcelle doit être très grande pour l'avoir parcourue en 00:31  !\n\nConserver ce temps ?"},
    {"contact", "Nous vous recommandons d'indiquer votre adresse courriel ou à défaut votre numéro de "
                "téléphone.\n\nValoriser maintenant ?"},
    {"count",
     "Veuillez indiquer le nombre [1,30] de points d'écoute qui seront effectués dans votre EPS Site. "},
    {"dropOne",
     "Le nombre de parcelles passe de 5 à 3 : les données déjà saisies pour la parcelle N°5 ne feront "
     "plus partie du relevé.\n\nConfirmez-vous ce nombre de parcelles ?"},
    {"dropThree",
     "Le nombre de parcelles passe de 5 à 1 : les données déjà saisies pour les parcelles N°2, N°4 "
     "et N°5 ne feront plus partie du relevé.\n\nConfirmez-vous ce nombre de parcelles ?"},
};

QString T(const char* key)
{
    EXPECT_TRUE(kBoxTexts.contains(key)) << key;
    return kBoxTexts.value(key);
}

// A box as "style: text", a catalogue message as "catalogue: text".
QString box(int style, const QString& text) { return QStringLiteral("%1: %2").arg(style).arg(text); }
QString catalogue(int number)
{
    return "catalogue: " + common::buildMessageBox(qint16(number), 0, {}, {}).text;
}
QStringList asked(const testing_support::ScriptedDialogs& dialogs)
{
    QStringList out;
    for (const auto& a : dialogs.asked())
        out << (a.title == common::kMessagesTitle ? "catalogue: " + a.text
                : a.title == "Mirelot"            ? box(a.style, a.text)
                                                  : "title " + a.title + ": " + a.text);
    return out;
}

constexpr int kOk = mb::OKOnly | mb::Exclamation;
constexpr int kKeep = mb::YesNo | mb::Exclamation;
constexpr int kDrop = mb::YesNo | mb::Question | mb::DefaultButton2;

} // namespace

TEST(FieldChecks, KeysEachBoxTakes)
{
    const struct
    {
        RecordBox box;
        char16_t key;
        char16_t kept; // 0: dropped
        const char* message;
    } cases[] = {
        {RecordBox::Date, '7', '7', nullptr},          {RecordBox::Date, '/', '/', nullptr},
        {RecordBox::Date, ':', 0, "digitsSlash"},      {RecordBox::Date, '-', 0, "digitsSlash"},
        {RecordBox::StartTime, ':', ':', nullptr},     {RecordBox::StartTime, '/', 0, "digitsColon"},
        {RecordBox::Duration, 'h', 0, "digitsColon"},  {RecordBox::ParcelCount, '3', '3', nullptr},
        {RecordBox::ParcelCount, '\b', '\b', nullptr}, // control keys pass
        {RecordBox::ParcelCount, '.', 0, "digits"},    // no decimal separator,
        {RecordBox::ParcelCount, ',', 0, "digits"},    {RecordBox::ParcelCount, '-', 0, "digits"}, // no sign
        {RecordBox::ParcelCount, '+', 0, "digits"},    {RecordBox::ParcelCount, ' ', 0, "digits"},
        {RecordBox::ObserverName, 'e', 'E', nullptr},  {RecordBox::ObserverName, u'é', u'É', nullptr},
        {RecordBox::ObserverName, '-', '-', nullptr},  {RecordBox::ObserverFirstName, 'e', 'e', nullptr},
        {RecordBox::Email, '@', '@', nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 %2").arg(int(c.box)).arg(int(c.key)).toStdString());
        const KeyVerdict v = fun_Filtre_Touche(c.box, c.key);
        EXPECT_EQ(v.key, int(c.kept));
        EXPECT_EQ(v.message, c.message ? T(c.message) : QString());
    }
}

// Each box as the user leaves it: the text put back, accepted or refused, and every box asked on
// the way with the answers given.
TEST(FieldChecks, EachBoxAsItIsLeft)
{
    const BoxContext winter{"Hiver 2009-2010", 5, {}};
    const struct
    {
        RecordBox box;
        QString typed;
        QList<int> answers;
        QString text;
        bool accepted;
        QStringList boxes;
    } cases[] = {
        // The visit date (today is 15 June 2010).
        {RecordBox::Date, "", {}, "", true, {}},
        {RecordBox::Date, "12/1/2010", {}, "12/01/2010", true, {}},
        {RecordBox::Date, "31/02/2010", {mb::OK}, "31/02/2010", false, {box(kOk, T("invalidDate"))}},
        {RecordBox::Date, "160610", {mb::OK}, "16/06/2010", false, {box(kOk, T("future"))}},
        {RecordBox::Date, "010310", {mb::OK}, "01/03/2010", false, {box(kOk, T("outside"))}},
        // The start time: as "HH:MM", the time check, then an early or late time kept on Yes.
        {RecordBox::StartTime, "", {}, "", true, {}},
        {RecordBox::StartTime, "8h", {}, "08:00", true, {}},
        {RecordBox::StartTime, "1600", {}, "16:00", true, {}},
        {RecordBox::StartTime, "25:00", {mb::OK}, "25:00", false, {catalogue(1050)}},
        {RecordBox::StartTime, "12:60", {mb::OK}, "12:60", false, {catalogue(1051)}},
        {RecordBox::StartTime, "7:59", {mb::Yes}, "07:59", true, {box(kKeep, T("early"))}},
        {RecordBox::StartTime, "7:59", {mb::No}, "07:59", false, {box(kKeep, T("early"))}},
        {RecordBox::StartTime, "16:01", {mb::No}, "16:01", false, {box(kKeep, T("late"))}},
        // The duration: beyond 00:30 kept on Yes.
        {RecordBox::Duration, "30", {}, "00:30", true, {}},
        {RecordBox::Duration, "0:31", {mb::Yes}, "00:31", true, {box(kKeep, T("long"))}},
        {RecordBox::Duration, "0:31", {mb::No}, "00:31", false, {box(kKeep, T("long"))}},
        {RecordBox::Duration, "1:75", {mb::OK}, "01:75", false, {catalogue(1051)}},
        // E-mail and telephone: Yes goes back to fill the box in.
        {RecordBox::Email, " ", {mb::Yes}, " ", false, {box(kKeep, T("contact"))}},
        {RecordBox::Email, "", {mb::No}, "", true, {box(kKeep, T("contact"))}},
        {RecordBox::Email, "n'importe quoi", {}, "n'importe quoi", true, {}},
        {RecordBox::Telephone, "", {mb::Yes}, "", false, {box(kKeep, T("contact"))}},
        {RecordBox::Telephone, "04 75", {}, "04 75", true, {}},
        // The first name: its first letter in capitals.
        {RecordBox::ObserverFirstName, "jean-pierre ", {}, "Jean-pierre", true, {}},
        {RecordBox::ObserverFirstName, " jean-pierre", {}, "jean-pierre", true, {}},
        {RecordBox::ObserverFirstName, "", {}, "", true, {}},
        // Nothing to check.
        {RecordBox::PlaceName, " ", {}, " ", true, {}},
        {RecordBox::ObserverName, "", {}, "", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((QString::number(int(c.box)) + " " + c.typed).toStdString());
        testing_support::TestEnvironment env;
        for (int a : c.answers)
            env.dialogs().answer(a);
        const BoxVerdict v = fun_Verifier_Case(c.box, c.typed, winter);
        EXPECT_EQ(v.text, c.text);
        EXPECT_EQ(v.accepted, c.accepted);
        EXPECT_EQ(v.parcelCount, 5);
        EXPECT_EQ(asked(env.dialogs()), c.boxes);
        EXPECT_EQ(env.dialogs().pendingAnswers(), 0);
    }
}

TEST(FieldChecks, NumberOfParcels)
{
    const struct
    {
        QString typed;
        QList<int> filled;
        QList<int> answers;
        QString text;
        bool accepted;
        int count;
        QStringList boxes;
    } cases[] = {
        {"5", {1, 2, 3, 4, 5}, {}, "5", true, 5, {}}, // the same number: nothing asked
        {"07", {1, 2, 3, 4, 5}, {}, "7", true, 7, {}},
        {"30", {}, {}, "30", true, 30, {}},
        {"3", {1, 2}, {}, "3", true, 3, {}}, // the parcels dropped hold nothing
        {"3", {1, 5}, {mb::Yes}, "3", true, 3, {box(kDrop, T("dropOne"))}},
        {"3", {1, 5}, {mb::No}, "5", false, 5, {box(kDrop, T("dropOne"))}},
        {"1", {2, 4, 5}, {mb::Yes}, "1", true, 1, {box(kDrop, T("dropThree"))}},
        {"0", {}, {mb::OK}, "0", false, 5, {box(kOk, T("count"))}},
        {"31", {}, {mb::OK}, "31", false, 5, {box(kOk, T("count"))}},
        {"", {}, {mb::OK}, "", false, 5, {box(kOk, T("count"))}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        testing_support::TestEnvironment env;
        for (int a : c.answers)
            env.dialogs().answer(a);
        const BoxVerdict v = fun_Verifier_Case(RecordBox::ParcelCount, c.typed, {"", 5, c.filled});
        EXPECT_EQ(v.text, c.text);
        EXPECT_EQ(v.accepted, c.accepted);
        EXPECT_EQ(v.parcelCount, c.count);
        EXPECT_EQ(asked(env.dialogs()), c.boxes);
    }
}

TEST(FieldChecks, NotSaveableBoxListsWhatIsMissing)
{
    const QString head =
        "Un ou plusieurs éléments essentiels pour la commencer la sauvegarde de votre saisie ne "
        "sont pas renseignés :";
    const QString tail = "\n\nValorisez ces éléments pour pouvoir sauvegarder votre saisie.";
    SurveyRecord r = record_samples::twoParcels();
    EXPECT_EQ(fun_Message_Non_Sauvegardable(sub_Build_Nom_Zone(r)), "");
    r.date.clear();
    EXPECT_EQ(fun_Message_Non_Sauvegardable(sub_Build_Nom_Zone(r)),
              head + "\n\t-   La date de passage." + tail);
    EXPECT_EQ(fun_Message_Non_Sauvegardable(sub_Build_Nom_Zone(SurveyRecord())),
              head +
                  "\n\t-   Le nom de la commune.\n\t-   Le lieu-dit.\n\t-   Le nom de l'observateur."
                  "\n\t-   Le prénom de l'observateur.\n\t-   La saison d'observation."
                  "\n\t-   La date de passage.\n\t-   Le N° de passage." +
                  tail);
}

TEST(ParcelTabs, KeptValuesAndParcelRows)
{
    ParcelTabs tabs;
    const ParcelValues v{"08:30", "00:20", true, false};
    tabs.store(7, v);
    tabs.store(51, v);
    tabs.store(0, v);
    EXPECT_EQ(tabs.values(7), v);
    EXPECT_EQ(tabs.values(51), ParcelValues());
    EXPECT_EQ(tabs.values(0), ParcelValues());
    EXPECT_EQ(ParcelTabs::caption(7), "Parcelle N°7");

    // Rows that remain keep what they hold; new rows are labelled, with their unticked box.
    grid::Grid g;
    g.setCols(13);
    setParcelRows(g, 3, 12);
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.cell(3, 1), "Parcelle N°03");
    EXPECT_EQ(g.checkState(3, 12), grid::Grid::Unchecked);
    g.setCell(2, 6, "800123");
    g.setCheckState(2, 12, grid::Grid::Checked);
    setParcelRows(g, 2);
    EXPECT_EQ(g.rows(), 3);
    setParcelRows(g, 5);
    EXPECT_EQ(g.rows(), 6);
    EXPECT_EQ(g.cell(2, 6), "800123");
    EXPECT_EQ(g.checkState(2, 12), grid::Grid::Checked);
    EXPECT_EQ(g.cell(3, 6), "") << "a dropped row comes back empty";
    EXPECT_EQ(g.cell(5, 1), "Parcelle N°05");
}

TEST(ParcelTabs, ParcelsHoldingData)
{
    SurveyRecord r;
    r.parcels.resize(8);
    r.parcels[0].location.department = "26 - Drôme"; // filled in by the window: not counted
    r.parcels[0].location.commune = "Valence";
    r.parcels[0].location.validated = true;
    r.parcels[0].location.information = "x";
    r.parcels[0].species = SpeciesTable{};
    r.parcels[1].location.altitude = "120";
    r.parcels[2].habitats[3] = true;
    r.parcels[3].weather[2] = "1";
    r.parcels[4].duration = "00:20";
    r.parcels[5].huntingNear = true;
    r.parcels[6].species = SpeciesTable{SpeciesRow{"O", "ALAARV", "", {"1", "", "", ""}, "1", ""}};
    r.parcels[7].weather[0] = " ";
    EXPECT_EQ(parcelsHoldingData(r), (QList<int>{2, 3, 4, 5, 6, 7}));
}

TEST(ParcelTabs, SpeciesWrittenBackInPlaceOrAnew)
{
    grid::Grid g;
    fillSpeciesGrid(g, SpeciesTable{SpeciesRow{"O", "ALAARV", "", {"1", "2", "", ""}, "", ""},
                                    SpeciesRow{"O", "PICPIC", "", {"1", "", "", ""}, "", ""}});
    g.setRows(50);
    g.addRow(QString(), 1); // a blank row above the species stays where it is
    ASSERT_EQ(speciesGridRows(g), (QList<int>{2, 3}));
    SpeciesTable table = speciesTableOf(g);
    table[0].total = "3";
    applySpeciesTable(g, table);
    EXPECT_EQ(g.rows(), 51);
    EXPECT_EQ(g.cell(2, SpeciesTotalColumn), "3");
    EXPECT_EQ(g.cell(3, SpeciesCodeColumn), "PICPIC");
    table.removeLast();
    applySpeciesTable(g, table);
    EXPECT_EQ(speciesTableOf(g), table);
    EXPECT_EQ(speciesGridRows(g), (QList<int>{1}));
}
