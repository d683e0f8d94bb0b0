// A record's whole road through the record window, offscreen on a temporary data folder: typed
// through the widgets, saved with scripted answers, read back from its file, reopened for
// modification, renamed; saved despite anomalies; a write that fails. The rules of the file and
// of the validation are the core's tests.

#include "common/Globals.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "record/LocationGrid.h"
#include "record/RecordStore.h"
#include "record/RecordValidator.h"
#include "record/SiteName.h"
#include "record/SpeciesStore.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/record/RecordWindowFixture.h"
#include "tests/record/ReferenceTables.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/GridTyping.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace record;
using grid::Grid;
using grid::GridView;
using record_samples::controls;
namespace mb = platform::mb;
using Window = std::unique_ptr<frm_Releve_SHOC>;

namespace {

const QString kSite = "SHOC-26~Valence~Les Plaines~DURAND Jean~Hiver 2009-2010";

class RecordSaveTest : public record_samples::RecordWindowFixture
{
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        record_samples::writeSmallTables(env.programFolder());
    }

    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        QApplication::processEvents();
    }
    static void moveTo(QWidget* next)
    {
        next->setFocus();
        QApplication::processEvents();
    }
    // An item chosen by the user (the list's own activation).
    static void choose(QComboBox* combo, const QString& text)
    {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
        Q_EMIT combo->activated(i);
    }
    // An item of a list box found by the beginning the user types.
    static void chooseTyped(QComboBox* combo, const QString& typed, const QString& item)
    {
        combo->setFocus();
        QTest::keyClicks(combo, typed);
        QApplication::processEvents();
        EXPECT_EQ(combo->currentText(), item);
    }
    // A cell typed as the user types it: the first key on the grid opens the cell's editor, the
    // others go to the editor, Enter stores.
    static void typeCell(GridView* view, int row, int col, const QString& text)
    {
        EXPECT_TRUE(testing_support::typeCell(view, row, col, text)) << text.toStdString();
    }
    static void toggleCell(GridView* view, int row, int col)
    {
        view->grid().select(row, col);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Space);
    }

    // A new record of two parcels typed as the user does, page by page. Parcel 2's duration is
    // left out when asked.
    void typeNewRecord(frm_Releve_SHOC& w, bool secondDuration = true)
    {
        chooseTyped(controls(w).cbo_Dept, "26", "26 - Drôme");
        chooseTyped(controls(w).cbo_Communes, "V", "Valence");
        type(controls(w).txt_Lieudit, "Les Plaines");
        type(controls(w).Txt_Nom_Observateur, "DURAND");
        type(controls(w).txt_Prénom_Observateur, "Jean");
        type(controls(w).txt_Email, "jean.durand@example.org");
        moveTo(controls(w).cbo_Saison);
        env.dialogs().answer(mb::Yes);
        controls(w).cmd_Free_Nbr_Points->click();
        type(controls(w).txt_Nbr_Relevés, "2");
        moveTo(controls(w).cbo_Saison);
        ASSERT_EQ(w.parcelCount(), 2);

        controls(w).ogl_Divers->setCurrentIndex(PageLocations);
        const QString positions[2][2] = {{"801000", "2000000"}, {"802000", "2001000"}};
        for (int p = 1; p <= 2; ++p) {
            typeCell(controls(w).flx_Coordonnées, p, LocLongitude, positions[p - 1][0]);
            typeCell(controls(w).flx_Coordonnées, p, LocLatitude, positions[p - 1][1]);
            typeCell(controls(w).flx_Coordonnées, p, LocAltitude, "120");
            toggleCell(controls(w).flx_Desc_Parcelles, p, 1 + p);
        }

        controls(w).ogl_Divers->setCurrentIndex(PageVisit);
        type(controls(w).txt_Date, "15/01/2010");
        moveTo(controls(w).opt_Passage[0]);
        controls(w).opt_Passage[0]->click();
        for (int p = 1; p <= 2; ++p)
            typeCell(controls(w).flx_Date_Météo, p, 2, "1");

        controls(w).ogl_Divers->setCurrentIndex(PageSpecies);
        ASSERT_EQ(controls(w).ogl_Divers->currentIndex(), int(PageSpecies))
            << env.dialogs().texts().join('|').toStdString();
        type(controls(w).txt_Heure, "08:30");
        type(controls(w).txt_Durée, "00:20");
        moveTo(controls(w).chk_Chasse[0]);
        controls(w).chk_Chasse[0]->click();
        typeCell(controls(w).flx_Espèces, 1, SpeciesCodeColumn, "ALAARV");
        typeCell(controls(w).flx_Espèces, 1, SpeciesFirstCountColumn, "4");
        controls(w).Tab_Relevé->setCurrentIndex(1);
        ASSERT_EQ(w.shownParcel(), 2) << env.dialogs().texts().join('|').toStdString();
        type(controls(w).txt_Heure, "09:00");
        if (secondDuration)
            type(controls(w).txt_Durée, "00:15");
        moveTo(controls(w).chk_Chasse[1]);
    }

    // The name of the record typeNewRecord makes.
    static QString typedRecordName() { return kSite + "~Passage N1.FLX2009"; }

    // The typed new record saved and closed, then opened again for a change.
    Window savedAndReopened()
    {
        Window w = openShown(RecordMode::New);
        if (!w)
            return w;
        typeNewRecord(*w);
        env.dialogs().answer(mb::Yes);
        controls(*w).cmd_exit->click();
        EXPECT_EQ(files(), QStringList{typedRecordName()});
        w.reset();
        return openShown(RecordMode::Update, typedRecordName());
    }

    // The shipped species table in place of the small one.
    void installShippedSpecies()
    {
        for (const data::StarterTable& t : data::starterTables()) {
            if (t.fileName != "Espèces.DOV")
                continue;
            Grid species;
            ASSERT_EQ(data::starterGrid(species, t), QString());
            ASSERT_TRUE(grid::GridFile::save(species, QDir(env.programFolder()).filePath(t.fileName),
                                             t.format, true));
        }
    }

    QStringList files() const { return QDir(env.dataFolder()).entryList(QDir::Files, QDir::Name); }
    std::unique_ptr<Grid> stored(const QString& name) const
    {
        auto g = std::make_unique<Grid>();
        EXPECT_TRUE(RecordStore(env.dataFolder()).load(name, *g).ok);
        return g;
    }
};

} // namespace

TEST_F(RecordSaveTest, TypedSavedReopenedAndRenamed)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w);
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(w->isModified());
    const SurveyRecord typed = w->currentRecord();

    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    EXPECT_EQ(env.dialogs().texts(),
              QStringList{"Veuillez confirmer votre intention de sauvegarder les données"});
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->isModified());
    const QString name = kSite + "~Passage N1.FLX2009";
    ASSERT_EQ(files(), QStringList{name});
    const std::unique_ptr<Grid> file = stored(name);
    const Grid& g = *file;
    EXPECT_EQ(g.cell(1, 3), "");
    EXPECT_EQ(g.cell(9, 1), "Coordonnées");
    EXPECT_EQ(g.cell(10, 7), "801000");
    EXPECT_EQ(g.cell(11, 8), "2001000");
    EXPECT_EQ(g.cell(10, 21), "1");
    EXPECT_EQ(g.cell(12, 2), "15/01/2010");
    EXPECT_EQ(g.cell(12, 3), "0");
    EXPECT_EQ(g.cell(13, 1), "Météo");
    EXPECT_EQ(g.cell(14, 3), "1");
    EXPECT_EQ(g.cell(16, 1), "Paramètres saisies");
    EXPECT_EQ(g.cell(17, 1), "Espèces Parcelle N°1");
    EXPECT_EQ(g.cell(17, 2), "08:30");
    EXPECT_EQ(g.cell(17, 4), "1");
    EXPECT_EQ(g.cell(19, 3), "ALAARV");
    EXPECT_EQ(g.cell(19, 5), "4");
    EXPECT_EQ(g.cell(19, 9), "4");
    EXPECT_EQ(g.cell(20, 1), "Espèces Parcelle N°2");
    EXPECT_EQ(g.cell(20, 3), "00:15");

    // Reopened for modification: the same record.
    w.reset();
    w = openShown(RecordMode::Update, name);
    ASSERT_TRUE(w);
    SurveyRecord reopened = w->currentRecord();
    SurveyRecord expected = typed;
    for (int p = 0; p < 2; ++p) // the save validated the positions and wrote the Lambert columns
        expected.parcels[p].location = reopened.parcels[p].location;
    EXPECT_EQ(reopened.parcels[0].location.longitude, "801000");
    EXPECT_TRUE(reopened.parcels[0].location.validated);
    EXPECT_EQ(reopened.parcels[0].species, expected.parcels[0].species);
    EXPECT_EQ(reopened, expected);
    EXPECT_FALSE(w->isModified());

    // The observer's first name changed: told, written under the new name, the old file gone.
    type(controls(*w).txt_Prénom_Observateur, "Paul");
    moveTo(controls(*w).txt_Lieudit);
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    controls(*w).cmd_exit->click();
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_TRUE(env.dialogs().texts()[1].contains(" va être renommé en "));
    const QString renamed = "SHOC-26~Valence~Les Plaines~DURAND Paul~Hiver 2009-2010~Passage N1.FLX2009";
    EXPECT_EQ(files(), QStringList{renamed});
    EXPECT_EQ(stored(renamed)->cell(12, 2), "15/01/2010");
    EXPECT_FALSE(w->isVisible());
}

// A record's list texts in another letter case choose their items (never an item that merely
// begins with them); a text that no item is stays in the record, and is saved again, until the
// user chooses an item of that list.
TEST_F(RecordSaveTest, ListTextsFoundLetterCaseAsideOrKept)
{
    SurveyRecord r = record_samples::twoParcels();
    r.commune = "VALENCE";
    r.network = "SHOC / SUIVI HIVERNAL";
    r.habitatType = "CH - Céréales";
    r.siteName = sub_Build_Nom_Zone(r).text;
    const SaveResult found = RecordStore(env.dataFolder()).save(r);
    ASSERT_TRUE(found.result.ok) << found.result.error.toStdString();
    r.passage = 3;
    r.network = "RZO / Disparu";
    r.habitatType = "ch";
    const SaveResult kept = RecordStore(env.dataFolder()).save(r);
    ASSERT_TRUE(kept.result.ok) << kept.result.error.toStdString();

    Window w = openShown(RecordMode::Update, found.fileName);
    ASSERT_TRUE(w);
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    SurveyRecord shown = w->currentRecord();
    EXPECT_EQ(QStringList({shown.commune, shown.network, shown.habitatType}),
              QStringList({"Valence", "shoc / Suivi hivernal", "ch - Céréales"}));

    env.dialogs().answer(mb::OK); // what the window tells of the two texts
    w = openShown(RecordMode::Update, kept.fileName);
    ASSERT_TRUE(w);
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(controls(*w).cbo_Réseau->currentIndex(), -1);
    shown = w->currentRecord();
    EXPECT_EQ(shown.network + "|" + shown.habitatType, "RZO / Disparu|ch");
    choose(controls(*w).cbo_Réseau, "shoc / Suivi hivernal");
    shown = w->currentRecord();
    EXPECT_EQ(shown.network + "|" + shown.habitatType, "shoc / Suivi hivernal|ch");
}

// A parcel without its duration: saved only when the user says so, then marked "Non Validé".
TEST_F(RecordSaveTest, AnomaliesSavedOnRequestAsNotValidated)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w, false);
    ASSERT_FALSE(HasFailure());

    // No to the partial save, then No to closing unsaved: nothing written, the window open.
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::No);
    env.dialogs().answer(mb::No);
    controls(*w).cmd_exit->click();
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_TRUE(env.dialogs().texts()[0].startsWith("Veuillez indiquer la durée du relevé."));
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
    EXPECT_TRUE(env.dialogs().texts()[1].endsWith("Est-ce normal ?"));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModified());

    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    const QString name = kSite + "~Passage N1.FLX2009";
    ASSERT_EQ(files(), QStringList{name});
    EXPECT_EQ(stored(name)->cell(1, 3), "Non Validé");
    EXPECT_FALSE(w->isVisible());
}

// "Sauvegarder" saves as "Enregistrer et fermer" does and keeps the window open; saved again, the
// record goes to the same file.
TEST_F(RecordSaveTest, SaveButtonSavesAndKeepsTheWindowOpen)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w, false);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(controls(*w).cmd_Save->isEnabled());

    // Parcel 2 without its duration: saved on request, marked "Non Validé".
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    QTest::mouseClick(controls(*w).cmd_Save, Qt::LeftButton);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().texts()[0].startsWith("Veuillez indiquer la durée du relevé."));
    const QString name = kSite + "~Passage N1.FLX2009";
    ASSERT_EQ(files(), QStringList{name});
    EXPECT_EQ(stored(name)->cell(1, 3), "Non Validé");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModified());

    // The duration given: confirmed, the same file written again, validated.
    type(controls(*w).txt_Durée, "00:15");
    moveTo(controls(*w).chk_Chasse[1]);
    EXPECT_TRUE(w->isModified());
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    QTest::mouseClick(controls(*w).cmd_Save, Qt::LeftButton);
    EXPECT_EQ(env.dialogs().texts(),
              QStringList{"Veuillez confirmer votre intention de sauvegarder les données"});
    ASSERT_EQ(files(), QStringList{name});
    EXPECT_EQ(stored(name)->cell(1, 3), "");
    EXPECT_EQ(stored(name)->cell(20, 3), "00:15");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModified());
}

// A write that fails (the disk full): the reason is told, the window stays open and modified, and
// the files on disk are as they were.
TEST_F(RecordSaveTest, AFailedWriteKeepsTheWindowAndTheFiles)
{
    Window w = savedAndReopened();
    ASSERT_TRUE(w);
    ASSERT_FALSE(HasFailure());
    const QString name = typedRecordName();
    const QByteArray before = testing_support::readBytes(QDir(env.dataFolder()).filePath(name));
    type(controls(*w).txt_Prénom_Observateur, "Paul");
    moveTo(controls(*w).txt_Lieudit);
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    env.dialogs().answer(mb::OK);
    {
        const testing_support::FileSizeLimit full(64);
        controls(*w).cmd_exit->click();
    }
    ASSERT_EQ(env.dialogs().asked().size(), 3) << env.dialogs().texts().join('|').toStdString();
    EXPECT_EQ(env.dialogs().asked()[2].style, mb::OKOnly | mb::Critical);
    EXPECT_TRUE(env.dialogs().texts()[2].contains("Paul")) << env.dialogs().texts()[2].toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(files(), QStringList{name});
    EXPECT_EQ(testing_support::readBytes(QDir(env.dataFolder()).filePath(name)), before);
}

// A general comment pasted so long that the record's file would pass the size of a record file: the
// save says so, naming the bound; the window stays open with everything typed and nothing is
// written. Shortened, the record saves.
TEST_F(RecordSaveTest, ARecordBeyondTheSizeOfARecordFileIsRefusedAtTheSave)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    QPlainTextEdit* comment = controls(*w).Txt_Commentaires;
    const QString pasted(1'400'000, QChar(u'€')); // three bytes each in the file
    QApplication::clipboard()->setText(pasted);
    comment->setFocus();
    QTest::keyClick(comment, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(comment->toPlainText().size(), pasted.size());
    typeNewRecord(*w);
    ASSERT_FALSE(HasFailure());
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::OK);
    controls(*w).cmd_exit->click();
    ASSERT_EQ(env.dialogs().asked().size(), 2) << env.dialogs().texts().join('|').toStdString();
    EXPECT_EQ(env.dialogs().asked()[1].style, mb::OKOnly | mb::Critical);
    EXPECT_TRUE(env.dialogs().texts()[1].startsWith(
        "Le relevé n'est pas enregistré : il serait trop grand pour un relevé ("))
        << env.dialogs().texts()[1].toStdString();
    EXPECT_TRUE(env.dialogs().texts()[1].contains(" octets, 4194304 au plus)"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(comment->toPlainText(), pasted);
    EXPECT_EQ(controls(*w).txt_Lieudit->text(), "Les Plaines");
    EXPECT_EQ(files(), QStringList());

    comment->setFocus();
    QTest::keyClick(comment, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(comment, "Haies basses");
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    const QString name = kSite + "~Passage N1.FLX2009";
    ASSERT_EQ(files(), QStringList{name});
    EXPECT_EQ(stored(name)->cell(4, 2), "Haies basses");
}

// An address pasted from a mail with its line end, a telephone number with a tab: refused when the
// record is saved, the box naming the field and the character; nothing is written.
TEST_F(RecordSaveTest, AValuePastedWithATabOrALineEndIsRefusedAndNothingIsWritten)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w);
    ASSERT_FALSE(HasFailure());
    const struct
    {
        QLineEdit* box;
        QString pasted;
        QString reason;
        QString retyped;
    } rows[] = {
        {controls(*w).txt_Email, "jean.durand@example.org\n",
         "L'adresse courriel contient un saut de ligne (U+000A) après « jean.durand@example.org »",
         "jean.durand@example.org"},
        {controls(*w).txt_Téléphone, "04 75\t00 00 00",
         "Le téléphone contient une tabulation (U+0009) après « 04 75 »", "04 75 00 00 00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box->objectName().toStdString());
        row.box->setFocus();
        row.box->selectAll();
        QApplication::clipboard()->setText(row.pasted);
        QTest::keyClick(row.box, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(row.box->text(), row.pasted);
        moveTo(controls(*w).cbo_Saison);
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        QTest::mouseClick(controls(*w).cmd_Save, Qt::LeftButton);
        ASSERT_EQ(env.dialogs().asked().size(), 1) << env.dialogs().texts().join('|').toStdString();
        EXPECT_EQ(env.dialogs().texts()[0],
                  row.reason +
                      ", qui ne peut pas figurer dans une valeur d'une seule ligne : veuillez le retirer.");
        EXPECT_EQ(env.dialogs().asked()[0].style, mb::OKOnly | mb::Exclamation);
        EXPECT_TRUE(files().isEmpty());
        EXPECT_TRUE(w->isVisible());
        type(row.box, row.retyped);
    }
    // The values typed again: saved.
    moveTo(controls(*w).cbo_Saison);
    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    QTest::mouseClick(controls(*w).cmd_Save, Qt::LeftButton);
    EXPECT_EQ(files(), QStringList{kSite + "~Passage N1.FLX2009"})
        << env.dialogs().texts().join('|').toStdString();
}

// Another copy of the program saved the record while this window had it open: the save asks;
// "Non" keeps the window open with what was typed and the other copy's file as it is, "Oui"
// replaces it.
TEST_F(RecordSaveTest, ARecordSavedMeanwhileByAnotherCopyIsReplacedOnlyOnYes)
{
    Window w = savedAndReopened();
    ASSERT_TRUE(w);
    ASSERT_FALSE(HasFailure());
    const QString name = typedRecordName();
    type(controls(*w).txt_Email, "paul.durand@example.org");
    moveTo(controls(*w).txt_Lieudit);
    // The other copy's save: the same record with another e-mail, in a new file.
    const QString file = QDir(env.dataFolder()).filePath(name);
    std::unique_ptr<Grid> others = stored(name);
    others->setCell(6, 2, "autre@example.org");
    ASSERT_TRUE(grid::GridFile::save(*others, file, grid::GridFile::Complete, true).ok);
    const QByteArray before = testing_support::readBytes(file);

    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::No);
    controls(*w).cmd_exit->click();
    EXPECT_EQ(env.dialogs().texts(),
              QStringList({"Veuillez confirmer votre intention de sauvegarder les données",
                           RecordStore::changedQuestion(name)}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(controls(*w).txt_Email->text(), "paul.durand@example.org");
    EXPECT_EQ(testing_support::readBytes(file), before);

    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    EXPECT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(files(), QStringList{name});
    EXPECT_EQ(stored(name)->cell(6, 2), "paul.durand@example.org");
}

// "Zoom -5%" lowers every cell by half a point and stops at 1; "Zoom 100%" gives back the size
// the grid had when the window opened.
TEST_F(RecordSaveTest, SpeciesGridZoom)
{
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w); // the species page opens
    ASSERT_FALSE(HasFailure());
    Grid& g = controls(*w).flx_Espèces->grid();
    const double opened = g.fontSize(0, 0);
    controls(*w).cmd_Mask_Col[2]->click();
    EXPECT_DOUBLE_EQ(g.fontSize(0, 0), opened - 0.5);
    EXPECT_DOUBLE_EQ(g.fontSize(g.rows() - 1, g.cols() - 1), opened - 0.5);
    for (int i = 0; i < 40; ++i)
        controls(*w).cmd_Mask_Col[2]->click();
    EXPECT_GT(g.fontSize(0, 0), 0.5);
    EXPECT_LE(g.fontSize(0, 0), 1.0);
    controls(*w).cmd_Mask_Col[3]->click();
    EXPECT_DOUBLE_EQ(g.fontSize(0, 0), opened);
}

// A winter visit typed key by key: the record above, and two more species, a "Buse variable" on
// parcel 2 by its name in small letters and a "Pigeon ramier" back on parcel 1 by the beginning
// of its name. Saved, the file holds the three species with their counts, each on its parcel.
TEST_F(RecordSaveTest, WinterVisitTypedKeyByKey)
{
    installShippedSpecies();
    Window w = openShown(RecordMode::New);
    ASSERT_TRUE(w);
    typeNewRecord(*w);
    ASSERT_FALSE(HasFailure());
    typeCell(controls(*w).flx_Espèces, 1, SpeciesNameColumn, "buse");
    typeCell(controls(*w).flx_Espèces, 1, SpeciesFirstCountColumn + 3, "1");
    controls(*w).Tab_Relevé->setCurrentIndex(0);
    ASSERT_EQ(w->shownParcel(), 1) << env.dialogs().texts().join('|').toStdString();
    typeCell(controls(*w).flx_Espèces, 2, SpeciesNameColumn, "pigeon r");
    typeCell(controls(*w).flx_Espèces, 2, SpeciesFirstCountColumn + 1, "12");
    ASSERT_FALSE(HasFailure());

    env.dialogs().clearAsked();
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    ASSERT_EQ(env.dialogs().texts(),
              QStringList{"Veuillez confirmer votre intention de sauvegarder les données"});
    const std::unique_ptr<Grid> file = stored(kSite + "~Passage N1.FLX2009");
    QStringList species;
    for (int r = 0; r < file->rows(); ++r) {
        if (file->cell(r, 1).startsWith("Espèces Parcelle"))
            species << file->cell(r, 1);
        else if (file->cell(r, 2) == "O")
            species << file->rangeText({r, 3, r, 9});
    }
    EXPECT_EQ(species, QStringList({"Espèces Parcelle N°1", "ALAARV\tAlouette des champs\t4\t\t\t\t4",
                                    "COLPAL\tPigeon ramier\t\t12\t\t\t12", "Espèces Parcelle N°2",
                                    "BUTBUT\tBuse variable\t\t\t\t1\t1"}));
}
