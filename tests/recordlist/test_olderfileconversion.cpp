#include "common/Globals.h"
#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/FileLock.h"
#include "recordlist/OlderFileConversion.h"
#include "tests/samples/ListSamples.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/RawNames.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace recordlist;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

class Observer : public ConversionObserver
{
public:
    void conversionBegins(int fileCount) override { calls << QString("begins %1").arg(fileCount); }
    void converting(int index, const QString& fileName) override
    {
        calls << QString("%1 %2").arg(index).arg(fileName);
    }
    void conversionEnds() override { calls << "ends"; }
    QStringList calls;
};

class ConversionTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString path(const QString& name) const { return QDir(env.dataFolder()).filePath(name); }
    QStringList files(const QString& sub = QString()) const
    {
        return QDir(QDir(env.dataFolder()).filePath(sub)).entryList(QDir::Files, QDir::Name);
    }
    // An older record file: the same cells, in bytes that this release would not write (a column
    // line it leaves out), so that a copy of the bytes and a copy of the cells differ.
    void writeOlder(const QString& name, const QString& date)
    {
        list_samples::writeRecord(env.dataFolder(), name, list_samples::recordOf(1, date));
        QByteArray bytes = readBytes(path(name));
        bytes.replace("\ncellules\n", "\ncolonne\t70\t0\t0\t0\t0\t-1\t\t\ncellules\n");
        writeBytes(path(name), bytes);
    }
    // The grid of a file, as a record reader sees it.
    QString dateIn(const QString& p) const
    {
        grid::Grid g;
        if (!grid::GridFile::load(g, p, grid::GridFile::Complete))
            return "illisible";
        return g.cell(g.findRow("Date, N° Passage et commentaire relevé", 0, 1), 2);
    }
};

} // namespace

TEST_F(ConversionTest, EachOlderFileIsReadOnItsOwnAndNothingIsReplaced)
{
    writeOlder("SHOC-A-B~PASSAGE N1.FLX", "01/12/2009");
    writeOlder("shoc-c-d~passage n2.flx", "02/12/2009");  // lower case: read under its real name
    writeBytes(path("SHOC-E-F~PASSAGE N1.FLX"), "abîmé"); // cannot be read
    writeOlder("SHOC-G-H~PASSAGE N1.FLX", "03/12/2009");
    writeOlder("SHOC-G-H~PASSAGE N1.FLX2009", "04/12/2009"); // newer record of the same name
    const QByteArray ab = readBytes(path("SHOC-A-B~PASSAGE N1.FLX"));
    const QByteArray cd = readBytes(path("shoc-c-d~passage n2.flx"));
    const QByteArray gh = readBytes(path("SHOC-G-H~PASSAGE N1.FLX"));
    const QByteArray gh2009 = readBytes(path("SHOC-G-H~PASSAGE N1.FLX2009"));

    Observer observer;
    const ConversionReport report = convertOlderFiles(env.dataFolder(), &observer);
    EXPECT_EQ(observer.calls,
              QStringList({"begins 4", "0 SHOC-A-B~PASSAGE N1.FLX", "1 shoc-c-d~passage n2.flx",
                           "2 SHOC-E-F~PASSAGE N1.FLX", "3 SHOC-G-H~PASSAGE N1.FLX", "ends"}));
    EXPECT_EQ(report.converted, QStringList({"SHOC-A-B~PASSAGE N1.FLX", "shoc-c-d~passage n2.flx"}));
    ASSERT_EQ(report.skipped.size(), 2);
    EXPECT_EQ(report.skipped[0].fileName, "SHOC-E-F~PASSAGE N1.FLX");
    EXPECT_TRUE(report.skipped[0].reason.contains("SHOC-E-F~PASSAGE N1.FLX"));
    EXPECT_EQ(report.skipped[1].fileName, "SHOC-G-H~PASSAGE N1.FLX");
    EXPECT_TRUE(report.skipped[1].reason.contains("existe déjà"));
    EXPECT_TRUE(report.notSetAside.isEmpty());

    // Converted: the record under a name in capitals with the same cells, the backup a copy of the
    // bytes, the older file set aside with its bytes.
    EXPECT_EQ(files(), QStringList({"SHOC-A-B~PASSAGE N1.FLX2009", "SHOC-C-D~PASSAGE N2.FLX2009",
                                    "SHOC-E-F~PASSAGE N1.FLX", "SHOC-G-H~PASSAGE N1.FLX",
                                    "SHOC-G-H~PASSAGE N1.FLX2009", "SHOC@A@B~PASSAGE N1.@FLX",
                                    "SHOC@C@D~PASSAGE N2.@FLX"}));
    EXPECT_EQ(dateIn(path("SHOC-A-B~PASSAGE N1.FLX2009")), "01/12/2009");
    EXPECT_EQ(dateIn(path("SHOC-C-D~PASSAGE N2.FLX2009")), "02/12/2009");
    EXPECT_EQ(readBytes(path("SHOC@A@B~PASSAGE N1.@FLX")), ab);
    EXPECT_EQ(readBytes(path("SHOC@C@D~PASSAGE N2.@FLX")), cd);
    EXPECT_EQ(files("Save V2008"), QStringList({"SHOC-A-B~PASSAGE N1.FLX", "SHOC-C-D~PASSAGE N2.FLX"}));
    EXPECT_EQ(readBytes(path("Save V2008/SHOC-A-B~PASSAGE N1.FLX")), ab);
    EXPECT_EQ(readBytes(path("Save V2008/SHOC-C-D~PASSAGE N2.FLX")), cd);
    // Skipped: left as they were, and no record made of another file's content.
    EXPECT_EQ(readBytes(path("SHOC-E-F~PASSAGE N1.FLX")), "abîmé");
    EXPECT_EQ(readBytes(path("SHOC-G-H~PASSAGE N1.FLX")), gh);
    EXPECT_EQ(readBytes(path("SHOC-G-H~PASSAGE N1.FLX2009")), gh2009);

    // Once more: nothing left to convert, the same two skipped.
    Observer again;
    const ConversionReport second = convertOlderFiles(env.dataFolder(), &again);
    EXPECT_TRUE(second.converted.isEmpty());
    EXPECT_EQ(second.skipped, report.skipped);
    EXPECT_EQ(again.calls.size(), 4);
}

TEST_F(ConversionTest, WithoutOlderFilesNothingIsShownOrMade)
{
    writeOlder("SHOC-A~Passage N1.FLX2009", "01/12/2009");
    writeOlder("SHOC@A@B~PASSAGE N1.@FLX", "01/12/2009");
    Observer observer;
    const ConversionReport report = convertOlderFiles(env.dataFolder(), &observer);
    EXPECT_TRUE(report.converted.isEmpty());
    EXPECT_TRUE(report.skipped.isEmpty());
    EXPECT_TRUE(observer.calls.isEmpty());
    EXPECT_EQ(QDir(env.dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(ConversionTest, BackupAndSetAsideNamesAlreadyTakenGetANumber)
{
    writeOlder("SHOC-A-B~PASSAGE N1.FLX", "01/12/2009");
    QDir(env.dataFolder()).mkdir("Save V2008");
    writeBytes(path("Save V2008/SHOC-A-B~PASSAGE N1.FLX"), "ancienne sauvegarde");
    writeBytes(path("SHOC@A@B~PASSAGE N1.@FLX"), "ancien fichier mis de côté");
    const QByteArray ab = readBytes(path("SHOC-A-B~PASSAGE N1.FLX"));

    const ConversionReport report = convertOlderFiles(env.dataFolder());
    EXPECT_EQ(report.converted.size(), 1);
    EXPECT_EQ(readBytes(path("Save V2008/SHOC-A-B~PASSAGE N1.FLX")), "ancienne sauvegarde");
    EXPECT_EQ(readBytes(path("Save V2008/SHOC-A-B~PASSAGE N1 (2).FLX")), ab);
    EXPECT_EQ(readBytes(path("SHOC@A@B~PASSAGE N1.@FLX")), "ancien fichier mis de côté");
    EXPECT_EQ(readBytes(path("SHOC@A@B~PASSAGE N1 (2).@FLX")), ab);
    EXPECT_EQ(dateIn(path("SHOC-A-B~PASSAGE N1.FLX2009")), "01/12/2009");
}

TEST_F(ConversionTest, AFileLeftUnconvertedIsToldOnceInOneBox)
{
    writeBytes(path("SHOC-E-F~PASSAGE N1.FLX"), "abîmé");
    writeOlder("SHOC-G-H~PASSAGE N1.FLX", "03/12/2009");
    writeOlder("SHOC-G-H~PASSAGE N1.FLX2009", "04/12/2009");
    const QStringList older = {"SHOC-E-F~PASSAGE N1.FLX", "SHOC-G-H~PASSAGE N1.FLX"};
    ToldOnce told;

    env.dialogs().answer(platform::mb::OK);
    ConversionReport report = convertOlderFilesAndTell(env.dataFolder(), older, told);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    const auto& box = env.dialogs().asked()[0];
    EXPECT_EQ(box.text, unconvertedText(report.skipped));
    EXPECT_TRUE(box.text.contains("SHOC-E-F~PASSAGE N1.FLX"));
    EXPECT_TRUE(box.text.contains("SHOC-G-H~PASSAGE N1.FLX"));
    EXPECT_EQ(box.style, platform::mb::OKOnly | platform::mb::Exclamation);
    EXPECT_EQ(box.title, common::kProgramName);

    // The next refresh: the same files, nothing told. A file newly left over is told alone.
    report = convertOlderFilesAndTell(env.dataFolder(), older, told);
    EXPECT_EQ(report.skipped.size(), 2);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    writeBytes(path("SHOC-I-J~PASSAGE N1.FLX"), "abîmé aussi");
    env.dialogs().answer(platform::mb::OK);
    convertOlderFilesAndTell(env.dataFolder(), older + QStringList{"SHOC-I-J~PASSAGE N1.FLX"}, told);
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_TRUE(env.dialogs().asked()[1].text.contains("SHOC-I-J~PASSAGE N1.FLX"));
    EXPECT_FALSE(env.dialogs().asked()[1].text.contains("SHOC-E-F~PASSAGE N1.FLX"));
}

// A lock of the data folder that cannot be had (junk left by a copy stopped while making it): one
// wait and one word in the run of the program; the files are converted without it.
TEST_F(ConversionTest, ALockThatCannotBeHadIsWaitedForAndToldOnce)
{
    const QStringList older = {"SHOC-A-B~PASSAGE N1.FLX", "SHOC-C-D~PASSAGE N1.FLX",
                               "SHOC-E-F~PASSAGE N1.FLX"};
    for (const QString& name : older)
        writeOlder(name, "01/12/2009");
    writeBytes(path(kConversionLockFile), "\x01 pas un verrou");
    platform::LockWaitProbe probe(std::chrono::milliseconds(100));
    ToldOnce told;
    env.dialogs().answer(platform::mb::OK);
    EXPECT_EQ(convertOlderFilesAndTell(env.dataFolder(), older, told).converted, older);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text.count("une autre copie de Mirelot ne le libère pas"), 1);

    writeOlder("SHOC-G-H~PASSAGE N1.FLX", "01/12/2009"); // the next refresh
    EXPECT_EQ(convertOlderFilesAndTell(env.dataFolder(), {"SHOC-G-H~PASSAGE N1.FLX"}, told).converted.size(),
              1);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(probe.waitsInVain(), 1);
}

// A conversion cut off after writing the record, before setting the older file aside: the next one
// finds the same cells in both and sets the older file aside; it does not back it up twice.
TEST_F(ConversionTest, AConversionCutOffBeforeTheSetAsideIsFinished)
{
    writeOlder("SHOC-A-B~PASSAGE N1.FLX", "01/12/2009");
    const QByteArray older = readBytes(path("SHOC-A-B~PASSAGE N1.FLX"));
    QDir(env.dataFolder()).mkdir("Save V2008");
    writeBytes(path("Save V2008/SHOC-A-B~PASSAGE N1.FLX"), older);
    grid::Grid g;
    ASSERT_TRUE(grid::GridFile::load(g, path("SHOC-A-B~PASSAGE N1.FLX"), grid::GridFile::Complete));
    ASSERT_TRUE(grid::GridFile::save(g, path("SHOC-A-B~PASSAGE N1.FLX2009"), grid::GridFile::Complete, true));
    const QByteArray record = readBytes(path("SHOC-A-B~PASSAGE N1.FLX2009"));

    const ConversionReport report = convertOlderFiles(env.dataFolder());
    EXPECT_EQ(report.converted, QStringList{"SHOC-A-B~PASSAGE N1.FLX"});
    EXPECT_TRUE(report.skipped.isEmpty());
    EXPECT_EQ(files(), QStringList({"SHOC-A-B~PASSAGE N1.FLX2009", "SHOC@A@B~PASSAGE N1.@FLX"}));
    EXPECT_EQ(readBytes(path("SHOC@A@B~PASSAGE N1.@FLX")), older);
    EXPECT_EQ(readBytes(path("SHOC-A-B~PASSAGE N1.FLX2009")), record);
    EXPECT_EQ(files("Save V2008"), QStringList{"SHOC-A-B~PASSAGE N1.FLX"});
}

// An older file beside its record is compared with it only when it is within the bounds of a
// record: one larger than any record (a sparse one, taking no room on disk) or declaring more rows
// than a record has is refused from its size and first lines, named in the reason, and left as it
// is with the record, whether the record exists or not.
TEST_F(ConversionTest, AnOlderFileBeyondTheBoundsOfARecordIsRefusedBeforeItIsRead)
{
    const QString reason = QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2");
    const struct
    {
        const char* name;
        bool withRecord;
        std::function<bool(const QString&)> make;
        QString why;
    } cases[] = {
        {"SHOC-A-B~PASSAGE N1.FLX", true,
         [](const QString& p) { return hostile_files::sparse(p, 64LL << 20); },
         "il est trop grand pour un relevé (67108864 octets"},
        {"SHOC-C-D~PASSAGE N1.FLX", true,
         [](const QString& p) { return hostile_files::declaredRows(p, 10'000'000, 1); },
         "il annonce 10000000 lignes"},
        {"SHOC-E-F~PASSAGE N1.FLX", false,
         [](const QString& p) { return hostile_files::sparse(p, 64LL << 20); },
         "il est trop grand pour un relevé (67108864 octets"},
    };
    QStringList expected;
    for (const auto& c : cases) {
        ASSERT_TRUE(c.make(path(c.name)));
        expected << c.name;
        if (c.withRecord) {
            writeOlder(QString(c.name) + "2009", "01/12/2009");
            expected << QString(c.name) + "2009";
        }
    }
    const qint64 sparseSize = QFileInfo(path(cases[0].name)).size();

    const ConversionReport report = convertOlderFiles(env.dataFolder());
    EXPECT_TRUE(report.converted.isEmpty());
    ASSERT_EQ(report.skipped.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(report.skipped[i].fileName, cases[i].name);
        EXPECT_TRUE(report.skipped[i].reason.startsWith(reason.arg(path(cases[i].name), cases[i].why)))
            << report.skipped[i].reason.toStdString();
    }
    EXPECT_EQ(files(), expected);
    EXPECT_TRUE(files(kBackupFolder).isEmpty());
    EXPECT_EQ(QFileInfo(path(cases[0].name)).size(), sparseSize);
    EXPECT_EQ(dateIn(path("SHOC-A-B~PASSAGE N1.FLX2009")), "01/12/2009");
}

TEST_F(ConversionTest, ANameThatWouldLeadOutOfTheDataFolderIsNotConverted)
{
    const QString leading = "SHOC-x\\..\\..\\victime-fichier.FLX";
    writeOlder(leading, "01/12/2008");
    testing_support::writeBytes(env.path("victime-fichier.FLX"), "à garder tel quel");
    const auto outside = env.filesOutsideDataFolder();

    const ConversionReport report = convertOlderFiles(env.dataFolder());
    EXPECT_EQ(env.filesOutsideDataFolder(), outside);
    EXPECT_EQ(files(), QStringList{leading});
    EXPECT_TRUE(files(kBackupFolder).isEmpty());
    EXPECT_TRUE(report.converted.isEmpty());
    EXPECT_EQ(report.skipped,
              QList<SkippedFile>({{leading, common::checkPlainName(env.dataFolder(), leading).error}}));
}

// An older file named in Latin-1 is not converted, the reason told; the file whose UTF-8 name
// shows "\uFFFD" in the same place is converted once, for itself.
TEST_F(ConversionTest, ANameThatIsNotUtf8IsNotConvertedNorTakenForAnother)
{
    const QString d = env.dataFolder();
    writeOlder("latin", "01/12/2008");
    const testing_support::BytesNamedFile latin1(path("latin"), d, "SHOC-26-\xC9tang~PASSAGE N1.FLX");
    const QString latin = QString("SHOC-26-") + QChar(0xDCC9) + "tang~PASSAGE N1.FLX";
    const QString replacement = QString("SHOC-26-") + QChar::ReplacementCharacter + "tang~PASSAGE N1.FLX";
    writeOlder(replacement, "02/12/2008");

    const ConversionReport report = convertOlderFiles(d);
    EXPECT_EQ(report.converted, QStringList{replacement});
    EXPECT_EQ(report.skipped, QList<SkippedFile>({{latin, common::checkPlainName(d, latin).error}}));
    EXPECT_EQ(testing_support::namesAsBytes(d),
              QList<QByteArray>({"SHOC-26-\xC9tang~PASSAGE N1.FLX", (replacement.toUpper() + "2009").toUtf8(),
                                 QString("SHOC@26@\uFFFDTANG~PASSAGE N1.@FLX").toUtf8(), "Save V2008"}));
    EXPECT_EQ(dateIn(path(replacement.toUpper() + "2009")), "02/12/2008");
    EXPECT_EQ(files(kBackupFolder), QStringList{replacement.toUpper()});
}
