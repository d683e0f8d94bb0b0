#include "common/DisplayAdaptation.h"
#include "mainwindow/AboutTexts.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST(DisplayAdaptation, CaptionFollowsCommandLineAndAdministratorMode)
{
    const QString base = "Mirelot [Suivi hivernal des oiseaux des champs] - Z2010-G";
    struct Row
    {
        const char* commandLine;
        bool admin;
        QString caption;
    };
    const Row rows[] = {
        {"", false, base},
        {"   ", false, base},
        {"\t", false, base},
        {"x", false, base + "     / x"},
        {" x ", false, base + "     /  x "}, // the command line as given
        {"", true, base + " - Mode Administrateur"},
        {"x", true, base + "     / x - Mode Administrateur"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(common::mainWindowTitle(QString::fromUtf8(r.commandLine), r.admin), r.caption)
            << r.commandLine;
}

TEST(DisplayAdaptation, AdministratorCodeIsExact)
{
    struct Row
    {
        const char* pswd;
        bool admin;
    };
    const Row rows[] = {{"KORVEL-ADM", true},   {"korvel-adm", false},  {"Korvel-Adm", false},
                        {"KORVEL-ADM ", false}, {" KORVEL-ADM", false}, {"", false},
                        {"KORVEL", false}};
    for (const Row& r : rows)
        EXPECT_EQ(common::isAdministratorMode(QString::fromUtf8(r.pswd)), r.admin) << r.pswd;
}

TEST(AboutTexts, VersionAndWaitTexts)
{
    EXPECT_EQ(mainwindow::aboutVersionText(), "Version : Z2010-G   Révision : 181");
    EXPECT_EQ(mainwindow::waitCaption(), "Mirelot 2010.2.181");
    EXPECT_EQ(mainwindow::waitText(), "Transformation des fichiers FLX\rau format FLX2009 compatible\r"
                                      "avec Mirelot  V2009\r\rVEUILLEZ PATIENTER");
    EXPECT_EQ(common::aboutItemCaption(), "A propos de Mirelot");
}

TEST(AboutTexts, LineStructure)
{
    const QStringList pub = mainwindow::presentationText().split('\n');
    ASSERT_EQ(pub.size(), 4);
    EXPECT_EQ(pub[0], "Mirelot - Suivi hivernal des oiseaux des champs -");
    EXPECT_EQ(pub[1], "est un module complémentaire à");
    EXPECT_TRUE(pub[2].startsWith("Gadrel")) << pub[2].toStdString();
    EXPECT_TRUE(pub[2].endsWith(" -,"));
    EXPECT_EQ(pub[3], "logiciel dédié à la gestion des données naturalistes.");

    // credit, then the maker: name, address, telephone, contact address
    const QStringList credit = mainwindow::creditText().split('\n');
    ASSERT_GE(credit.size(), 6);
    const int blank = int(credit.indexOf(QString()));
    ASSERT_GT(blank, 0);
    ASSERT_EQ(credit.size(), blank + 5);
    EXPECT_TRUE(credit[blank + 4].contains('@'));
    EXPECT_EQ(credit[blank + 1], credit[blank - 1].mid(4)); // "par <maker>" then "<maker>"
}
