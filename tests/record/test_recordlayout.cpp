#include "grid/Grid.h"
#include "record/RecordLayout.h"
#include "record/SpeciesStore.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <functional>
#include <gtest/gtest.h>

using namespace record;
using record_samples::gridDump;
using record_samples::twoParcels;

namespace {

const QStringList kSeasons = {QStringLiteral("Hiver 2008-2009"), QStringLiteral("Hiver 2009-2010"),
                              QStringLiteral("Hiver 2010-2011")};

SpeciesRow species(const QString& cls, const QString& code, const QString& name, const QString& count,
                   const QString& indices = QString())
{
    return {cls, code, name, {count, QString(), QString(), QString()}, count, indices};
}

RecordReading readBack(const SurveyRecord& rec, const ReadOptions& options)
{
    grid::Grid g;
    RecordLayout::write(rec, g);
    RecordReadResult r = RecordLayout::read(g, options);
    EXPECT_TRUE(r.result.ok) << r.result.error.toStdString();
    return r.reading;
}

} // namespace

// One parcel, the fourth passage, a comment on three lines, a species row without a class, a
// blank row whose indices alone are filled; written over a grid that still holds a longer record.
TEST(RecordLayout, GoldenOneParcel)
{
    SurveyRecord rec = twoParcels();
    rec.parcels.removeLast();
    rec.passage = 4;
    rec.notValidated = false;
    rec.totalTypedByHand = false;
    rec.mergeSpecies = true;
    rec.observerName = QStringLiteral("  DUPONT ");
    rec.visitComment = QStringLiteral("Gel\r\nneige fondue\nvent");
    rec.parcels[0].species =
        SpeciesTable{species("", "", "Pipit indéterminé", "2"), species("", "", "", "", "O~NI"),
                     species("O", "ALAARV", "Alouette des champs", "3")};

    grid::Grid g;
    g.setCols(80);
    g.setRows(90);
    g.setCell(85, 1, "reste");
    RecordLayout::write(rec, g);

    const QString expected = QString::fromUtf8(
        "0: \n"
        "1: 1=SHOC | 2=V2010.2.181\n"
        "2: 1=Désignation et localisation | 2=26 - Drôme | 3=Valence | 4=Les Baumes | "
        "5=SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010 | 6=CH - Champs\n"
        "3: 1=Nom du réseau | 2=SHOC / Réseau national\n"
        "4: 1=Commentaire général | 2=Site venté@vbCrLf@haies basses\n"
        "5: 1=Nom et prénom | 2=DUPONT | 3=Jean\n"
        "6: 1=Courriel et téléphone | 2=jean.dupont@exemple.example | 3=04 75 00 00 00\n"
        "7: 1=Nbr points | 2=1\n"
        "8: 1=Saison | 2=Hiver 2009-2010\n"
        "9: 1=Coordonnées | 2=N°Point | 3=Dept | 4=Commune | 5=Lieudit | 6=Zone UTM | 7=Longitude | "
        "8=Latitude | 9=Maille MGRS | 10=Longueur trajet | 11=Altitude | 12=Réserve de chasse | 13=Vérifié | "
        "14=Type Coord | 15=Longitude Lambert | 16=Latitude Lambert | 17=Informations | "
        "21=Parcelle enherbée\\r(prairie, jachères) | 22=Sol nu | 23=Culture de\\rcéréales d’hiver | "
        "24=Culture avec végétation développée\\r(ex : colza, luzerne, engrais vert, etc.) | 25=Chaume | "
        "26=Verger | 27=Vigne | 28=Autre | 29=Forêt, bois | 30=Arbre isolé | 31=Haie | 32=Plan d’eau | "
        "33=Habitation | 34=Cours d’eau | 35=Chemin | 36=Route | 37=Fil électrique et\\rou téléphonique | "
        "38=Réserve\\rde chasse\n"
        "10: 2=1 | 3=26 - Drôme | 4=Valence | 5=Les Baumes | 7=800123 | 8=1987456 | 10=600 | 11=124 | 12=1 | "
        "13=2 | 14=1 | 15=800123 | 16=1987456 | 17=Possible erreur de coordonnées | 20=Parcelle N°01 | 21=1 "
        "| "
        "22=2 | 23=2 | 24=2 | 25=2 | 26=2 | 27=2 | 28=2 | 29=2 | 30=2 | 31=2 | 32=2 | 33=2 | 34=2 | 35=2 | "
        "36=2 | 37=2 | 38=1\n"
        "11: 1=Date, N° Passage et commentaire relevé | 2=12/01/2010 | 3=3 | "
        "4=Gel@vbCrLf@neige fondue@vbCrLf@vent\n"
        "12: 1=Météo | 2=N°Point | 3=Couverture nuageuse | 4=Pluie | 5=Vent | 6=Visibilité\n"
        "13: 2=1 | 3=1 | 4=2 | 6=3\n"
        "14: 1=Paramètres saisies | 2=0 | 3=1\n"
        "15: 1=Espèces Parcelle N°1 | 2=08:30 | 3=00:45 | 4=1 | 5=0\n"
        "16: 2=Classe | 3=Espèce | 4=Nom | 5=Observés entre 0 et 50m | 6=Observés entre 50 et 200m | "
        "7=Observés à plus de 200m | 8=En survol | 9=Total | 10=Indices\n"
        "17: 4=Pipit indéterminé | 5=2 | 9=2\n"
        "18: 2=O | 3=ALAARV | 4=Alouette des champs | 5=3 | 9=3\n");
    EXPECT_EQ(gridDump(g), expected);
    EXPECT_EQ(g.cols(), 72);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 1);
}

// The species blocks: a parcel never stored has its title only, an empty species grid its title
// and header, and each block follows the previous one.
TEST(RecordLayout, GoldenSpeciesBlocks)
{
    SurveyRecord rec = twoParcels();
    rec.parcels.append(rec.parcels[1]);
    rec.parcels[0].species = SpeciesTable{species("O", "PICPIC", "Pie bavarde", "1")};
    rec.parcels[1].species.reset();
    rec.parcels[2].species = SpeciesTable{};

    grid::Grid g;
    RecordLayout::write(rec, g);
    QStringList labels;
    for (int r = 19; r < g.rows(); ++r)
        labels << g.cell(r, 1) + "/" + g.cell(r, 2);
    EXPECT_EQ(labels, QStringList({"Espèces Parcelle N°1/08:30", "/Classe", "/O",
                                   "Espèces Parcelle N°2/09:20", "Espèces Parcelle N°3/09:20", "/Classe"}));
    EXPECT_EQ(g.cell(13, 1), "Date, N° Passage et commentaire relevé");
    EXPECT_EQ(g.cell(18, 1), "Paramètres saisies");
}

// What each mode restores from a stored record.
TEST(RecordLayout, RoundTripInEveryMode)
{
    const SurveyRecord stored = twoParcels();
    SurveyRecord nextWinter; // identification only, and the next winter
    nextWinter.parcels.resize(2);
    for (auto f : {&SurveyRecord::department, &SurveyRecord::commune, &SurveyRecord::placeName,
                   &SurveyRecord::siteName, &SurveyRecord::habitatType, &SurveyRecord::network,
                   &SurveyRecord::generalComment, &SurveyRecord::observerName,
                   &SurveyRecord::observerFirstName, &SurveyRecord::email, &SurveyRecord::telephone})
        nextWinter.*f = stored.*f;
    nextWinter.season = "Hiver 2010-2011";
    SurveyRecord newPassage = nextWinter; // and the season, locations and habitats
    newPassage.season = stored.season;
    for (int p = 0; p < 2; ++p) {
        newPassage.parcels[p].location = stored.parcels[p].location;
        newPassage.parcels[p].habitats = stored.parcels[p].habitats;
    }
    SurveyRecord newSite;
    newSite.parcels.resize(2);

    const struct
    {
        RecordMode mode;
        SurveyRecord expected;
    } cases[] = {{RecordMode::Update, stored},
                 {RecordMode::NewPassage, newPassage},
                 {RecordMode::NextWinter, nextWinter},
                 {RecordMode::New, newSite}};
    for (const auto& c : cases) {
        SCOPED_TRACE(modeText(c.mode).toStdString());
        const RecordReading got = readBack(stored, {c.mode, kSeasons, {}});
        EXPECT_EQ(got.record, c.expected);
        EXPECT_EQ(got.locationsRead, c.mode == RecordMode::Update || c.mode == RecordMode::NewPassage);
        EXPECT_TRUE(got.notices.isEmpty());
    }
}

// The season a mode chooses, and the passages a new passage may take.
TEST(RecordLayout, SeasonAndPassageChoices)
{
    const struct
    {
        RecordMode mode;
        QString stored;
        QString season;
        bool notice;
    } seasons[] = {
        {RecordMode::Update, "hiver 2009-2010", "Hiver 2009-2010", false},
        {RecordMode::Update, "Hiver 2003-2004", "", true},
        {RecordMode::NewPassage, "Hiver 2010-2011", "Hiver 2010-2011", false},
        {RecordMode::NextWinter, "Hiver 2008-2009", "Hiver 2009-2010", false},
        {RecordMode::NextWinter, "Hiver 2010-2011", "", true}, // the last winter of the list
        {RecordMode::NextWinter, "Hiver 1999-2000", "", true}, // no matching season
        {RecordMode::NextWinter, "", "", false},
    };
    for (const auto& c : seasons) {
        SCOPED_TRACE((modeText(c.mode) + " " + c.stored).toStdString());
        SurveyRecord rec = twoParcels();
        rec.season = c.stored;
        const RecordReading got = readBack(rec, {c.mode, kSeasons, {}});
        EXPECT_EQ(got.record.season, c.season);
        EXPECT_EQ(got.notices.size(), c.notice ? 1 : 0);
        if (c.notice) {
            EXPECT_TRUE(got.notices.value(0).contains(c.stored));
        }
    }

    using Buttons = std::array<bool, kPassageCount>;
    const struct
    {
        RecordMode mode;
        QList<int> stored;
        Buttons enabled;
    } passages[] = {
        {RecordMode::NewPassage, {0, 1}, {false, false, true, false, false}},
        {RecordMode::NewPassage, {2, 0}, {false, true, false, true, false}},
        {RecordMode::NewPassage, {0, 4, 9}, {false, true, true, true, false}},
        {RecordMode::NewPassage, {}, {true, true, true, true, true}},
        {RecordMode::NextWinter, {0, 1}, {true, true, true, true, true}},
    };
    for (const auto& c : passages)
        EXPECT_EQ(readBack(twoParcels(), {c.mode, kSeasons, c.stored}).passageEnabled, c.enabled);
}

// Files written by earlier versions or by hand: the parcel label as a two-digit number, other
// truth texts for check boxes, trailing empty rows, a species row without a class followed by
// others; a species block ends at the next title or at a row empty up to its total.
TEST(RecordLayout, ReaderAcceptsOtherFormsAndEndsBlocksAtTitlesOrEmptyRows)
{
    SurveyRecord rec = twoParcels();
    rec.mergeSpecies = false;
    rec.parcels[0].species =
        SpeciesTable{species("", "", "Bécasse ?", "1"), species("O", "ALAARV", "Alouette", "3"),
                     species("O", "PICPIC", "Pie", "2")};
    grid::Grid g;
    RecordLayout::write(rec, g);
    g.setCell(10, 20, "01");
    g.setCell(11, 20, "02");
    g.setCell(10, 21, "-1");
    g.setCell(10, 38, "VRAI");
    g.setCell(10, 12, " TRUE");
    g.setRows(g.rows() + 6);
    const RecordReadResult read = RecordLayout::read(g, {RecordMode::Update, kSeasons, {}});
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(read.reading.record, rec);

    // A blank row ends parcel 1's block: what follows it is not a species of the parcel.
    const int title = g.findRow("Espèces Parcelle N°1", 0, 1);
    g.setCell(title + 3, 2, QString());
    g.setCell(title + 3, 3, QString());
    g.setCell(title + 3, 4, QString());
    g.setCell(title + 3, 5, QString());
    g.setCell(title + 3, 9, QString());
    const RecordReadResult cut = RecordLayout::read(g, {RecordMode::Update, kSeasons, {}});
    ASSERT_TRUE(cut.reading.record.parcels[0].species.has_value());
    EXPECT_EQ(cut.reading.record.parcels[0].species->size(), 1);
}

TEST(RecordLayout, ReadRefusesABadParcelCountAndSkipsMissingSections)
{
    grid::Grid g;
    RecordLayout::write(twoParcels(), g);
    for (const char* count : {"", "0", "31", "2.5", "deux"}) {
        g.setCell(7, 2, count);
        const RecordReadResult r = RecordLayout::read(g, {});
        EXPECT_TRUE(!r.result.ok && r.result.error.contains("nombre de parcelles")) << count;
    }
    g.setCell(7, 2, "2");
    for (const QString& title :
         {RecordLayout::kTitleLocations, RecordLayout::kTitleWeather, RecordLayout::kTitleVisit})
        g.setCell(g.findRow(title, 0, 1), 1, "autre");
    const RecordReadResult r = RecordLayout::read(g, {RecordMode::Update, kSeasons, {}});
    ASSERT_TRUE(r.result.ok);
    EXPECT_FALSE(r.reading.locationsRead);
    EXPECT_TRUE(r.reading.record.parcels[0].location == ParcelLocation());
    EXPECT_EQ(r.reading.record.parcels[0].weather[0], "");
    EXPECT_EQ(r.reading.record.passage, 0);
    EXPECT_EQ(r.reading.record.parcels[0].startTime, "08:30");
}

// "Coordonnées" and "Météo" hold every parcel directly below their title: a record whose rows do not
// is refused, never read from another section's rows. A weather title without any parcel row is a
// record without weather. A parcel without its species block, whether one, the last or all of
// them, is an empty parcel: no species, no start time, no duration, no hunting box ticked.
TEST(RecordLayout, ReadRefusesSectionsThatDoNotHoldEveryParcelAndTakesParcelsWithoutSpecies)
{
    SurveyRecord rec = twoParcels();
    rec.parcels.insert(1, rec.parcels[0]);
    rec.parcels[1].startTime = "09:00";
    grid::Grid written;
    RecordLayout::write(rec, written);
    const int locations = written.findRow(RecordLayout::kTitleLocations, 0, 1);
    const int weather = written.findRow(RecordLayout::kTitleWeather, 0, 1);
    const auto block = [&](int parcel) {
        return written.findRow(RecordLayout::kTitleSpecies + QString::number(parcel), 0, 1);
    };
    // Removes the rows first to last - 1.
    const auto removeRows = [](int first, int last) {
        return [=](grid::Grid& g) {
            for (int r = first; r < last; ++r)
                g.removeRow(first);
        };
    };
    const auto emptied = [](const QList<int>& parcels) {
        return [=](SurveyRecord& r) {
            for (int p : parcels) {
                const Parcel& was = r.parcels[p - 1];
                Parcel empty;
                empty.location = was.location;
                empty.habitats = was.habitats;
                empty.weather = was.weather;
                r.parcels[p - 1] = empty;
            }
        };
    };
    const struct
    {
        const char* name;
        std::function<void(grid::Grid&)> change;
        QString refused;                         // empty: read
        std::function<void(SurveyRecord&)> read; // what is read, from the record written
    } cases[] = {
        {"more parcels than rows",
         [](grid::Grid& g) { g.setCell(7, 2, "4"); },
         "la ligne de la parcelle 4 manque sous « Coordonnées » (« Nbr points » : 4)",
         {}},
        {"a point row gone",
         [&](grid::Grid& g) { g.removeRow(locations + 2); },
         "la ligne de la parcelle 3 manque sous « Coordonnées » (« Nbr points » : 3)",
         {}},
        {"a weather row gone",
         [&](grid::Grid& g) { g.removeRow(weather + 1); },
         "la ligne de la parcelle 3 manque sous « Météo » (« Nbr points » : 3)",
         {}},
        {"no weather rows", removeRows(weather + 1, weather + 4), "",
         [](SurveyRecord& r) {
             for (Parcel& p : r.parcels)
                 p.weather = {};
         }},
        {"parcel 2 without its block", removeRows(block(2), block(3)), "", emptied({2})},
        {"the last parcel without its block", removeRows(block(3), written.rows()), "", emptied({3})},
        {"no species block at all", removeRows(block(1), written.rows()), "", emptied({1, 2, 3})},
        {"parcel 2's block titled for a parcel the record does not have",
         [&](grid::Grid& g) { g.setCell(block(2), 1, "Espèces Parcelle N°9"); }, "", emptied({2})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid::Grid g;
        g.copyFrom(written);
        c.change(g);
        const RecordReadResult r = RecordLayout::read(g, {RecordMode::Update, kSeasons, {}});
        EXPECT_EQ(r.result.error, c.refused);
        EXPECT_EQ(r.result.ok, c.refused.isEmpty());
        if (r.result.ok) {
            SurveyRecord expected = rec;
            c.read(expected);
            EXPECT_EQ(r.reading.record, expected);
        }
    }
}
