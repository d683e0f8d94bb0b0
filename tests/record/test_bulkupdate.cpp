#include "record/BulkUpdate.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/SaveFile.h"
#include "record/RecordFileLayout.h"
#include "tests/samples/RecordFileSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

using grid::Grid;
using grid::GridFile;
using testing_support::ScriptedDialogs;
namespace mb = platform::mb;
using namespace testing_support;

using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QString kShoc =
    QStringLiteral("SHOC-26~Crest~Les Plaines~DUPONT Jean~Hiver 2009-2010~Passage 1.FLX2009");
const QString kEps = QStringLiteral("eps-26-0123~Passage 2.FLX2009");
const QString kAbandon = QStringLiteral("La mise à jour a été abandonnée à votre demande");

Grid* loaded(const QString& path)
{
    auto* g = new Grid;
    EXPECT_TRUE(GridFile::load(*g, path, GridFile::Complete).ok) << path.toStdString();
    return g;
}

// A data folder holding one record of each layout; the data folder is the setting "Dossier".
struct Folder
{
    TestEnvironment env;
    QString dir;
    Grid shoc;
    Grid eps;

    Folder()
    {
        dir = env.dataFolder();
        EXPECT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier", dir));
        fillRecordGrid(shoc, RecordSample());
        fillEpsRecordGrid(eps, RecordSample());
        EXPECT_TRUE(writeRecordFile(shoc, path(kShoc)));
        EXPECT_TRUE(writeRecordFile(eps, path(kEps)));
    }
    QString path(const QString& name) const { return dir + "/" + name; }
};

// What a file holds after the update must equal the original with exactly one cell changed.
void expectOnlyCellChanged(const Grid& original, const QString& path, record::UpdateCell cell,
                           const QString& value)
{
    std::unique_ptr<Grid> after(loaded(path));
    Grid expected;
    expected.copyFrom(original);
    expected.setCell(cell.row, cell.col, value);
    EXPECT_EQ(cellTexts(*after), cellTexts(expected));
}

} // namespace

// ---------------------------------------------------------------- which cell, by layout

TEST(BulkUpdateCells, LayoutChosenByTheNamePrefixIgnoringCase)
{
    struct Row
    {
        record::UpdateAction action;
        const char* name;
        record::UpdateCell cell;
    };
    const Row rows[] = {
        {record::UpdateAction::Email, "SHOC-26~Crest~Passage 1.FLX2009", {6, 2}},
        {record::UpdateAction::Observer, "SHOC-26~Crest~Passage 1.FLX2009", {5, 2}},
        {record::UpdateAction::Commune, "SHOC-26~Crest~Passage 1.FLX2009", {2, 3}},
        {record::UpdateAction::Email, "EPS-26-0123.FLX2009", {3, 3}},
        {record::UpdateAction::Observer, "EPS-26-0123.FLX2009", {3, 2}},
        {record::UpdateAction::Commune, "EPS-26-0123.FLX2009", {2, 4}},
        {record::UpdateAction::Email, "eps-26-0123.FLX2009", {3, 3}},
        {record::UpdateAction::Commune, "Eps-x", {2, 4}},
        {record::UpdateAction::Email, "EPS-", {3, 3}},
        // Only the first four characters decide.
        {record::UpdateAction::Email, "EPS_26.FLX2009", {6, 2}},
        {record::UpdateAction::Email, "EPS", {6, 2}},
        {record::UpdateAction::Email, " EPS-26.FLX2009", {6, 2}},
        {record::UpdateAction::Commune, "SHOC-EPS-26.FLX2009", {2, 3}},
        {record::UpdateAction::Observer, "", {5, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(record::cellToUpdate(row.action, QString::fromUtf8(row.name)), row.cell);
    }
}

// ---------------------------------------------------------------- the action on files

TEST(BulkUpdate, EachActionWritesItsCellInBothLayoutsAndNothingElse)
{
    struct Row
    {
        int index;
        const char* value;
        const char* confirmation;
        const char* prompt;
    };
    const Row rows[] = {
        {0, "nouvelle.adresse@example.org", "Confirmez votre intention de modifier l'adresse courriel des ",
         "Veuillez indiquer la nouvelle adresse courriel qui sera propagé dans les fichiers sélectionnés"},
        {1, "MARTIN", "Confirmez votre intention de modifier les noms des observateurs des ",
         "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés"},
        {2, "Aouste-sur-Sye", "Confirmez votre intention de modifier les noms des communes des ",
         "Veuillez indiquer le nouveau nom qui sera propagé dans les fichiers sélectionnés"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        Folder f;
        const QString value = QString::fromUtf8(row.value);
        f.env.dialogs().answer(mb::Yes);
        f.env.dialogs().answerText(value);

        const record::BulkUpdateResult r = record::updateRecordFiles(row.index, {kShoc, kEps});

        EXPECT_FALSE(r.abandoned);
        EXPECT_EQ(r.value, value);
        EXPECT_EQ(r.updated, QStringList({kShoc, kEps}));
        EXPECT_TRUE(r.failures.isEmpty());
        const auto& asked = f.env.dialogs().asked();
        ASSERT_EQ(asked.size(), 2) << "no box after a complete update";
        EXPECT_EQ(asked[0].kind, ScriptedDialogs::Kind::Box);
        EXPECT_EQ(asked[0].text, QString::fromUtf8(row.confirmation) + "2 fichiers sélectionnés\n\n" + kShoc +
                                     "\n" + kEps + "\n");
        EXPECT_EQ(asked[0].style, mb::YesNo);
        EXPECT_EQ(asked[0].title, "Mirelot");
        EXPECT_EQ(asked[1].kind, ScriptedDialogs::Kind::Input);
        EXPECT_EQ(asked[1].text, QString::fromUtf8(row.prompt));
        EXPECT_EQ(asked[1].defaultText, "");

        const record::UpdateAction action = record::UpdateAction(row.index);
        expectOnlyCellChanged(f.shoc, f.path(kShoc), record::cellToUpdate(action, kShoc), value);
        expectOnlyCellChanged(f.eps, f.path(kEps), record::cellToUpdate(action, kEps), value);
    }
}

TEST(BulkUpdate, AnEmptyValueConfirmedClearsTheFieldInEveryFile)
{
    const char* questions[] = {"Confirmez la suppresion de l'adresse courriel dans les fichiers sélectionnés",
                               "Confirmez la suppresion des noms dans les fichiers sélectionnés",
                               "Confirmez la suppresion des noms dans les fichiers sélectionnés"};
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        Folder f;
        f.env.dialogs().answer(mb::Yes);
        f.env.dialogs().answerText(QString());
        f.env.dialogs().answer(mb::Yes);
        const record::BulkUpdateResult r = record::updateRecordFiles(index, {kShoc, kEps});
        ASSERT_EQ(f.env.dialogs().asked().size(), 3);
        EXPECT_EQ(f.env.dialogs().asked()[2].text, QString::fromUtf8(questions[index]));
        EXPECT_EQ(f.env.dialogs().asked()[2].style, mb::YesNo);
        EXPECT_EQ(r.updated.size(), 2);
        const record::UpdateAction action = record::UpdateAction(index);
        expectOnlyCellChanged(f.shoc, f.path(kShoc), record::cellToUpdate(action, kShoc), "");
        expectOnlyCellChanged(f.eps, f.path(kEps), record::cellToUpdate(action, kEps), "");
    }
}

TEST(BulkUpdate, RefusingOrCancellingAbandonsWithoutTouchingAFile)
{
    struct Row
    {
        const char* name;
        std::function<void(ScriptedDialogs&)> answers;
        int boxesBeforeAbandon;
    };
    const Row rows[] = {
        {"confirmation refused", [](ScriptedDialogs& d) { d.answer(mb::No); }, 1},
        // Annuler used to count as an empty value and lead towards clearing the field.
        {"input box cancelled",
         [](ScriptedDialogs& d) {
             d.answer(mb::Yes);
             d.answerText(std::nullopt);
         },
         2},
        {"clearing refused",
         [](ScriptedDialogs& d) {
             d.answer(mb::Yes);
             d.answerText(QString());
             d.answer(mb::No);
         },
         3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Folder f;
        const QByteArray shocBefore = readBytes(f.path(kShoc));
        const QByteArray epsBefore = readBytes(f.path(kEps));
        row.answers(f.env.dialogs());
        f.env.dialogs().answer(mb::OK);

        const record::BulkUpdateResult r = record::updateRecordFiles(0, {kShoc, kEps});

        EXPECT_TRUE(r.abandoned);
        EXPECT_TRUE(r.updated.isEmpty());
        const auto& asked = f.env.dialogs().asked();
        ASSERT_EQ(asked.size(), row.boxesBeforeAbandon + 1);
        EXPECT_EQ(asked.last().text, kAbandon);
        EXPECT_EQ(asked.last().style, mb::OKOnly);
        EXPECT_EQ(readBytes(f.path(kShoc)), shocBefore);
        EXPECT_EQ(readBytes(f.path(kEps)), epsBefore);
    }
}

TEST(BulkUpdate, AValueHoldingATabOrALineBreakIsRefusedAndNothingIsWritten)
{
    struct Row
    {
        int index;
        QString typed;
        QString reason;
    };
    const QString tail = QStringLiteral(", qui ne peut pas figurer dans une valeur d'une seule ligne : "
                                        "veuillez le retirer.");
    const Row rows[] = {
        // Three cells of a spreadsheet pasted into the input box.
        {2, "Crest\tX\nLoriol\n",
         "Le nom de la commune contient une tabulation (U+0009) après « Crest »" + tail},
        {1, "DUPONT\nDURAND",
         "Le nom de l'observateur contient un saut de ligne (U+000A) après « DUPONT »" + tail},
        {0, "\rjean@exemple.fr", "L'adresse courriel contient un retour chariot (U+000D) au début" + tail},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        Folder f;
        const QByteArray shocBefore = readBytes(f.path(kShoc));
        const QByteArray epsBefore = readBytes(f.path(kEps));
        f.env.dialogs().answer(mb::Yes);
        f.env.dialogs().answerText(row.typed);
        f.env.dialogs().answer(mb::OK);

        const record::BulkUpdateResult r = record::updateRecordFiles(row.index, {kShoc, kEps});

        EXPECT_TRUE(r.abandoned);
        EXPECT_EQ(r.refusal, row.reason);
        EXPECT_TRUE(r.updated.isEmpty());
        const auto& asked = f.env.dialogs().asked();
        ASSERT_EQ(asked.size(), 3);
        EXPECT_EQ(asked[2].text, row.reason);
        EXPECT_EQ(asked[2].style, mb::OKOnly | mb::Exclamation);
        EXPECT_EQ(readBytes(f.path(kShoc)), shocBefore);
        EXPECT_EQ(readBytes(f.path(kEps)), epsBefore);
    }
}

TEST(BulkUpdate, AFileThatCannotBeUpdatedIsLeftAloneAndNamedAtTheEnd)
{
    Folder f;
    // Between two good records: a file that is no grid file, a name with no file, a record cut
    // short before the e-mail row, a folder bearing a record's name.
    const QString garbage = QStringLiteral("SHOC-garbage~Passage 1.FLX2009");
    const QString missing = QStringLiteral("SHOC-absent~Passage 1.FLX2009");
    const QString shortRecord = QStringLiteral("SHOC-court~Passage 1.FLX2009");
    const QString folderName = QStringLiteral("SHOC-dossier~Passage 1.FLX2009");
    writeBytes(f.path(garbage), "this is not a record");
    Grid cut;
    cut.setRows(4);
    cut.setCols(72);
    cut.setCell(1, 1, "SHOC");
    ASSERT_TRUE(writeRecordFile(cut, f.path(shortRecord)));
    ASSERT_TRUE(QDir(f.dir).mkdir(folderName));
    const QByteArray garbageBefore = readBytes(f.path(garbage));
    const QByteArray shortBefore = readBytes(f.path(shortRecord));

    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("a@b.fr"));
    f.env.dialogs().answer(mb::OK);
    const record::BulkUpdateResult r =
        record::updateRecordFiles(0, {kShoc, garbage, missing, shortRecord, folderName, kEps});

    EXPECT_EQ(r.updated, QStringList({kShoc, kEps}));
    ASSERT_EQ(r.failures.size(), 4);
    EXPECT_EQ(r.failures[0].fileName, garbage);
    EXPECT_EQ(r.failures[1].fileName, missing);
    EXPECT_EQ(r.failures[2].fileName, shortRecord);
    EXPECT_EQ(r.failures[3].fileName, folderName);
    // The unreadable file keeps its own content: it never receives the previous record.
    EXPECT_EQ(readBytes(f.path(garbage)), garbageBefore);
    EXPECT_EQ(readBytes(f.path(shortRecord)), shortBefore);
    EXPECT_FALSE(QFile::exists(f.path(missing)));
    expectOnlyCellChanged(f.shoc, f.path(kShoc), {6, 2}, "a@b.fr");
    expectOnlyCellChanged(f.eps, f.path(kEps), {3, 3}, "a@b.fr");

    const auto& asked = f.env.dialogs().asked();
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[2].style, mb::OKOnly | mb::Exclamation);
    // The reader's own reason, naming the file, reaches the box.
    EXPECT_EQ(asked[2].text, "Les fichiers suivants n'ont pas été mis à jour :\n\n" + garbage +
                                 " : Le fichier « " + f.path(garbage) +
                                 " » ne peut pas être lu : ce n'est pas un fichier de grille.\n" + missing +
                                 " : fichier introuvable\n" + shortRecord +
                                 " : ce n'est pas un relevé complet (ligne 6, colonne 2 absente)\n" +
                                 folderName + " : fichier introuvable\n");
}

TEST(BulkUpdate, AFullDiskLeavesEveryRecordAsItWasAndSaysWhy)
{
    Folder f;
    const QByteArray shocBefore = readBytes(f.path(kShoc));
    const QByteArray epsBefore = readBytes(f.path(kEps));
    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("a@b.fr"));
    f.env.dialogs().answer(mb::OK);
    record::BulkUpdateResult r;
    {
        FileSizeLimit limit(256);
        r = record::updateRecordFiles(0, {kShoc, kEps});
    }
    EXPECT_TRUE(r.updated.isEmpty());
    EXPECT_EQ(readBytes(f.path(kShoc)), shocBefore);
    EXPECT_EQ(readBytes(f.path(kEps)), epsBefore);
    EXPECT_EQ(QDir(f.dir).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
    const QString full = QStringLiteral(" ne peut pas être écrit : le disque est plein.");
    EXPECT_EQ(f.env.dialogs().asked().value(2).text, "Les fichiers suivants n'ont pas été mis à jour :\n\n" +
                                                         kShoc + " : Le fichier « " + f.path(kShoc) + " »" +
                                                         full + "\n" + kEps + " : Le fichier « " +
                                                         f.path(kEps) + " »" + full + "\n");
}

// A file larger than any record is refused from its first bytes, never read whole, and kept.
TEST(BulkUpdate, AFileBeyondTheBoundsOfARecordIsLeftAlone)
{
    Folder f;
    const QString huge = QStringLiteral("SHOC-immense~Passage 1.FLX2009");
    ASSERT_TRUE(hostile_files::dense(f.path(huge), "SHOC", 30000, 5'000'000));
    const QByteArray before = readBytes(f.path(huge));
    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("a@b.fr"));
    f.env.dialogs().answer(mb::OK);
    const record::BulkUpdateResult r = record::updateRecordFiles(0, {huge, kShoc});
    EXPECT_EQ(r.updated, QStringList({kShoc}));
    ASSERT_EQ(r.failures.size(), 1);
    EXPECT_EQ(r.failures[0].fileName, huge);
    EXPECT_TRUE(r.failures[0].reason.contains(f.path(huge))) << r.failures[0].reason.toStdString();
    EXPECT_EQ(readBytes(f.path(huge)), before);
}

// A record file as large as a record file may be: a value that would make it larger is not written
// (the list and the record window would no longer read it); the file stays as it was, and says why.
TEST(BulkUpdate, AValueThatWouldPassTheBoundsOfARecordIsNotWritten)
{
    Folder f;
    const QString full = QStringLiteral("SHOC-plein~Passage 1.FLX2009");
    Grid g;
    g.copyFrom(f.shoc);
    const auto size = [&g] { return qint64(GridFile::toComplete(g).size()); };
    for (int i = 0; i < 3 && size() != record::file::kMaxFileBytes; ++i)
        g.setCell(4, 2, g.cell(4, 2) + QString(record::file::kMaxFileBytes - size(), QLatin1Char('x')));
    ASSERT_EQ(size(), record::file::kMaxFileBytes);
    ASSERT_TRUE(writeRecordFile(g, f.path(full)));
    const QByteArray before = readBytes(f.path(full));
    const QString value = QString(40, QLatin1Char('a')) + QStringLiteral("@exemple.fr");
    g.setCell(6, 2, value);
    const qint64 grown = size();
    ASSERT_GT(grown, record::file::kMaxFileBytes);

    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(value);
    f.env.dialogs().answer(mb::OK);
    const record::BulkUpdateResult r = record::updateRecordFiles(0, {full, kShoc});
    EXPECT_EQ(r.updated, QStringList({kShoc}));
    ASSERT_EQ(r.failures.size(), 1);
    EXPECT_EQ(r.failures[0].reason,
              QStringLiteral("Le fichier « %1 » n'est pas écrit : il serait trop grand pour un relevé (%2 "
                             "octets, %3 au plus).")
                  .arg(f.path(full))
                  .arg(grown)
                  .arg(record::file::kMaxFileBytes));
    EXPECT_EQ(readBytes(f.path(full)), before);
}

// Another copy's save between the read of a record file and its write is kept, the cell written
// into it; a file removed meanwhile is not written again; one saved at every read is given up.
TEST(BulkUpdate, AFileSavedByAnotherCopyAfterItsReadIsReadAgain)
{
    const struct
    {
        int saves; // by the other copy, one after each read
        bool removed;
        int reads;
        const char* reason;
    } rows[] = {{1, false, 2, nullptr},
                {1, true, 1, "il n'existe plus, il a été renommé ou supprimé pendant la mise à jour"},
                {100, false, 10, "un autre programme le modifie sans cesse"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reads);
        Folder f;
        const QString path = f.path(kShoc);
        Grid other;
        other.copyFrom(f.shoc);
        int reads = 0;
        const platform::Result r = record::updateRecordFile(path, [&](Grid& g) {
            if (reads++ < row.saves) {
                other.setCell(5, 3, QString::number(reads));
                EXPECT_TRUE(row.removed ? QFile::remove(path) : writeRecordFile(other, path));
            }
            g.setCell(6, 2, "a@b.fr");
            return platform::Result::success();
        });
        EXPECT_EQ(reads, row.reads);
        EXPECT_EQ(r.error, row.reason ? platform::writeFailureText(path, row.reason) : QString());
        if (row.removed) {
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        std::unique_ptr<Grid> after(loaded(path));
        EXPECT_EQ(after->cell(5, 3), QString::number(std::min(reads, row.saves))); // the other's last
        EXPECT_EQ(after->cell(6, 2), row.reason ? f.shoc.cell(6, 2) : "a@b.fr");
    }
}

TEST(BulkUpdate, NameMatchedWithoutRegardToCaseUpdatesTheExistingFile)
{
    Folder f;
    const QString asListed = kShoc.toLower();
    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("Mirmande"));
    const record::BulkUpdateResult r = record::updateRecordFiles(2, {asListed});
    EXPECT_EQ(r.updated, QStringList({asListed}));
    expectOnlyCellChanged(f.shoc, f.path(kShoc), {2, 3}, "Mirmande");
    EXPECT_EQ(QDir(f.dir).entryList(QDir::Files).size(), 2) << "no second file under the listed spelling";
}

TEST(BulkUpdate, NoSelectedFileChangesNothing)
{
    Folder f;
    const QByteArray before = readBytes(f.path(kShoc));
    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("x"));
    const record::BulkUpdateResult r = record::updateRecordFiles(1, {});
    EXPECT_FALSE(r.abandoned);
    EXPECT_TRUE(r.updated.isEmpty());
    EXPECT_TRUE(r.failures.isEmpty());
    ASSERT_EQ(f.env.dialogs().asked().size(), 2);
    EXPECT_EQ(
        f.env.dialogs().asked()[0].text,
        "Confirmez votre intention de modifier les noms des observateurs des 0 fichiers sélectionnés\n\n");
    EXPECT_EQ(readBytes(f.path(kShoc)), before);
}

TEST(BulkUpdate, FilesAreTakenFromTheDataFolderSetting)
{
    Folder f;
    // The program-wide data folder holds a record of the same name: only the setting counts.
    const QString other = f.env.path("Autre");
    ASSERT_TRUE(QDir().mkpath(other));
    ASSERT_TRUE(writeRecordFile(f.shoc, other + "/" + kShoc));
    const QByteArray otherBefore = readBytes(other + "/" + kShoc);
    gstr_Dossier = other;

    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("LEROY"));
    record::updateRecordFiles(1, {kShoc});
    expectOnlyCellChanged(f.shoc, f.path(kShoc), {5, 2}, "LEROY");
    EXPECT_EQ(readBytes(other + "/" + kShoc), otherBefore);

    // Without the setting, the program-wide data folder is used.
    f.env.registry().deleteValue(platform::Hive::LocalMachine,
                                 common::machineKey(common::kParametersSection, common::kProgramName),
                                 "Dossier");
    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("ROUX"));
    record::updateRecordFiles(1, {kShoc});
    std::unique_ptr<Grid> after(loaded(other + "/" + kShoc));
    EXPECT_EQ(after->cell(5, 2), "ROUX");
}

TEST(BulkUpdate, MenuClickWorksOnTheRecordListSelection)
{
    Folder f;
    Grid list;
    list.setFormatString("|Fichier");
    list.setRows(4);
    list.setCell(1, 1, kShoc);
    list.setCell(2, 1, QStringLiteral("SHOC-autre~Passage 1.FLX2009"));
    list.setCell(3, 1, kEps);
    list.setSelectionMode(Grid::SelectionMode::ListBox);
    list.setRowSelected(1, true);
    list.setRowSelected(3, true);
    EXPECT_EQ(record::selectedFiles(nullptr), QStringList());
    gobj_Grille_Liste = &list;

    f.env.dialogs().answer(mb::Yes);
    f.env.dialogs().answerText(QStringLiteral("Saillans"));
    const record::BulkUpdateResult r = record::updateSelectedRecordFiles(2);
    gobj_Grille_Liste = nullptr;

    EXPECT_EQ(r.updated, QStringList({kShoc, kEps}));
    expectOnlyCellChanged(f.shoc, f.path(kShoc), {2, 3}, "Saillans");
    expectOnlyCellChanged(f.eps, f.path(kEps), {2, 4}, "Saillans");
}
