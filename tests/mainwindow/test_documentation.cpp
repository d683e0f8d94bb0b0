#include "mainwindow/Documentation.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
void creer(const QString& folder, const QStringList& names)
{
    for (const QString& n : names) {
        QFile f(QDir(folder).filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << n.toStdString();
        f.write("%PDF-1.4\n");
    }
}
} // namespace

struct DocumentationTest : ::testing::Test
{
    testing_support::TestEnvironment env;
    QString folder() const { return env.programFolder(); }
};

TEST_F(DocumentationTest, ListsPdfFilesWhateverTheCaseSortedByName)
{
    struct Row
    {
        QStringList files;
        QStringList listed;
    };
    const QList<Row> rows = {
        {{}, {}},
        {{"notes.txt", "pdf", "x.pdfx", "Guide.pdf.bak"}, {}},
        {{"Guide.pdf"}, {"Guide.pdf"}},
        {{"b.PDF", "a.pdf", "C.Pdf"}, {"a.pdf", "b.PDF", "C.Pdf"}},
        {{"Zèbre.pdf", "abc.pdf", "Abd.pdf"}, {"abc.pdf", "Abd.pdf", "Zèbre.pdf"}},
        {{"R&D.pdf", "mode d'emploi.pdf"}, {"mode d'emploi.pdf", "R&D.pdf"}},
    };
    for (const Row& r : rows) {
        testing_support::TestEnvironment fresh;
        creer(fresh.programFolder(), r.files);
        EXPECT_EQ(mainwindow::listDocuments(fresh.programFolder()), r.listed)
            << r.files.join(",").toStdString();
    }
}

TEST_F(DocumentationTest, AtMostTwentyDocuments)
{
    QStringList names;
    for (int i = 25; i >= 1; --i)
        names << QStringLiteral("doc%1.pdf").arg(i, 2, 10, QLatin1Char('0'));
    creer(folder(), names);
    const QStringList listed = mainwindow::listDocuments(folder());
    ASSERT_EQ(listed.size(), 20);
    EXPECT_EQ(listed.first(), "doc01.pdf");
    EXPECT_EQ(listed.last(), "doc20.pdf");
}

TEST_F(DocumentationTest, FoldersAndMissingFoldersListNothing)
{
    QDir(folder()).mkpath("Annexes.pdf");
    EXPECT_TRUE(mainwindow::listDocuments(folder()).isEmpty());
    EXPECT_TRUE(mainwindow::listDocuments(env.path("absent")).isEmpty());
    EXPECT_TRUE(mainwindow::listDocuments(QString()).isEmpty());
}

TEST(DocumentationCaption, AmpersandShowsAsItself)
{
    struct Row
    {
        const char* name;
        const char* caption;
    };
    const Row rows[] = {
        {"Guide.pdf", "Guide.pdf"}, {"R&D.pdf", "R&&D.pdf"}, {"a&&b.pdf", "a&&&&b.pdf"}, {"&", "&&"}};
    for (const Row& r : rows)
        EXPECT_EQ(mainwindow::documentMenuCaption(r.name), QString::fromUtf8(r.caption));
}
