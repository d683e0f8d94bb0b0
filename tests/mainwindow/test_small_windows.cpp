#include "common/Publisher.h"
#include "mainwindow/AboutTexts.h"
#include "mainwindow/ProgramWaitWindow.h"
#include "mainwindow/frm_A_Propos.h"
#include "mainwindow/frm_Wait.h"
#include "platform/MousePointer.h"
#include "platform/OverrideCursorPointer.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

using testing_support::RecordingShell;

struct SmallWindowsTest : ::testing::Test
{
    platform::OverrideCursorPointer screen;
    testing_support::TestEnvironment env;
    SmallWindowsTest() { env.usePointer(&screen); }
};

TEST_F(SmallWindowsTest, AboutBoxLabels)
{
    frm_A_Propos box;
    EXPECT_EQ(box.windowTitle(), "A propos de Mirelot");
    EXPECT_EQ(box.lab_Nom_Projet->text(), "Mirelot");
    EXPECT_EQ(box.Lab_Version->text(), "Version : Z2010-G   Révision : 181");
    EXPECT_EQ(box.descriptionLabel->text(), "Suivi hivernal des oiseaux des champs");
    EXPECT_EQ(box.Lab_Pub->text(), mainwindow::presentationText());
    EXPECT_EQ(box.creditLabel->text(), mainwindow::creditText());
    EXPECT_EQ(box.Lab_Courriel->text(), common::kPublisherEmail);
    box.show();
    EXPECT_TRUE(box.logoImage->isVisible());
    EXPECT_FALSE(box.logoImage->pixmap().isNull());
    EXPECT_FALSE(box.familyLogoImage->isVisible());
}

TEST_F(SmallWindowsTest, ContactAndWebLabelsReachTheMaker)
{
    frm_A_Propos box;
    box.show();
    QTest::mouseClick(box.Lab_Courriel, Qt::LeftButton);
    ASSERT_EQ(env.mail().sent.size(), 1);
    const auto& sent = env.mail().sent[0];
    EXPECT_EQ(sent.transport, platform::MailTransport::ComposeWindow); // the user writes and sends
    EXPECT_EQ(sent.message.recipients, QStringList{common::kPublisherEmail});
    EXPECT_TRUE(sent.message.subject.isEmpty());
    EXPECT_TRUE(sent.message.attachments.isEmpty());
    EXPECT_EQ(env.mail().signOns, 1); // a session of its own, closed after the message
    EXPECT_EQ(env.mail().signOffs, 1);
    EXPECT_FALSE(env.mail().isSignedOn());

    QTest::mouseClick(box.lab_web, Qt::LeftButton);
    QTest::mouseClick(box.creditLabel, Qt::LeftButton); // not a link
    ASSERT_EQ(env.shell().calls.size(), 1);
    EXPECT_EQ(env.shell().calls[0].kind, RecordingShell::Call::Url);
    EXPECT_EQ(env.shell().calls[0].target, common::kPublisherSite);
    EXPECT_EQ(env.mail().sent.size(), 1);
}

TEST_F(SmallWindowsTest, ContactWithoutMailClientLeavesTheBoxOpenAndSilent)
{
    env.mail().hasComposeWindow = false;
    frm_A_Propos box;
    box.show();
    QTest::mouseClick(box.Lab_Courriel, Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(env.mail().sent.isEmpty());
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SmallWindowsTest, AboutBoxAloneClosesItself)
{
    frm_A_Propos box;
    box.show();
    QTest::mouseClick(box.cmd_exit, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

namespace {
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

TEST_F(SmallWindowsTest, WaitWindowIsPaintedBeforeTheWorkStarts)
{
    frm_Wait wait;
    EXPECT_EQ(wait.windowTitle(), "Mirelot 2010.2.181");
    QString expected = mainwindow::waitText();
    expected.replace('\r', '\n');
    EXPECT_EQ(wait.lab_wait->text(), expected);
    PaintCounter counter;
    wait.lab_wait->installEventFilter(&counter);
    wait.showWindow();
    // No event loop runs between here and the work: the label must already be painted.
    EXPECT_TRUE(wait.isVisible());
    EXPECT_GT(counter.paints, 0);
    EXPECT_FALSE(wait.stopButton->isVisible()); // a conversion cannot be stopped
}

TEST_F(SmallWindowsTest, WaitForAProgramNamesItAndCanBeStopped)
{
    mainwindow::ProgramWaitWindow observer;
    EXPECT_EQ(observer.window(), nullptr);
    std::optional<platform::PointerGuard> callers(std::in_place); // the caller's hourglass
    int stops = 0;
    observer.waitBegins("Envoi du message par la commande « /usr/sbin/sendmail »", [&] { ++stops; });
    frm_Wait* wait = observer.window();
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(wait->lab_wait->text(),
              "Envoi du message par la commande « /usr/sbin/sendmail »…\n\nVEUILLEZ PATIENTER");
    ASSERT_TRUE(wait->stopButton->isVisible());
    EXPECT_EQ(wait->stopButton->text(), "Arrêter");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    QTest::mouseClick(wait->stopButton, Qt::LeftButton);
    EXPECT_EQ(stops, 1);
    // Closed by its frame: the wait is stopped as well, the window stays until the wait is over.
    wait->close();
    EXPECT_EQ(stops, 2);
    EXPECT_TRUE(wait->isVisible());
    observer.waitEnds();
    EXPECT_EQ(observer.window(), nullptr);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    callers.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
