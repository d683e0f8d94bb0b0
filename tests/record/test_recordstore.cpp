#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "record/RecordFileLayout.h"
#include "record/RecordStore.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/LimitedFileSystem.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TwoCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace record;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QString kSite = QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");
const QString kFile2 = kSite + QStringLiteral("~Passage N2.FLX2009");

class RecordStoreTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    RecordStore store{env.dataFolder()};

    QString path(const QString& name) const { return QDir(env.dataFolder()).filePath(name); }
    QStringList files() const { return QDir(env.dataFolder()).entryList(QDir::Files, QDir::Name); }
    // A record file written directly, holding the passage index given.
    void writeRecord(const QString& name, int passage, const QString& comment = QString())
    {
        SurveyRecord r = record_samples::twoParcels();
        r.passage = passage;
        r.visitComment = comment;
        record_samples::writeRecord(path(name), r);
    }
    SurveyRecord reopened(const QString& name) const
    {
        const RecordReadResult r = store.open(name, {RecordMode::Update, {}, {}});
        EXPECT_TRUE(r.result.ok) << r.result.error.toStdString();
        return r.reading.record;
    }
};

} // namespace

TEST_F(RecordStoreTest, FileNamesFromFreeTextAreCheckedBeforeAnyWrite)
{
    EXPECT_EQ(RecordStore::fileName(kSite, 4), kSite + "~Passage N4.FLX2009");
    EXPECT_EQ(RecordStore::passageOfFileName("X~passage n3.flx2009"), 3);
    EXPECT_EQ(RecordStore::passageOfFileName("X.FLX2009"), 0);

    const QString tail = "~Passage N1.FLX2009";
    const QString baumes = "SHOC-26~Baumes";
    const struct
    {
        QString name;
        QString named; // what the message names; empty: accepted
    } cases[] = {
        {kSite + tail, ""},
        {"SHOC-26~Valence~La Côte [2]~D'ARC Jeanne~Hiver 2009-2010" + tail, ""},
        {"SHOC-26~Valence~Les/Baumes" + tail, "« / »"},
        {"SHOC-26~Valence~Les\\Baumes" + tail, "« \\ »"},
        {"SHOC-26~Valence~C:Baumes" + tail, "« : »"},
        {"SHOC-26~Valence~Baumes*" + tail, "« * »"},
        {"?????~Les Baumes" + tail, "« ? »"},
        {"SHOC-26~<Baumes>" + tail, "« < »"},
        {"SHOC-26~Baumes|2" + tail, "« | »"},
        {"SHOC-26~\"Baumes\"" + tail, "« \" »"},
        {"SHOC-26~..~Baumes" + tail, "« .. »"},
        {"SHOC-26~Baumes\t" + tail, "une tabulation (U+0009)"},
        {baumes + QChar(0x7F) + tail, "caractère de contrôle (U+007F)"},
        // C1 controls, line and paragraph separators, marks that turn the text around.
        {baumes + QChar(0x85) + tail, "caractère de contrôle (U+0085)"},
        {baumes + QChar(0x9F) + tail, "caractère de contrôle (U+009F)"},
        {baumes + QChar(0x2028) + tail, "caractère de contrôle (U+2028)"},
        {baumes + QChar(0x2029) + tail, "caractère de contrôle (U+2029)"},
        {baumes + QChar(0x200E) + tail, "caractère de contrôle (U+200E)"},
        {baumes + QChar(0x200F) + tail, "caractère de contrôle (U+200F)"},
        {QString("SHOC-26~") + QChar(0x202E) + "semuaB" + tail, "caractère de contrôle (U+202E)"},
        {baumes + QChar(0x202A) + tail, "caractère de contrôle (U+202A)"},
        {baumes + QChar(0x2066) + tail, "caractère de contrôle (U+2066)"},
        {baumes + QChar(0x2069) + tail, "caractère de contrôle (U+2069)"},
        {baumes + QChar(0xA0) + "2" + tail, ""},         // a no-break space is a character like others
        {QString(118, QChar(u'é')) + tail, ""},          // 255 bytes
        {QString(119, QChar(u'é')) + tail, "trop long"}, // 257 bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const platform::Result r = store.checkFileName(c.name);
        EXPECT_EQ(r.ok, c.named.isEmpty()) << r.error.toStdString();
        if (!c.named.isEmpty()) {
            EXPECT_TRUE(r.error.contains(c.named)) << r.error.toStdString();
        }
    }

    // A refused name writes nothing.
    SurveyRecord r = record_samples::twoParcels();
    r.placeName = "Les/Baumes";
    r.siteName = "SHOC-26~Valence~Les/Baumes~DUPONT Jean~Hiver 2009-2010";
    const SaveResult saved = store.save(r);
    EXPECT_FALSE(saved.result.ok);
    EXPECT_TRUE(saved.result.error.contains("« / »"));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(QDir(env.dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(RecordStoreTest, SiteFilesListedLiterallyIgnoringCaseAndLatestByPassage)
{
    const QString site = "SHOC-26~Valence~Pré [1]~DUPONT Jean~Hiver 2009-2010";
    writeRecord(site + "~Passage N1.FLX2009", 1);
    writeRecord("shoc-26~valence~PRÉ [1]~dupont jean~hiver 2009-2010~PASSAGE N3.flx2009", 3);
    // Not the site's: "[1]" is no pattern, a set-aside file, a file of the older layout.
    writeRecord("SHOC-26~Valence~Pré 1~DUPONT Jean~Hiver 2009-2010~Passage N2.FLX2009", 2);
    writeRecord("SHOC@26~Valence~Pré [1]~DUPONT Jean~Hiver 2009-2010~Passage N2.FLX2009", 2);
    writeRecord(site + "~Passage N2.FLX", 2);
    const QByteArray broken = "pas un fichier de grille";
    writeBytes(path(site + "~Passage N2.FLX2009"), broken);

    EXPECT_EQ(store.siteFiles(site),
              QStringList({site + "~Passage N1.FLX2009", site + "~Passage N2.FLX2009",
                           "shoc-26~valence~PRÉ [1]~dupont jean~hiver 2009-2010~PASSAGE N3.flx2009"}));
    EXPECT_EQ(store.latestFile(site),
              "shoc-26~valence~PRÉ [1]~dupont jean~hiver 2009-2010~PASSAGE N3.flx2009");
    EXPECT_EQ(store.latestFile("SHOC-26~Valence~Autre"), "");

    const StoredPassages stored = store.storedPassages(site);
    EXPECT_EQ(stored.passages, QList<int>({0, 2}));
    ASSERT_EQ(stored.unreadable.size(), 1);
    EXPECT_TRUE(stored.unreadable[0].contains("Passage N2.FLX2009"));
    EXPECT_EQ(readBytes(path(site + "~Passage N2.FLX2009")), broken);

    const RecordReadResult open = store.open(site + "~Passage N2.FLX2009", {});
    EXPECT_FALSE(open.result.ok);
    EXPECT_TRUE(open.result.error.contains("Passage N2.FLX2009"));
    EXPECT_EQ(readBytes(path(site + "~Passage N2.FLX2009")), broken);
}

// A new record, then the same record saved again over a file of another record; a species row
// without a class followed by two good rows and a ticked habitat come back as they were typed.
TEST_F(RecordStoreTest, NewRecordSavedAndReplaceAskedWithNoByDefault)
{
    SurveyRecord r = record_samples::twoParcels();
    r.parcels[0].species = SpeciesTable{{"", "", "Bécasse ?", {"1", "", "", ""}, "1", ""},
                                        {"O", "ALAARV", "Alouette des champs", {"3", "", "", ""}, "3", ""},
                                        {"O", "PICPIC", "Pie bavarde", {"", "2", "", ""}, "2", "O~NI"}};
    const SaveResult first = store.save(r);
    ASSERT_TRUE(first.result.ok) << first.result.error.toStdString();
    EXPECT_EQ(first.fileName, kFile2);
    EXPECT_TRUE(first.listChanged);
    EXPECT_EQ(reopened(kFile2), r);
    EXPECT_TRUE(reopened(kFile2).parcels[0].habitats[17]);

    const QByteArray before = readBytes(path(kFile2));
    SurveyRecord other = r;
    other.visitComment = "un autre relevé";
    env.dialogs().answer(platform::mb::No);
    const SaveResult declined = store.save(other);
    EXPECT_FALSE(declined.result.ok);
    EXPECT_TRUE(declined.declined);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains(kFile2));
    EXPECT_EQ(env.dialogs().asked()[0].style,
              platform::mb::YesNo | platform::mb::Exclamation | platform::mb::DefaultButton2);
    EXPECT_EQ(readBytes(path(kFile2)), before);

    env.dialogs().answer(platform::mb::Yes);
    ASSERT_TRUE(store.save(other).result.ok);
    EXPECT_EQ(reopened(kFile2).visitComment, "un autre relevé");
    EXPECT_EQ(files(), QStringList({kFile2}));
}

TEST_F(RecordStoreTest, ModifiedRecordRewrittenOrRenamedAfterItIsWritten)
{
    SurveyRecord r = record_samples::twoParcels();
    ASSERT_TRUE(store.save(r).result.ok);

    // Same site and passage: the same file, no box, the list as it was; the opened name's case
    // and extension do not matter.
    r.visitComment = "corrigé";
    r.notValidated = false;
    const SaveResult same = store.save(r, kSite + "~Passage N2.flx2009");
    ASSERT_TRUE(same.result.ok);
    EXPECT_FALSE(same.listChanged);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(reopened(kFile2), r);

    // Another observer: the user is told, the new file is written with the old one's permissions,
    // the old one goes.
    ASSERT_TRUE(QFile::setPermissions(path(kFile2), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    r.observerName = "MARTIN";
    r.siteName = "SHOC-26~Valence~Les Baumes~MARTIN Jean~Hiver 2009-2010";
    env.dialogs().answer(platform::mb::OK);
    const SaveResult renamed = store.save(r, kFile2);
    ASSERT_TRUE(renamed.result.ok);
    EXPECT_TRUE(renamed.listChanged);
    const QString newName = r.siteName + "~Passage N2.FLX2009";
    EXPECT_EQ(files(), QStringList({newName}));
    EXPECT_EQ(platform::fileMode(path(newName)), 0600);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked()[0].text.startsWith("ATTENTION !\n\n"));
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains(kFile2 + "\n\n va être renommé en \n\n" + newName));
    EXPECT_EQ(reopened(newName), r);

    // Renamed onto the file of another record: refused, both files stay.
    writeRecord(kFile2, 2, "autre relevé");
    const QByteArray otherBytes = readBytes(path(kFile2));
    const QByteArray ownBytes = readBytes(path(newName));
    SurveyRecord back = r;
    back.observerName = "DUPONT";
    back.siteName = kSite;
    env.dialogs().answer(platform::mb::OK);
    env.dialogs().answer(platform::mb::No);
    const SaveResult refused = store.save(back, newName);
    EXPECT_TRUE(refused.declined);
    EXPECT_EQ(readBytes(path(kFile2)), otherBytes);
    EXPECT_EQ(readBytes(path(newName)), ownBytes);
}

// Saved again after it was made, and after a change of letter case only renamed its file, a
// record asks nothing, on a file system whose renames take a new inode number too (FUSE folders
// giving a hard link a number of its own).
class RecordStoreFileSystemTest : public RecordStoreTest, public ::testing::WithParamInterface<int>
{
protected:
    const testing_support::LimitedFileSystem limited{GetParam()};
};

TEST_P(RecordStoreFileSystemTest, AChangeOfLetterCaseOnlyRenamesTheFile)
{
    SurveyRecord r = record_samples::twoParcels();
    ASSERT_TRUE(store.save(r).result.ok);
    r.visitComment = "saisi de nouveau";
    ASSERT_TRUE(store.save(r, kFile2).result.ok);

    r.placeName = "LES BAUMES";
    r.siteName = "SHOC-26~Valence~LES BAUMES~DUPONT Jean~Hiver 2009-2010";
    const QString newName = r.siteName + "~Passage N2.FLX2009";
    const SaveResult saved = store.save(r, kFile2);
    ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
    EXPECT_EQ(saved.fileName, newName);
    EXPECT_TRUE(saved.listChanged);
    EXPECT_TRUE(saved.notice.isEmpty());
    EXPECT_EQ(files(), QStringList{newName});
    EXPECT_EQ(reopened(newName), r);
    r.visitComment = "corrigé après";
    ASSERT_TRUE(store.save(r, newName).result.ok);
    EXPECT_EQ(reopened(newName), r);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, RecordStoreFileSystemTest,
                         ::testing::Values(0, testing_support::NoRenameFlags |
                                                  testing_support::LinksTakeNewInodes));

// "Étang" typed (composed) and "Étang" of a file written by a system that decomposes accents are
// one name: the record of that name is the same record, another one is not replaced unasked.
TEST_F(RecordStoreTest, NamesEqualOnceTheirAccentsAreComposedAreOneName)
{
    SurveyRecord r = record_samples::twoParcels();
    r.placeName = "Étang";
    r.siteName = "SHOC-26~Valence~Étang~DUPONT Jean~Hiver 2009-2010";
    const QString composed = r.siteName + "~Passage N2.FLX2009";
    const QString decomposed = composed.normalized(QString::NormalizationForm_D);
    writeRecord(decomposed, 1, "enregistré ailleurs");
    const QByteArray other = readBytes(path(decomposed));

    env.dialogs().answer(platform::mb::No);
    const SaveResult fresh = store.save(r);
    EXPECT_TRUE(fresh.declined);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains("existe déjà"));
    EXPECT_EQ(files(), QStringList{decomposed});
    EXPECT_EQ(readBytes(path(decomposed)), other);

    // Opened from that file and saved: the same file, without a box.
    r.visitComment = "corrigé";
    const SaveResult same = store.save(r, decomposed);
    ASSERT_TRUE(same.result.ok) << same.result.error.toStdString();
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(files(), QStringList{decomposed});
    EXPECT_EQ(reopened(decomposed).visitComment, "corrigé");
}

TEST_F(RecordStoreTest, FailedWriteLeavesTheOldFileByteForByte)
{
    SurveyRecord r = record_samples::twoParcels();
    r.parcels.resize(1);
    ASSERT_TRUE(store.save(r).result.ok);
    const QByteArray before = readBytes(path(kFile2));

    SurveyRecord bigger = record_samples::twoParcels();
    bigger.generalComment = QString(4000, 'x');
    const qint64 limit = before.size() + 100;
    SaveResult rewritten, renamed;
    {
        testing_support::FileSizeLimit full(limit);
        rewritten = store.save(bigger, kFile2);
        bigger.observerName = "MARTIN";
        bigger.siteName = "SHOC-26~Valence~Les Baumes~MARTIN Jean~Hiver 2009-2010";
        env.dialogs().answer(platform::mb::OK);
        renamed = store.save(bigger, kFile2);
    }
    for (const SaveResult* s : {&rewritten, &renamed}) {
        EXPECT_FALSE(s->result.ok);
        EXPECT_TRUE(s->result.error.contains("le disque est plein")) << s->result.error.toStdString();
    }
    EXPECT_EQ(readBytes(path(kFile2)), before);
    EXPECT_EQ(files(), QStringList({kFile2}));
}

TEST_F(RecordStoreTest, SetAsideNeverReplacesAFile)
{
    writeRecord("SHOC-A-B~Passage N1.FLX2009", 1, "premier");
    const SetAsideResult first = store.setAside("shoc-a-b~passage n1.flx2009");
    ASSERT_TRUE(first.result.ok) << first.result.error.toStdString();
    EXPECT_EQ(first.fileName, "SHOC@A@B~Passage N1.FLX2009");
    const QByteArray firstBytes = readBytes(path(first.fileName));

    writeRecord("SHOC-A-B~Passage N1.FLX2009", 1, "second");
    const SetAsideResult second = store.setAside("SHOC-A-B~Passage N1.FLX2009");
    ASSERT_TRUE(second.result.ok);
    EXPECT_EQ(second.fileName, "SHOC@A@B~Passage N1 (2).FLX2009");
    EXPECT_EQ(readBytes(path(first.fileName)), firstBytes);

    writeBytes(path("SHOC-A-B~PASSAGE N2.FLX"), "ancien");
    EXPECT_EQ(store.setAside("SHOC-A-B~PASSAGE N2.FLX").fileName, "SHOC@A@B~PASSAGE N2.@FLX");
    EXPECT_EQ(files(), QStringList({"SHOC@A@B~PASSAGE N2.@FLX", "SHOC@A@B~Passage N1 (2).FLX2009",
                                    "SHOC@A@B~Passage N1.FLX2009"}));
    EXPECT_FALSE(store.setAside("absent.FLX2009").result.ok);

    // A name of the longest length is set aside again and again: its own part makes room for the
    // number.
    const QString name255 = "SHOC-" + QString(115, QChar(u'é')) + "x~Passage N1.FLX2009";
    ASSERT_EQ(name255.toUtf8().size(), kMaxFileNameBytes);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        writeRecord(name255, 1, QString::number(k));
        const SetAsideResult again = store.setAside(name255);
        ASSERT_TRUE(again.result.ok) << again.result.error.toStdString();
        EXPECT_EQ(again.fileName, common::numberedName(RecordStore::asideName(name255), k));
        EXPECT_LE(again.fileName.toUtf8().size(), kMaxFileNameBytes);
        EXPECT_EQ(reopened(again.fileName).visitComment, QString::number(k));
    }

    // The data folder is the setting "Dossier", the program-wide data folder by default.
    gstr_Dossier = env.dataFolder();
    EXPECT_EQ(RecordStore::fromSettings().folder(), env.dataFolder());
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier", env.path("Autre")));
    EXPECT_EQ(RecordStore::fromSettings().folder(), env.path("Autre"));
}

namespace {

// The largest real record: 30 parcels, each listing every species of the largest species table,
// with long texts everywhere.
SurveyRecord largestRecord()
{
    SurveyRecord r = record_samples::twoParcels();
    r.generalComment = QString(2000, QChar(u'é'));
    r.visitComment = QString(2000, QChar(u'è'));
    Parcel parcel = r.parcels[0];
    parcel.location.information = QString(200, QChar(u'à'));
    SpeciesTable species;
    for (int k = 0; k < file::kLargestSpeciesTable; ++k)
        species.append({"O",
                        QStringLiteral("ESP%1").arg(k, 3, 10, QLatin1Char('0')),
                        QStringLiteral("Fauvette à tête noire du sud n°%1").arg(k).leftJustified(40, u'.'),
                        {"9999", "9999", "9999", "9999"},
                        "39996",
                        QString("ALIM~CHAN~NICH~POSE~").repeated(2)});
    parcel.species = species;
    r.parcels = QList<Parcel>(kMaxParcels, parcel);
    return r;
}

} // namespace

TEST_F(RecordStoreTest, TheLargestRealRecordIsReadAndFilesBeyondItAreRefusedUnread)
{
    const SurveyRecord largest = largestRecord();
    const SaveResult saved = store.save(largest);
    ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
    const qint64 bytes = QFileInfo(path(saved.fileName)).size();
    EXPECT_LT(bytes, file::kMaxFileBytes);
    grid::Grid g;
    ASSERT_TRUE(store.load(saved.fileName, g).ok);
    EXPECT_LE(g.rows(), file::kMaxFileRows);
    EXPECT_EQ(reopened(saved.fileName), largest);

    // A file larger than a record can be, and one that declares more rows than a record has: each
    // is refused before it is read whole, naming the file, and stays as it was.
    ASSERT_TRUE(hostile_files::padded(path("trop grand.FLX2009"), hostile_files::recordHead(),
                                      file::kMaxFileBytes + 1));
    ASSERT_TRUE(hostile_files::declaredRows(path("trop de lignes.FLX2009"), file::kMaxFileRows + 1, 2));
    const struct
    {
        QString name;
        QString why;
    } cases[] = {
        {"trop grand.FLX2009", "il est trop grand pour un relevé"},
        {"trop de lignes.FLX2009", QString("il annonce %1 lignes").arg(file::kMaxFileRows + 1)},
    };
    for (const auto& c : cases) {
        const QByteArray before = readBytes(path(c.name));
        const platform::Result r = store.load(c.name, g);
        EXPECT_TRUE(r.error.startsWith(
            QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2").arg(path(c.name), c.why)))
            << r.error.toStdString();
        EXPECT_EQ(readBytes(path(c.name)), before);
    }
}

// What the save writes, the readers take: a record whose file is exactly as large as a record file
// may be (in bytes, then in rows) is saved and reopened; one byte or one row more, and the save
// refuses it, naming the bound, before any question, whether it is a new record, the same file
// written again or a renamed one: the files on disk stay as they were.
TEST_F(RecordStoreTest, ARecordIsSavedUpToTheBoundsOfARecordFileAndRefusedBeyond)
{
    const auto fileSize = [](const SurveyRecord& r) {
        grid::Grid g;
        RecordLayout::write(r, g);
        return qint64(grid::GridFile::toComplete(g).size());
    };
    const auto fileRows = [](const SurveyRecord& r) {
        grid::Grid g;
        RecordLayout::write(r, g);
        return qint64(g.rows());
    };
    // As many bytes as a record file may have, the general comment making up the difference.
    SurveyRecord bytes = record_samples::twoParcels();
    for (int i = 0; i < 3 && fileSize(bytes) != file::kMaxFileBytes; ++i)
        bytes.generalComment += QString(file::kMaxFileBytes - fileSize(bytes), QLatin1Char('x'));
    ASSERT_EQ(fileSize(bytes), file::kMaxFileBytes);
    // As many rows as a record file may have: 30 parcels, species rows making up the difference.
    SurveyRecord rows = record_samples::twoParcels();
    rows.passage = 3;
    rows.parcels[0].species = SpeciesTable{};
    rows.parcels = QList<Parcel>(kMaxParcels, rows.parcels[0]);
    const qint64 speciesRows = file::kMaxFileRows - fileRows(rows);
    for (int p = 0; p < kMaxParcels; ++p)
        rows.parcels[p].species = SpeciesTable(speciesRows / kMaxParcels + (p < speciesRows % kMaxParcels),
                                               {"O", "ALAARV", "Alouette", {"1", "", "", ""}, "1", ""});
    ASSERT_EQ(fileRows(rows), file::kMaxFileRows);

    const QString beyondBytes =
        QStringLiteral(
            "Le relevé n'est pas enregistré : il serait trop grand pour un relevé (%1 octets, %2 au "
            "plus). Veuillez raccourcir les commentaires, les autres textes saisis ou les listes d'espèces.")
            .arg(file::kMaxFileBytes + 1)
            .arg(file::kMaxFileBytes);
    const QString beyondRows =
        QStringLiteral("Le relevé n'est pas enregistré : il aurait %1 lignes de 72 colonnes, plus que n'en "
                       "compte un relevé (%2 lignes et %3 cellules au plus). Veuillez raccourcir les "
                       "commentaires, les autres textes saisis ou les listes d'espèces.")
            .arg(file::kMaxFileRows + 1)
            .arg(file::kMaxFileRows)
            .arg(file::kMaxFileCells);
    const struct
    {
        const char* name;
        SurveyRecord& record;
        std::function<void(SurveyRecord&)> oneMore;
        QString refused;
    } cases[] = {
        {"bytes", bytes, [](SurveyRecord& r) { r.generalComment += 'x'; }, beyondBytes},
        {"rows", rows, [](SurveyRecord& r) { r.parcels[0].species->append(r.parcels[0].species->first()); },
         beyondRows},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SaveResult saved = store.save(c.record);
        ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
        EXPECT_EQ(reopened(saved.fileName), c.record);

        SurveyRecord beyond = c.record;
        c.oneMore(beyond);
        SurveyRecord renamed = beyond;
        renamed.observerFirstName = "Paul";
        renamed.siteName = "SHOC-26~Valence~Les Baumes~DUPONT Paul~Hiver 2009-2010";
        const QStringList before = files();
        const QByteArray stored = readBytes(path(saved.fileName));
        for (const auto& [record, opened] : {std::pair{beyond, QString()}, std::pair{beyond, saved.fileName},
                                             std::pair{renamed, saved.fileName}}) {
            const SaveResult refused = store.save(record, opened);
            EXPECT_EQ(refused.result.error, c.refused);
            EXPECT_FALSE(refused.result.ok);
            EXPECT_EQ(files(), before);
            EXPECT_EQ(readBytes(path(saved.fileName)), stored);
        }
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
}

// Two copies of the program save a new record of the same site and passage at the same moment,
// 30 times: each record that a copy says it saved is on disk, so the other copy was asked.
TEST_F(RecordStoreTest, TwoCopiesSavingTheSameNewRecordKeepBothOrAsk)
{
    const QStringList comments = {"copie 1", "copie 2"};
    for (int trial = 0; trial < 30; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = env.path(QStringLiteral("Essai %1").arg(trial));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QStringList out =
            testing_support::runTwoCopies(MIRELOT_RECORD_COPY, {folder, comments[0]}, {folder, comments[1]});
        const RecordStore copies(folder);
        const QStringList written = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        ASSERT_EQ(written, QStringList{kFile2}) << out.join("|").toStdString();
        const RecordReadResult onDisk = copies.open(kFile2, {RecordMode::Update, {}, {}});
        ASSERT_TRUE(onDisk.result.ok);
        for (int copy = 0; copy < 2; ++copy) {
            SCOPED_TRACE(out[copy].toStdString());
            if (out[copy] == "saved " + kFile2 + "\n")
                EXPECT_EQ(onDisk.reading.record.visitComment, comments[copy])
                    << "a record said saved is lost";
            else
                EXPECT_EQ(out[copy], "asked\ndeclined\n");
        }
    }
}
