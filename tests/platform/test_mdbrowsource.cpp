// The Jet database adapter on files it cannot read: it says why and returns no row, whatever
// the file holds.

#include "platform/MdbRowSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::MdbRowSource;

const QStringList kChamps = {QStringLiteral("Organisme"), QStringLiteral("CPU"),
                             QStringLiteral("Ordinateur")};

// The first page of a Jet 4 file: its signature and version, then nothing the reader can use.
QByteArray enteteJet(int taille)
{
    QByteArray b(taille, '\0');
    b[1] = 0x01;
    const QByteArray signature("Standard Jet DB");
    b.replace(4, signature.size(), signature);
    b[0x14] = 0x01; // Jet 4
    return b;
}

QByteArray brouillage(int taille)
{
    QByteArray b(taille, '\0');
    quint32 x = 2463534242u;
    for (char& c : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x & 0xFF);
    }
    return b;
}

struct CasIllisible
{
    const char* nom;
    QByteArray contenu;
    const char* motAttendu; // a word of the reason given
};

class MdbIllisible : public testing::TestWithParam<CasIllisible>
{
};

TEST_P(MdbIllisible, SaysWhyAndReturnsNoRow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chemin = dir.filePath(QStringLiteral("Gadrel.mdb"));
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().contenu);
    f.close();

    MdbRowSource source;
    const platform::RowSourceResult r = source.readTable(chemin, QStringLiteral("TPOrdinateurs"), kChamps);
    EXPECT_FALSE(r.result);
    EXPECT_TRUE(r.rows.isEmpty());
    EXPECT_TRUE(r.result.error.contains(chemin)) << r.result.error.toStdString();
    EXPECT_TRUE(r.result.error.contains(QString::fromUtf8(GetParam().motAttendu)))
        << r.result.error.toStdString();
    // The file is left as it was.
    QFile relu(chemin);
    ASSERT_TRUE(relu.open(QIODevice::ReadOnly));
    EXPECT_EQ(relu.readAll(), GetParam().contenu);
}

INSTANTIATE_TEST_SUITE_P(
    Fichiers, MdbIllisible,
    testing::Values(CasIllisible{"vide", QByteArray(), "illisible"},
                    CasIllisible{"texte", QByteArray("Organisme;CPU;Ordinateur\nLPO;12;poste\n"),
                                 "illisible"},
                    CasIllisible{"octets_quelconques", brouillage(64 * 1024), "illisible"},
                    CasIllisible{"entete_jet_seule", enteteJet(4096), "illisible"},
                    CasIllisible{"entete_jet_tronquee", enteteJet(100), "illisible"}),
    [](const testing::TestParamInfo<CasIllisible>& i) { return std::string(i.param.nom); });

TEST(MdbRowSource, AMissingFileIsSaidToBeMissing)
{
    QTemporaryDir dir;
    MdbRowSource source;
    for (const QString& chemin :
         {dir.filePath(QStringLiteral("absente.mdb")), QStringLiteral("Non applicable"), QString()}) {
        const platform::RowSourceResult r =
            source.readTable(chemin, QStringLiteral("TPOrdinateurs"), kChamps);
        EXPECT_FALSE(r.result);
        EXPECT_TRUE(r.rows.isEmpty());
        EXPECT_TRUE(r.result.error.contains(QStringLiteral("n'existe pas"))) << r.result.error.toStdString();
    }
}

TEST(MdbRowSource, AFolderIsNoDatabase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Gadrel.mdb")));
    MdbRowSource source;
    const platform::RowSourceResult r = source.readTable(dir.filePath(QStringLiteral("Gadrel.mdb")),
                                                         QStringLiteral("TPOrdinateurs"), kChamps);
    EXPECT_FALSE(r.result);
    EXPECT_TRUE(r.rows.isEmpty());
    EXPECT_TRUE(r.result.error.contains(QStringLiteral("ne peut pas être ouverte")))
        << r.result.error.toStdString();
}

} // namespace
