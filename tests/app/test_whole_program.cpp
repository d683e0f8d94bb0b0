// The whole program's road, offscreen, through its real windows: a new user's first start on an
// empty home, the correspondent chosen in the address editor, a record of a new site typed in the
// record window and saved, listed by the record list, exported to a workbook and mailed to the
// correspondent through the machine's sendmail (a stand-in script), each export logged; then the
// program started again on the same folders finds the record and its last export.

#include "app/ProgramStart.h"
#include "common/ExportLog.h"
#include "common/Frm_Selection_dossier.h"
#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/ParamConfig.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridView.h"
#include "mainwindow/frm_Menu.h"
#include "mainwindow/frm_Param.h"
#include "platform/DesktopMail.h"
#include "platform/WidgetDialogs.h"
#include "record/LocationGrid.h"
#include "record/RecordValidator.h"
#include "record/SpeciesStore.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/ExportRun.h"
#include "recordlist/RecordListing.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/record/RecordWindowControls.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/GridTyping.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WorkbookContents.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <sys/time.h>

using grid::GridView;
using record_samples::controls;
using testing_support::typeCell;
using View = frm_Liste_Releves_SHOC::View;
namespace mb = platform::mb;

namespace {

const QString kCorrespondent = QStringLiteral("correspondant.drome@exemple.fr");
const QString kSite = QStringLiteral("SHOC-26~Valence~Les Plaines~DURAND Jean~Hiver 2009-2010");
const QString kRecord = kSite + QStringLiteral("~Passage N1.FLX2009");

// What a user does with the keyboard and the mouse.
void type(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QApplication::processEvents();
}
void moveTo(QWidget* next)
{
    next->setFocus();
    QApplication::processEvents();
}
void click(QAbstractButton* button)
{
    ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}
// An item chosen in a list (the list's own activation).
void choose(QComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->setCurrentIndex(i);
    Q_EMIT combo->activated(i);
}
QPoint centre(GridView* view, int row, int col) { return view->visualRect(view->indexOf(row, col)).center(); }
void clickCell(GridView* view, int row, int col)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(view, row, col));
    QApplication::processEvents();
}
void toggleCell(GridView* view, int row, int col)
{
    view->grid().select(row, col);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Space);
}

template <class W> W* childWindow(frm_Menu& menu)
{
    for (QMdiSubWindow* sub : menu.windows())
        if (auto* w = qobject_cast<W*>(sub->widget()))
            return w;
    return nullptr;
}

class WholeProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testing_support::writeFakeProgram(m_sendmail));
        platform::services().mail = &m_mail;
    }
    void TearDown() override
    {
        m_menu.reset();
        platform::services().mail = &env.mail();
    }

    // The program started as main() starts it; false when it did not start.
    bool start()
    {
        m_menu = app::startProgram(env.path(QStringLiteral("bin")));
        if (!m_menu)
            return false;
        m_menu->activateWindow();
        return QTest::qWaitForWindowActive(m_menu.get());
    }
    // Everything the running program holds is gone (the main window closed, the settings and the
    // program-wide variables read again at the next start); its files stay.
    void stop()
    {
        if (m_menu)
            m_menu->close();
        m_menu.reset();
        env.restartRegistry();
        common::resetGlobals();
        common::resetOptions();
    }

    // A new user's first start: the proposed data folder, no species-code learning, no update
    // check, and the correspondent chosen in the address editor that the reminder opens.
    void firstStart()
    {
        env.dialogs().answer(mb::Yes); // create the proposed data folder
        env.dialogs().answer(mb::No);  // species codes: no learning mode
        env.dialogs().answer(mb::No);  // look for updates on the Internet: no
        env.dialogs().answer(mb::Yes); // no correspondent yet: define one now
        ASSERT_TRUE(start());
        const QStringList asked = env.dialogs().texts();
        ASSERT_EQ(asked.size(), 4) << asked.join(QStringLiteral("\n---\n")).toStdString();
        EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Premier démarrage de Mirelot")));
        EXPECT_TRUE(asked[3].startsWith(QStringLiteral("Vous n'avez défini aucune adresse courriel")));
        env.dialogs().clearAsked();
        EXPECT_EQ(gstr_Dossier, dataFolder());
        EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
        EXPECT_TRUE(QFileInfo::exists(QDir(env.programFolder()).filePath(QStringLiteral("Communes.DOV"))));

        // The address editor offers the national coordination, ticked; the user adds the
        // regional correspondent, ticks it instead, saves and closes.
        auto* editor = childWindow<frm_Param>(*m_menu);
        ASSERT_TRUE(editor);
        GridView* view = editor->flx_Grille;
        ASSERT_EQ(view->grid().cell(1, 2), common::kShocCoordinationAddress);
        clickCell(view, 2, 2);
        ASSERT_TRUE(view->isEditing());
        QTest::keyClicks(QApplication::focusWidget(), kCorrespondent);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        clickCell(view, 2, 1);
        clickCell(view, 1, 1);
        click(editor->cmd_Save);
        click(editor->cmd_exit);
        EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    }

    // "Gestion des relevés".
    frm_Liste_Releves_SHOC* openList()
    {
        m_menu->item(QStringLiteral("Saisie"), 2)->trigger();
        return childWindow<frm_Liste_Releves_SHOC>(*m_menu);
    }

    // "Nouveau relevé" on an empty list: a new site, confirmed; the record window opens.
    frm_Releve_SHOC* newSite(frm_Liste_Releves_SHOC& list)
    {
        env.dialogs().answer(mb::Yes); // create a new site
        click(list.cmd_Ajout);
        EXPECT_EQ(env.dialogs().texts().value(0),
                  QStringLiteral("Confirmez votre intention de créer un nouveau site"));
        env.dialogs().clearAsked();
        EXPECT_FALSE(list.isVisible());
        QMdiSubWindow* frame = m_menu->recordWindow();
        return frame ? qobject_cast<frm_Releve_SHOC*>(frame->widget()) : nullptr;
    }

    // One parcel, typed page by page as the user does.
    void typeRecord(frm_Releve_SHOC& w)
    {
        using namespace record;
        choose(controls(w).cbo_Dept, QStringLiteral("26 - Drôme"));
        choose(controls(w).cbo_Communes, QStringLiteral("Valence"));
        type(controls(w).txt_Lieudit, QStringLiteral("Les Plaines"));
        type(controls(w).Txt_Nom_Observateur, QStringLiteral("DURAND"));
        type(controls(w).txt_Prénom_Observateur, QStringLiteral("Jean"));
        type(controls(w).txt_Email, QStringLiteral("jean.durand@exemple.fr"));
        moveTo(controls(w).cbo_Saison);
        env.dialogs().answer(mb::Yes); // the number of parcels is free
        click(controls(w).cmd_Free_Nbr_Points);
        env.dialogs().clearAsked();
        type(controls(w).txt_Nbr_Relevés, QStringLiteral("1"));
        moveTo(controls(w).cbo_Saison);
        ASSERT_EQ(w.parcelCount(), 1);

        controls(w).ogl_Divers->setCurrentIndex(PageLocations);
        ASSERT_TRUE(typeCell(controls(w).flx_Coordonnées, 1, LocLongitude, QStringLiteral("801000")));
        ASSERT_TRUE(typeCell(controls(w).flx_Coordonnées, 1, LocLatitude, QStringLiteral("2000000")));
        ASSERT_TRUE(typeCell(controls(w).flx_Coordonnées, 1, LocAltitude, QStringLiteral("120")));
        toggleCell(controls(w).flx_Desc_Parcelles, 1, 2);

        controls(w).ogl_Divers->setCurrentIndex(PageVisit);
        type(controls(w).txt_Date, QStringLiteral("15/01/2010"));
        moveTo(controls(w).opt_Passage[0]);
        click(controls(w).opt_Passage[0]);
        ASSERT_TRUE(typeCell(controls(w).flx_Date_Météo, 1, 2, QStringLiteral("1 - 0 - 33 %")));

        controls(w).ogl_Divers->setCurrentIndex(PageSpecies);
        ASSERT_EQ(controls(w).ogl_Divers->currentIndex(), int(PageSpecies))
            << env.dialogs().texts().join('|').toStdString();
        type(controls(w).txt_Heure, QStringLiteral("08:30"));
        type(controls(w).txt_Durée, QStringLiteral("00:20"));
        moveTo(controls(w).chk_Chasse[0]);
        click(controls(w).chk_Chasse[0]);
        ASSERT_TRUE(typeCell(controls(w).flx_Espèces, 1, SpeciesCodeColumn, QStringLiteral("ALAARV")));
        ASSERT_TRUE(typeCell(controls(w).flx_Espèces, 1, SpeciesFirstCountColumn, QStringLiteral("4")));
        EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    }

    // "Enregistrer et fermer", confirmed.
    void save(frm_Releve_SHOC& w)
    {
        env.dialogs().answer(mb::Yes);
        click(controls(w).cmd_exit);
        EXPECT_EQ(
            env.dialogs().texts(),
            QStringList{QStringLiteral("Veuillez confirmer votre intention de sauvegarder les données")});
        env.dialogs().clearAsked();
        EXPECT_FALSE(m_menu->recordWindow());
    }

    // "Exporter un ou plusieurs relevés" on the record clicked in the list, confirmed: the export
    // frame opens.
    void openExportFrame(frm_Liste_Releves_SHOC& list, const QString& record)
    {
        clickCell(list.flx_Grille, list.grid().findRowByKey(record), recordlist::FileColumn);
        env.dialogs().answer(mb::Yes);
        click(list.cmd_Export);
        EXPECT_EQ(env.dialogs().texts(),
                  QStringList{QStringLiteral("Confirmez votre intention de exporter l'EPS ") + record});
        env.dialogs().clearAsked();
        EXPECT_EQ(list.view(), View::Export);
    }

    // "Exportation vers Excel": the record's workbook in a folder that the user types in the
    // folder chooser, which makes it.
    void exportToWorkbook(frm_Liste_Releves_SHOC& list, const QString& folder)
    {
        bool chosen = false;
        QTimer answer; // goes with this step, whether the chooser showed or not
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* chooser = qobject_cast<Frm_Selection_dossier*>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            type(chooser->txt_Dossier, folder);
            env.dialogs().answer(mb::OK); // the folder does not exist: create it
            click(chooser->cmd_Selectionner);
            chosen = chooser->result() == QDialog::Accepted;
            if (!chosen)
                chooser->reject();
        });
        answer.start(0);
        env.dialogs().answer(mb::OK); // the workbook is made
        click(list.cmd_Exportation[0]);
        EXPECT_TRUE(chosen);
        const QString workbook = recordlist::recordWorkbookPath(folder, kRecord);
        EXPECT_EQ(env.dialogs().texts().value(1),
                  QStringLiteral("Le fichier ") + workbook + QStringLiteral(" a été créé."))
            << env.dialogs().texts().join('|').toStdString();
        env.dialogs().clearAsked();
    }

    // The correspondent's mail: the one ticked in the address book is the one selected; the
    // warning about the mail program accepted.
    void mailToCorrespondent(frm_Liste_Releves_SHOC& list)
    {
        QStringList selected;
        for (const QListWidgetItem* item : list.lst_Email->selectedItems())
            selected << item->text();
        EXPECT_EQ(selected, QStringList{kCorrespondent});
        env.dialogs().answer(mb::OK); // a mail program is needed: go on
        env.dialogs().answer(mb::OK); // the mail has left
        click(list.cmd_Exportation[2]);
        EXPECT_EQ(env.dialogs().texts().value(1),
                  QStringLiteral("Un courriel a été créé dans votre boîte d'envoi et attend d'être envoyé."))
            << env.dialogs().texts().join('|').toStdString();
        env.dialogs().clearAsked();
    }

    // What the machine's sendmail received.
    std::optional<testing_support::ReadMessage> mailSent() const
    {
        return testing_support::readMessage(testing_support::fakeInput(m_sendmail).value_or(QByteArray()));
    }

    // The list's lines: file, status, passage, date and last export.
    static QStringList lines(frm_Liste_Releves_SHOC& list)
    {
        using namespace recordlist;
        QStringList out;
        const grid::Grid& g = list.grid();
        for (int r = 1; r < g.rows(); ++r)
            out << QStringList{g.cell(r, FileColumn), g.cell(r, StatusColumn), g.cell(r, PassageColumn),
                               g.cell(r, DateColumn), g.cell(r, ExportedColumn)}
                       .join(QLatin1Char('|'));
        return out;
    }

    QString dataFolder() const { return QDir(env.userHome()).filePath(QStringLiteral("Mirelot")); }

    testing_support::TestEnvironment env;

private:
    QString m_sendmail = env.path(QStringLiteral("programmes/sendmail"));
    testing_support::ScopedEnv m_sendmailCommand{"MIRELOT_SENDMAIL", (m_sendmail + " -t -oi").toUtf8()};
    platform::DesktopMail m_mail;
    std::unique_ptr<frm_Menu> m_menu;
};

} // namespace

TEST_F(WholeProgramTest, ARecordFromTheFirstStartToTheCorrespondentAndBackAfterARestart)
{
    firstStart();
    ASSERT_FALSE(HasFailure());

    // A record of a new site, entered and saved: listed, validated, never exported.
    frm_Liste_Releves_SHOC* list = openList();
    ASSERT_TRUE(list);
    EXPECT_TRUE(lines(*list).isEmpty());
    frm_Releve_SHOC* record = newSite(*list);
    ASSERT_TRUE(record);
    typeRecord(*record);
    ASSERT_FALSE(HasFailure());
    save(*record);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(lines(*list), QStringList{kRecord + QStringLiteral("||1|15/01/2010|")});

    // Its workbook: one sheet, the record's parcel and species.
    openExportFrame(*list, kRecord);
    ASSERT_FALSE(HasFailure());
    const QString exports = QDir(env.userHome()).filePath(QStringLiteral("Exports SHOC"));
    exportToWorkbook(*list, exports);
    ASSERT_FALSE(HasFailure());
    const testing_support::WorkbookContents workbook =
        testing_support::readWorkbookContents(recordlist::recordWorkbookPath(exports, kRecord));
    ASSERT_TRUE(workbook.ok) << workbook.error.toStdString();
    ASSERT_EQ(workbook.sheetNames(), QStringList{QStringLiteral("SHOC")});
    const testing_support::WorkbookSheet& sheet = workbook.sheets[0];
    EXPECT_EQ(sheet.rowCount, 2);
    QHash<QString, QString> row;
    for (int col = 0; col < sheet.colCount; ++col)
        row.insert(sheet.value(0, col), sheet.value(1, col));
    EXPECT_EQ(row.value(QStringLiteral("Site")), kSite);
    EXPECT_EQ(row.value(QStringLiteral("Commune")), QStringLiteral("Valence"));
    EXPECT_EQ(row.value(QStringLiteral("Code espèce")), QStringLiteral("ALAARV"));
    EXPECT_EQ(row.value(QStringLiteral("Nombre")), QStringLiteral("4"));

    // Mailed a day later: the record file reaches the correspondent whole.
    env.clock().set(QDateTime(QDate(2010, 6, 16), QTime(9, 30)));
    EXPECT_EQ(list->view(), View::Export) << "the frame stays open after a run";
    mailToCorrespondent(*list);
    ASSERT_FALSE(HasFailure());
    const auto mail = mailSent();
    ASSERT_TRUE(mail.has_value());
    EXPECT_EQ(mail->to, QStringList{kCorrespondent});
    ASSERT_EQ(mail->attachments.size(), 1);
    EXPECT_EQ(mail->attachments[0].fileName, kRecord);
    EXPECT_EQ(mail->attachments[0].bytes, testing_support::readBytes(QDir(dataFolder()).filePath(kRecord)));

    // Both exports are logged, the newest first, and the list shows the newest.
    const QString mailed = QStringLiteral("16/06/2010 09:30:00");
    const auto log = common::readExportLog(dataFolder());
    ASSERT_TRUE(log) << log.result.error.toStdString();
    EXPECT_EQ(log.value, (QList<common::ExportLogLine>{{kRecord, mailed}, {kRecord, "15/06/2010 12:00:00"}}));
    const QString listed = kRecord + QStringLiteral("||1|15/01/2010|") + mailed;
    EXPECT_EQ(lines(*list), QStringList{listed});

    // Started again on the same folders: nothing asked, the record and its last export found, and
    // the temporary file of a save killed an hour ago gone (one of this minute stays).
    const QString killed = QDir(dataFolder()).filePath(QStringLiteral(".mirelot-Ab12Cd"));
    const QString writing = QDir(dataFolder()).filePath(QStringLiteral(".mirelot-Ef34Gh"));
    testing_support::writeBytes(killed, "à moitié écrit");
    testing_support::writeBytes(writing, "en cours");
    const timeval anHourAgo{::time(nullptr) - 3600, 0};
    const timeval times[2] = {anHourAgo, anHourAgo};
    ASSERT_EQ(::utimes(QFile::encodeName(killed).constData(), times), 0);
    stop();
    ASSERT_TRUE(start());
    EXPECT_TRUE(env.dialogs().asked().isEmpty()) << env.dialogs().texts().join('|').toStdString();
    EXPECT_FALSE(QFileInfo::exists(killed));
    EXPECT_TRUE(QFileInfo::exists(writing));
    list = openList();
    ASSERT_TRUE(list);
    EXPECT_EQ(lines(*list), QStringList{listed});
}

// A data folder where the start-up cannot write the export log (a full disk here; a read-only
// folder alike): its box, a real one, belongs to the main window and shows over it, so that it is
// answered before anything else; then "Gestion des relevés" opens the list at the first click.
TEST_F(WholeProgramTest, TheStartUpsBoxesShowOverTheMainWindowAndTheListOpensAtTheFirstClick)
{
    firstStart();
    ASSERT_FALSE(HasFailure());
    stop();
    QByteArray log; // a few KB whose compaction drops lines
    for (int i = 0; i < 100; ++i)
        log += QStringLiteral("SHOC-%1.xlsx\t0%2/01/2010 10:00:00\r\n").arg(i / 2).arg(1 + i % 2).toUtf8();
    testing_support::writeBytes(QDir(dataFolder()).filePath(QStringLiteral("LOG_EXPORT.TXT")), log);

    platform::WidgetDialogs boxes;
    platform::Dialogs* scripted = platform::services().dialogs;
    platform::services().dialogs = &boxes;
    QStringList shown; // each box: whether it belongs to the main window, and its first line
    QTimer answering;
    answering.setInterval(5);
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown << (qobject_cast<frm_Menu*>(box->parentWidget()) ? QStringLiteral("fenêtre principale : ")
                                                               : QStringLiteral("à part : ")) +
                     box->text().section(QLatin1Char('\n'), 0, 0);
        QTest::keyClick(box, Qt::Key_Return);
    });
    answering.start();
    bool started = false;
    {
        const testing_support::FileSizeLimit full(1024);
        started = start();
    }
    answering.stop();
    platform::services().dialogs = scripted;
    ASSERT_TRUE(started);
    EXPECT_TRUE(shown.contains(
        QStringLiteral("fenêtre principale : Le journal des exportations n'a pas pu être mis à jour.")))
        << shown.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(openList());
}
