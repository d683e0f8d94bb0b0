// The record window's field checks, parcel tabs, status and page gate as wired in the window,
// offscreen with real focus changes and key events. The checks themselves are the core's tests
// (test_fieldchecks.cpp, test_recordvalidator.cpp).

#include "common/Globals.h"
#include "common/Messages.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridView.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/SpeciesStore.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/record/RecordWindowFixture.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace record;
using grid::Grid;
namespace mb = platform::mb;
using record_samples::controls;
using Window = std::unique_ptr<frm_Releve_SHOC>;

namespace {

class RecordWindowChecksTest : public record_samples::RecordWindowFixture
{
protected:
    // A window shown and active, so that focus changes reach its boxes.
    // The sample record on the starter tables, stored, and opened for modification: complete and
    // saveable.
    Window openSample()
    {
        SurveyRecord r = record_samples::twoParcels();
        r.habitatType = "CH - Culture de céréales d’hiver";
        r.network = "SHOC / Suivi hivernal des oiseaux communs";
        r.siteName = sub_Build_Nom_Zone(r).text;
        const SaveResult saved = RecordStore(env.dataFolder()).save(r);
        EXPECT_TRUE(saved.result.ok) << saved.result.error.toStdString();
        return openShown(RecordMode::Update, saved.fileName);
    }

    // Types into a box, replacing its text, as the user does.
    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    // The user moves to another control; the check of the box left runs once the focus settled.
    static void moveTo(QWidget* next)
    {
        next->setFocus();
        QApplication::processEvents();
    }
    static void unlockParcelCount(frm_Releve_SHOC& w, testing_support::TestEnvironment& env)
    {
        env.dialogs().answer(mb::Yes);
        controls(w).cmd_Free_Nbr_Points->click();
        ASSERT_TRUE(controls(w).txt_Nbr_Relevés->isEnabled());
    }
    QString lastBox() { return env.dialogs().asked().isEmpty() ? QString() : env.dialogs().texts().last(); }
};

const QString kValidation = "Mirelot - Validation des données saisies";

} // namespace

TEST_F(RecordWindowChecksTest, KeysTypedInTheBoxes)
{
    const Window w = openShown(RecordMode::New);
    // Digits and "/" in the date: the decimal separator is refused with its message.
    env.dialogs().answer(mb::OK);
    type(controls(*w).txt_Date, "12.01");
    EXPECT_EQ(controls(*w).txt_Date->text(), "1201");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(lastBox(), "Veuillez saisir uniquement des chiffres et /");
    // The observer's name in capitals.
    type(controls(*w).Txt_Nom_Observateur, "dupont-");
    QTest::sendKeyEvent(QTest::Click, controls(*w).Txt_Nom_Observateur, Qt::Key_Eacute, QStringLiteral("é"),
                        Qt::NoModifier);
    EXPECT_EQ(controls(*w).Txt_Nom_Observateur->text(), "DUPONT-É");
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

TEST_F(RecordWindowChecksTest, ARefusedValueKeepsTheFocus)
{
    const Window w = openSample();
    // The e-mail emptied: Yes to the recommendation keeps the focus in the box, No lets it go.
    type(controls(*w).txt_Email, "");
    env.dialogs().answer(mb::Yes);
    moveTo(controls(*w).txt_Téléphone);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Email);
    EXPECT_TRUE(lastBox().startsWith("Nous vous recommandons d'indiquer votre adresse courriel"));
    env.dialogs().answer(mb::No);
    moveTo(controls(*w).txt_Téléphone);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Téléphone);
    EXPECT_EQ(env.dialogs().asked().size(), 2);

    // A time that is no time: its catalogue message, the text kept, the focus in the box.
    controls(*w).ogl_Divers->setCurrentIndex(3);
    type(controls(*w).txt_Heure, "25:00");
    env.dialogs().answer(mb::OK);
    moveTo(controls(*w).txt_Durée);
    EXPECT_EQ(lastBox(), common::buildMessageBox(1050, 0, {}, {}).text);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Heure);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "25:00");
    // No second message while the focus is back in the box, nor from the check planned before.
    QApplication::processEvents();
    EXPECT_EQ(env.dialogs().asked().size(), 3);

    // While the box of a check is open, the focus coming and going starts no other check.
    env.dialogs().setResponder([&](const testing_support::ScriptedDialogs::Asked&) {
        controls(*w).txt_Heure->setFocus();
        controls(*w).txt_Durée->setFocus();
        QApplication::processEvents();
        return testing_support::ScriptedDialogs::Answer(mb::OK);
    });
    moveTo(controls(*w).txt_Durée);
    QTest::qWait(120);
    env.dialogs().setResponder(nullptr);
    EXPECT_EQ(env.dialogs().asked().size(), 4);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Heure);

    type(controls(*w).txt_Heure, "1530");
    moveTo(controls(*w).txt_Durée);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "15:30");
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Durée);
    EXPECT_EQ(env.dialogs().asked().size(), 4);
}

// The save button, a parcel tab and a page change run the check of the box being left first; a
// refusal keeps the tab and the page.
TEST_F(RecordWindowChecksTest, SaveTabAndPageChangesCheckTheBoxLeftFirst)
{
    const Window w = openSample();
    ASSERT_TRUE(controls(*w).cmd_Save->isEnabled());
    controls(*w).ogl_Divers->setCurrentIndex(3);
    type(controls(*w).txt_Heure, "700");
    env.dialogs().answer(mb::No);
    QTest::mouseClick(controls(*w).cmd_Save, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(lastBox(), "Le relevé a été faite avant 8:00 !\n\nConserver cet horaire ?");
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Heure);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "07:00");

    env.dialogs().answer(mb::No);
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    EXPECT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(controls(*w).Tab_Relevé->currentIndex(), 0);
    EXPECT_EQ(w->shownParcel(), 1);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Heure);

    env.dialogs().answer(mb::Yes);
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    EXPECT_EQ(w->shownParcel(), 2);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "09:20");
    controls(*w).Tab_Relevé->setCurrentIndex(0);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "07:00") << "kept when its tab was left";

    controls(*w).ogl_Divers->setCurrentIndex(0);
    type(controls(*w).txt_Email, "");
    env.dialogs().answer(mb::Yes);
    controls(*w).ogl_Divers->setCurrentIndex(2);
    EXPECT_EQ(controls(*w).ogl_Divers->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Email);
    EXPECT_EQ(env.dialogs().asked().size(), 4);

    // "Enregistrer et fermer" too: the window stays open.
    env.dialogs().answer(mb::Yes);
    controls(*w).cmd_exit->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Email);
    EXPECT_EQ(env.dialogs().asked().size(), 5);
    EXPECT_EQ(env.dialogs().pendingAnswers(), 0);
}

TEST_F(RecordWindowChecksTest, ParcelTabsKeepEachParcel)
{
    const Window w = openSample();
    w->applyParcelCount(5);
    controls(*w).ogl_Divers->setCurrentIndex(3);

    // Parcel 2 changed: another time, a hunting box, a species whose total the check writes.
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    ASSERT_EQ(w->shownParcel(), 2);
    controls(*w).txt_Heure->setText("09:25");
    controls(*w).chk_Chasse[0]->setChecked(true);
    Grid& species = controls(*w).flx_Espèces->grid();
    species.setCell(1, 1, "O");
    species.setCell(1, 2, "PICPIC");
    species.setCell(1, 4, "2");
    controls(*w).Tab_Relevé->setCurrentIndex(4);
    ASSERT_EQ(w->shownParcel(), 5);
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(controls(*w).txt_Heure->text(), "");
    EXPECT_EQ(species.cell(1, 2), "");

    // Parcel 5 has no time yet: the validation says so and the tab stays.
    env.dialogs().answer(mb::OK);
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Veuillez indiquer l'heure du relevé.");
    EXPECT_EQ(env.dialogs().asked()[0].title, kValidation);
    EXPECT_EQ(controls(*w).Tab_Relevé->currentIndex(), 4);
    EXPECT_EQ(w->shownParcel(), 5);

    controls(*w).txt_Heure->setText("10:00");
    controls(*w).txt_Durée->setText("00:20");
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    EXPECT_EQ(w->shownParcel(), 2);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "09:25");
    EXPECT_EQ(controls(*w).txt_Durée->text(), "00:30");
    EXPECT_TRUE(controls(*w).chk_Chasse[0]->isChecked());
    EXPECT_TRUE(controls(*w).chk_Chasse[1]->isChecked());
    EXPECT_EQ(species.cell(1, 2), "PICPIC");
    EXPECT_EQ(species.cell(1, 8), "2") << "the total written by the check of parcel 2";
    EXPECT_EQ(w->currentRecord().parcels[4].startTime, "10:00");
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

TEST_F(RecordWindowChecksTest, TheNumberOfParcels)
{
    const Window w = openSample();
    unlockParcelCount(*w, env);
    Grid& loc = controls(*w).flx_Coordonnées->grid();
    Grid& hab = controls(*w).flx_Desc_Parcelles->grid();
    Grid& weather = controls(*w).flx_Date_Météo->grid();
    const SurveyRecord before = w->currentRecord();

    // Left unchanged: nothing is built again.
    type(controls(*w).txt_Nbr_Relevés, "2");
    moveTo(controls(*w).txt_Lieudit);
    EXPECT_EQ(w->currentRecord(), before);

    // Refused: the number and the rows stay.
    type(controls(*w).txt_Nbr_Relevés, "31");
    env.dialogs().answer(mb::OK);
    moveTo(controls(*w).txt_Lieudit);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).txt_Nbr_Relevés);
    EXPECT_EQ(w->parcelCount(), 2);
    EXPECT_EQ(loc.rows(), 3);

    type(controls(*w).txt_Nbr_Relevés, "5");
    moveTo(controls(*w).txt_Lieudit);
    ASSERT_EQ(w->parcelCount(), 5);
    EXPECT_EQ(controls(*w).Tab_Relevé->count(), 5);
    EXPECT_EQ(weather.rows(), 6);
    // New rows are read-only where the others are.
    EXPECT_TRUE(loc.isReadOnly(5, 12) && loc.isReadOnly(5, 13) && !loc.isReadOnly(5, 6));
    EXPECT_TRUE(weather.isReadOnly(5, 1));

    // Parcel 5 shown with a time; parcel 4 with a position.
    controls(*w).Tab_Relevé->setCurrentIndex(1);
    controls(*w).txt_Heure->setText("10:05");
    controls(*w).Tab_Relevé->setCurrentIndex(4);
    controls(*w).txt_Heure->setText("10:00");
    loc.setCell(4, 6, "812000");

    // Fewer parcels: asked first, as parcels 4 and 5 hold something; No keeps all five.
    type(controls(*w).txt_Nbr_Relevés, "3");
    env.dialogs().answer(mb::No);
    moveTo(controls(*w).txt_Lieudit);
    EXPECT_EQ(lastBox(),
              "Le nombre de parcelles passe de 5 à 3 : les données déjà saisies pour les parcelles "
              "N°4 et N°5 ne feront plus partie du relevé.\n\nConfirmez-vous ce nombre de parcelles ?");
    EXPECT_EQ(controls(*w).txt_Nbr_Relevés->text(), "5");
    EXPECT_EQ(w->parcelCount(), 5);
    EXPECT_EQ(loc.cell(4, 6), "812000");

    type(controls(*w).txt_Nbr_Relevés, "3");
    env.dialogs().answer(mb::Yes);
    moveTo(controls(*w).txt_Lieudit);
    ASSERT_EQ(w->parcelCount(), 3);
    EXPECT_EQ(controls(*w).Tab_Relevé->count(), 3);
    EXPECT_EQ(loc.rows(), 4);
    // The parcel shown was kept before the tabs were built again; parcel 1 is shown, as it was.
    EXPECT_EQ(w->shownParcel(), 1);
    EXPECT_EQ(controls(*w).txt_Heure->text(), "08:30");

    type(controls(*w).txt_Nbr_Relevés, "5");
    moveTo(controls(*w).txt_Lieudit);
    EXPECT_EQ(loc.cell(1, 6), "800123");
    EXPECT_TRUE(hab.checkState(1, 2) == Grid::Checked);
    EXPECT_EQ(weather.cell(2, 2), "3");
    EXPECT_EQ(loc.cell(4, 6), "") << "a dropped parcel's position is gone";
    const SurveyRecord after = w->currentRecord();
    EXPECT_EQ(after.parcels[1].startTime, "10:05");
    EXPECT_EQ(after.parcels[4].startTime, "10:00") << "its time comes back";
    EXPECT_EQ(env.dialogs().pendingAnswers(), 0);
}

TEST_F(RecordWindowChecksTest, TheStatusFollowsTheFields)
{
    const Window w = openShown(RecordMode::New);
    const auto status = [&] { return controls(*w).txt_Statut->text(); };
    controls(*w).cbo_Dept->setCurrentIndex(controls(*w).cbo_Dept->findText("26 - Drôme"));
    controls(*w).cbo_Communes->setCurrentIndex(controls(*w).cbo_Communes->findText("Valence"));
    EXPECT_TRUE(status().contains(" : Lieu-dit, Nom observateur")) << status().toStdString();
    type(controls(*w).txt_Lieudit, "Les Baumes");
    type(controls(*w).Txt_Nom_Observateur, "dupont");
    type(controls(*w).txt_Prénom_Observateur, "jean");
    type(controls(*w).txt_Date, "12012010");
    moveTo(controls(*w).txt_Email);
    env.dialogs().answer(mb::No);
    moveTo(controls(*w).txt_Téléphone);
    env.dialogs().answer(mb::No);
    moveTo(controls(*w).txt_Email);
    EXPECT_EQ(controls(*w).txt_Nom_Site->text(), "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");
    EXPECT_EQ(status(), "Un ou plusieurs éléments essentiels pour la sauvegarde de votre saisie ne sont pas "
                        "renseignés : valorisez ces éléments pour pouvoir sauvegarder votre saisie.\n"
                        "    - Onglet [Description du relevé] : N° de passage");
    EXPECT_FALSE(controls(*w).cmd_Save->isEnabled());
    EXPECT_FALSE(controls(*w).ogl_Divers->isTabEnabled(3));

    controls(*w).opt_Passage[4]->click(); // on a page not shown
    EXPECT_EQ(
        status(),
        "Toutes les conditions nécessaires pour effectués la sauvegarde de votre relevé sont remplies.");
    EXPECT_TRUE(controls(*w).cmd_Save->isEnabled());

    controls(*w).cbo_Saison->setCurrentIndex(-1);
    EXPECT_TRUE(status().endsWith(" : Saison")) << status().toStdString();
    EXPECT_EQ(env.dialogs().pendingAnswers(), 0);
}

TEST_F(RecordWindowChecksTest, TotalEntryOption)
{
    const Window w = openSample(); // totals typed by hand, chosen by the load without a question
    ASSERT_TRUE(controls(*w).opt_Total[1]->isChecked());
    controls(*w).ogl_Divers->setCurrentIndex(3);
    const Grid& species = controls(*w).flx_Espèces->grid();
    EXPECT_FALSE(species.isReadOnly(3, 8));
    controls(*w).opt_Total[0]->click();
    EXPECT_TRUE(species.isReadOnly(3, 8));
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    env.dialogs().answer(mb::No);
    controls(*w).opt_Total[1]->click();
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(lastBox(), "Choisir cette option risque d'introduire des erreurs et incohrences.\n\n"
                         "Confirmez-vous votre intention ?");
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_TRUE(controls(*w).opt_Total[0]->isChecked());
    EXPECT_TRUE(species.isReadOnly(3, 8));

    env.dialogs().answer(mb::Yes);
    controls(*w).opt_Total[1]->click();
    EXPECT_TRUE(controls(*w).opt_Total[1]->isChecked());
    EXPECT_FALSE(species.isReadOnly(3, 8));
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(env.dialogs().asked().size(), 2);
}

// The page-change gate: the page left is validated, a failure shows it again with the focus on
// the field; the locations page gets the department and commune its parcels lack.
TEST_F(RecordWindowChecksTest, PageChangeGate)
{
    const Window w = openShown(RecordMode::New);
    env.dialogs().answer(mb::OK);
    controls(*w).ogl_Divers->setCurrentIndex(2);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Veuillez indiquer le nom de l'observateur.");
    EXPECT_EQ(env.dialogs().asked()[0].title, kValidation);
    EXPECT_EQ(controls(*w).ogl_Divers->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), controls(*w).Txt_Nom_Observateur);

    const Window sample = openSample();
    sample->applyParcelCount(3);
    controls(*sample).ogl_Divers->setCurrentIndex(1);
    EXPECT_EQ(controls(*sample).ogl_Divers->currentIndex(), 1);
    const Grid& loc = controls(*sample).flx_Coordonnées->grid();
    EXPECT_EQ(loc.cell(3, 2), "26 - Drôme");
    EXPECT_EQ(loc.cell(3, 3), "Valence");
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

// The species grid set up as a parcel is shown: widened to 50 rows when it has fewer than 10.
TEST_F(RecordWindowChecksTest, SpeciesGridSetUpAsAParcelIsShown)
{
    const Window w = openSample();
    w->applyParcelCount(4);
    for (const auto& [parcel, rows] : {std::pair{3, 4}, std::pair{4, 12}}) {
        Grid stored;
        fillSpeciesGrid(stored, {});
        stored.setRows(rows);
        w->speciesStore().sub_Flx_Grid_to_File(stored, parcel);
    }
    w->showParcel(3);
    EXPECT_EQ(controls(*w).flx_Espèces->grid().rows(), 50);
    EXPECT_EQ(controls(*w).flx_Espèces->grid().cols(), 10);
    EXPECT_TRUE(controls(*w).flx_Espèces->grid().isReadOnly(20, 1));
    EXPECT_FALSE(controls(*w).flx_Espèces->grid().isReadOnly(20, 8)) << "totals typed by hand";
    w->showParcel(4);
    EXPECT_EQ(controls(*w).flx_Espèces->grid().rows(), 12);
}
