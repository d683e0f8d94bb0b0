#include "coords/Conversion.h"
#include "coords/Lambert.h"
#include "coords/Ntf.h"
#include "coords/TexteNombre.h"
#include "coords/VerifCoordonnees.h"
#include "tests/coords/CoordsTestSupport.h"
#include "tests/support/QtPrinters.h"

#include "tests/coords/SeparatorTest.h"

#include <gtest/gtest.h>

using coords::SeparateurDecimal;
using coords_test::degresDeTexte;

namespace {

struct Jeu
{
    SlotsCoord X, Y, Z;
};

// Every slot holds a value of its own, to see which ones a call writes.
Jeu jeuRempli()
{
    Jeu j;
    for (int k = 0; k < 5; ++k) {
        j.X[k] = QStringLiteral("ancien X%1").arg(k);
        j.Y[k] = QStringLiteral("ancien Y%1").arg(k);
        j.Z[k] = QStringLiteral("ancien Z%1").arg(k);
    }
    return j;
}

bool inchange(const Jeu& j, int k)
{
    return j.X[k] == QStringLiteral("ancien X%1").arg(k) && j.Y[k] == QStringLiteral("ancien Y%1").arg(k) &&
           j.Z[k] == QStringLiteral("ancien Z%1").arg(k);
}

double nombre(const QVariant& v) { return coords::lireNombreSouple(fun_Texte_Coord(v)).valeur; }

// A coordinate set holding only the slots of one type taken from another, as texts, as a window
// holds them; converted from that type.
Jeu depuis(const Jeu& j, int type, int* erreur)
{
    Jeu s;
    s.X[type] = fun_Texte_Coord(j.X[type]);
    s.Y[type] = fun_Texte_Coord(j.Y[type]);
    s.Z[type] = fun_Texte_Coord(j.Z[type]);
    *erreur = sub_Convertir_Coordonnees(s.X, s.Y, s.Z, type, "WGS84").erreur;
    return s;
}

// NTF grads of the known towns (see the NTF and Lambert suites).
struct Ville
{
    const char* nom;
    double lambda, phi;
};
const Ville VILLES[] = {
    {"Paris", 0.0137, 54.2816},   {"Brest", -7.5804, 53.7672},    {"Strasbourg", 6.0171, 53.9705},
    {"Lille", 0.8009, 56.2547},   {"Perpignan", 0.6202, 47.4319}, {"Ajaccio", 7.1112, 46.5768},
    {"Nantes", -4.3222, 52.4650},
};

class ConversionSeparateur : public AvecSeparateur
{
};

} // namespace

TEST_P(ConversionSeparateur, KnownPointsThroughEverySourceTypeGiveConsistentSlots)
{
    for (const Ville& v : VILLES) {
        Jeu ref;
        ref.X[0] = v.lambda;
        ref.Y[0] = v.phi;
        const ResultatConversion r0 = sub_Convertir_Coordonnees(ref.X, ref.Y, ref.Z, gint_NTF, "*");
        ASSERT_EQ(r0.erreur, 0) << v.nom;
        for (int type = 1; type <= 4; ++type) {
            Jeu j;
            // The source slots as a window would hold them: texts.
            j.X[type] = fun_Texte_Coord(ref.X[type]);
            j.Y[type] = fun_Texte_Coord(ref.Y[type]);
            j.Z[type] = fun_Texte_Coord(ref.Z[type]);
            const ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, "2E");
            ASSERT_EQ(r.erreur, 0) << v.nom << " type " << type;
            EXPECT_EQ(r.message, type == gint_WGS84 ? QStringLiteral(" : ") : QString());
            const QString cas = QStringLiteral("%1 from type %2").arg(QString::fromUtf8(v.nom)).arg(type);
            EXPECT_NEAR(nombre(j.X[0]), v.lambda, 0.0001) << cas;
            EXPECT_NEAR(nombre(j.Y[0]), v.phi, 0.0001) << cas;
            EXPECT_NEAR(nombre(j.X[1]), nombre(ref.X[1]), 7) << cas;
            EXPECT_NEAR(nombre(j.Y[1]), nombre(ref.Y[1]), 7) << cas;
            // Within the metre that the truncated UTM easting may lose.
            EXPECT_NEAR(*degresDeTexte(fun_Texte_Coord(j.X[2])), *degresDeTexte(fun_Texte_Coord(ref.X[2])), 2e-5) << cas;
            EXPECT_NEAR(*degresDeTexte(fun_Texte_Coord(j.Y[2])), *degresDeTexte(fun_Texte_Coord(ref.Y[2])), 2e-5) << cas;
            EXPECT_NEAR(nombre(j.X[3]), nombre(ref.X[3]), 1) << cas;
            EXPECT_NEAR(nombre(j.Y[3]), nombre(ref.Y[3]), 1) << cas;
            EXPECT_EQ(nombre(j.Z[3]), nombre(ref.Z[3])) << cas;
            EXPECT_EQ(fun_Texte_Coord(j.Z[4]).left(5), fun_Texte_Coord(ref.Z[4]).left(5)) << cas;
        }
    }
}

TEST_P(ConversionSeparateur, NtfSourceWritesEveryOtherSlot)
{
    Jeu j = jeuRempli();
    j.X[0] = QStringLiteral("0.0137");
    j.Y[0] = coords::texteGeneral(54.2816);
    const ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_NTF, "*");
    EXPECT_EQ(r.erreur, 0);
    EXPECT_EQ(r.message, "");
    // The Lambert step takes the full values, the WGS84 texts the single-precision ones.
    const auto l = sub_NTF_To_Lambert(0.0137, 54.2816);
    EXPECT_EQ(j.X[1].toDouble(), l->X);
    EXPECT_EQ(j.Y[1].toDouble(), l->Y);
    const auto t = sub_NTF_To_DMS(float(0.0137), float(54.2816), "WGS84");
    EXPECT_EQ(j.X[2].toString(), t->longitude);
    EXPECT_EQ(j.Y[2].toString(), t->latitude);
    // echo "48.853371594 2.348836118" | GeoConvert -u -z 31 -p 1 -> 31n 452232.7 5411360.5
    EXPECT_EQ(j.X[3].toDouble(), 452232);
    EXPECT_EQ(j.Y[3].toInt(), 5411360);
    EXPECT_EQ(j.Z[3].toInt(), 31);
    EXPECT_EQ(j.Z[4].toString(), "31UDQ5223211360     ");
    // Untouched: the source and the unused slots.
    EXPECT_EQ(j.X[0], "0.0137");
    EXPECT_EQ(j.Z[0], "ancien Z0");
    EXPECT_EQ(j.Z[1], "ancien Z1");
    EXPECT_EQ(j.Z[2], "ancien Z2");
    EXPECT_EQ(j.X[4], "ancien X4");
    EXPECT_EQ(j.Y[4], "ancien Y4");
}

TEST_P(ConversionSeparateur, LambertSourceInItsZone)
{
    const char s = GetParam();
    struct Row { const char* zone; double x, y; double lambda, phi; };
    // The Lambert I point of Paris (see the Lambert suite) and the same point in II étendu.
    const Row rows[] = {
        {"LAMBERT 1", 600904.8426, 128101.2663, 0.0137, 54.2816},
        {"1", 600904.8426, 128101.2663, 0.0137, 54.2816},
        {"*", 600905.3727, 2428336.5470, 0.0137, 54.2816},
        {"LAMBERTS 2E", 600905.3727, 2428336.5470, 0.0137, 54.2816},
        {"Lambert 4", 530657.2474, 178447.8873, 7.1112, 46.5768},
    };
    for (const Row& r : rows) {
        Jeu j = jeuRempli();
        j.X[1] = coords::texteGeneral(r.x);
        j.Y[1] = coords::texteGeneral(r.y);
        const ResultatConversion res = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_Lambert, r.zone);
        ASSERT_EQ(res.erreur, 0) << r.zone;
        // The NTF slots hold five-decimal texts with the regional separator.
        const QString lambda = j.X[0].toString();
        EXPECT_EQ(lambda.size() - lambda.indexOf(QLatin1Char(s)) - 1, 5) << lambda;
        EXPECT_NEAR(nombre(j.X[0]), r.lambda, 0.00001) << r.zone;
        EXPECT_NEAR(nombre(j.Y[0]), r.phi, 0.00001) << r.zone;
        // The Lambert slots keep the typed point, as numbers.
        EXPECT_EQ(j.X[1].typeId(), QMetaType::Double);
        EXPECT_EQ(j.X[1].toDouble(), r.x) << r.zone;
        EXPECT_EQ(j.Y[1].toDouble(), r.y) << r.zone;
        EXPECT_FALSE(inchange(j, 2));
        EXPECT_FALSE(inchange(j, 3));
        EXPECT_EQ(fun_Texte_Coord(j.Z[4]).size(), 20);
    }
}

TEST_P(ConversionSeparateur, WgsTextSourceIsValidatedAndNormalised)
{
    const char s = GetParam();
    Jeu j = jeuRempli();
    j.X[2] = QStringLiteral("2.3488");
    j.Y[2] = QStringLiteral("48,8534");
    ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_WGS84, "WGS84");
    EXPECT_EQ(r.erreur, 0);
    EXPECT_EQ(r.message, " : ");
    QString lon = QString::fromUtf8("E2°20'55.68''");
    QString lat = QString::fromUtf8("N48°51'12.24''");
    lon.replace(QLatin1Char('.'), QLatin1Char(s));
    lat.replace(QLatin1Char('.'), QLatin1Char(s));
    EXPECT_EQ(j.X[2].toString(), lon);
    EXPECT_EQ(j.Y[2].toString(), lat);
    EXPECT_FALSE(inchange(j, 0));
    EXPECT_FALSE(inchange(j, 1));
    EXPECT_EQ(j.Z[3].toInt(), 31);

    // Refused: the validation's message; only the normalised texts are written.
    Jeu k = jeuRempli();
    k.X[2] = QString::fromUtf8("E2°20'");
    k.Y[2] = QString::fromUtf8("N95°");
    r = sub_Convertir_Coordonnees(k.X, k.Y, k.Z, gint_WGS84, "WGS84");
    EXPECT_EQ(r.erreur, -1);
    EXPECT_EQ(r.message, QString::fromUtf8(" : degrés de latitude > 90°"));
    EXPECT_EQ(k.X[2].toString(), QString::fromUtf8("E2°20'0''"));
    for (int slot : {0, 1, 3, 4})
        EXPECT_TRUE(inchange(k, slot)) << slot;

    Jeu m = jeuRempli();
    m.X[2] = QString::fromUtf8("E2°20'");
    m.Y[2] = QStringLiteral("48.85");
    r = sub_Convertir_Coordonnees(m.X, m.Y, m.Z, gint_WGS84, "WGS84");
    EXPECT_EQ(r.erreur, -1);
    EXPECT_EQ(r.message, " : latitude non conforme");
    for (int slot : {0, 1, 3, 4})
        EXPECT_TRUE(inchange(m, slot)) << slot;
}

TEST_P(ConversionSeparateur, UtmSourceKeepsTheTypedValues)
{
    Jeu j = jeuRempli();
    j.X[3] = QStringLiteral("452232.4");
    j.Y[3] = QStringLiteral("5411360");
    j.Z[3] = QStringLiteral("31");
    const ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_UTM, "WGS84");
    ASSERT_EQ(r.erreur, 0);
    EXPECT_EQ(j.X[3], "452232.4");
    EXPECT_EQ(j.Z[3], "31");
    EXPECT_EQ(j.Z[4].toString(), "31UDQ5223211360     ");
    // The WGS84 texts in the UTM form.
    EXPECT_TRUE(j.Y[2].toString().endsWith('"'));
    EXPECT_NEAR(nombre(j.X[0]), 0.0137, 0.0001);
    EXPECT_NEAR(nombre(j.Y[0]), 54.2816, 0.0001);
}

TEST_P(ConversionSeparateur, MgrsSourceFillsUtmAndTheRest)
{
    Jeu j = jeuRempli();
    j.Z[4] = QStringLiteral("31UDQ5223211360");
    const ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_MGRS, "WGS84");
    ASSERT_EQ(r.erreur, 0);
    EXPECT_EQ(j.X[3].toDouble(), 452232);
    EXPECT_EQ(j.Y[3].toDouble(), 5411360);
    EXPECT_EQ(j.Z[3].toInt(), 31);
    EXPECT_EQ(j.Z[4], "31UDQ5223211360");
    EXPECT_NEAR(nombre(j.X[0]), 0.0137, 0.0001);
    EXPECT_EQ(j.X[4], "ancien X4");
}

// Every value with one or two decimals over France (longitudes -5.5 to 10, latitudes 41 to 51.5),
// typed as decimal degrees: the texts the program writes, from that source and again from the NTF
// and UTM slots it filled, pass the check; the typed value reads back from its own texts.
TEST_P(ConversionSeparateur, EveryHundredthOfADegreeOverFranceGivesTextsTheCheckAccepts)
{
    const int lonMin = -550, nLon = 1551, latMin = 4100, nLat = 1051; // hundredths of a degree
    const auto accepte = [](const Jeu& j, const QString& cas) {
        QString lon = j.X[2].toString(), lat = j.Y[2].toString();
        const VerifCoordonnees v = fun_Verif_Coordonnees(lon, lat, false, "WGS84 DMS");
        EXPECT_EQ(v.message, " : ") << cas << ": " << lon << " " << lat;
        return v.erreur == 0;
    };
    int refus = 0;
    for (int i = 0; i < nLon; ++i) {
        const double lon = (lonMin + i) / 100.0, lat = (latMin + i % nLat) / 100.0;
        Jeu j;
        j.X[2] = coords::texteGeneral(lon);
        j.Y[2] = coords::texteGeneral(lat);
        const QString cas = fun_Texte_Coord(j.X[2]) + " " + fun_Texte_Coord(j.Y[2]);
        ASSERT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_WGS84, "WGS84").erreur, 0) << cas;
        refus += !accepte(j, cas);
        EXPECT_NEAR(*degresDeTexte(j.X[2].toString()), lon, 1e-9) << cas;
        EXPECT_NEAR(*degresDeTexte(j.Y[2].toString()), lat, 1e-9) << cas;
        for (int source : {gint_NTF, gint_UTM}) {
            int erreur = 0;
            const Jeu k = depuis(j, source, &erreur);
            ASSERT_EQ(erreur, 0) << cas;
            refus += !accepte(k, cas + QStringLiteral(" from type %1").arg(source));
        }
    }
    EXPECT_EQ(refus, 0);
}

INSTANTIATE_TEST_SUITE_P(Separateurs, ConversionSeparateur, ::testing::Values('.', ','));

TEST(Conversion, RefusedSourcesLeaveEverySlotAsItWas)
{
    SeparateurDecimal point(QLatin1Char('.'));
    struct Row { int type; const char* zone; const char *x, *y, *z; };
    const Row rows[] = {
        // Empty after trimming.
        {0, "*", "", "54", ""},          {0, "*", "0.5", "  ", ""},
        {1, "2E", "600000", "", ""},     {2, "WGS84", "", "N48°", ""},
        {3, "WGS84", "452232", "5411360", ""}, {3, "WGS84", " ", "5411360", "31"},
        {4, "WGS84", "", "", " "},
        // Not numbers.
        {0, "*", "abc", "54", ""},       {0, "*", "nan", "54", ""},     {0, "*", "0", "inf", ""},
        {1, "2E", "600000", "x", ""},    {3, "WGS84", "452232", "5411360", "trente"},
        // The Lambert zone: empty, unknown, or a last word that is none.
        {1, "", "600000", "2200000", ""}, {1, "WGS84", "600000", "2200000", ""},
        {1, "LAMBERT", "600000", "2200000", ""}, {1, "2E ", "600000", "2200000", ""},
        {1, "5", "600000", "2200000", ""},
        // Values that no step can place.
        {3, "WGS84", "452232", "5411360", "0"}, {3, "WGS84", "452232", "5411360", "61"},
        {3, "WGS84", "452232", "1e300", "31"},
        // MGRS references the decoder refuses: the chain stops there.
        {4, "WGS84", "", "", "31UJQ1234512345"}, {4, "WGS84", "", "", "31YEQ1234512345"},
        {4, "WGS84", "", "", "31UEQ12345"},     {4, "WGS84", "", "", "31UEW1234512345"},
        {4, "WGS84", "", "", "31U"},
    };
    for (const Row& r : rows) {
        Jeu j = jeuRempli();
        j.X[r.type] = QString::fromUtf8(r.x);
        j.Y[r.type] = QString::fromUtf8(r.y);
        j.Z[r.type] = QString::fromUtf8(r.z);
        const Jeu avant = j;
        const ResultatConversion res = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, r.type, r.zone);
        const QString cas = QStringLiteral("type %1 '%2' '%3' '%4' zone '%5'").arg(r.type).arg(r.x, r.y, r.z, r.zone);
        EXPECT_NE(res.erreur, 0) << cas;
        EXPECT_EQ(res.message, "") << cas;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(j.X[k], avant.X[k]) << cas << " slot " << k;
            EXPECT_EQ(j.Y[k], avant.Y[k]) << cas << " slot " << k;
            EXPECT_EQ(j.Z[k], avant.Z[k]) << cas << " slot " << k;
        }
    }
}

// South of the equator the UTM slot holds the usual northing with a minus sign, whether it was
// written from geographic texts, from NTF or from an MGRS reference; read back as a UTM source it
// gives the same point, in both hemispheres.
TEST(Conversion, UtmSlotRoundTripInBothHemispheres)
{
    SeparateurDecimal point(QLatin1Char('.'));
    struct Row { const char *lon, *lat; };
    const Row rows[] = {{"E2°20'55.8096''", "N48°51'12.1392''"}, {"E3°10'0''", "N0°0'5''"},
                        {"E18°25'26.598''", "S33°55'29.532''"},  {"W78°28'4.2024''", "S0°10'50.3508''"}};
    for (const Row& r : rows) {
        Jeu a;
        a.X[2] = QString::fromUtf8(r.lon);
        a.Y[2] = QString::fromUtf8(r.lat);
        ASSERT_EQ(sub_Convertir_Coordonnees(a.X, a.Y, a.Z, gint_WGS84, "WGS84").erreur, 0) << r.lat;
        EXPECT_EQ(nombre(a.Y[3]) < 0, r.lat[0] == 'S') << r.lat << " " << fun_Texte_Coord(a.Y[3]);
        int e[3] = {};
        const Jeu depuisUtm = depuis(a, gint_UTM, &e[0]);
        const Jeu depuisMgrs = depuis(a, gint_MGRS, &e[1]);
        const Jeu depuisNtf = depuis(a, gint_NTF, &e[2]);
        ASSERT_TRUE(e[0] == 0 && e[1] == 0 && e[2] == 0) << r.lat;
        // Within the metre the truncated easting may lose.
        EXPECT_NEAR(*degresDeTexte(depuisUtm.Y[2].toString()), *degresDeTexte(r.lat), 2e-5) << r.lat;
        EXPECT_NEAR(*degresDeTexte(depuisUtm.X[2].toString()), *degresDeTexte(r.lon), 2e-5) << r.lat;
        EXPECT_NEAR(nombre(depuisMgrs.Y[3]), nombre(a.Y[3]), 1) << r.lat;
        // NTF holds four decimals of a grad, about 10 m.
        EXPECT_NEAR(nombre(depuisNtf.Y[3]), nombre(a.Y[3]), 20) << r.lat;
    }
}

// NTF grads beyond half a turn of longitude or a quarter turn of latitude are no point on the
// Earth: refused, where they used to give a Lambert point thousands of kilometres off and
// wrapped geographic texts.
TEST(Conversion, NtfGradsBeyondTheirRangeAreRefused)
{
    SeparateurDecimal point(QLatin1Char('.'));
    struct Row { const char *lambda, *phi; int erreur; };
    const Row rows[] = {
        {"500", "20", -1},   {"200.001", "20", -1}, {"-200.5", "50", -1}, {"0", "100.001", -1},
        {"0", "-150", -1},   {"200", "20", 0},      {"-200", "-20", 0},   {"0.0137", "54.2816", 0},
    };
    for (const Row& r : rows) {
        Jeu j = jeuRempli();
        j.X[0] = r.lambda;
        j.Y[0] = r.phi;
        EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_NTF, "*").erreur, r.erreur) << r.lambda << " " << r.phi;
        EXPECT_EQ(inchange(j, 1), r.erreur != 0) << r.lambda << " " << r.phi;
    }
    EXPECT_FALSE(sub_NTF_To_Lambert(500, 20).has_value());
    EXPECT_FALSE(sub_NTF_To_DMS(0, -100.5f, "WGS84").has_value());
}

TEST(Conversion, NoStaleValuesFromAnEarlierCall)
{
    SeparateurDecimal point(QLatin1Char('.'));
    Jeu j;
    j.X[0] = 0.0137;
    j.Y[0] = 54.2816;
    ASSERT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_NTF, "*").erreur, 0);
    const Jeu premier = j;
    // A second point typed wrongly: an error, and the first point's slots are not mixed with it.
    j.X[0] = QStringLiteral("12a");
    EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_NTF, "*").erreur, -1);
    for (int k = 1; k < 5; ++k)
        EXPECT_EQ(j.X[k], premier.X[k]) << k;
}

TEST(Conversion, TypesOutsideTheRangeAreAnErrorAndWriteNothing)
{
    for (int type : {-1, 5, 99}) {
        Jeu j = jeuRempli();
        const ResultatConversion r = sub_Convertir_Coordonnees(j.X, j.Y, j.Z, type, "2E");
        EXPECT_EQ(r.erreur, -1) << type;
        EXPECT_EQ(r.message, "");
        for (int k = 0; k < 5; ++k)
            EXPECT_TRUE(inchange(j, k)) << type;
    }
    // An empty zone refuses a Lambert source before anything else.
    Jeu j = jeuRempli();
    EXPECT_EQ(sub_Convertir_Coordonnees(j.X, j.Y, j.Z, gint_Lambert, "").erreur, -1);
}

TEST(Conversion, SlotTexts)
{
    SeparateurDecimal virgule(QLatin1Char(','));
    EXPECT_EQ(fun_Texte_Coord(QVariant(600905.5)), "600905,5");
    EXPECT_EQ(fun_Texte_Coord(QVariant(qint32(5411360))), "5411360");
    EXPECT_EQ(fun_Texte_Coord(QVariant(31)), "31");
    EXPECT_EQ(fun_Texte_Coord(QVariant(QStringLiteral("N48°"))), QString::fromUtf8("N48°"));
    EXPECT_EQ(fun_Texte_Coord(QVariant()), "");
}
