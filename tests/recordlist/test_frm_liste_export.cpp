// The record list window's export frame: what opens it, what each run button hands the export
// and what the window does with the outcome. The export's own rules are tested on the core.
#include "common/ExcelWriter.h"
#include "common/Globals.h"
#include "common/Paths.h"
#include "grid/GridFile.h"
#include "recordlist/ExportRun.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/samples/ExportSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace recordlist;
namespace mb = platform::mb;

namespace {

class ExportWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gstr_Dossier = env.dataFolder();
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
        export_samples::writeTables();
        a = record("Aval");
        b = record("Bourg");
        c = record("Crête", true);
        // Three correspondents, the first and the last ticked.
        grid::Grid book;
        book.setCols(3);
        for (const char* address : {"nord@exemple.fr", "centre@exemple.fr", "sud@exemple.fr"})
            book.addRow(QStringLiteral("\t\t") + address);
        book.setCheckState(1, 1, grid::Grid::Checked);
        book.setCheckState(3, 1, grid::Grid::Checked);
        ASSERT_TRUE(grid::GridFile::save(book, common::joinPath(env.programFolder(), "email.DOV"),
                                         grid::GridFile::Complete, true)
                        .ok);

        frm_Liste_Releves_SHOC::Hooks hooks;
        hooks.chooseFolder = [this](const QString& title, const QString& start) {
            chooser << title << start;
            hourglassOverChooser = env.pointer().shown().has_value();
            return folderAnswer;
        };
        window = std::make_unique<frm_Liste_Releves_SHOC>(std::move(hooks));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QString record(const QString& place, bool notValid = false)
    {
        record::SurveyRecord r = export_samples::oneParcel();
        r.siteName = "SHOC-07~Privas~" + place + "~MARTIN Anne~Hiver 2009-2010";
        r.notValidated = notValid;
        return export_samples::writeRecord(env.dataFolder(), r);
    }
    // Picks exactly these records in the list, then opens the frame answering the questions.
    void openFrame(const QStringList& names, const QList<int>& answers = {mb::Yes})
    {
        grid::Grid& list = window->grid();
        list.select(list.findRowByKey(names.first()), FileColumn);
        for (const QString& name : names)
            list.setRowSelected(list.findRowByKey(name), true);
        for (int answer : answers)
            env.dialogs().answer(answer);
        click(window->cmd_Export);
    }
    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static bool readWorkbook(grid::Grid& g, const QString& path)
    {
        return grid::GridFile::load(g, path, grid::GridFile::Workbook).ok;
    }
    // The sites of the first and last rows of a table or workbook.
    static QStringList sites(const grid::Grid& g)
    {
        for (int col = 0; col < g.cols(); ++col)
            if (g.cell(0, col) == "Site")
                return {g.cell(1, col), g.cell(g.rows() - 1, col)};
        return {};
    }

    testing_support::TestEnvironment env;
    QString a, b, c;
    QString folderAnswer;
    QStringList chooser; // title and start folder of each call
    bool hourglassOverChooser = false;
    std::unique_ptr<frm_Liste_Releves_SHOC> window;
};

} // namespace

TEST_F(ExportWindowTest, TheSelectionDecidesWhetherAndHowTheFrameOpens)
{
    const struct
    {
        QStringList picked;
        QList<int> answers;
        QString lastBox;
        bool frame, oneFileOffered;
    } cases[] = {
        {{a, b, c}, {mb::No}, "Sur les 3 fichier(s) que vous avez sélectionné, 1 sont notés", false, false},
        {{a, b, c}, {mb::Yes, mb::Yes}, "Confirmez votre intention d'exporter 2 EPS.", true, true},
        {{c}, {mb::Yes, mb::OK}, kNoRecordText, false, false},
        {{b}, {mb::Yes}, "Confirmez votre intention de exporter l'EPS " + b, true, false},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.lastBox.toStdString());
        window->cmd_Faux_Click();
        window->chk_one_file->setChecked(true);
        window->exportGrid().setRows(3); // left by an earlier run
        openFrame(t.picked, t.answers);
        EXPECT_TRUE(env.dialogs().texts().last().contains(t.lastBox));
        ASSERT_EQ(window->view() == frm_Liste_Releves_SHOC::View::Export, t.frame);
        if (!t.frame)
            continue;
        EXPECT_EQ(window->exportGrid().rows(), 1);
        EXPECT_FALSE(window->cmd_Export->isEnabled());
        EXPECT_EQ(window->chk_one_file->isEnabled(), t.oneFileOffered);
        EXPECT_EQ(window->chk_one_file->isChecked(), t.oneFileOffered);
        EXPECT_EQ(window->txt_File_Export->isEnabled(), t.oneFileOffered);
        // The captions name the count; one for one record would keep an earlier count.
        EXPECT_EQ(window->cmd_Exportation[2]->text(),
                  t.oneFileOffered
                      ? "Envoi par courriel à votre correspondant régional des 2 fichiers sélectionnés"
                      : "Envoi du fichier par courriel à votre correspondant régional");
        if (t.oneFileOffered) {
            EXPECT_EQ(window->chk_one_file->text(),
                      "Alimenter un seul fichier avec les 2 fichiers sélectionnés");
        }
    }
}

TEST_F(ExportWindowTest, OneWorkbookPerRecordDatesTheListAndSelectsTheSameRecordsAgain)
{
    // Sorted by file name, descending: c, b, a.
    QHeaderView* header = window->flx_Grille->horizontalHeader();
    const int fileSection = window->flx_Grille->indexOf(1, FileColumn).column();
    const QPoint fileHeader(header->sectionViewportPosition(fileSection) + 5, header->height() / 2);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, fileHeader);
    ASSERT_EQ(window->grid().cell(1, FileColumn), c);

    openFrame({a, b});
    folderAnswer = env.path("classeurs");
    ASSERT_TRUE(QDir().mkpath(folderAnswer));
    env.dialogs().answer(mb::OK);
    window->opt_GPS[1]->setChecked(true);
    click(window->cmd_Exportation[0]);

    EXPECT_EQ(chooser, QStringList({"Mirelot - Sélection du dossier cible", env.dataFolder()}));
    EXPECT_FALSE(hourglassOverChooser);
    EXPECT_EQ(env.dialogs().texts().last(), "Traitement terminé");
    EXPECT_EQ(env.dialogs().asked().last().title, "Mirelot");
    EXPECT_FALSE(env.pointer().shown().has_value());
    // In the list's order, b above a; coordinates only.
    grid::Grid first, second;
    ASSERT_TRUE(readWorkbook(first, folderAnswer + "/" + b.chopped(8) + ".xlsx"));
    ASSERT_TRUE(readWorkbook(second, folderAnswer + "/" + a.chopped(8) + ".xlsx"));
    const QStringList columns = first.rangeText({0, 0, 0, first.cols() - 1}).split('\t');
    EXPECT_TRUE(columns.contains("GPS") && !columns.contains("Département"));

    // The table shows both records' rows, read-only; the list the new export dates.
    const grid::Grid& table = window->exportGrid();
    EXPECT_EQ(table.rows() - 1, first.rows() - 1 + second.rows() - 1);
    EXPECT_EQ(sites(table), QStringList({sites(first).first(), sites(second).last()}));
    EXPECT_EQ(table.editable(), grid::Grid::Editable::None);
    const grid::Grid& list = window->grid();
    EXPECT_EQ(QStringList({list.cell(1, FileColumn), list.cell(1, ExportedColumn)}), QStringList({c, ""}));
    EXPECT_FALSE(list.cell(2, ExportedColumn).isEmpty() || list.cell(3, ExportedColumn).isEmpty());
    EXPECT_EQ(selectedFileNames(list), QStringList({b, a}));
}

TEST_F(ExportWindowTest, OneWorkbookForAllTheRecordsNamedInTheSaveDialog)
{
    openFrame({a, b});
    click(window->chk_one_file);
    ASSERT_TRUE(window->cmd_File_Export->isEnabled());
    window->txt_File_Export->setText("ancien.xlsx");
    env.dialogs().answerText(std::nullopt);
    click(window->cmd_File_Export);
    EXPECT_EQ(window->txt_File_Export->text(), "ancien.xlsx");
    EXPECT_EQ(env.dialogs().asked().last().file.folder, env.dataFolder());

    const QString target = env.path("tout.xlsx");
    env.dialogs().answerText(target);
    click(window->cmd_File_Export);
    EXPECT_EQ(window->txt_File_Export->text(), target);
    env.dialogs().answer(mb::OK);
    click(window->cmd_Exportation[0]);

    EXPECT_TRUE(chooser.isEmpty());
    EXPECT_EQ(env.dialogs().texts().last(), "Traitement terminé");
    grid::Grid all;
    ASSERT_TRUE(readWorkbook(all, target));
    const grid::Grid& table = window->exportGrid();
    EXPECT_EQ(table.rows(), all.rows());
    EXPECT_EQ(sites(table), sites(all));

    // Ctrl+C copies the table's selection, a line feed after each row.
    window->exportGrid().select(1, 1, 2, 3);
    QTest::keyClick(window->flx_Export, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), table.rangeText({1, 1, 2, 3}).replace('\r', '\n') + "\n");
}

TEST_F(ExportWindowTest, MailGoesToTheSelectedCorrespondents)
{
    openFrame({a, b});
    env.dialogs().answer(mb::OK); // the warning
    env.dialogs().answer(mb::OK); // the count
    click(window->cmd_Exportation[2]);

    ASSERT_EQ(env.mail().sent.size(), 2);
    EXPECT_EQ(env.mail().sent[0].message.recipients, QStringList({"nord@exemple.fr"}));
    EXPECT_EQ(env.mail().sent[1].message.recipients, QStringList({"sud@exemple.fr"}));
    EXPECT_EQ(env.mail().sent[1].message.attachments.size(), 2);
    EXPECT_EQ(env.dialogs().texts().last(),
              "2 courriels ont été créés dans votre boîte d'envoi et attendent d'être envoyés.");
    EXPECT_EQ(window->exportGrid().rows(), 1);
    EXPECT_EQ(selectedFileNames(window->grid()), QStringList({a, b}));
}

TEST_F(ExportWindowTest, GivingUpWritesAndSendsNothing)
{
    const struct
    {
        bool oneFile;
        int button, answer;
        QString box;
        bool chooserAsked;
    } cases[] = {
        {false, 2, mb::Cancel, mailWarningText(), false},
        {false, 0, mb::OK, "Adandon à votre demande", true},
        {true, 0, mb::OK,
         "Si vous souhaitez créer un seul fichier lors de cette opération, veuillez indiquer le nom du "
         "fichier cible",
         false},
    };
    openFrame({a, b});
    for (const auto& t : cases) {
        SCOPED_TRACE(t.box.toStdString());
        window->chk_one_file->setChecked(t.oneFile);
        window->txt_File_Export->setText(" ");
        chooser.clear();
        env.dialogs().clearAsked();
        env.dialogs().answer(t.answer);
        click(window->cmd_Exportation[t.button]);
        EXPECT_EQ(env.dialogs().texts(), QStringList({t.box}));
        EXPECT_EQ(!chooser.isEmpty(), t.chooserAsked);
    }
    EXPECT_TRUE(env.mail().sent.isEmpty());
    EXPECT_TRUE(QDir(env.dataFolder()).entryList({"*.xlsx"}).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(env.dataFolder() + "/LOG_EXPORT.TXT"));
}
