#include "platform/DesktopShell.h"
#include "tests/support/MailFakes.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using testing_support::FakeProgram;
using testing_support::ScopedEnv;

namespace {

class DesktopShellTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString bin = env.path("programmes");
    QString opener = bin + "/xdg-open";
    // The search path holds only the fake opener's folder.
    ScopedEnv path{"PATH", bin.toUtf8()};
    platform::DesktopShell shell;
};

} // namespace

TEST_F(DesktopShellTest, WhatTheOpenerSaysComesBackNamingThePageOrFile)
{
    const QString url =
        "http://www.exemple.fr/index_download.php?Organisme=ALL&Logiciel=Mirelot&Version=Z2010G";
    const QString pdf = env.path("Guide du relevé.pdf");
    testing_support::writeBytes(pdf, "%PDF");
    struct Row
    {
        const char* name;
        FakeProgram opener;
        bool page;
        const char* error; // empty when opened
    };
    const Row rows[] = {
        {"page opened", {0, "", 0}, true, ""},
        {"no browser",
         {3, "xdg-open: no method available", 0},
         true,
         "n'a pas pu être ouverte : aucun navigateur n'est installé."},
        {"browser failed", {4, "", 0}, true, "n'a pas pu être ouverte : le navigateur n'a pas pu l'ouvrir."},
        {"opener failed otherwise", {1, "", 0}, true, "le programme « xdg-open » a échoué (code 1)."},
        {"browser that keeps the opener waiting", {0, "", 5}, true, ""},
        {"file opened", {0, "", 0}, false, ""},
        {"no program for the file",
         {3, "", 0},
         false,
         "n'a pas pu être ouvert : aucun programme n'est installé pour ouvrir ce type de fichier."},
    };
    shell.openWait = std::chrono::milliseconds(500);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(testing_support::writeFakeProgram(opener, r.opener));
        QElapsedTimer t;
        t.start();
        const platform::Result opened = r.page ? shell.openUrl(url) : shell.openFile(pdf);
        EXPECT_LT(t.elapsed(), 3000);
        const QString target = r.page ? url : pdf;
        EXPECT_EQ(testing_support::fakeArguments(opener), QStringList{target});
        const QString error = QString::fromUtf8(r.error);
        EXPECT_EQ(opened.ok, error.isEmpty()) << opened.error.toStdString();
        if (!error.isEmpty()) {
            EXPECT_TRUE(opened.error.startsWith((r.page ? "La page « " : "Le fichier « ") + target + " »"))
                << opened.error.toStdString();
            EXPECT_TRUE(opened.error.endsWith(error)) << opened.error.toStdString();
        }
    }
}

TEST_F(DesktopShellTest, NothingToOpenIsRefusedBeforeTheOpener)
{
    ASSERT_TRUE(testing_support::writeFakeProgram(opener));
    struct Row
    {
        const char* name;
        bool page;
        QString target;
        QString error;
    };
    const Row rows[] = {
        {"empty address", true, "", "L'adresse «  » n'est pas valide."},
        {"address without scheme", true, "www.exemple.fr", "L'adresse « www.exemple.fr » n'est pas valide."},
        {"missing file", false, env.path("absent.pdf"),
         "Le fichier « " + env.path("absent.pdf") + " » est introuvable."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const platform::Result opened = r.page ? shell.openUrl(r.target) : shell.openFile(r.target);
        EXPECT_FALSE(opened.ok);
        EXPECT_EQ(opened.error, r.error);
        EXPECT_FALSE(testing_support::fakeArguments(opener).has_value());
    }
}
