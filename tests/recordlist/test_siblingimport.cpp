#include "common/Paths.h"
#include "coords/Conversion.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "recordlist/SiblingImport.h"
#include "tests/samples/SiblingSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/RawNames.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace recordlist;
using testing_support::readBytes;
using testing_support::writeBytes;
using Cells = QStringList;
using sibling_samples::Sibling;

namespace {

const QString kRecord = "SHOC-26~Valence~Les Baumes~LEFEVRE jean~Hiver 2009-2010~Passage N1.FLX2009";

struct Progress : ImportProgress
{
    QStringList calls;
    void importBegins(int count) override { calls << QString("begins %1").arg(count); }
    void fileDone(int done, int count, const QString& f) override
    {
        calls << QString("%1/%2 %3").arg(done).arg(count).arg(f);
    }
    void importEnds() override { calls << "ends"; }
};

class SiblingImportTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString data = env.dataFolder();
    record::RecordStore store{data};
    Progress progress;

    QString path(const QString& name) const { return QDir(data).filePath(name); }
    QStringList files() const { return QDir(data).entryList(QDir::Files, QDir::Name); }
    void writeSource(const QString& name, const Sibling& s) { sibling_samples::write(path(name), s); }
    ImportReport run() { return sub_Migration_Pomerel_Mirelot(data, &progress); }
    // Imports the one source and loads the record it gave (removed from the folder).
    QString importOne(const Sibling& s, grid::Grid& out)
    {
        writeSource("Ravelin-1.RVX", s);
        const ImportReport r = run();
        EXPECT_EQ(r.problems, QStringList());
        if (r.imported.size() != 1 || !store.load(r.imported.first(), out).ok)
            return QString();
        EXPECT_TRUE(QFile::remove(path(r.imported.first())));
        return r.imported.first();
    }
    static int row(const grid::Grid& g, const QString& title) { return g.findRow(title, -1, 1); }
    static Cells cells(const grid::Grid& g, int row, int from, int to)
    {
        return g.rangeText({row, from, row, to}).split('\t');
    }
};

} // namespace

TEST_F(SiblingImportTest, ObserverContactAndPassageMakeTheRecordAndItsName)
{
    const struct
    {
        QString observer, contact, passage;
        Cells expected; // name, first name, e-mail, telephone, passage index
    } cases[] = {
        {"lefèvre jean", "jean@example.fr", "0", {"LEFEVRE", "jean", "jean@example.fr", "", "0"}},
        // A tab is dropped; an address may begin with digits, a telephone with letters.
        {"Dupont\t Marie-Ève",
         "06durand@orange.fr",
         "3",
         {"DUPONT", "Marie-Ève", "06durand@orange.fr", "", "3"}},
        {"de la tour  marie", "tél. 04 75", "4", {"DE", "la tour  marie", "", "tél. 04 75", "4"}},
        {" çà ", "04\t75 12", "", {"CA", "", "", "0475 12", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.observer.toStdString());
        Sibling s;
        s.observer = c.observer, s.contact = c.contact, s.passage = c.passage;
        grid::Grid g;
        const QString name = importOne(s, g);
        const QString site =
            "SHOC-26~Valence~Les Baumes~" + c.expected[0] + " " + c.expected[1] + "~Hiver 2009-2010";
        EXPECT_EQ(name, site + "~Passage N" + QString::number(c.expected[4].toInt() + 1) + ".FLX2009");
        EXPECT_EQ(g.cell(2, 5), site);
        EXPECT_EQ(cells(g, 5, 2, 3) + cells(g, 6, 2, 3) +
                      cells(g, row(g, "Date, N° Passage et commentaire relevé"), 3, 3),
                  c.expected);
        EXPECT_EQ(g.cell(6, 1), "Courriel et téléphone");
    }
}

TEST_F(SiblingImportTest, EveryPointConvertedByItselfAndAFailingOneKeepsItsCoordinates)
{
    // The first point lies in another commune: its place does not name the site.
    auto point = [](const QString& commune, const QString& zone, const QString& x, const QString& y,
                    int type) {
        const QString place = commune == "Valence" ? "Les Baumes" : "La Plaine";
        return QString("Point|0|26 - Drôme|%1|%2|%3|%4|%5|||||1|%6")
            .arg(commune, place, zone, x, y)
            .arg(type)
            .split('|');
    };
    Sibling s;
    s.points = {point("Bourg", "", "2.8368", "49.9245", 0), point("Valence", "", "4.8917", "44.9334", 2),
                point("Valence", "", "abc", "xyz", 2), point("Valence", "", "649000", "4977000", 3),
                point("Valence", "31", "849000", "1991000", 1)};
    for (int p = 0; p < 5; ++p)
        s.points[p][1] = QString::number(p + 1);
    auto lambert = [](int type, const QString& x, const QString& y) {
        coords::CoordinateSlots X, Y, Z;
        X[type] = x;
        Y[type] = y;
        EXPECT_EQ(sub_Convertir_Coordonnees(X, Y, Z, type, type <= 1 ? "*" : "WGS84").error, 0);
        return Cells{coords::slotText(X[1]), coords::slotText(Y[1])};
    };
    const Cells a = lambert(0, "2.8368", "49.9245"), b = lambert(2, "4.8917", "44.9334");
    ASSERT_NE(a, b);
    const Cells expected[] = {// columns 6, 7, 8, 12, 13 ("Vérifié"), 14, 15, 16
                              {"", a[0], a[1], "2", "0", "1", a[0], a[1]},
                              {"", b[0], b[1], "2", "0", "1", b[0], b[1]},
                              {"", "abc", "xyz", "2", "0", "2", "", ""},
                              {"", "649000", "4977000", "2", "0", "3", "", ""},
                              {"", "849000", "1991000", "2", "0", "1", "849000", "1991000"}};
    grid::Grid g;
    EXPECT_EQ(importOne(s, g), kRecord);
    EXPECT_EQ(cells(g, 2, 4, 6), Cells({"Les Baumes", kRecord.chopped(19), "CH"}));
    const int c = row(g, "Coordonnées");
    for (int p = 1; p <= 5; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(cells(g, c + p, 6, 8) + cells(g, c + p, 12, 16), expected[p - 1]);
        EXPECT_EQ(g.cell(c + p, 17).contains("Lambert II étendu a échoué"), expected[p - 1][7].isEmpty());
        EXPECT_EQ(g.cell(c + p, 20), QString("Parcelle N°0%1").arg(p));
    }
    // The points end at the next section: the date row keeps its cells.
    EXPECT_EQ(cells(g, c + 6, 1, 39),
              Cells({"Date, N° Passage et commentaire relevé", "05/01/2010", "0", "Beau"}) + Cells(35));
}

// With its header row or without it (the species right below the block's title), every species
// row is kept under our header.
TEST_F(SiblingImportTest, SpeciesColumnsTakeTheirPlacesInTheSpeciesGrid)
{
    for (const bool header : {true, false}) {
        SCOPED_TRACE(header);
        Sibling s;
        s.speciesHeader = header;
        s.points << s.points[0];
        s.species = {
            {{"ALAARV", "Alouette", "1", "2", "3", "4", "5", "A", "x"}, {"PERPER", "Perdrix", "", "", "6"}},
            {{"BUTBUT", "Buse", "", "1", "1", "", "", "P"}}};
        const QList<Cells> expected[] = {{{"O", "ALAARV", "Alouette", "1", "", "2", "4", "3", "A", "x"},
                                          {"O", "PERPER", "Perdrix", "", "", "", "", "6", "", ""}},
                                         {{"O", "BUTBUT", "Buse", "", "", "1", "", "1", "P", ""}}};
        grid::Grid g;
        importOne(s, g);
        for (int p = 1; p <= 2; ++p) {
            const int title = row(g, "Espèces Parcelle N°" + QString::number(p));
            EXPECT_EQ(cells(g, title, 2, 3), Cells({"08:00", "00:30"}));
            EXPECT_EQ(
                cells(g, title + 1, 2, 10),
                Cells({"Classe", "Espèce", "Nom", "Observés entre 0 et 50m", "Observés entre 50 et 200m",
                       "Observés à plus de 200m", "En survol", "Total", "Indices"}));
            for (int k = 0; k < expected[p - 1].size(); ++k)
                EXPECT_EQ(cells(g, title + 2 + k, 2, 11), expected[p - 1][k]) << p << " " << k;
        }
    }
}

// The record reads back from the rows its titles name: the sample's weather title has no parcel
// rows (no weather, not the species title below it), and a date row that the sibling keeps among
// the first rows leaves the rows that a record holds at fixed places in their places.
TEST_F(SiblingImportTest, TheRecordReadsBackFromTheRowsItsTitlesName)
{
    for (const bool visitFirst : {false, true}) {
        SCOPED_TRACE(visitFirst);
        Sibling s;
        s.visitFirst = visitFirst;
        s.points << s.points[0];
        s.points[1][1] = "2";
        grid::Grid g;
        ASSERT_EQ(importOne(s, g), kRecord);
        for (const auto& [place, title] : record::RecordLayout::fixedRows())
            EXPECT_EQ(g.cell(place, 1), title);
        const record::RecordReadResult read = record::RecordLayout::read(g, {});
        ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
        const record::SurveyRecord& r = read.reading.record;
        EXPECT_EQ(r.email, "jean@example.fr");
        EXPECT_EQ(r.date + "|" + r.visitComment, "05/01/2010|Beau");
        ASSERT_EQ(r.parcels.size(), 2);
        for (const record::Parcel& p : r.parcels) {
            EXPECT_EQ(p.location.department + "|" + p.location.commune, "26 - Drôme|Valence");
            EXPECT_EQ(p.weather, (std::array<QString, record::kWeatherCount>{}));
            EXPECT_EQ(p.startTime + "|" + p.duration, "08:00|00:30");
        }
    }
}

// A parcel without its species block, the first or the last, is imported as an empty parcel; the
// record written reads back with it.
TEST_F(SiblingImportTest, AParcelWithoutItsSpeciesBlockIsImportedEmpty)
{
    for (const int missing : {1, 2}) {
        SCOPED_TRACE(missing);
        Sibling s;
        s.points << s.points[0];
        s.points[1][1] = "2";
        s.species = {{{"ALAARV", "Alouette", "1"}}, {{"BUTBUT", "Buse", "", "1"}}};
        s.withoutSpeciesBlock = {missing};
        grid::Grid g;
        ASSERT_EQ(importOne(s, g), kRecord);
        const record::RecordReadResult read = record::RecordLayout::read(g, {});
        ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
        const QList<record::Parcel>& parcels = read.reading.record.parcels;
        ASSERT_EQ(parcels.size(), 2);
        const record::Parcel& empty = parcels[missing - 1];
        EXPECT_EQ(empty.startTime + "|" + empty.duration, "|");
        EXPECT_FALSE(empty.species.has_value());
        const record::Parcel& kept = parcels[2 - missing];
        EXPECT_EQ(kept.startTime + "|" + kept.duration, "08:00|00:30");
        ASSERT_TRUE(kept.species.has_value());
        ASSERT_EQ(kept.species->size(), 1);
        EXPECT_EQ(kept.species->at(0).code, missing == 1 ? "BUTBUT" : "ALAARV");
    }
}

TEST_F(SiblingImportTest, SourceSetAsideOnlyOnceItsRecordIsWrittenAndAStoredRecordReplacedOnlyOnYes)
{
    writeSource("ravelin-a.rvx", Sibling());
    EXPECT_EQ(run().imported, Cells{kRecord});
    EXPECT_EQ(files(), Cells({kRecord, "ravelin@a.rvx"}));
    EXPECT_EQ(progress.calls, Cells({"begins 1", "1/1 ravelin-a.rvx", "ends"}));

    // The same record comes again; the stored one was changed meanwhile.
    const QByteArray stored = "stored record";
    const QString aside = record::RecordStore::asideName(kRecord);
    writeBytes(path(kRecord), stored);
    writeBytes(path(aside), "older");
    writeSource("Ravelin-B.RVX", Sibling());

    // No, the default: both stay as they are.
    env.dialogs().answer(platform::mb::No);
    EXPECT_EQ(run().kept, Cells{kRecord});
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].style,
              platform::mb::YesNo | platform::mb::Question | platform::mb::DefaultButton2);
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains(kRecord));
    EXPECT_EQ(readBytes(path(kRecord)), stored);
    EXPECT_TRUE(QFile::exists(path("Ravelin-B.RVX")));

    // Yes, but the new record cannot be written: the stored one keeps its name, the source stays.
    // (Room enough for the data folder's lock, not for a record.)
    env.dialogs().answer(platform::mb::Yes);
    ImportReport r;
    {
        const testing_support::FileSizeLimit full(1024);
        r = run();
    }
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_TRUE(r.problems[0].contains("Ravelin-B.RVX")) << r.problems[0].toStdString();
    EXPECT_EQ(readBytes(path(kRecord)), stored);
    EXPECT_EQ(files(), Cells({"Ravelin-B.RVX", kRecord, aside, "ravelin@a.rvx"}));

    // Yes, but another copy saved the stored record after the question: its save is kept, nothing
    // is written.
    const QByteArray savedMeanwhile = "saved by another copy";
    env.dialogs().setResponder([&](const testing_support::ScriptedDialogs::Asked&) {
        writeBytes(path(kRecord), savedMeanwhile);
        return testing_support::ScriptedDialogs::Answer(platform::mb::Yes);
    });
    EXPECT_EQ(run().kept, Cells{kRecord});
    env.dialogs().setResponder({});
    EXPECT_EQ(files(), Cells({"Ravelin-B.RVX", kRecord, aside, "ravelin@a.rvx"}));

    // Yes: the stored record is set aside beside the earlier one, nothing is deleted.
    env.dialogs().answer(platform::mb::Yes);
    r = run();
    EXPECT_EQ(r.imported, Cells{kRecord});
    EXPECT_EQ(readBytes(path(aside.chopped(8) + " (2).FLX2009")), savedMeanwhile);
    EXPECT_EQ(readBytes(path(aside)), "older");
    EXPECT_NE(readBytes(path(kRecord)), stored);
    EXPECT_TRUE(QFile::exists(path("Ravelin@B.RVX")));
    EXPECT_EQ(files().size(), 5);
}

TEST_F(SiblingImportTest, RefusedSourcesStayForTheNextImport)
{
    const struct
    {
        void (*change)(Sibling&);
        QString named; // in the reason
    } cases[] = {
        {[](Sibling& s) { s.points[0][4] = "Les/Baumes"; }, "« / »"},
        {[](Sibling& s) { s.observer = "X " + QString(250, 'y'); }, "trop long"},
        {[](Sibling& s) { s.withLocations = false; }, "« Coordonnées » manque"},
        {[](Sibling& s) { s.passage = "5"; }, "passage « 5 »"},
        {[](Sibling& s) { s.count = "0"; }, "parcelles « 0 »"},
        // More parcels than point rows: never parcel 2 read from the date row.
        {[](Sibling& s) { s.count = "3"; }, "la ligne de la parcelle 2 manque sous « Coordonnées »"},
        // A block's first row without any count: neither its header nor a counted species.
        {[](Sibling& s) {
             s.speciesHeader = false;
             s.species = {{{"PERPER", "Perdrix"}, {"ALAARV", "Alouette", "1"}}};
         },
         "(« PERPER ») n'a aucun comptage"},
        // As large as a record file may be: its record, with our captions, would be larger.
        {[](Sibling& s) {
             for (int i = 0; i < 3; ++i) {
                 grid::Grid g;
                 s.fill(g);
                 const qint64 more = record::file::kMaxFileBytes - grid::GridFile::toComplete(g).size();
                 s.comment = more < 0 ? s.comment.chopped(-more) : s.comment + QString(more, 'x');
             }
         },
         "il serait trop grand pour un relevé"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        Sibling s;
        c.change(s);
        writeSource("Ravelin-1.RVX", s);
        const QByteArray before = readBytes(path("Ravelin-1.RVX"));
        const ImportReport r = run();
        ASSERT_EQ(r.problems.size(), 1);
        EXPECT_TRUE(r.problems[0].contains(c.named)) << r.problems[0].toStdString();
        EXPECT_EQ(files(), Cells{"Ravelin-1.RVX"});
        EXPECT_EQ(readBytes(path("Ravelin-1.RVX")), before);
    }
}

TEST_F(SiblingImportTest, FilesThatAreNoSourcesAreLeftAlone)
{
    // Nothing named like a source: no wait window at all.
    writeBytes(path("Ravelin@A.RVX"), "set aside");
    writeBytes(path("Ravelin-B.txt"), "other");
    writeBytes(path(kRecord), "record");
    ImportReport r = run();
    EXPECT_TRUE(r.imported.isEmpty() && r.kept.isEmpty() && r.problems.isEmpty());
    EXPECT_TRUE(progress.calls.isEmpty());

    // Named like one: a record of ours is no source; a file that cannot be read is told and kept.
    grid::Grid ours;
    Sibling().fill(ours);
    ours.setCell(1, 1, "SHOC");
    ASSERT_TRUE(grid::GridFile::save(ours, path("Ravelin-C.RVX"), grid::GridFile::Complete, true).ok);
    writeBytes(path("Ravelin-D.RVX"), "pas une grille");
    const Cells before = files();
    r = run();
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_TRUE(r.problems[0].contains("Ravelin-D.RVX")) << r.problems[0].toStdString();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(progress.calls, Cells({"begins 2", "1/2 Ravelin-C.RVX", "2/2 Ravelin-D.RVX", "ends"}));
}

TEST_F(SiblingImportTest, ANameThatWouldLeadOutOfTheDataFolderIsNotImported)
{
    const QString leading = "Ravelin-x\\..\\..\\victime-fichier.RVX";
    writeSource(leading, Sibling());
    writeBytes(env.path("victime-fichier.RVX"), "à garder tel quel");
    const auto outside = env.filesOutsideDataFolder();

    const ImportReport r = run();
    EXPECT_EQ(env.filesOutsideDataFolder(), outside);
    EXPECT_EQ(files(), Cells{leading});
    EXPECT_TRUE(r.imported.isEmpty());
    EXPECT_EQ(r.problems, Cells{common::checkPlainName(data, leading).error});
}

// A sibling file named in Latin-1 is not imported, the reason told; the file whose UTF-8 name
// shows "\uFFFD" in the same place is imported once, for itself.
TEST_F(SiblingImportTest, ANameThatIsNotUtf8IsNotImportedNorTakenForAnother)
{
    Sibling other;
    other.observer = "martin paul";
    writeSource("latin", other);
    const testing_support::BytesNamedFile latin1(path("latin"), data, "Ravelin-\xC9tang.RVX");
    const QString latin = QString("Ravelin-") + QChar(0xDCC9) + "tang.RVX";
    writeSource(QString("Ravelin-") + QChar::ReplacementCharacter + "tang.RVX", Sibling());

    const ImportReport r = run();
    EXPECT_EQ(r.imported, Cells{kRecord});
    EXPECT_EQ(r.problems, Cells{common::checkPlainName(data, latin).error});
    EXPECT_EQ(testing_support::namesAsBytes(data),
              QList<QByteArray>(
                  {"Ravelin-\xC9tang.RVX", QString("Ravelin@\uFFFDtang.RVX").toUtf8(), kRecord.toUtf8()}));
}

// A sibling file that declares more rows than a record has, or that is larger than any record (a
// sparse one, taking no room on disk), is refused before it is read whole, named in the reason,
// and stays for the next import.
TEST_F(SiblingImportTest, SourcesBeyondTheBoundsOfARecordAreRefusedUnreadAndKept)
{
    ASSERT_TRUE(hostile_files::padded(path("Ravelin-1.RVX"), hostile_files::siblingHead(), 100'000));
    ASSERT_TRUE(hostile_files::sparse(path("Ravelin-2.RVX"), 64LL << 20));
    const QByteArray first = readBytes(path("Ravelin-1.RVX"));
    const ImportReport r = run();
    EXPECT_TRUE(r.imported.isEmpty());
    ASSERT_EQ(r.problems.size(), 2);
    const QString reason = QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2");
    EXPECT_TRUE(r.problems[0].startsWith(reason.arg(path("Ravelin-1.RVX"), "il annonce 99")))
        << r.problems[0].toStdString();
    EXPECT_TRUE(r.problems[1].startsWith(
        reason.arg(path("Ravelin-2.RVX"), "il est trop grand pour un relevé (67108864 octets")))
        << r.problems[1].toStdString();
    EXPECT_EQ(files(), Cells({"Ravelin-1.RVX", "Ravelin-2.RVX"}));
    EXPECT_EQ(readBytes(path("Ravelin-1.RVX")), first);
    EXPECT_EQ(QFileInfo(path("Ravelin-2.RVX")).size(), 64LL << 20);
}
