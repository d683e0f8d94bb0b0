#include "common/Paths.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
} // namespace

TEST(Paths, JoinAndNormalise)
{
    EXPECT_EQ(fun_Chemin("/d", "f.txt"), "/d/f.txt");
    EXPECT_EQ(fun_Chemin("/d/", "f.txt"), "/d/f.txt");
    EXPECT_EQ(fun_Chemin("C:\\Mirelot\\", "f.txt"), "C:/Mirelot/f.txt");
    EXPECT_EQ(fun_Chemin("/", "f.txt"), "/f.txt");
    EXPECT_EQ(fun_Chemin("", "f.txt"), "f.txt");
    EXPECT_EQ(fun_Chemin_Normalise("\\home\\u\\\\Relevés\\"), "/home/u/Relevés");
}

TEST(Paths, ListByMaskIgnoringCaseSortedByName)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    for (const char* n : {"SHOC-b~Passage 1.FLX2009", "shoc-A~Passage 2.flx2009", "SHOC@x.FLX2009",
                          "SHOC-c.FLX", "notes.txt", "Guide.PDF", "autre.pdf"})
        touch(QDir(d).filePath(QString::fromUtf8(n)));
    EXPECT_EQ(fun_Lister_Fichiers(d, "SHOC-*.*FLX2009"),
              QStringList({"shoc-A~Passage 2.flx2009", "SHOC-b~Passage 1.FLX2009"}));
    EXPECT_EQ(fun_Lister_Fichiers(d, "*.PDF"), QStringList({"autre.pdf", "Guide.PDF"}));
    EXPECT_EQ(fun_Lister_Fichiers(d, "SHOC-?.FLX"), QStringList({"SHOC-c.FLX"}));
    EXPECT_TRUE(fun_Lister_Fichiers(d + "/absent", "*").isEmpty());
}

TEST(Paths, FindAndRenameNeverReplaceAnotherFile)
{
    testing_support::TestEnvironment env;
    const QString d = env.dataFolder();
    touch(d + "/Espèces.DOV", "species");
    touch(d + "/a.txt", "a");
    EXPECT_EQ(fun_Trouver_Fichier(d, "espèces.dov"), d + "/Espèces.DOV");
    EXPECT_EQ(fun_Trouver_Fichier(d, "absent.dov"), "");
    EXPECT_EQ(fun_Chemin_Ecriture(d, "ESPÈCES.DOV"), d + "/Espèces.DOV");
    EXPECT_EQ(fun_Chemin_Ecriture(d, "neuf.dov"), d + "/neuf.dov");

    QString why;
    EXPECT_FALSE(fun_Renommer_Fichier(d + "/a.txt", d + "/ESPÈCES.dov", &why));
    EXPECT_FALSE(why.isEmpty());
    QFile species(d + "/Espèces.DOV");
    ASSERT_TRUE(species.open(QIODevice::ReadOnly));
    EXPECT_EQ(species.readAll(), "species");
    EXPECT_TRUE(fun_Renommer_Fichier(d + "/a.txt", d + "/b.txt"));
    EXPECT_TRUE(QFile::exists(d + "/b.txt"));
    EXPECT_FALSE(QFile::exists(d + "/a.txt"));
}
