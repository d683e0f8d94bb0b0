// Two running copies of the program with the same record open: every save either is in a file or
// was answered by a question, never lost without a word.
#include "platform/Dialogs.h"
#include "record/RecordStore.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TwoCopies.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <iostream>
#include <sys/stat.h>

using namespace record;
using testing_support::readBytes;
namespace mb = platform::mb;

namespace {

const QString kSite = QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");
const QString kFile2 = kSite + QStringLiteral("~Passage N2.FLX2009");
const QString kRenamed =
    QStringLiteral("SHOC-26~Valence~Les Baumes~MARTIN Jean~Hiver 2009-2010~Passage N2.FLX2009");

// What one copy printed.
struct CopyOutput
{
    QStringList saved; // the comments of the saves said done, in order
    bool asked = false;
    bool told = false;
    bool notice = false;
    bool failed = false;

    explicit CopyOutput(const QString& out)
    {
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("saved ")))
                saved << line.section(QStringLiteral(" | "), 1);
            asked = asked || line == QLatin1String("asked");
            told = told || line == QLatin1String("told");
            notice = notice || line == QLatin1String("notice");
            failed =
                failed || line.startsWith(QLatin1String("failed")) || line.startsWith(QLatin1String("ended"));
        }
    }
};

class RecordCopiesTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;

    // A fresh data folder holding the record file both copies open.
    QString trialFolder(int trial)
    {
        const QString folder = env.path(QStringLiteral("Essai %1").arg(trial));
        EXPECT_TRUE(QDir().mkpath(folder));
        SurveyRecord r = record_samples::twoParcels();
        r.visitComment = QStringLiteral("ouvert");
        record_samples::writeRecord(QDir(folder).filePath(kFile2), r);
        return folder;
    }
    // The visit comment of every record file of the folder, set-aside ones included.
    static QStringList commentsOnDisk(const QString& folder)
    {
        QStringList out;
        const RecordStore store(folder);
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            const RecordReadResult r = store.open(name, {RecordMode::Update, {}, {}});
            EXPECT_TRUE(r.result.ok) << r.result.error.toStdString();
            out << r.reading.record.visitComment;
        }
        return out;
    }
    static QStringList run(const QStringList& first, const QStringList& second)
    {
        return testing_support::runTwoCopies(MIRELOT_RECORD_OPEN_COPY, first, second);
    }
};

// A save said done whose record is on no file, while the other copy was never allowed by its user
// to replace it.
bool lostSilently(const CopyOutput& copy, const CopyOutput& other, const QString& otherAnswer,
                  const QStringList& onDisk)
{
    const bool replacedWithConsent = other.asked && otherAnswer == QLatin1String("oui");
    return !copy.saved.isEmpty() && !onDisk.contains(copy.saved.last()) && !replacedWithConsent;
}

} // namespace

// ------------------------------------------------------------------ one copy, the other's work simulated

namespace {

class OpenedRecordTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    RecordStore store{env.dataFolder()};

    QString path(const QString& name) const { return QDir(env.dataFolder()).filePath(name); }
    QStringList files() const { return QDir(env.dataFolder()).entryList(QDir::Files | QDir::Hidden); }
    // The record file written as another copy saves it; opened by this copy.
    SurveyRecord opened()
    {
        SurveyRecord r = record_samples::twoParcels();
        r.visitComment = QStringLiteral("ouvert");
        record_samples::writeRecord(path(kFile2), r);
        const RecordReadResult read = store.open(kFile2, {RecordMode::Update, {}, {}});
        EXPECT_TRUE(read.result.ok);
        return read.reading.record;
    }
    QString commentOf(const QString& name) const
    {
        return RecordStore(env.dataFolder())
            .open(name, {RecordMode::Update, {}, {}})
            .reading.record.visitComment;
    }
    static void setModified(const QString& file, const timespec& when)
    {
        const timespec times[2] = {{0, UTIME_OMIT}, when};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    }
    static timespec modifiedOf(const QString& file)
    {
        struct stat st;
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
        return st.st_mtim;
    }
};

} // namespace

// What another copy may have done to the opened file since it was read: nothing (no question),
// or changed its size, its modification time (by a nanosecond), or its inode (a new file of the
// same size and time): the question, "Non" keeping the other copy's file, "Oui" replacing it; the
// next save of this copy asks nothing.
TEST_F(OpenedRecordTest, ChangedFileAskedBeforeItIsReplaced)
{
    const struct
    {
        const char* what;
        std::function<void(const QString&)> change;
    } cases[] = {
        {"rien", {}},
        {"taille",
         [](const QString& file) {
             const timespec before = modifiedOf(file);
             QFile f(file);
             ASSERT_TRUE(f.open(QIODevice::Append));
             f.write("\r\n");
             f.close();
             setModified(file, before);
         }},
        {"heure",
         [](const QString& file) {
             setModified(file, [&] {
                 timespec t = modifiedOf(file);
                 t.tv_nsec = (t.tv_nsec + 1) % 1'000'000'000;
                 return t;
             }());
         }},
        {"inode",
         [](const QString& file) {
             const timespec before = modifiedOf(file);
             const QString copy = file + QStringLiteral(".copie");
             ASSERT_TRUE(QFile::copy(file, copy));
             setModified(copy, before);
             ASSERT_TRUE(QFile::remove(file));
             ASSERT_TRUE(QFile::rename(copy, file));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SurveyRecord r = opened();
        if (c.change)
            c.change(path(kFile2));
        const QByteArray others = readBytes(path(kFile2));
        r.visitComment = QStringLiteral("ma modification");
        env.dialogs().clearAsked();
        if (c.change) {
            env.dialogs().answer(mb::No);
            const SaveResult kept = store.save(r, kFile2);
            EXPECT_TRUE(kept.declined);
            EXPECT_FALSE(kept.result.ok);
            ASSERT_EQ(env.dialogs().asked().size(), 1);
            EXPECT_EQ(env.dialogs().asked()[0].text, RecordStore::changedQuestion(kFile2));
            EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
            EXPECT_EQ(readBytes(path(kFile2)), others);
            env.dialogs().answer(mb::Yes);
        }
        const SaveResult replaced = store.save(r, kFile2);
        ASSERT_TRUE(replaced.result.ok) << replaced.result.error.toStdString();
        EXPECT_FALSE(replaced.listChanged);
        EXPECT_EQ(env.dialogs().asked().size(), c.change ? 2 : 0);
        EXPECT_EQ(commentOf(kFile2), "ma modification");
        r.visitComment = QStringLiteral("encore");
        ASSERT_TRUE(store.save(r, kFile2).result.ok);
        EXPECT_EQ(env.dialogs().asked().size(), c.change ? 2 : 0);
        EXPECT_EQ(files(), QStringList{kFile2});
    }
}

// The opened file gone (set aside or renamed by another copy): the user is told, and the record
// is saved as a new record; a file that came under its new name meanwhile is replaced only when
// the user says so.
TEST_F(OpenedRecordTest, GoneFileToldAndSavedAsNew)
{
    SurveyRecord r = opened();
    // Set aside just after this save found it, before it checked it: gone, not changed.
    store.setBeforeOpenedFileCheck([this] { EXPECT_TRUE(store.setAside(kFile2).result.ok); });
    r.visitComment = QStringLiteral("ma modification");
    env.dialogs().answer(mb::OK);
    const SaveResult saved = store.save(r, kFile2);
    store.setBeforeOpenedFileCheck({});
    ASSERT_TRUE(saved.result.ok) << saved.result.error.toStdString();
    EXPECT_TRUE(saved.listChanged);
    EXPECT_EQ(env.dialogs().texts(), QStringList{RecordStore::goneMessage(kFile2, kFile2)});
    EXPECT_EQ(commentOf(kFile2), "ma modification");
    EXPECT_EQ(commentOf(RecordStore::asideName(kFile2)), "ouvert");

    // Renamed by this copy (another observer) after the other copy renamed the opened file and
    // saved a record under that new name.
    env.dialogs().clearAsked();
    ASSERT_TRUE(QFile::rename(path(kFile2), path("SHOC-26~ailleurs~Passage N2.FLX2009")));
    SurveyRecord other = record_samples::twoParcels();
    other.visitComment = QStringLiteral("autre copie");
    record_samples::writeRecord(path(kRenamed), other);
    r.observerName = QStringLiteral("MARTIN");
    r.siteName.replace(QStringLiteral("DUPONT"), QStringLiteral("MARTIN"));
    env.dialogs().answer(mb::OK);
    env.dialogs().answer(mb::No);
    const SaveResult declined = store.save(r, kFile2);
    EXPECT_TRUE(declined.declined);
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(env.dialogs().texts()[0], RecordStore::goneMessage(kFile2, kRenamed));
    EXPECT_TRUE(env.dialogs().texts()[1].contains("existe déjà"));
    EXPECT_EQ(commentOf(kRenamed), "autre copie");
}

// A save that renames the opened file (another observer) after another copy changed it: asked
// before anything is written; "Non" writes nothing, "Oui" writes the new name and removes the
// other copy's file.
TEST_F(OpenedRecordTest, ChangedFileAskedBeforeItIsRenamed)
{
    SurveyRecord r = opened();
    SurveyRecord other = record_samples::twoParcels();
    other.visitComment = QStringLiteral("autre copie");
    record_samples::writeRecord(path(kFile2), other);
    r.observerName = QStringLiteral("MARTIN");
    r.siteName.replace(QStringLiteral("DUPONT"), QStringLiteral("MARTIN"));

    env.dialogs().answer(mb::No);
    EXPECT_TRUE(store.save(r, kFile2).declined);
    EXPECT_EQ(env.dialogs().texts(), QStringList{RecordStore::changedQuestion(kFile2)});
    EXPECT_EQ(files(), QStringList{kFile2});
    EXPECT_EQ(commentOf(kFile2), "autre copie");

    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    const SaveResult renamed = store.save(r, kFile2);
    ASSERT_TRUE(renamed.result.ok) << renamed.result.error.toStdString();
    EXPECT_TRUE(renamed.notice.isEmpty());
    EXPECT_EQ(files(), QStringList{kRenamed});
}

// Both copies save the record they opened at the same moment; one trial in two the users answer
// Yes ("Oui" replaces), the other No.
TEST_F(RecordCopiesTest, TwoCopiesSavingTheSameOpenedRecordLoseNoSaveSilently)
{
    constexpr int kTrials = 40;
    int lost = 0;
    int asked = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = trialFolder(trial);
        const QString answer = trial % 2 ? QStringLiteral("oui") : QStringLiteral("non");
        const QStringList out =
            run({folder, kFile2, "save", "copie 1", answer}, {folder, kFile2, "save", "copie 2", answer});
        const CopyOutput one(out[0]), two(out[1]);
        EXPECT_FALSE(one.failed || two.failed) << out.join("|").toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{kFile2});
        const QStringList onDisk = commentsOnDisk(folder);
        const bool loss = lostSilently(one, two, answer, onDisk) || lostSilently(two, one, answer, onDisk);
        EXPECT_FALSE(loss) << out.join("|").toStdString();
        lost += loss;
        asked += one.asked || two.asked;
    }
    std::cout << "two copies saving: a save lost silently in " << lost << " of " << kTrials << " trials, "
              << "a question in " << asked << std::endl;
}

// Each copy saves 20 times as fast as it can and its user answers No: once the other copy has
// saved, a copy asks at every save; the file holds the last save of the copy that saved.
TEST_F(RecordCopiesTest, TwoCopiesSavingAgainAndAgainAskOnceTheOtherHasSaved)
{
    constexpr int kTrials = 30;
    int lost = 0;
    int silent = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = trialFolder(trial);
        const QStringList out = run({folder, kFile2, "save", "copie 1", "non", "20"},
                                    {folder, kFile2, "save", "copie 2", "non", "20"});
        const CopyOutput one(out[0]), two(out[1]);
        EXPECT_FALSE(one.failed || two.failed) << out.join("|").toStdString();
        const QStringList onDisk = commentsOnDisk(folder);
        const bool loss = lostSilently(one, two, "non", onDisk) || lostSilently(two, one, "non", onDisk);
        EXPECT_FALSE(loss) << out.join("|").toStdString()
                           << "\non disk: " << onDisk.join(" / ").toStdString();
        lost += loss;
        silent += int(one.saved.size() + two.saved.size());
    }
    std::cout << "two copies saving 20 times each: a save lost silently in " << lost << " of " << kTrials
              << " trials; " << silent << " of " << kTrials * 40 << " saves done without a question"
              << std::endl;
}

// One copy renames the record (another observer) while the other saves a change to it.
TEST_F(RecordCopiesTest, RenamingWhileTheOtherCopySavesLosesNoChange)
{
    constexpr int kTrials = 40;
    int lost = 0;
    int twoFiles = 0;
    int toldGone = 0;
    int kept = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = trialFolder(trial);
        const QString answer = trial % 2 ? QStringLiteral("oui") : QStringLiteral("non");
        const QStringList out =
            run({folder, kFile2, "rename", "renommé", answer}, {folder, kFile2, "save", "modifié", answer});
        const CopyOutput renaming(out[0]), saving(out[1]);
        EXPECT_FALSE(renaming.failed || saving.failed) << out.join("|").toStdString();
        const QStringList onDisk = commentsOnDisk(folder);
        const bool loss =
            lostSilently(renaming, saving, answer, onDisk) || lostSilently(saving, renaming, answer, onDisk);
        EXPECT_FALSE(loss) << out.join("|").toStdString();
        lost += loss;
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        EXPECT_TRUE(QSet<QString>(files.begin(), files.end()).subtract({kFile2, kRenamed}).isEmpty())
            << files.join("|").toStdString();
        twoFiles += files.size() == 2;
        toldGone += saving.told;
        kept += renaming.notice;
    }
    std::cout << "renaming while the other copy saves: a change lost silently in " << lost << " of "
              << kTrials << " trials, two files in " << twoFiles << " (the saving copy told in " << toldGone
              << ", the renaming copy told that the former file is kept in " << kept << ")" << std::endl;
}

// One copy's record list sets the record aside while the other copy saves a change to it: the
// change is in the set-aside file or in a new file of the record's name.
TEST_F(RecordCopiesTest, SettingAsideWhileTheOtherCopySavesLosesNoChange)
{
    constexpr int kTrials = 30;
    int lost = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = trialFolder(trial);
        const QStringList out =
            run({folder, kFile2, "aside", "-", "non"}, {folder, kFile2, "save", "modifié", "non"});
        const CopyOutput saving(out[1]);
        EXPECT_TRUE(out[0].startsWith("aside ")) << out[0].toStdString();
        EXPECT_FALSE(saving.failed) << out[1].toStdString();
        const bool loss = !saving.saved.isEmpty() && !commentsOnDisk(folder).contains(saving.saved.last());
        EXPECT_FALSE(loss) << out.join("|").toStdString();
        lost += loss;
    }
    std::cout << "setting aside while the other copy saves: a change lost in " << lost << " of " << kTrials
              << " trials" << std::endl;
}

// One copy's bulk update writes an e-mail address into the record while the other copy saves a
// change to it, its user answering No to any question: the file holds each one said done.
TEST_F(RecordCopiesTest, BulkUpdateBesideASaveLosesNeither)
{
    constexpr int kTrials = 40;
    const QString address = QStringLiteral("nouvelle@adresse.fr");
    int done = 0;
    int lost = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        const QString folder = trialFolder(trial);
        const QStringList out =
            run({folder, kFile2, "bulk", address, "oui"}, {folder, kFile2, "save", "modifié", "non"});
        const CopyOutput bulk(out[0]), saving(out[1]);
        EXPECT_FALSE(bulk.failed || saving.failed) << out.join("|").toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{kFile2});
        const SurveyRecord onDisk =
            RecordStore(folder).open(kFile2, {RecordMode::Update, {}, {}}).reading.record;
        const int missing = int(!saving.saved.isEmpty() && onDisk.visitComment != "modifié") +
                            int(!bulk.saved.isEmpty() && onDisk.email != address);
        EXPECT_EQ(missing, 0) << out.join("|").toStdString();
        done += int(bulk.saved.size() + saving.saved.size());
        lost += missing;
    }
    std::cout << "bulk update beside a save: " << lost << " of " << done << " saves overwritten silently"
              << std::endl;
}
