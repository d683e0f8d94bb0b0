#include "common/Messages.h"
#include "platform/Dialogs.h"
#include "record/RecordValidator.h"
#include "record/ReferenceData.h"
#include "tests/record/RecordSamples.h"
#include "tests/record/ReferenceTables.h"
#include "tests/support/TestEnvironment.h"

#include <QLocale>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace record;
namespace mb = platform::mb;

namespace {

// Every text the validation shows, once.
const QMap<QString, QString> kGolden = {
    {"department", "Sauvegarde impossible\n\nVeuillez indiquer le numéro du département."},
    {"name", "Veuillez indiquer le nom de l'observateur."},
    {"firstName", "Veuillez indiquer le prénom de l'observateur."},
    {"contact", "Veuillez indiquer votre adresse courriel ou à défaut, votre N° de téléphone."},
    {"season", "Veuillez indiquer la saison d'observation votre relevé."},
    {"dept", "Veuillez indiquer le N° du département dans lequel se situe (majoritairement) votre site."},
    {"commune",
     "Veuillez indiquer le nom de la commune dans laquelle se situe (majoritairement) votre site."},
    {"site", "Veuillez indiquer le nom sous lequel sera connu votre EPS Site."},
    {"count",
     "Veuillez indiquer le nombre [1,30] de points d'écoute qui seront effectués dans votre EPS Site. "},
    {"longitude", "Veuillez indiquer la longitude de la parcelle N°%1"},
    {"latitude", "Veuillez indiquer la latitude de la parcelle N°%1"},
    {"utm", "Veuillez indiquer la zone UTM de la parcelle N°%1"},
    {"mgrs", "Veuillez indiquer la maille MGRS de la parcelle N°%1"},
    {"convert", "Veuillez vérifier les coordonnées de la parcelle N°%1"},
    {"altitude", "Veuillez indiquer l'altitude de tous les points d'écoute."},
    {"far", "La Parcelle N°%1 est situé à plus de %2 km du barycentre de sa commune d'appartenance."},
    {"farQuestion", "\n\nCela  vous parait-il exacte ?"},
    {"partial",
     "\n\n\nBien qu'il y ait au moins une erreur, souhaitez-vous quand même effectuer une sauvegarde "
     "partielle ?"},
    {"time", "Veuillez indiquer l'heure du relevé."},
    {"timeInvalid", "L'heure est invalide."},
    {"duration", "Veuillez indiquer la durée du relevé."},
    {"durationInvalid", "La durée est invalide."},
    {"noCount", "Parcelle N°%1\n\nAucune nombre d'individus contactés n'est fourni pour l'espèce %2 !\n\nIl "
                "convient de fournir le nombre d'oiseaux contactés, ventilé selon les distances de contact."},
    {"noTotal", "Parcelle N°%1\n\nLe total d'individu contacté pour l'espèce %2 n'est pas valorisé !!!\n\nIl "
                "convient de fournir le nombre d'oiseaux contactés, ventilé selon les distances de contact."},
    {"below", "Pour l'espèce %1 (%2) , le total saisi est inférieur à la somme des colonnes détails !!!"},
    {"noClass", "Parcelle N°%1\n\nL'espèce %2 n'est pas reconnue : sa classe n'est pas renseignée !\n\nIl "
                "convient de choisir l'espèce dans la liste des codes ou des noms d'espèces."},
    {"speciesPage",
     "Avant de saisir les espèces contactées lors de votre relevé, veuilllez renseigner TOUS les "
     "éléments indispensables pour réaliser la sauvegarde des données :"
     "\n\t-   Le nom de l'observateur.\n\t-   Le nom de la commune.\n\t-   La saison d'observation."
     "\n\t-   La date de passage.\n\t-   Le N° de passage.\n\t-   L'heure de passage."
     "\n\nValorisez dès maintenant ces éléments pour pouvoir sauvegarder votre saisie."},
};

QString T(const char* key)
{
    return kGolden.value(key);
}

// A box as the tests expect it: its style, "V" for the validation's title or "M" for the
// program's name, and its text.
QString box(int style, const QString& text, bool validationTitle = true)
{
    return QStringLiteral("%1 %2: %3").arg(style).arg(validationTitle ? "V" : "M", text);
}
QStringList boxesAsked(const platform::ScriptedDialogs& dialogs)
{
    QStringList out;
    for (const auto& a : dialogs.asked()) {
        const bool v = a.title == "Mirelot - Validation des données saisies";
        EXPECT_TRUE(v || a.title == "Mirelot" || a.title.endsWith(gstr_Titre_Messages))
            << a.title.toStdString();
        out << (a.title.endsWith(gstr_Titre_Messages) ? "catalogue: " + a.text : box(a.style, a.text, v));
    }
    return out;
}
QString catalogue(int number)
{
    return "catalogue: " + fun_Boite_Message(qint16(number), 0, {}, {}).texte;
}

const char* fieldName(RecordField f)
{
    switch (f) {
    case RecordField::ObserverName:
        return "name";
    case RecordField::ObserverFirstName:
        return "firstName";
    case RecordField::Email:
        return "email";
    case RecordField::Season:
        return "season";
    case RecordField::Department:
        return "department";
    case RecordField::Commune:
        return "commune";
    case RecordField::SiteName:
        return "site";
    case RecordField::ParcelCount:
        return "count";
    }
    return "?";
}

// The record window as the validation sees it: a page shown raises the page-change event, as the
// tab strip does, except for the page already shown.
class FakeView : public RecordView
{
public:
    RecordValidator* validator = nullptr;
    int page = 2;
    QStringList log;
    QSet<int> speciesStored;
    bool saveEnabled = false;
    int gateEvents = 0;

    int currentPage() const override { return page; }
    void showPage(int p) override
    {
        log << QStringLiteral("page %1").arg(p);
        turnTo(p);
    }
    // The user chooses a page.
    void userShows(int p) { turnTo(p); }
    void showParcel(int p) override { log << QStringLiteral("parcel %1").arg(p); }
    void focusField(RecordField f) override { log << QStringLiteral("focus ") + fieldName(f); }
    void selectSpeciesRow(int p, int r) override { log << QStringLiteral("select %1:%2").arg(p).arg(r); }
    void setInformationColour(int p, platform::GridColour c) override
    {
        log << QStringLiteral("colour %1:%2").arg(p).arg(c);
    }
    void speciesChanged(int p) override { speciesStored.insert(p); }
    void setSaveEnabled(bool e) override { saveEnabled = e; }

private:
    void turnTo(int p)
    {
        if (p == page)
            return;
        const int left = page;
        page = p;
        ++gateEvents;
        if (validator)
            validator->pageChanged(left);
    }
};

// Positions without geodesy: a Lambert position converts to itself, its "WGS84 texts" are its
// numbers, and the distance is the difference of the longitudes in km. "bad" is refused; a
// negative longitude has an unknown distance.
CoordinateServices fakeCoordinates()
{
    CoordinateServices c;
    c.convert = [](SlotsCoord& x, SlotsCoord& y, SlotsCoord& z, int type, const QString& zone) {
        EXPECT_EQ(zone, "2E");
        QString a = fun_Texte_Coord(x[type]);
        QString b = fun_Texte_Coord(y[type]);
        if (type == kCoordMgrs) {
            if (z[type].toString() == "bad")
                return ResultatConversion{-1, {}};
            a = "800000";
            b = "2000000";
        }
        bool okA = false, okB = false;
        const double va = a.toDouble(&okA), vb = b.toDouble(&okB);
        if (!okA || !okB)
            return ResultatConversion{-1, {}};
        x[kCoordLambert] = va;
        y[kCoordLambert] = vb;
        x[kCoordWgs84] = a;
        y[kCoordWgs84] = b;
        return ResultatConversion{};
    };
    c.distance = [](const QString& lon1, const QString&, const QString& lon2, const QString&) {
        return lon2.toDouble() < 0 ? -1.0 : std::abs(lon2.toDouble() - lon1.toDouble()) / 1000;
    };
    return c;
}

// The small reference tables, read once.
const ReferenceData& references()
{
    static QTemporaryDir dir;
    static ReferenceData refs;
    static const bool loaded = [] {
        record_samples::writeSmallTables(dir.path());
        return bool(refs.load(ReferencePaths::inFolder(dir.path())));
    }();
    EXPECT_TRUE(loaded);
    return refs;
}

// A complete record of two parcels whose positions are validated.
SurveyRecord sample()
{
    SurveyRecord r = record_samples::twoParcels();
    r.totalTypedByHand = false;
    for (Parcel& p : r.parcels)
        p.location.validated = true;
    return r;
}

// One validation, on its own: a fresh environment, a record, a view and a validator.
struct Bench
{
    testing_support::TestEnvironment env;
    SurveyRecord record = sample();
    FakeView view;
    RecordValidator validator;
    QLocale previous = QLocale();

    explicit Bench(CoordinateServices c = fakeCoordinates())
        : validator(record, references(), view, std::move(c))
    {
        view.validator = &validator;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    ~Bench() { QLocale::setDefault(previous); }

    // Queues the answers named in a text: "OK", "Yes", "No", separated by blanks.
    void answer(const QString& answers)
    {
        for (const QString& a : answers.split(' ', Qt::SkipEmptyParts))
            env.dialogs().answer(a == "Yes" ? mb::Yes : a == "No" ? mb::No : mb::OK);
    }
    // The boxes asked, one a line; the log of the view, comma-separated.
    QString boxes() { return boxesAsked(env.dialogs()).join('\n'); }
    QString log() const { return view.log.join(", "); }
};

// A species row: class, code, the four counts separated by "|", total.
SpeciesRow speciesRow(const QString& speciesClass, const QString& code, const QString& counts,
                      const QString& total)
{
    SpeciesRow r{speciesClass, code, code.isEmpty() ? QString() : "Nom de " + code, {}, total, {}};
    const QStringList c = counts.split('|');
    for (int b = 0; b < kDistanceBands; ++b)
        r.counts[size_t(b)] = c.value(b);
    return r;
}

} // namespace

TEST(RecordValidator, DepartmentAndIdentification)
{
    // The first failing check of step 0, its message and the field that gets the focus.
    const struct
    {
        const char* what;
        std::function<void(SurveyRecord&)> change;
        const char* message;
        const char* focus;
    } failures[] = {
        {"no name", [](SurveyRecord& r) { r.observerName = "  "; }, "name", "name"},
        {"no first name, e-mail and telephone given", [](SurveyRecord& r) { r.observerFirstName.clear(); },
         "firstName", "firstName"},
        {"neither e-mail nor telephone", [](SurveyRecord& r) { r.email = r.telephone = " "; }, "contact",
         "email"},
        {"no season", [](SurveyRecord& r) { r.season.clear(); }, "season", "season"},
        {"no department chosen", [](SurveyRecord& r) { r.department.clear(); }, "dept", "department"},
        {"no commune", [](SurveyRecord& r) { r.commune.clear(); }, "commune", "commune"},
        {"no site name", [](SurveyRecord& r) { r.siteName = " "; }, "site", "site"},
        {"31 parcels", [](SurveyRecord& r) { r.parcels.resize(31); }, "count", "count"},
        {"no parcel", [](SurveyRecord& r) { r.parcels.clear(); }, "count", "count"},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.what);
        Bench b;
        c.change(b.record);
        b.answer("OK");
        const VerifResult r = b.validator.Sub_Vérif_Data(0);
        EXPECT_EQ(b.boxes(), box(48, T(c.message)));
        EXPECT_EQ(b.log(), QStringLiteral("page 0, focus ") + c.focus);
        EXPECT_TRUE(r.error);
        EXPECT_FALSE(r.partial);
    }

    const struct
    {
        const char* what;
        std::function<void(SurveyRecord&)> change;
        int step;
    } passes[] = {
        {"a department", [](SurveyRecord&) {}, -1},
        {"identification complete", [](SurveyRecord&) {}, 0},
        {"a telephone alone", [](SurveyRecord& r) { r.email.clear(); }, 0},
        {"30 parcels", [](SurveyRecord& r) { r.parcels.resize(30); }, 0},
        {"no step 2 check", [](SurveyRecord& r) { r = SurveyRecord(); }, 2},
        {"no step 6", [](SurveyRecord& r) { r = SurveyRecord(); }, 6},
    };
    for (const auto& c : passes) {
        SCOPED_TRACE(c.what);
        Bench b;
        c.change(b.record);
        EXPECT_FALSE(b.validator.Sub_Vérif_Data(c.step, {.askPartial = true}).error);
        EXPECT_EQ(b.boxes(), "");
        EXPECT_EQ(b.log(), "");
    }

    // No department: the save is impossible, whatever is asked; the page stays.
    {
        Bench b;
        b.record.department.clear();
        b.answer("OK");
        const VerifResult r = b.validator.Sub_Vérif_Data(-1, {.askPartial = true});
        EXPECT_EQ(b.boxes(), box(16, T("department")));
        EXPECT_EQ(b.log(), "");
        EXPECT_TRUE(r.error);
        EXPECT_FALSE(r.partial);
    }
    // Asked whether to save partially: the answer comes back.
    for (const char* answer : {"Yes", "No"}) {
        Bench b;
        b.record.observerName.clear();
        b.answer(answer);
        const VerifResult r = b.validator.Sub_Vérif_Data(0, {.askPartial = true});
        EXPECT_EQ(b.boxes(), box(308, T("name") + T("partial")));
        EXPECT_TRUE(r.error);
        EXPECT_EQ(r.partial, QString(answer) == "Yes");
    }
}

TEST(RecordValidator, ParcelPositionsPresentAndConvertible)
{
    const struct
    {
        const char* what;
        std::function<void(ParcelLocation&, int& type)> change;
        QString message;
    } failures[] = {
        {"no longitude", [](ParcelLocation& l, int&) { l.longitude = " "; }, T("longitude").arg(1)},
        {"no latitude", [](ParcelLocation& l, int&) { l.latitude.clear(); }, T("latitude").arg(1)},
        {"UTM without its zone", [](ParcelLocation&, int& t) { t = kCoordUtm; }, T("utm").arg(1)},
        {"UTM without its longitude",
         [](ParcelLocation& l, int& t) {
             t = kCoordUtm;
             l.utmZone = "31";
             l.longitude.clear();
         },
         T("longitude").arg(1)},
        {"MGRS without its square", [](ParcelLocation&, int& t) { t = kCoordMgrs; }, T("mgrs").arg(1)},
        {"no altitude", [](ParcelLocation& l, int&) { l.altitude = ""; }, T("altitude")},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.what);
        Bench b;
        ParcelLocation& loc = b.record.parcels[0].location;
        loc.validated = false;
        c.change(loc, b.record.coordinateType);
        b.answer("OK");
        EXPECT_TRUE(b.validator.Sub_Vérif_Data(1).error);
        EXPECT_EQ(b.boxes(), box(48, c.message));
        EXPECT_EQ(b.log(), "page 1");
        EXPECT_FALSE(loc.validated);
        EXPECT_EQ(loc.lambertX, "800123"); // untouched
    }

    // A position that does not convert: refused, and its former Lambert position dropped.
    {
        Bench b;
        ParcelLocation& loc = b.record.parcels[0].location;
        loc.validated = false;
        loc.longitude = "bad";
        b.answer("OK");
        EXPECT_TRUE(b.validator.Sub_Vérif_Data(1).error);
        EXPECT_EQ(b.boxes(), box(48, T("convert").arg(1)));
        EXPECT_EQ(loc.lambertX, "");
        EXPECT_EQ(loc.lambertY, "");
    }
    // A validated parcel is not examined, whatever it holds.
    {
        Bench b;
        b.record.parcels[0].location.longitude = "bad";
        EXPECT_FALSE(b.validator.Sub_Vérif_Data(1).error);
        EXPECT_EQ(b.boxes(), "");
        EXPECT_EQ(b.record.parcels[0].location.lambertX, "800123");
    }
}

TEST(RecordValidator, ParcelPositionsAgainstTheCommuneCentre)
{
    const auto farBox = [](const char* km) { return box(36, T("far").arg(1).arg(km) + T("farQuestion")); };
    const auto partialBox = [](const char* km) { return box(308, T("far").arg(1).arg(km) + T("partial")); };
    const QString farText = T("far").arg(1).arg("12");
    const QString former = "Possible erreur de coordonnées";
    const struct
    {
        const char* what;
        QString longitude;
        QString commune;
        bool askPartial;
        QString answers;
        QString boxes;
        QString log;
        bool error;
        bool partial;
        bool validated;
        QString information;
    } cases[] = {
        {"4.9 km", "804900.9", "Valence", false, "", "", "colour 1:0, colour 2:0", false, false, true, ""},
        {"exactly 5.0 km", "805000", "Valence", false, "", "", "colour 1:0, colour 2:0", false, false, true,
         ""},
        {"5.01 km, confirmed", "805010", "Valence", false, "Yes", farBox("5,01"),
         "page 1, page 2, colour 1:0, colour 2:0", false, false, true, ""},
        {"5.01 km, denied", "805010", "Valence", false, "No", farBox("5,01"), "page 1, colour 1:255", true,
         false, false, T("far").arg(1).arg("5,01")},
        {"denied, then asked apart whether to save partially", "812000", "Valence", true, "No Yes",
         farBox("12") + "\n" + partialBox("12"), "page 1, colour 1:255", true, true, false, farText},
        {"confirmed while saving: no answer to saving partially", "812000", "Valence", true, "Yes",
         farBox("12"), "page 1, page 2, colour 1:0, colour 2:0", false, false, true, ""},
        {"a commune the table does not hold", "812000", "Inconnue", false, "", "", "colour 2:0", false, false,
         false, former},
        {"a commune without centre", "812000", "Sans centre", false, "", "", "colour 2:0", false, false,
         false, former},
        {"a distance that is unknown", "-1", "Valence", false, "", "", "colour 2:0", false, false, false,
         former},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        ParcelLocation& loc = b.record.parcels[0].location;
        loc.validated = false;
        loc.longitude = c.longitude;
        loc.commune = c.commune;
        // The step ends at the first parcel denied: the second would be refused.
        b.record.parcels[1].location.validated = false;
        b.record.parcels[1].location.longitude = c.error ? "bad" : "800000";
        b.answer(c.answers);
        const VerifResult r = b.validator.Sub_Vérif_Data(1, {.askPartial = c.askPartial});
        EXPECT_EQ(b.boxes(), c.boxes);
        EXPECT_EQ(b.log(), c.log);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.partial, c.partial);
        EXPECT_EQ(loc.validated, c.validated);
        EXPECT_EQ(loc.lambertX, QString::number(qint64(c.longitude.toDouble())));
        EXPECT_EQ(loc.information, c.information);
        EXPECT_FALSE(b.validator.gateSuppressed());
    }
}

// Through the real conversion: a position that does not convert is refused, not validated with
// what the parcel before it left in the conversion slots.
TEST(RecordValidator, PositionsThroughTheConversionDispatcher)
{
    Bench b{CoordinateServices()};
    // Parcel 1 in WGS84 texts, 500 m east of the centre of Valence.
    SlotsCoord x, y, z;
    x[kCoordLambert] = 800500.0;
    y[kCoordLambert] = 2000000.0;
    ASSERT_EQ(sub_Convertir_Coordonnees(x, y, z, kCoordLambert, "2E").erreur, 0);
    b.record.coordinateType = kCoordWgs84;
    ParcelLocation& first = b.record.parcels[0].location;
    ParcelLocation& second = b.record.parcels[1].location;
    first.validated = second.validated = false;
    first.longitude = fun_Texte_Coord(x[kCoordWgs84]);
    first.latitude = fun_Texte_Coord(y[kCoordWgs84]);
    second.longitude = "abc";
    second.latitude = first.latitude;
    second.lambertX = "800500";
    b.answer("OK");
    EXPECT_TRUE(b.validator.Sub_Vérif_Data(1).error);
    EXPECT_EQ(b.boxes(), box(48, T("convert").arg(2)));
    EXPECT_TRUE(first.validated);
    bool whole = false;
    EXPECT_NEAR(first.lambertX.toInt(&whole), 800500, 10); // there and back through the texts
    EXPECT_TRUE(whole);
    EXPECT_FALSE(second.validated);
    EXPECT_EQ(second.lambertX, "");

    // 30 km east of the centre in Lambert metres, 29.88 km on the sphere: asked.
    b.env.dialogs().clearAsked();
    b.record.coordinateType = kCoordLambert;
    second.longitude = "830000";
    second.latitude = "2000000";
    b.answer("Yes");
    EXPECT_FALSE(b.validator.Sub_Vérif_Data(1).error);
    ASSERT_EQ(b.env.dialogs().asked().size(), 1);
    EXPECT_TRUE(b.env.dialogs().asked()[0].text.startsWith("La Parcelle N°2 est situé à plus de 29,88"))
        << b.env.dialogs().asked()[0].text.toStdString();
    EXPECT_TRUE(second.validated);
}

TEST(RecordValidator, TimesAndDurations)
{
    const struct
    {
        const char* what;
        QString time;
        QString duration;
        bool askPartial;
        bool showPage;
        QString answers;
        QString boxes;
        QString log;
    } cases[] = {
        {"both given", "08:30", "00:45", false, true, "", "", ""},
        {"no time", " ", "00:45", false, true, "OK", box(48, T("time")), "page 3, parcel 2"},
        {"an hour out of range", "25:00", "00:45", false, true, "OK OK",
         catalogue(1050) + "\n" + box(48, T("timeInvalid")), "page 3, parcel 2"},
        {"no duration", "08:30", "", false, false, "OK", box(48, T("duration")), ""},
        {"a duration of another form", "08:30", "12.30", false, false, "OK OK",
         catalogue(1109) + "\n" + box(48, T("durationInvalid")), ""},
        {"asked whether to save partially", "", "", true, false, "No", box(308, T("time") + T("partial")),
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        b.record.parcels[0].startTime.clear(); // parcel 1 is not among the parcels asked for
        b.record.parcels[1].startTime = c.time;
        b.record.parcels[1].duration = c.duration;
        b.answer(c.answers);
        const VerifResult r = b.validator.Sub_Vérif_Data(
            3, {.askPartial = c.askPartial, .firstParcel = 2, .lastParcel = 2, .showPage = c.showPage});
        EXPECT_EQ(b.boxes(), c.boxes);
        EXPECT_EQ(b.log(), c.log);
        EXPECT_EQ(r.error, !c.boxes.isEmpty());
        EXPECT_FALSE(r.partial);
    }
}

TEST(RecordValidator, SpeciesCounts)
{
    const auto noCount = box(0, T("noCount").arg(1).arg("O/ALAARV"), false);
    const auto noTotal = box(0, T("noTotal").arg(1).arg("O/ALAARV"), false);
    const struct
    {
        const char* what;
        bool typed;
        SpeciesRow row;
        bool showPage;
        QString boxes;
        QString log;
        QString total; // after the step
        bool checked;  // the parcel stays marked as examined
    } cases[] = {
        {"computed: no count", false, speciesRow("O", "ALAARV", "|||", ""), true, noCount,
         "page 3, parcel 1, select 1:1", "", false},
        {"computed: a count of 0", false, speciesRow("O", "ALAARV", "| 0||", ""), true, "", "", "0", true},
        {"computed: 1.4 and 1.4", false, speciesRow("O", "ALAARV", "1.4||1.4|", "9"), true, "", "", "2",
         true},
        {"typed: no count, no total", true, speciesRow("O", "ALAARV", "|||", ""), true, noTotal, "select 1:1",
         "", false},
        {"typed: no count, a total of 0", true, speciesRow("O", "ALAARV", "|||", "0"), false, noTotal,
         "select 1:1", "0", false},
        {"typed: no count, a total of 3", true, speciesRow("O", "ALAARV", "|||", "3"), true, "", "", "3",
         true},
        {"typed: a total below the bands", true, speciesRow("O", "ALAARV", "3|4||", "5"), true,
         box(48, T("below").arg("O", "ALAARV")), "select 1:1", "5", true},
        {"typed: a total below the bands, when saving", true, speciesRow("O", "ALAARV", "3|4||", "5"), false,
         "", "", "5", true},
        {"typed: a total of 0 takes the bands", true, speciesRow("O", "ALAARV", "3|||", "0"), true, "", "",
         "3", true},
        {"no class", false, speciesRow("", "ACCNIS", "1|||", ""), false,
         box(0, T("noClass").arg(1).arg("ACCNIS/Nom de ACCNIS"), false), "select 1:1", "", false},
        {"no class, nor code nor name", false, speciesRow("", "", "1|||", ""), false,
         box(0, T("noClass").arg(1).arg("de la ligne 2"), false), "select 1:1", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        b.record.totalTypedByHand = c.typed;
        const SpeciesRow good = speciesRow("M", "LEPEUR", "1|||", "1");
        b.record.parcels[0].species = SpeciesTable{good, c.row, good};
        b.answer(c.boxes.isEmpty() ? "" : "OK");
        const VerifResult r = b.validator.Sub_Vérif_Data(4, {.showPage = c.showPage});
        EXPECT_EQ(b.boxes(), c.boxes);
        EXPECT_EQ(b.log(), c.log);
        EXPECT_EQ(r.error, !c.boxes.isEmpty());
        EXPECT_EQ(b.record.parcels[0].species->at(1).total, c.total);
        EXPECT_EQ(b.validator.speciesChecked(1), c.checked);
        EXPECT_EQ(b.view.speciesStored.contains(1), c.total != c.row.total);
    }
}

TEST(RecordValidator, SpeciesExaminedOnceUntilMarkedAgain)
{
    Bench b;
    b.record.parcels[0].species = SpeciesTable{speciesRow("O", "ALAARV", "|||", "")};
    b.record.parcels[1].species.reset(); // never stored: nothing to examine
    b.answer("OK");
    EXPECT_TRUE(b.validator.Sub_Vérif_Data(4).error);
    b.validator.setSpeciesChecked(1, true); // as if examined
    EXPECT_FALSE(b.validator.Sub_Vérif_Data(4).error);
    EXPECT_TRUE(b.validator.speciesChecked(2));
    b.validator.clearSpeciesChecked(); // a save starts
    b.answer("OK");
    EXPECT_TRUE(b.validator.Sub_Vérif_Data(4).error);
    EXPECT_EQ(b.env.dialogs().asked().size(), 2);
}

// The merge runs when the box is ticked: the record holds the box as a truth value, whatever
// number a check box uses for "ticked" (1 in the record file, 2 for a Qt check box).
TEST(RecordValidator, MergeWhenTheBoxIsTicked)
{
    for (const bool ticked : {true, false}) {
        SCOPED_TRACE(ticked);
        Bench b;
        b.record.mergeSpecies = ticked;
        b.record.parcels[0].species =
            SpeciesTable{speciesRow("O", "PICPIC", "1|||", "1"), speciesRow("O", "ALAARV", "2|||", "2"),
                         speciesRow("O", "PICPIC", "2|||", "2")};
        (*b.record.parcels[0].species)[0].indices = "ALIM";
        (*b.record.parcels[0].species)[2].indices = "BAND";
        const VerifResult r =
            b.validator.Sub_Vérif_Data(5, {.firstParcel = 1, .lastParcel = 1, .showPage = true});
        EXPECT_EQ(r.error, ticked);
        EXPECT_EQ(b.view.speciesStored.contains(1), ticked);
        SpeciesRow pie = speciesRow("O", "PICPIC", "3|||", "3");
        pie.indices = "ALIM ; BAND";
        if (ticked) {
            EXPECT_EQ(b.record.parcels[0].species,
                      SpeciesTable({speciesRow("O", "ALAARV", "2|||", "2"), pie}));
        } else {
            EXPECT_EQ(b.record.parcels[0].species->size(), 3);
        }
        EXPECT_EQ(b.boxes(), "");
    }
}

TEST(RecordValidator, PageChangeGate)
{
    // Leaving the identification with a failure: the user is sent back; the next page change
    // validates again.
    {
        Bench b;
        b.view.page = 0;
        b.record.observerName.clear();
        b.answer("OK");
        b.view.userShows(1);
        EXPECT_EQ(b.boxes(), box(48, T("name")));
        EXPECT_EQ(b.log(), "page 0, focus name, page 0");
        EXPECT_EQ(b.view.page, 0);
        EXPECT_FALSE(b.view.saveEnabled); // no name: not saveable
        EXPECT_FALSE(b.validator.gateSuppressed());
        b.answer("OK");
        b.view.userShows(2);
        EXPECT_EQ(b.env.dialogs().asked().size(), 2);
        EXPECT_EQ(b.view.page, 0);
    }
    // A validation of the save command changes pages (a distant parcel confirmed): the page checks
    // are still on afterwards.
    {
        Bench b;
        b.record.parcels[0].location.validated = false;
        b.record.parcels[0].location.longitude = "812000";
        b.answer("Yes");
        EXPECT_FALSE(b.validator.Sub_Vérif_Data(1, {.askPartial = true}).error);
        EXPECT_EQ(b.log(), "page 1, page 2, colour 1:0");
        EXPECT_EQ(b.view.gateEvents, 2);
        b.record.observerName.clear();
        b.view.userShows(0);
        b.answer("OK");
        b.view.userShows(1);
        EXPECT_EQ(b.env.dialogs().asked().size(), 2);
        EXPECT_EQ(b.env.dialogs().asked().last().text, T("name"));
    }
    // Showing the locations fills the parcels' empty department and commune.
    {
        Bench b;
        b.view.page = 0;
        b.record.parcels[1].location.department.clear();
        b.record.parcels[1].location.commune.clear();
        b.record.parcels[0].location.commune = "Autre";
        b.view.userShows(1);
        EXPECT_EQ(b.boxes(), "");
        EXPECT_EQ(b.record.parcels[1].location.department, "26 - Drôme");
        EXPECT_EQ(b.record.parcels[1].location.commune, "Valence");
        EXPECT_EQ(b.record.parcels[0].location.commune, "Autre");
        EXPECT_TRUE(b.view.saveEnabled);
    }
    // The species page while the record cannot be saved: refused, back to the page left. Pages 3
    // and 4 are not validated when left.
    {
        Bench b;
        b.record.date.clear();
        b.answer("OK");
        b.view.userShows(3);
        EXPECT_EQ(b.boxes(), box(0, T("speciesPage"), false));
        EXPECT_EQ(b.view.page, 2);
        b.record.date = "12/01/2010";
        b.record.email.clear(); // step 0 would fail, but is not run
        b.record.telephone.clear();
        b.view.userShows(4);
        b.view.userShows(3);
        b.view.userShows(0);
        EXPECT_EQ(b.env.dialogs().asked().size(), 1);
        EXPECT_EQ(b.view.page, 0);
    }
    // What the gate reports.
    {
        Bench b;
        b.view.page = 1;
        b.record.parcels[0].location.validated = false;
        b.record.parcels[0].location.altitude.clear();
        b.answer("OK");
        const RecordValidator::GateResult r = b.validator.pageChanged(1);
        EXPECT_TRUE(r.validated);
        EXPECT_TRUE(r.error);
        EXPECT_TRUE(r.sentBack);
        EXPECT_EQ(b.log(), "page 1, page 1");
        const RecordValidator::GateResult quiet = b.validator.pageChanged(3);
        EXPECT_FALSE(quiet.validated);
        EXPECT_FALSE(quiet.sentBack);
    }
}
