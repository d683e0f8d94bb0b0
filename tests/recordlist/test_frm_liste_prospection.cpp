// The record list window's prospection view: what "Analyser la prospection" shows and tells, the
// buttons it swaps, the tip over a winter column, the copy and the mails its buttons send. The
// table, the texts and the mails are tested on the core.
#include "common/Globals.h"
#include "recordlist/ProspectionTable.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/samples/ProspectionSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace recordlist;
using platform::MailTransport;
using prospection_samples::siteOf;
using Answer = testing_support::ScriptedDialogs::Answer;
namespace mb = platform::mb;

namespace {

// On the test environment's day, 15/06/2010, the winters run from 2006-2007 to 2009-2010.
const int kWinter2008 = FirstWinterColumn + 2;
const int kWinter2009 = FirstWinterColumn + 3;
const QString kDupont = QStringLiteral("dupont@exemple.example");
const QString kMartin = QStringLiteral("martin@exemple.example");
const QString kPhone = QStringLiteral("06 12 34 56 78");
const QString kUnreadable = QStringLiteral("SHOC-26~Valence~Illisible~Passage N1.FLX2009");

// Three sites over two winters, one with a telephone number only, and a file that is no record.
class ProspectionWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gstr_Dossier = env.dataFolder();
        using V = prospection_samples::Visit;
        for (const V& v :
             {V{"Les Baumes", 2008, 1, kDupont}, V{"Les Baumes", 2008, 2, kDupont},
              V{"Les Baumes", 2009, 1, kDupont}, V{"Le Bois", 2009, 1, kMartin, kPhone, "MARTIN"},
              V{"Le Bois", 2009, 2, kMartin, kPhone, "MARTIN"}, V{"La Combe", 2007, 1, "", kPhone}})
            prospection_samples::save(env.dataFolder(), v);
        testing_support::writeBytes(env.dataFolder() + "/" + kUnreadable, "pas un relevé");
        env.dialogs().answer(mb::OK); // the record list names the file it leaves out
        window = std::make_unique<frm_Liste_Releves_SHOC>(frm_Liste_Releves_SHOC::Hooks{});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_EQ(env.dialogs().asked().size(), 1);
        ASSERT_TRUE(env.dialogs().asked()[0].text.contains(kUnreadable));
        env.dialogs().clearAsked();
    }
    // Opens the view, answering the closing box and the box of the file left out.
    void openView()
    {
        env.dialogs().answer(mb::OK);
        env.dialogs().answer(mb::OK);
        window->cmd_Prospection->click();
        env.dialogs().clearAsked();
    }
    QStringList column(int col) const
    {
        QStringList out;
        for (int r = 1; r < window->prospectionGrid().rows(); ++r)
            out << window->prospectionGrid().cell(r, col);
        return out;
    }
    QPoint cellCentre(int row, int col) const
    {
        return window->flx_Prospection->visualRect(window->flx_Prospection->indexOf(row, col)).center();
    }

    testing_support::TestEnvironment env;
    std::unique_ptr<frm_Liste_Releves_SHOC> window;
};

} // namespace

TEST_F(ProspectionWindowTest, ShowsTheTableAndItsCountsThenCancelBringsTheListBack)
{
    QList<int> hourglassesAtBox;
    env.dialogs().setResponder([&](const auto&) {
        hourglassesAtBox << int(env.pointer().shapes().size());
        return Answer(mb::OK);
    });
    env.pointer().calls.clear();
    window->cmd_Prospection->click();

    EXPECT_TRUE(window->flx_Prospection->isVisible());
    EXPECT_EQ(column(ProspectionSiteColumn),
              QStringList({siteOf("La Combe"), siteOf("Le Bois", "MARTIN"), siteOf("Les Baumes")}));
    EXPECT_EQ(column(ProspectionContactColumn), QStringList({kPhone, kMartin, kDupont}));
    EXPECT_EQ(column(kWinter2008), QStringList({"", "", "2"}));
    EXPECT_EQ(column(kWinter2009), QStringList({"", "2", "1"}));
    EXPECT_GE(window->prospectionGrid().colWidth(ProspectionSiteColumn),
              window->flx_Prospection->fontMetrics().horizontalAdvance(siteOf("Les Baumes")));

    // The count (OK, no icon), then the file left out, each once the hourglass is gone.
    const auto& asked = env.dialogs().asked();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].text, "Il y a 3 sites prospectés par 2 observateurs");
    EXPECT_EQ(asked[0].style, mb::OKOnly);
    EXPECT_EQ(asked[0].title, common::kProgramName);
    EXPECT_TRUE(asked[1].text.startsWith("Un fichier n'a pas pu être lu") &&
                asked[1].text.contains(kUnreadable))
        << asked[1].text.toStdString();
    EXPECT_EQ(hourglassesAtBox, QList<int>({0, 0}));
    EXPECT_TRUE(env.pointer().calls.contains("hourglass"));

    QList<QPushButton*> prospection{window->cmd_Email, window->cmd_Copier, window->cmd_Faux};
    prospection << window->cmd_Email_Relance[0] << window->cmd_Email_Relance[1]
                << window->cmd_Email_Relance[2];
    const QList<QPushButton*> list{window->cmd_Ajout,  window->cmd_maj,    window->Cmd_Supp,
                                   window->cmd_Copier, window->cmd_Export, window->cmd_Prospection,
                                   window->cmd_exit};
    for (const auto& [view, shown] : {std::pair{0, prospection}, std::pair{1, list}}) {
        if (view == 1)
            window->cmd_Faux->click();
        for (QPushButton* b : prospection + list) {
            EXPECT_EQ(b->isVisible(), shown.contains(b)) << view << b->objectName().toStdString();
        }
    }
    EXPECT_TRUE(window->flx_Grille->isVisible());
}

TEST_F(ProspectionWindowTest, TheTipOverAWinterColumnIsItsSummaryAndIsClearedOverTheSite)
{
    openView();
    const std::pair<int, QString> moves[] = {
        {kWinter2009, "Bilan Hiver 2009-2010 : Nbr. sites prospectés=2"},
        {ProspectionContactColumn, ""},
        {kWinter2008, "Bilan Hiver 2008-2009 : Nbr. sites prospectés=1"},
        {ProspectionSiteColumn, ""},
    };
    for (const auto& [col, tip] : moves) {
        QTest::mouseMove(window->flx_Prospection->viewport(), cellCentre(2, col));
        EXPECT_EQ(window->flx_Prospection->toolTipText(), tip) << col;
    }
}

// Each button sends its own kind of reminder at once; the box gives the count and the site left
// out for its telephone number.
TEST_F(ProspectionWindowTest, EachReminderButtonSendsItsRemindersAndShowsTheCount)
{
    openView();
    const std::pair<QStringList, QString> cases[] = {
        {{kMartin, kDupont}, "2 courriels de relance ont été envoyés."},
        {{kMartin}, "1 courriel de relance ont été envoyés."},
        {{kDupont}, "1 courriel de relance ont été envoyés."},
    };
    const QString skipped =
        "\n\nUn site n'a pas d'adresse courriel (numéro de téléphone ou adresse invalide) ; "
        "aucun courriel ne lui a été envoyé :\n" +
        siteOf("La Combe") + " : " + kPhone;
    for (int k = 0; k < 3; ++k) {
        env.mail().sent.clear();
        env.dialogs().clearAsked();
        env.dialogs().answer(mb::OK);
        window->cmd_Email_Relance[k]->click();
        QStringList to;
        for (const auto& s : env.mail().sent) {
            to << s.message.recipients;
            EXPECT_EQ(s.transport, MailTransport::SendAtOnce);
        }
        EXPECT_EQ(to, cases[k].first) << k;
        EXPECT_EQ(env.dialogs().texts(), QStringList(cases[k].second + skipped)) << k;
    }
}

// A block of cells: the copy takes its cells, the circular goes to its rows' addresses.
TEST_F(ProspectionWindowTest, TheSelectedCellsAreCopiedAndTheCircularGoesToTheirRows)
{
    openView();
    QTest::mouseClick(window->flx_Prospection->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    QTest::mouseClick(window->flx_Prospection->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      cellCentre(3, 2));
    const QString expected =
        siteOf("Le Bois", "MARTIN") + "\tMARTIN Jean\n" + siteOf("Les Baumes") + "\tDUPONT Jean\n";
    for (const bool byKey : {true, false}) {
        QGuiApplication::clipboard()->setText("avant");
        if (byKey)
            QTest::keyClick(window->flx_Prospection, Qt::Key_C, Qt::ControlModifier);
        else
            window->cmd_Copier->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expected) << byKey;
    }

    window->cmd_Email->click();
    ASSERT_EQ(env.mail().sent.size(), 1);
    EXPECT_EQ(env.mail().sent[0].message.recipients, QStringList({kMartin, kDupont}));
    EXPECT_EQ(env.mail().sent[0].message.subject, "STOC-EPS : circulaire du 15/06/2010");
    EXPECT_EQ(env.mail().sent[0].transport, MailTransport::ComposeWindow);
    EXPECT_TRUE(env.dialogs().asked().isEmpty()); // sent, nothing left out: no box
}
