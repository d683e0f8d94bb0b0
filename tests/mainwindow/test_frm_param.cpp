// frm_Param on screen (offscreen platform): the user's clicks and keys on the grid and the
// buttons, the boxes answered by the scripted dialogs, and the main window opening it.

#include "common/Globals.h"
#include "common/ParamConfig.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "grid/GridView.h"
#include "mainwindow/ParamEditor.h"
#include "mainwindow/frm_Menu.h"
#include "mainwindow/frm_Param.h"
#include "tests/mainwindow/ParamSupport.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using grid::Grid;
using grid::GridFile;
using grid::GridView;
using param_support::dump;
using param_support::readAsRecordWindow;
using param_support::writeTable;
namespace mb = platform::mb;

namespace {

const QString kEspeces = QStringLiteral("Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n"
                                        "O\tALAARV\tAlouette des champs\tAlauda arvensis\t1\n"
                                        "O\tSTUVUL\tÉtourneau sansonnet\tSturnus vulgaris\t2\n");

// Which of the window's controls show: grid, folder box, Parcourir, Save, Copier, RAZ, Fermer.
struct Visibles
{
    bool grille, txtFile, parcourir, save, copier, raz, exit;
    bool operator==(const Visibles&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Visibles& v)
{
    return os << v.grille << v.txtFile << v.parcourir << v.save << v.copier << v.raz << v.exit;
}

class FrmParamTest : public testing::Test
{
protected:
    testing_support::TestEnvironment env;
    param_support::FakeRowSource source;
    std::unique_ptr<frm_Param> w;

    FrmParamTest() { QLocale::setDefault(QLocale::c()); }

    QString programme(const QString& nom) const { return env.programFolder() + QLatin1Char('/') + nom; }
    void administrateur() { ASSERT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, "PSWD", "KORVEL-ADM")); }

    frm_Param& ouvrir(const QString& mode, const QString& scheme = QString())
    {
        w = std::make_unique<frm_Param>(mode, scheme, nullptr, &source);
        w->resize(900, 500);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        vue().setFocus();
        return *w;
    }
    GridView& vue() { return *w->flx_Grille; }
    Grid& grille() { return w->flx_Grille->grid(); }

    QPoint centre(int row, int col) { return vue().visualRect(vue().indexOf(row, col)).center(); }
    void clic(int row, int col, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(vue().viewport(), b, Qt::NoModifier, centre(row, col));
        QCoreApplication::processEvents();
    }
    void taper(const QString& texte)
    {
        for (QChar c : texte) {
            QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
            QCoreApplication::processEvents();
        }
    }
    void touche(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
        QCoreApplication::processEvents();
    }
    void cliquer(QPushButton* b)
    {
        ASSERT_TRUE(b->isVisible()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // A right click where the user aims at the top-left cell: a few pixels into the corner.
    void clicDroitCoin()
    {
        const QPoint point = vue().findChild<QAbstractButton*>()->geometry().topLeft() + QPoint(10, 5);
        QWidget* cible = vue().childAt(point);
        ASSERT_TRUE(cible);
        QTest::mouseClick(cible, Qt::RightButton, Qt::NoModifier, cible->mapFrom(&vue(), point));
        QCoreApplication::processEvents();
    }
    Visibles visibles()
    {
        return {vue().isVisible(),        w->txt_File->isVisible(),   w->cmd_Parcourir->isVisible(),
                w->cmd_Save->isVisible(), w->cmd_Copier->isVisible(), w->cmd_Annul_Esp->isVisible(),
                w->cmd_exit->isVisible()};
    }
};

// ================================================================ the species editor

TEST_F(FrmParamTest, OrdinaryUserCanChangeOnlySaisieInTheSpeciesEditor)
{
    writeTable(programme("Espèces.DOV"), kEspeces, GridFile::Complete, {5});
    ouvrir(common::kModeSpecies);
    EXPECT_EQ(w->windowTitle(), "Mirelot - Codes espèces");
    EXPECT_EQ(w->fra_Grille->title(), "Codes espèces");
    EXPECT_EQ(visibles(), (Visibles{true, false, false, true, true, true, true}));
    const QStringList avant = dump(grille());

    // A click, a double click or typing opens no editor on the descriptive columns.
    for (int col = 1; col <= 4; ++col) {
        clic(1, col);
        EXPECT_FALSE(vue().isEditing()) << "col " << col;
        QTest::mouseDClick(vue().viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, col));
        QCoreApplication::processEvents();
        EXPECT_FALSE(vue().isEditing()) << "col " << col;
        taper("x");
        EXPECT_FALSE(vue().isEditing()) << "col " << col;
    }
    // Delete and paste leave the codes too; each refused paste says which cell kept its text.
    grille().select(1, 1, 2, 4);
    touche(Qt::Key_Delete);
    QApplication::clipboard()->setText(QStringLiteral("XXXXXX"));
    grille().select(2, 2);
    env.dialogs().answer(mb::OK);
    env.dialogs().answer(mb::OK);
    touche(Qt::Key_V, Qt::ControlModifier);
    touche(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_TRUE(
        env.dialogs().asked()[1].text.contains("ligne 2, colonne « Espèce » (cellule non modifiable)"));
    env.dialogs().clearAsked();
    // The whole-table load is not offered: no box comes.
    clicDroitCoin();
    EXPECT_EQ(dump(grille()), avant);

    // "Saisie" changes with a click or the space bar; each change adds an empty row.
    clic(1, 5);
    EXPECT_EQ(grille().checkState(1, 5), Grid::Unchecked);
    clic(2, 5);
    EXPECT_EQ(grille().checkState(2, 5), Grid::Checked);
    grille().select(2, 5);
    touche(Qt::Key_Space);
    EXPECT_EQ(grille().checkState(2, 5), Grid::Unchecked);
    touche(Qt::Key_Space);
    EXPECT_EQ(grille().rows(), int(avant.size()) + 4);

    cliquer(w->cmd_Save);
    EXPECT_EQ(readAsRecordWindow(programme("Espèces.DOV"), GridFile::Complete, {5}),
              QStringList({"Classe|Espèce|Nom français|Nom scientifique|Saisie",
                           "O|ALAARV|Alouette des champs|Alauda arvensis|-",
                           "O|STUVUL|Étourneau sansonnet|Sturnus vulgaris|+", "||||-", "||||-", "||||-",
                           "||||-", "||||-"}));

    // RAZ unticks every box on screen only.
    cliquer(w->cmd_Annul_Esp);
    EXPECT_EQ(grille().checkState(2, 5), Grid::Unchecked);
    EXPECT_EQ(readAsRecordWindow(programme("Espèces.DOV"), GridFile::Complete, {5}).value(2),
              "O|STUVUL|Étourneau sansonnet|Sturnus vulgaris|+");
}

TEST_F(FrmParamTest, AdministratorEditsSpeciesCodesInCapitals)
{
    administrateur();
    writeTable(programme("Espèces.DOV"), kEspeces, GridFile::Complete, {5});
    ouvrir(common::kModeSpecies);
    clic(2, 2);
    ASSERT_TRUE(vue().isEditing()) << "one click starts editing";
    touche(Qt::Key_Backspace); // the cell's text, selected as the editor opens, erased
    taper("picpic");
    EXPECT_EQ(vue().editText(), "PICPIC");
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(2, 2), "PICPIC");
    clic(2, 3);
    ASSERT_TRUE(vue().isEditing());
    touche(Qt::Key_Backspace); // the cell's text, selected as the editor opens, erased
    taper("pie");
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(2, 3), "pie") << "only the code is put in capitals";

    // Paste into the current cell, by Ctrl+V or Shift+Insert, under the rules of typing.
    QApplication::clipboard()->setText(QStringLiteral("pica"));
    grille().select(2, 2);
    touche(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grille().cell(2, 2), "PICA");
    QApplication::clipboard()->setText(QStringLiteral("Pie bavarde"));
    grille().select(2, 3);
    touche(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grille().cell(2, 3), "Pie bavarde");
    QApplication::clipboard()->setText(QStringLiteral("Pica pica"));
    grille().select(2, 4);
    touche(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(grille().cell(2, 4), "Pica pica");
}

TEST_F(FrmParamTest, ClosingWithAnOpenEditorAsksThenSavesNothingOnNon)
{
    administrateur();
    writeTable(programme("Espèces.DOV"), kEspeces, GridFile::Complete, {5});
    const QStringList avant = readAsRecordWindow(programme("Espèces.DOV"), GridFile::Complete, {5});
    ouvrir(common::kModeSpecies);
    clic(1, 3);
    ASSERT_TRUE(vue().isEditing());
    taper("zz"); // the text still in the editor counts as a change
    env.dialogs().answer(mb::No);
    cliquer(w->cmd_exit);
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].style, mb::YesNoCancel | mb::Exclamation);
    // Destroyed while the editor is still open (the main window going): nothing asked.
    ouvrir(common::kModeSpecies);
    clic(1, 3);
    ASSERT_TRUE(vue().isEditing());
    taper("zz");
    w.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(readAsRecordWindow(programme("Espèces.DOV"), GridFile::Complete, {5}), avant);
}

// ================================================================ other tables

TEST_F(FrmParamTest, SquaresFilterDigitsAndFormatNumbers)
{
    administrateur();
    writeTable(programme("Carrés.DOV"), "Département\tN° carré\tLongitude\tLatitude\n26\t\t\t\n",
               GridFile::Complete);
    ouvrir(common::kModeSquares);
    clic(1, 2);
    ASSERT_TRUE(vue().isEditing());
    env.dialogs().answer(mb::OK); // the refused letter is explained
    taper("1a2");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked().first().text, "Veuillez saisir uniquement des chiffres");
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(1, 2), "0012");

    clic(1, 3);
    ASSERT_TRUE(vue().isEditing());
    taper("4.9");
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(1, 3), "4.900");
    clic(1, 3);
    touche(Qt::Key_Backspace); // the cell's text, selected as the editor opens, erased
    taper("E4");
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(1, 3), "E4") << "any character in column 3, left as typed";
}

// The box that explains a refused key takes the focus while it is open, as a real box does: the
// edit goes on afterwards with what was typed, and the keys that follow go to it.
TEST_F(FrmParamTest, ARefusedKeyIsRefusedAloneAndTheEditGoesOn)
{
    administrateur();
    writeTable(programme("Carrés.DOV"), "Département\tN° carré\tLongitude\tLatitude\n26\t\t\t\n",
               GridFile::Complete);
    ouvrir(common::kModeSquares);
    QStringList explained;
    env.dialogs().setResponder([&](const testing_support::ScriptedDialogs::Asked& a) {
        explained << a.text;
        QMessageBox box;
        box.setText(a.text);
        box.show();
        box.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
        box.close();
        // The window the box belonged to is active again, as the desktop makes it.
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return testing_support::ScriptedDialogs::Answer(mb::OK);
    });
    const int rows = grille().rows();
    clic(1, 2);
    ASSERT_TRUE(vue().isEditing());
    const QPointer<QWidget> editor = QApplication::focusWidget();
    for (const char c : {'7', 'b', '8'}) {
        ASSERT_TRUE(editor) << "the editor closed before " << c;
        QTest::keyClicks(editor, QString(QChar(c)));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(explained, QStringList{"Veuillez saisir uniquement des chiffres"});
    ASSERT_TRUE(vue().isEditing());
    EXPECT_EQ(vue().editText(), "78");
    EXPECT_EQ(grille().rows(), rows) << "the edit did not end";
    touche(Qt::Key_Return);
    EXPECT_EQ(grille().cell(1, 2), "0078");
}

TEST_F(FrmParamTest, ReadOnlyTableForAnOrdinaryUser)
{
    writeTable(programme("Milieux_SHOC.DOV"), "^Code\tLibellé\nCH\tCéréales\n", GridFile::Complete);
    ouvrir(common::kModeHabitats);
    EXPECT_EQ(visibles(), (Visibles{true, false, false, false, true, false, true}));
    clic(1, 2);
    EXPECT_FALSE(vue().isEditing());
    grille().select(1, 1, 1, 2);
    touche(Qt::Key_Delete);
    EXPECT_EQ(dump(grille()).value(1), "CH|Céréales");
    // Copy works in every mode.
    touche(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "CH\tCéréales\n");
    QApplication::clipboard()->clear();
    cliquer(w->cmd_Copier);
    EXPECT_EQ(QApplication::clipboard()->text(), "CH\tCéréales\n");
}

TEST_F(FrmParamTest, RightClickOnTheCornerLoadsATextFile)
{
    administrateur();
    writeTable(programme("Milieux_SHOC.DOV"), "^Code\tLibellé\nCH\tCéréales\n", GridFile::Complete);
    const QString texte = env.path("milieux.txt");
    testing_support::writeBytes(texte, "PA\tPrairie\r\nSN\tSol nu\r\n");
    ouvrir(common::kModeHabitats);

    env.dialogs().answerText(std::nullopt); // Annuler
    clicDroitCoin();
    env.dialogs().answerText(QString()); // empty answer
    clicDroitCoin();
    EXPECT_EQ(dump(grille()).value(1), "CH|Céréales");

    env.dialogs().answerText(texte);
    clicDroitCoin();
    ASSERT_EQ(env.dialogs().asked().size(), 3);
    EXPECT_EQ(env.dialogs().asked().last().text, "Veuillez indiquer le fichier à charger :");
    EXPECT_EQ(env.dialogs().asked().last().title, "Mirelot");
    EXPECT_EQ(dump(grille()), QStringList({"Code|Libellé", "PA|Prairie", "SN|Sol nu"}));
    // A right click elsewhere asks nothing.
    clic(1, 1, Qt::RightButton);
    EXPECT_EQ(env.dialogs().asked().size(), 3);
}

// ================================================================ identification

TEST_F(FrmParamTest, IdentificationTicksOneRowAndSavesTheChoice)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kGadrelSection, "Moteur", "Jet", "Gadrel"));
    source.result.rows = {{"B", "2", "b"}, {"A", "1", "a"}, {"C", "1", "c"}};
    ouvrir(common::kModeIdentification, "SHOC");
    EXPECT_EQ(w->windowTitle(), "Mirelot - Indentification de votre Gadrel [SHOC]");
    EXPECT_EQ(visibles(), (Visibles{true, false, false, true, false, false, true}));

    clic(3, 1);
    clic(2, 1);
    EXPECT_EQ(dump(grille()), QStringList({"Sélection|Organisme|Code ordinateur|Nom ordinateur", "-|A|1|a",
                                           "+|B|2|b", "-|C|1|c"}));
    clic(2, 1);
    EXPECT_EQ(grille().checkState(2, 1), Grid::Checked) << "the ticked box stays ticked";
    for (int col = 2; col <= 4; ++col) {
        clic(1, col);
        EXPECT_FALSE(vue().isEditing()) << col;
    }
    grille().select(1, 1, 3, 4);
    touche(Qt::Key_Delete);
    EXPECT_EQ(grille().cell(3, 3), "1");
    EXPECT_TRUE(w->editor().isLocked(3, 3));
    clic(3, 1);
    cliquer(w->cmd_Save);
    EXPECT_EQ(
        fun_Get_Setting_Str(common::kParametersSection, "Indentification de votre Gadrel : CPU SHOC", ""),
        "1");
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection,
                                  "Indentification de votre Gadrel : Organisme SHOC", ""),
              "C");
}

TEST_F(FrmParamTest, IdentificationWithoutTheSiblingProductOpensNoWindow)
{
    env.dialogs().answer(mb::OK);
    EXPECT_EQ(frm_Param::openWindow(common::kModeIdentification, "SHOC", nullptr, &source), nullptr);
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked().first().text,
              "Le logiciel Gadrel n'est pas installé sur votre ordinateur");
}

// ================================================================ data folder

TEST_F(FrmParamTest, DataFolderIsChangedThroughTheChooser)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier", "/donnees/actuelles"));
    ouvrir(common::kModeFolder);
    EXPECT_EQ(visibles(), (Visibles{false, true, true, false, false, false, false}));
    EXPECT_EQ(w->txt_File->text(), "/donnees/actuelles");

    QStringList demandes;
    QString reponse;
    w->setFolderChoice([&](QWidget*, const QString& titre, const QString& dossier) {
        demandes << titre + " | " + dossier;
        return reponse;
    });
    cliquer(w->cmd_Parcourir); // Annuler
    EXPECT_EQ(w->txt_File->text(), "/donnees/actuelles");
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, "Dossier", ""), "/donnees/actuelles");
    reponse = "/donnees/nouvelles";
    cliquer(w->cmd_Parcourir);
    EXPECT_EQ(w->txt_File->text(), "/donnees/nouvelles");
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, "Dossier", ""), "/donnees/nouvelles");
    EXPECT_EQ(demandes, QStringList({"Mirelot - Sélection du dossier dédié à Mirelot | /donnees/actuelles",
                                     "Mirelot - Sélection du dossier dédié à Mirelot | /donnees/actuelles"}));
}

TEST_F(FrmParamTest, TheDataFolderTextCannotBeTypedInto)
{
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier", "/donnees/actuelles"));
    ouvrir(common::kModeFolder);
    EXPECT_TRUE(w->txt_File->isReadOnly());
    w->txt_File->setFocus();
    w->txt_File->selectAll();
    QTest::keyClicks(w->txt_File, "/ailleurs");
    QTest::keyClick(w->txt_File, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->txt_File->text(), "/donnees/actuelles");
    EXPECT_EQ(fun_Get_Setting_Str(common::kParametersSection, "Dossier", ""), "/donnees/actuelles");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

// ================================================================ from the main window

TEST_F(FrmParamTest, MainWindowOpensEachSettingsWindowLargeEnoughWithinItself)
{
    writeTable(programme("Espèces.DOV"), kEspeces, GridFile::Complete, {5});
    ASSERT_TRUE(sub_Reg_Write_HKLM(common::kParametersSection, "Dossier",
                                   "/home/observateur/Suivi hivernal/Relevés"));
    for (const QSize principale : {QSize(1000, 700), QSize(640, 420)}) {
        auto menu = std::make_unique<frm_Menu>();
        menu->item("Réorg")->trigger(); // each window where the area puts it
        menu->resize(principale);
        menu->show();
        QCoreApplication::processEvents();
        const QRect zone(QPoint(0, 0), menu->mdiArea()->viewport()->size());
        for (const char* item : {"Espèces", "Comportements", "File"}) {
            SCOPED_TRACE(testing::Message() << item << " in " << principale.width() << " px");
            menu->item(item)->trigger();
            QCoreApplication::processEvents();
            QMdiSubWindow* cadre = menu->mdiArea()->activeSubWindow();
            auto* f = qobject_cast<frm_Param*>(cadre->widget());
            ASSERT_TRUE(f);
            EXPECT_TRUE(zone.contains(cadre->geometry())) << "within the main window";
            GridView& v = *f->flx_Grille;
            if (v.isVisible()) {
                // Every column (the species' "Saisie" included) where the main window is wide
                // enough; eight rows, or all the table has.
                if (principale.width() >= 1000 || v.horizontalHeader()->length() < zone.width() / 2) {
                    EXPECT_GE(v.viewport()->width(), v.horizontalHeader()->length());
                }
                const int lignes = std::min(v.model()->rowCount(), mainwindow::kMinOpeningRows);
                EXPECT_GE(v.viewport()->height(), lignes * v.rowHeight(0));
            } else {
                EXPECT_GE(f->txt_File->width(),
                          f->txt_File->fontMetrics().horizontalAdvance(f->txt_File->text()));
            }
        }
    }
}

TEST_F(FrmParamTest, MainWindowOpensTheEditorAndGetsItsItemBackOnClose)
{
    auto menu = std::make_unique<frm_Menu>();
    menu->resize(1000, 700);
    menu->show();
    QCoreApplication::processEvents();
    QAction* especes = menu->item("Espèces");
    especes->trigger();
    ASSERT_EQ(menu->windows().size(), 1);
    auto* fenetre = qobject_cast<frm_Param*>(menu->windows().first()->widget());
    ASSERT_TRUE(fenetre);
    EXPECT_EQ(fenetre->windowTitle(), "Mirelot - Codes espèces");
    EXPECT_FALSE(especes->isEnabled());
    QTest::mouseClick(fenetre->cmd_exit, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(menu->windows().isEmpty());
    EXPECT_TRUE(especes->isEnabled());

    // Changes not saved: the child window's close box and the main window's closing ask, and
    // Annuler keeps both open; Oui saves, then everything closes.
    administrateur();
    writeTable(programme("Milieux_SHOC.DOV"), "^Code\tLibellé\nCH\tCéréales\n", GridFile::Complete);
    menu->item("Milieux")->trigger();
    ASSERT_EQ(menu->windows().size(), 1);
    QMdiSubWindow* cadre = menu->windows().first();
    auto* milieux = qobject_cast<frm_Param*>(cadre->widget());
    ASSERT_TRUE(milieux);
    milieux->flx_Grille->grid().setCell(1, 2, "Chaumes");
    env.dialogs().answer(mb::Cancel);
    EXPECT_FALSE(cadre->close());
    // Ctrl+F4 asks as the close box does.
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    env.dialogs().answer(mb::Cancel);
    QTest::keyClick(milieux->flx_Grille, Qt::Key_F4, Qt::ControlModifier);
    env.dialogs().answer(mb::Cancel);
    EXPECT_FALSE(menu->close());
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->windows().size(), 1);
    EXPECT_EQ(env.dialogs().asked().size(), 3);
    env.dialogs().answer(mb::Yes);
    EXPECT_TRUE(menu->close());
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(readAsRecordWindow(programme("Milieux_SHOC.DOV"), GridFile::Complete),
              QStringList({"Code|Libellé", "CH|Chaumes", "|"})); // with the empty row of the load
    env.dialogs().clearAsked();
    EXPECT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, "PSWD", ""));
    menu->show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Without the sibling product: the box, no window, the item stays available.
    env.dialogs().answer(mb::OK);
    QAction* gadrel = menu->item("Gadrel_SHOC");
    gadrel->setVisible(true); // as the start-up shows it
    gadrel->trigger();
    EXPECT_TRUE(menu->windows().isEmpty());
    EXPECT_TRUE(gadrel->isEnabled());
    EXPECT_EQ(env.dialogs().asked().size(), 1);
}

} // namespace
