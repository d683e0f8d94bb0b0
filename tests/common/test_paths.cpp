#include "common/Paths.h"
#include "platform/SaveFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RawNames.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
} // namespace

TEST(Paths, JoinAndNormalise)
{
    EXPECT_EQ(common::joinPath("/d", "f.txt"), "/d/f.txt");
    EXPECT_EQ(common::joinPath("/d/", "f.txt"), "/d/f.txt");
    EXPECT_EQ(common::joinPath("C:\\Mirelot\\", "f.txt"), "C:/Mirelot/f.txt");
    EXPECT_EQ(common::joinPath("/", "f.txt"), "/f.txt");
    EXPECT_EQ(common::joinPath("", "f.txt"), "f.txt");
    EXPECT_EQ(common::normalisePath("\\home\\u\\\\Relevés\\"), "/home/u/Relevés");
}

TEST(Paths, ListByMaskIgnoringCaseSortedByName)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    for (const char* n : {"SHOC-b~Passage 1.FLX2009", "shoc-A~Passage 2.flx2009", "SHOC@x.FLX2009",
                          "SHOC-c.FLX", "notes.txt", "Guide.PDF", "autre.pdf"})
        touch(QDir(d).filePath(QString::fromUtf8(n)));
    EXPECT_EQ(common::listFiles(d, "SHOC-*.*FLX2009"),
              QStringList({"shoc-A~Passage 2.flx2009", "SHOC-b~Passage 1.FLX2009"}));
    EXPECT_EQ(common::listFiles(d, "*.PDF"), QStringList({"autre.pdf", "Guide.PDF"}));
    EXPECT_EQ(common::listFiles(d, "SHOC-?.FLX"), QStringList({"SHOC-c.FLX"}));
    EXPECT_TRUE(common::listFiles(d + "/absent", "*").isEmpty());
    // Picking out of a listing keeps its order.
    EXPECT_EQ(common::filterNames({"SHOC-c.FLX", "shoc-x-y.flx", "SHOC-b~Passage 1.FLX2009", "a-SHOC-c.FLX"},
                                  "SHOC-*.FLX"),
              QStringList({"SHOC-c.FLX", "shoc-x-y.flx"}));
}

TEST(Paths, MasksMatchWholeNamesWithoutRegardToCase)
{
    const struct
    {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {
        {"SHOC-*.*FLX2009", "shoc-A~Passage N1.flx2009", true},
        {"SHOC-*.*FLX2009", "SHOC-A~Passage N1.@FLX2009", true},
        {"SHOC-*.*FLX2009", "SHOC-A~Passage N1.FLX2009.bak", false},
        {"SHOC-*.*FLX2009", "SHOC-FLX2009", false},
        {"SHOC-*-*.FLX", "SHOC-A-B~Passage N1.FLX", true},
        {"SHOC-*-*.FLX", "SHOC-A~Passage N1.FLX", false},
        {"SHOC-*-*.FLX", "SHOC--.FLX", true},
        {"SHOC-*-*.FLX", "SHOC-A-B~Passage N1.FLX2009", false},
        {"SHOC-?.FLX", "SHOC-c.FLX", true},
        {"SHOC-?.FLX", "SHOC-cd.FLX", false},
        {"*.DOV", "Espèces.dov", true},
        {"ESPÈCES.DOV", "espèces.dov", true},
        {"*", "", true},
        {"a*b*c", "aXbYbc", true},
        {"a*b*c", "aXcYb", false},
        {"a**", "a", true},
        {"[ab]*", "b.txt", true},
        {"[ab]*", "c.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(common::matchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.matches)
            << c.mask << " " << c.name;
}

TEST(Paths, AListingWithStampsGivesTheNamesOfTheListingWithTheirSizes)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    touch(d + "/SHOC-b.FLX2009", "12345");
    touch(d + "/shoc-A.flx2009", "1");
    touch(d + "/notes.txt", "n");
    QDir(d).mkdir("SHOC-dossier.FLX2009");
    const QList<platform::FolderFile> files = common::listFileStamps(d, "SHOC-*.*FLX2009");
    QStringList names;
    for (const platform::FolderFile& f : files)
        names << f.name;
    EXPECT_EQ(names, common::listFiles(d, "SHOC-*.*FLX2009"));
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[1].stamp.size, 5);
    EXPECT_EQ(files[1].stamp, platform::fileStamp(d + "/SHOC-b.FLX2009"));
    EXPECT_EQ(files[1].stamp.modifiedMSecs(),
              QFileInfo(d + "/SHOC-b.FLX2009").lastModified().toMSecsSinceEpoch());
    EXPECT_FALSE(platform::fileStamp(d + "/absent").exists());
}

TEST(Paths, FindAndRenameNeverReplaceAnotherFile)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    touch(d + "/Espèces.DOV", "species");
    touch(d + "/a.txt", "a");
    EXPECT_EQ(common::findFile(d, "espèces.dov"), d + "/Espèces.DOV");
    EXPECT_EQ(common::findFile(d, "absent.dov"), "");
    EXPECT_EQ(common::writePath(d, "ESPÈCES.DOV"), d + "/Espèces.DOV");
    EXPECT_EQ(common::writePath(d, "neuf.dov"), d + "/neuf.dov");

    const platform::Result refused = common::renameFile(d + "/a.txt", d + "/ESPÈCES.dov");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains(d + "/Espèces.DOV")) << refused.error.toStdString();
    QFile species(d + "/Espèces.DOV");
    ASSERT_TRUE(species.open(QIODevice::ReadOnly));
    EXPECT_EQ(species.readAll(), "species");
    EXPECT_TRUE(common::renameFile(d + "/a.txt", d + "/b.txt"));
    EXPECT_TRUE(QFile::exists(d + "/b.txt"));
    EXPECT_FALSE(QFile::exists(d + "/a.txt"));
}

// A name is one name of its folder, taken literally: "\\" and ".." lead nowhere else. (That
// nothing outside the data folder changes is shown by the commands that rename.)
TEST(Paths, NamesAreTakenLiterallyAndOneThatWouldLeadElsewhereIsRefused)
{
    const QString d = "/données";
    const std::pair<QString, QString> rows[] = {
        {"SHOC-x\\..\\..\\v.txt", "Le fichier « SHOC-x\\..\\..\\v.txt » du dossier « /données » est laissé "
                                  "de côté : son nom contient « \\ », que Mirelot lit comme un séparateur de "
                                  "dossiers. Renommez-le sans ce caractère."},
        {"..", "Le nom « .. » ne désigne pas un fichier du dossier « /données »."},
        {".", "Le nom « . » ne désigne pas un fichier du dossier « /données »."},
        {"../v.txt", "Le nom « ../v.txt » ne désigne pas un fichier du dossier « /données »."},
        {"", "Le nom «  » ne désigne pas un fichier du dossier « /données »."},
        {"SHOC-a~b.FLX2009", ""},
    };
    for (const auto& [name, refusal] : rows) {
        EXPECT_EQ(common::checkPlainName(d, name).error, refusal);
        if (!refusal.isEmpty() && !name.contains('/')) { // a rename from such a name
            EXPECT_EQ(common::renameFile(d + "/" + name, d + "/a.txt").error, refusal);
        }
    }
    EXPECT_EQ(common::renameFile(d + "/a.txt", d + "/..").error, rows[1].second);
    EXPECT_EQ(common::findFile(d, "../v.txt"), "");
}

// A name in Latin-1, as an older system wrote it, is read apart from the UTF-8 name that shows the
// same "\uFFFD" in its place, and is never taken for it.
TEST(Paths, ANameThatIsNotUtf8IsNeverTakenForAnother)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    touch(d + "/latin", "latin-1");
    const testing_support::BytesNamedFile latin1(d + "/latin", d, "SHOC-\xC9tang.FLX2009");
    const QString replacement = QString("SHOC-") + QChar::ReplacementCharacter + "tang.FLX2009";
    touch(d + "/" + replacement, "utf-8");
    const QList<QByteArray> before = testing_support::namesAsBytes(d);

    const QString latin = QString("SHOC-") + QChar(0xDCC9) + "tang.FLX2009";
    EXPECT_EQ(common::listFiles(d, "SHOC-*.FLX2009"), QStringList({latin, replacement}));
    const QString reason = common::checkPlainName(d, latin).error;
    EXPECT_EQ(reason, "Le fichier « " + replacement + " » du dossier « " + d +
                          " » est laissé de côté : son nom n'est pas écrit en UTF-8, comme le sont les "
                          "noms de fichiers de ce système (un nom venu d'une ancienne archive, par "
                          "exemple) ; « \uFFFD » y tient la place de l'octet illisible C9. Renommez-le.");
    EXPECT_TRUE(common::checkPlainName(d, replacement));
    EXPECT_EQ(common::findFile(d, latin), "");
    EXPECT_EQ(common::findFile(d, replacement), d + "/" + replacement);
    EXPECT_EQ(common::renameFile(d + "/" + latin, d + "/autre.FLX2009").error, reason);
    EXPECT_EQ(testing_support::namesAsBytes(d), before);
}

TEST(Paths, NamesWrittenComposedOrDecomposedAreOneName)
{
    const QString composed = "SHOC-26~Étang.FLX2009";
    const QString decomposed = composed.normalized(QString::NormalizationForm_D);
    ASSERT_NE(composed, decomposed);
    EXPECT_TRUE(common::sameFileName(composed, decomposed));
    EXPECT_TRUE(common::sameFileName("shoc-26~étang.flx2009", decomposed));
    EXPECT_FALSE(common::sameFileName("SHOC-26~Etang.FLX2009", decomposed));
    EXPECT_FALSE(common::sameFileName("SHOC-26~Étangs.FLX2009", composed));

    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    touch(d + "/" + decomposed, "décomposé");
    touch(d + "/a.txt", "a");
    EXPECT_EQ(common::findFile(d, composed), d + "/" + decomposed);
    EXPECT_EQ(common::findFile(d, "shoc-26~étang.flx2009"), d + "/" + decomposed);
    EXPECT_FALSE(common::renameFile(d + "/a.txt", d + "/" + composed));
    EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 2);
}

// In the data folder a symbolic link is no file of the folder, whatever it leads to: a listing
// marks it (or leaves it out, as a FIFO, when it leads to no regular file) and a name's check
// refuses it; the plain file of a data folder reached through a link is taken.
TEST(Paths, ALinkInTheFolderIsNoFileOfIt)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder() + "-lien";
    ASSERT_TRUE(QFile::link(env.dataFolder(), d));
    touch(d + "/SHOC-a.FLX2009");
    touch(env.path("ailleurs"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "/tube").constData(), 0600), 0);
    const QString targets[] = {env.path("ailleurs"), d + "/tube", d + "/absent"}; // a record, a FIFO, none
    for (const QString& target : targets)
        ASSERT_TRUE(QFile::link(target, d + "/SHOC-" + QFileInfo(target).fileName()));
    const QList<platform::FolderFile> files = common::listFileStamps(d, "SHOC-*");
    ASSERT_EQ(files.size(), 2);
    EXPECT_FALSE(files[0].link || !common::checkPlainName(d, files[0]));
    EXPECT_TRUE(files[1].link);
    const QString refusal = common::checkPlainName(d, files[1]).error;
    EXPECT_EQ(refusal,
              QString("Le fichier « SHOC-ailleurs » du dossier « %1 » est laissé de côté : c'est un "
                      "lien symbolique vers « %2 », et Mirelot ne lit ni n'écrit les fichiers de ce "
                      "dossier au travers d'un lien. Mettez le fichier lui-même dans le dossier à la "
                      "place du lien.")
                  .arg(d, targets[0]));
    for (const QString& target : targets)
        EXPECT_TRUE(common::checkPlainName(d, "SHOC-" + QFileInfo(target).fileName()).error.contains(target));
    EXPECT_EQ(common::findDataFile(d, "shoc-AILLEURS").result.error, refusal);
    EXPECT_EQ(common::findDataFile(d, "shoc-A.flx2009").value, d + "/SHOC-a.FLX2009");
}

// A number fits in the longest name by shortening the name's own part, a character whole.
TEST(Paths, NumberedNamesFitInTheLongestName)
{
    const QString x247 = QString(247, u'x');                   // with ".FLX2009", 255 bytes
    const QString e123 = "a" + QString(123, QChar(u'é'));      // 247 bytes
    const QString e82 = "a" + QString("e\u0301").repeated(82); // 247 bytes, accents apart
    const struct
    {
        QString name;
        int k;
        QString expected;
    } cases[] = {
        {"a.FLX2009", 1, "a.FLX2009"},
        {"a.FLX2009", 2, "a (2).FLX2009"},
        {"sans extension", 3, "sans extension (3)"},
        {x247 + ".FLX2009", 1, x247 + ".FLX2009"},
        {x247 + ".FLX2009", 2, QString(243, u'x') + " (2).FLX2009"},
        {QString(251, u'x') + ".@FLX", 1, QString(250, u'x') + ".@FLX"}, // 256 bytes: shortened
        {e123 + ".FLX2009", 2, "a" + QString(121, QChar(u'é')) + " (2).FLX2009"},
        {e123 + ".FLX2009", 10, "a" + QString(120, QChar(u'é')) + " (10).FLX2009"},
        {e82 + ".FLX2009", 2, "a" + QString("e\u0301").repeated(80) + " (2).FLX2009"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " " + std::to_string(c.k));
        const QString numbered = common::numberedName(c.name, c.k);
        EXPECT_EQ(numbered, c.expected);
        EXPECT_LE(numbered.toUtf8().size(), 255);
    }
}

// The program's own folder is the user's, never the executable's (which a build cleans away).
TEST(ProgramFolder, PerUserFolderNeverTheExecutables)
{
    const QString executableFolder =
        QFileInfo(QFileInfo("/proc/self/exe").canonicalFilePath()).absolutePath();
    ASSERT_TRUE(QFileInfo(executableFolder).isWritable()); // the case where the executable's was chosen
    {
        testing_support::TestEnvironment env;
        EXPECT_EQ(common::defaultProgramFolder(), env.programFolder());
    }
    const QByteArray home = qgetenv("MIRELOT_HOME");
    qunsetenv("MIRELOT_HOME");
    const QString folder = common::defaultProgramFolder();
    if (!home.isNull())
        qputenv("MIRELOT_HOME", home);
    EXPECT_EQ(folder,
              common::normalisePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    EXPECT_NE(folder, executableFolder);
}

struct EarlierTablesTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    QString exe = env.path("exe");
    QString programme = env.path("Programme/neuf"); // not there yet
    EarlierTablesTest() { QDir().mkpath(exe); }
    QStringList files(const QString& folder) const { return common::listFiles(folder, "*"); }
};

TEST_F(EarlierTablesTest, TablesAreCopiedWhereMissingAndNeverReplaced)
{
    touch(exe + "/Espèces.DOV", "espèces d'avant");
    touch(exe + "/email.dov", "adresses d'avant");
    touch(exe + "/carrés.DOV", "carrés d'avant");
    touch(exe + "/notes.txt", "pas une table");
    QDir().mkpath(programme);
    touch(programme + "/Carrés.DOV", "carrés de l'utilisateur");

    ASSERT_TRUE(common::takeOverEarlierTables(exe, programme).ok);
    EXPECT_EQ(files(programme), (QStringList{"Carrés.DOV", "email.dov", "Espèces.DOV"}));
    EXPECT_EQ(testing_support::readBytes(programme + "/Espèces.DOV"), "espèces d'avant");
    EXPECT_EQ(testing_support::readBytes(programme + "/email.dov"), "adresses d'avant");
    EXPECT_EQ(testing_support::readBytes(programme + "/Carrés.DOV"), "carrés de l'utilisateur");
    EXPECT_EQ(files(exe).size(), 4); // the originals stay
}

TEST_F(EarlierTablesTest, FullDiskLeavesNoPartialTable)
{
    touch(exe + "/Communes.DOV", QByteArray(64 * 1024, 'c'));
    platform::Result r = platform::Result::success();
    {
        testing_support::FileSizeLimit limit(4096);
        r = common::takeOverEarlierTables(exe, programme);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(programme + "/Communes.DOV")) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains("le disque est plein")) << r.error.toStdString();
    EXPECT_TRUE(files(programme).isEmpty()) << files(programme).join(' ').toStdString();
    EXPECT_EQ(testing_support::readBytes(exe + "/Communes.DOV").size(), 64 * 1024);
}

// At start: done once; a failure is told and tried again at the next start.
TEST_F(EarlierTablesTest, AtStartOnceAndAFailureIsTold)
{
    common::setProgramFolder(programme);
    touch(exe + "/Réseaux.DOV", QByteArray(64 * 1024, 'r'));
    env.dialogs().answer(platform::mb::OK);
    {
        testing_support::FileSizeLimit limit(4096);
        common::takeOverEarlierTablesAtStart(exe);
    }
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked().front().text.contains("le disque est plein"));

    common::takeOverEarlierTablesAtStart(exe);
    EXPECT_EQ(files(programme), QStringList{"Réseaux.DOV"});
    // Once taken over, a table the user removes from the program's folder is not brought back.
    QFile::remove(programme + "/Réseaux.DOV");
    common::takeOverEarlierTablesAtStart(exe);
    EXPECT_TRUE(files(programme).isEmpty());
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}
