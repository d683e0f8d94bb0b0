#include "common/Messages.h"
#include "platform/Dialogs.h"
#include "record/RecordValidator.h"
#include "record/ReferenceData.h"
#include "tests/record/ReferenceTables.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QLocale>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

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
    {"partial", "\n\n\nBien qu'il y ait au moins une erreur, souhaitez-vous quand même effectuer une "
                "sauvegarde partielle ?"},
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

QString T(const char* key) { return kGolden.value(key); }

// A box as "style title: text", the title "V" for the validation's, "M" for the program's name; a
// catalogue message as "catalogue: text".
QString box(int style, const QString& text, bool validationTitle = true)
{
    return QStringLiteral("%1 %2: %3").arg(style).arg(validationTitle ? "V" : "M", text);
}
QString catalogue(int number)
{
    return "catalogue: " + common::buildMessageBox(qint16(number), 0, {}, {}).text;
}

// The record window as the validation sees it: showing a page raises the page-change event, as
// the tab strip does, except for the page already shown.
class FakeView : public RecordView
{
public:
    RecordValidator* validator = nullptr;
    int page = 2;
    QStringList log;
    QSet<int> speciesStored;
    bool saveEnabled = false;

    int currentPage() const override { return page; }
    void showPage(int p) override
    {
        log << QStringLiteral("page %1").arg(p);
        userShows(p);
    }
    void userShows(int p)
    {
        const int left = std::exchange(page, p);
        if (left != p)
            validator->pageChanged(left);
    }
    void showParcel(int p) override { log << QStringLiteral("parcel %1").arg(p); }
    void focusField(RecordField f) override
    {
        static const char* names[] = {"name",       "firstName", "email", "season",
                                      "department", "commune",   "site",  "count"};
        log << QStringLiteral("focus ") + names[int(f)];
    }
    void selectSpeciesRow(int p, int r) override { log << QStringLiteral("select %1:%2").arg(p).arg(r); }
    void setInformationColour(int p, grid::GridColour c) override
    {
        log << QStringLiteral("colour %1:%2").arg(p).arg(c);
    }
    void speciesChanged(int p) override { speciesStored.insert(p); }
    void setSaveEnabled(bool e) override { saveEnabled = e; }
};

// Positions without geodesy: a Lambert position converts to itself, its WGS84 texts are its
// numbers, the distance is the difference of the longitudes in km. A text that is not a number is
// refused; a negative longitude has an unknown distance.
CoordinateServices fakeCoordinates()
{
    CoordinateServices c;
    c.convert = [](coords::CoordinateSlots& x, coords::CoordinateSlots& y, coords::CoordinateSlots& z,
                   int type, const QString&) {
        const bool mgrs = type == kCoordMgrs && z[type].toString() != "bad";
        const QString a = mgrs ? "800000" : coords::slotText(x[type]);
        const QString b = mgrs ? "2000000" : coords::slotText(y[type]);
        bool okA = false, okB = false;
        x[kCoordLambert] = a.toDouble(&okA);
        y[kCoordLambert] = b.toDouble(&okB);
        if (!okA || !okB)
            return coords::ConversionResult{-1, {}};
        x[kCoordWgs84] = a;
        y[kCoordWgs84] = b;
        return coords::ConversionResult{};
    };
    c.distance = [](const QString& lon1, const QString&, const QString& lon2, const QString&) {
        return lon2.toDouble() < 0 ? -1.0 : std::abs(lon2.toDouble() - lon1.toDouble()) / 1000;
    };
    return c;
}

// One validation on its own: a fresh environment, the sample record with its positions validated,
// a view, a validator; numbers written the French way.
struct Bench
{
    testing_support::TestEnvironment env;
    SurveyRecord record = record_samples::twoParcels();
    FakeView view;
    RecordValidator validator;
    QLocale previous;

    explicit Bench(CoordinateServices c = fakeCoordinates())
        : validator(record, record_samples::smallReferences(), view, std::move(c))
    {
        view.validator = &validator;
        record.totalTypedByHand = false;
        for (Parcel& p : record.parcels)
            p.location.validated = true;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    ~Bench() { QLocale::setDefault(previous); }

    // Queues answers: "OK", "Yes", "No", separated by blanks.
    void answer(const QString& answers)
    {
        for (const QString& a : answers.split(' ', Qt::SkipEmptyParts))
            env.dialogs().answer(a == "Yes" ? mb::Yes : a == "No" ? mb::No : mb::OK);
    }
    // The boxes asked, one a line.
    QString boxes()
    {
        QStringList out;
        for (const auto& a : env.dialogs().asked())
            out << (a.title.endsWith(common::kMessagesTitle)
                        ? "catalogue: " + a.text
                        : box(a.style, a.text, a.title == "Mirelot - Validation des données saisies"));
        return out.join('\n');
    }
    QString log() const { return view.log.join(", "); }
};

// A species row: class, code, the four counts separated by "|", total.
SpeciesRow speciesRow(const QString& speciesClass, const QString& code, const QString& counts,
                      const QString& total)
{
    SpeciesRow r{speciesClass, code, code.isEmpty() ? QString() : "Nom de " + code, {}, total, {}};
    for (int b = 0; b < kDistanceBands; ++b)
        r.counts[size_t(b)] = counts.section('|', b, b);
    return r;
}

} // namespace

TEST(RecordValidator, DepartmentAndIdentification)
{
    // The first failing check of step 0: its message and the field given the focus.
    const struct
    {
        const char *what, *message, *focus;
        std::function<void(SurveyRecord&)> change;
    } failures[] = {
        {"no name", "name", "name", [](SurveyRecord& r) { r.observerName = "  "; }},
        {"no first name", "firstName", "firstName", [](SurveyRecord& r) { r.observerFirstName.clear(); }},
        {"no e-mail, no telephone", "contact", "email", [](SurveyRecord& r) { r.email = r.telephone = " "; }},
        {"no season", "season", "season", [](SurveyRecord& r) { r.season.clear(); }},
        {"no department", "dept", "department", [](SurveyRecord& r) { r.department.clear(); }},
        {"no commune", "commune", "commune", [](SurveyRecord& r) { r.commune.clear(); }},
        {"no site name", "site", "site", [](SurveyRecord& r) { r.siteName = " "; }},
        {"31 parcels", "count", "count", [](SurveyRecord& r) { r.parcels.resize(31); }},
        {"no parcel", "count", "count", [](SurveyRecord& r) { r.parcels.clear(); }},
        {"30 parcels, a telephone alone", nullptr, nullptr,
         [](SurveyRecord& r) {
             r.parcels.resize(30);
             r.email.clear();
         }},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.what);
        Bench b;
        c.change(b.record);
        b.answer(c.message ? "OK" : "");
        const VerifResult r = b.validator.Sub_Vérif_Data(0);
        EXPECT_EQ(b.boxes(), c.message ? box(48, T(c.message)) : "");
        EXPECT_EQ(b.log(), c.message ? QStringLiteral("page 0, focus ") + c.focus : "");
        EXPECT_EQ(r.error, c.message != nullptr);
    }

    // Without a department nothing can be saved, whatever is asked; the page stays.
    {
        Bench b;
        b.record.department.clear();
        b.answer("OK");
        const VerifResult r = b.validator.Sub_Vérif_Data(-1, {.askPartial = true});
        EXPECT_TRUE(r.error);
        EXPECT_FALSE(r.partial);
        EXPECT_EQ(b.boxes(), box(16, T("department")));
        EXPECT_EQ(b.log(), "");
    }
}

TEST(RecordValidator, ParcelPositions)
{
    const auto far = [](const char* km) { return T("far").arg(1).arg(km); };
    const QString former = "Possible erreur de coordonnées"; // the sample's information text
    const struct
    {
        const char* what;
        std::function<void(ParcelLocation&, int& type)> change;
        bool askPartial;
        QString answers, boxes, log;
        bool validated;
        QString lambertX, information;
    } cases[] = {
        {"no longitude", [](ParcelLocation& l, int&) { l.longitude = " "; }, false, "OK",
         box(48, T("longitude").arg(1)), "page 1", false, "800123", former},
        {"no latitude", [](ParcelLocation& l, int&) { l.latitude.clear(); }, false, "OK",
         box(48, T("latitude").arg(1)), "page 1", false, "800123", former},
        {"UTM without its zone", [](ParcelLocation&, int& t) { t = kCoordUtm; }, false, "OK",
         box(48, T("utm").arg(1)), "page 1", false, "800123", former},
        {"MGRS without its square", [](ParcelLocation&, int& t) { t = kCoordMgrs; }, false, "OK",
         box(48, T("mgrs").arg(1)), "page 1", false, "800123", former},
        {"no altitude", [](ParcelLocation& l, int&) { l.altitude = ""; }, false, "OK", box(48, T("altitude")),
         "page 1", false, "800123", former},
        {"a position that does not convert", [](ParcelLocation& l, int&) { l.longitude = "bad"; }, false,
         "OK", box(48, T("convert").arg(1)), "page 1", false, "", former},
        {"4.9 km", [](ParcelLocation& l, int&) { l.longitude = "804900.9"; }, false, "", "",
         "colour 1:0, colour 2:0", true, "804900", ""},
        {"exactly 5.0 km", [](ParcelLocation& l, int&) { l.longitude = "805000"; }, false, "", "",
         "colour 1:0, colour 2:0", true, "805000", ""},
        {"5.01 km, confirmed", [](ParcelLocation& l, int&) { l.longitude = "805010"; }, false, "Yes",
         box(36, far("5,01") + T("farQuestion")), "page 1, page 2, colour 1:0, colour 2:0", true, "805010",
         ""},
        {"5.01 km, denied", [](ParcelLocation& l, int&) { l.longitude = "805010"; }, false, "No",
         box(36, far("5,01") + T("farQuestion")), "page 1, colour 1:255", false, "805010", far("5,01")},
        {"denied, then asked apart whether to save partially",
         [](ParcelLocation& l, int&) { l.longitude = "812000"; }, true, "No Yes",
         box(36, far("12") + T("farQuestion")) + "\n" + box(308, far("12") + T("partial")),
         "page 1, colour 1:255", false, "812000", far("12")},
        {"confirmed while saving: no answer to saving partially",
         [](ParcelLocation& l, int&) { l.longitude = "812000"; }, true, "Yes",
         box(36, far("12") + T("farQuestion")), "page 1, page 2, colour 1:0, colour 2:0", true, "812000", ""},
        {"a commune the table does not hold", [](ParcelLocation& l, int&) { l.commune = "Inconnue"; }, false,
         "", "", "colour 2:0", false, "800123", former},
        {"a commune without centre", [](ParcelLocation& l, int&) { l.commune = "Sans centre"; }, false, "",
         "", "colour 2:0", false, "800123", former},
        {"a distance that is unknown", [](ParcelLocation& l, int&) { l.longitude = "-1"; }, false, "", "",
         "colour 2:0", false, "-1", former},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        ParcelLocation& loc = b.record.parcels[0].location;
        loc.validated = b.record.parcels[1].location.validated = false;
        b.record.parcels[1].location.longitude = "800000";
        c.change(loc, b.record.coordinateType);
        b.answer(c.answers);
        const VerifResult r = b.validator.Sub_Vérif_Data(1, {.askPartial = c.askPartial});
        EXPECT_EQ(b.boxes(), c.boxes);
        EXPECT_EQ(b.log(), c.log); // parcel 2 is examined only when parcel 1 passed
        EXPECT_EQ(r.error, !c.log.endsWith("colour 2:0"));
        EXPECT_EQ(r.partial, c.answers == "No Yes");
        EXPECT_EQ(loc.validated, c.validated);
        EXPECT_EQ(loc.lambertX, c.lambertX);
        EXPECT_EQ(loc.information, c.information);
    }

    // A validated parcel is not examined, whatever it holds.
    Bench b;
    b.record.parcels[0].location.longitude = "bad";
    EXPECT_FALSE(b.validator.Sub_Vérif_Data(1).error);
    EXPECT_EQ(b.log(), "");
}

// Through the real conversion: a position that does not convert is refused, not validated with
// what the parcel before it left in the conversion slots.
TEST(RecordValidator, PositionsThroughTheConversionDispatcher)
{
    Bench b{CoordinateServices()};
    coords::CoordinateSlots x, y, z; // parcel 1 in WGS84 texts, 500 m east of the centre of Valence
    x[kCoordLambert] = 800500.0;
    y[kCoordLambert] = 2000000.0;
    ASSERT_EQ(sub_Convertir_Coordonnees(x, y, z, kCoordLambert, "2E").error, 0);
    b.record.coordinateType = kCoordWgs84;
    ParcelLocation& first = b.record.parcels[0].location;
    ParcelLocation& second = b.record.parcels[1].location;
    first.validated = second.validated = false;
    first.longitude = coords::slotText(x[kCoordWgs84]);
    second.latitude = first.latitude = coords::slotText(y[kCoordWgs84]);
    second.longitude = "abc";
    b.answer("OK");
    EXPECT_TRUE(b.validator.Sub_Vérif_Data(1).error);
    EXPECT_EQ(b.boxes(), box(48, T("convert").arg(2)));
    EXPECT_TRUE(first.validated);
    EXPECT_NEAR(first.lambertX.toInt(), 800500, 10);
    EXPECT_FALSE(second.validated);
    EXPECT_EQ(second.lambertX, "");
}

TEST(RecordValidator, TimesAndDurations)
{
    const struct
    {
        const char* what;
        QString time, duration;
        bool askPartial, showPage;
        QString answers, boxes, log;
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
    }
}

TEST(RecordValidator, SpeciesCounts)
{
    const QString noCount = box(0, T("noCount").arg(1).arg("O/ALAARV"), false);
    const QString noTotal = box(0, T("noTotal").arg(1).arg("O/ALAARV"), false);
    const struct
    {
        const char* what;
        bool typed;
        SpeciesRow row;
        bool showPage;
        QString boxes, log;
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
        {"typed: below the bands, when saving", true, speciesRow("O", "ALAARV", "3|4||", "5"), false, "", "",
         "5", true},
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
        EXPECT_EQ(b.view.speciesStored.contains(1), c.total != c.row.total);
        EXPECT_EQ(b.validator.speciesChecked(1), c.checked);
        // A parcel marked as examined is not examined again.
        EXPECT_FALSE(c.checked && b.validator.Sub_Vérif_Data(4, {.showPage = true}).error);
    }
}

// The merge runs when the box is ticked: the record holds the box as a truth value, whatever
// number a check box uses for "ticked" (1 in the record file, 2 for a Qt check box).
TEST(RecordValidator, MergeWhenTheBoxIsTicked)
{
    for (const bool ticked : {true, false}) {
        SCOPED_TRACE(ticked);
        Bench b;
        b.record.mergeSpecies = ticked;
        const SpeciesTable table{speciesRow("O", "PICPIC", "1|||", "1"),
                                 speciesRow("O", "ALAARV", "2|||", "2"),
                                 speciesRow("O", "PICPIC", "2|||", "2")};
        b.record.parcels[0].species = table;
        EXPECT_EQ(b.validator.Sub_Vérif_Data(5, {.firstParcel = 1, .lastParcel = 1}).error, ticked);
        EXPECT_EQ(b.view.speciesStored.contains(1), ticked);
        EXPECT_EQ(b.record.parcels[0].species,
                  ticked ? SpeciesTable({table[1], speciesRow("O", "PICPIC", "3|||", "3")}) : table);
    }
}

TEST(RecordValidator, PageChangeGate)
{
    // Leaving the identification with a failure: the user is sent back; the next page change is
    // validated again.
    {
        Bench b;
        b.view.page = 0;
        b.record.observerName.clear();
        b.answer("OK OK");
        b.view.userShows(1);
        EXPECT_EQ(b.boxes(), box(48, T("name")));
        EXPECT_EQ(b.log(), "page 0, focus name, page 0");
        EXPECT_FALSE(b.view.saveEnabled); // no name: not saveable
        b.view.userShows(2);
        EXPECT_EQ(b.view.page, 0);
        EXPECT_EQ(b.env.dialogs().asked().size(), 2);
    }
    // The validation of a save changes pages (a distant parcel confirmed): the page checks are on
    // afterwards.
    {
        Bench b;
        b.record.parcels[0].location.validated = false;
        b.record.parcels[0].location.longitude = "812000";
        b.answer("Yes OK");
        EXPECT_FALSE(b.validator.Sub_Vérif_Data(1, {.askPartial = true}).error);
        EXPECT_EQ(b.log(), "page 1, page 2, colour 1:0");
        EXPECT_FALSE(b.validator.gateSuppressed());
        b.record.observerName.clear();
        b.view.userShows(0);
        b.view.userShows(1);
        EXPECT_EQ(b.env.dialogs().asked().last().text, T("name"));
    }
    // The locations page fills the parcels' empty department and commune. The species page is
    // refused while the record cannot be saved. Pages 3 and 4 are not validated when left.
    {
        Bench b;
        b.view.page = 0;
        b.record.parcels[1].location.department.clear();
        b.record.parcels[1].location.commune.clear();
        b.record.parcels[0].location.commune = "Autre";
        b.view.userShows(1);
        EXPECT_EQ(b.record.parcels[1].location.department, "26 - Drôme");
        EXPECT_EQ(b.record.parcels[1].location.commune, "Valence");
        EXPECT_EQ(b.record.parcels[0].location.commune, "Autre");

        b.record.date.clear();
        b.answer("OK");
        b.view.userShows(3);
        EXPECT_EQ(b.boxes(), box(0, T("speciesPage"), false));
        EXPECT_EQ(b.view.page, 1);
        b.record.date = "12/01/2010";
        b.record.email = b.record.telephone = ""; // step 0 would fail, but is not run
        b.view.userShows(4);
        b.view.userShows(3);
        b.view.userShows(0);
        EXPECT_TRUE(b.view.saveEnabled);
        EXPECT_EQ(b.view.page, 0);
        EXPECT_EQ(b.env.dialogs().asked().size(), 1);
    }
}
