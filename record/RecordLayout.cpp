#include "record/RecordLayout.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "record/SpeciesStore.h"

#include <algorithm>
#include <cmath>

namespace record {

const QString RecordLayout::kTitleShoc = QStringLiteral("SHOC");
const QString RecordLayout::kTitleIdentification = QStringLiteral("Désignation et localisation");
const QString RecordLayout::kTitleNetwork = QStringLiteral("Nom du réseau");
const QString RecordLayout::kTitleComment = QStringLiteral("Commentaire général");
const QString RecordLayout::kTitleObserver = QStringLiteral("Nom et prénom");
const QString RecordLayout::kTitleContact = QStringLiteral("Courriel et téléphone");
const QString RecordLayout::kTitleParcelCount = QStringLiteral("Nbr points");
const QString RecordLayout::kTitleSeason = QStringLiteral("Saison");
const QString RecordLayout::kTitleLocations = QStringLiteral("Coordonnées");
const QString RecordLayout::kTitleVisit = QStringLiteral("Date, N° Passage et commentaire relevé");
const QString RecordLayout::kTitleWeather = QStringLiteral("Météo");
const QString RecordLayout::kTitleOptions = QStringLiteral("Paramètres saisies");
const QString RecordLayout::kTitleSpecies = QStringLiteral("Espèces Parcelle N°");
const QString RecordLayout::kNotValidated = QStringLiteral("Non Validé");
const QString RecordLayout::kLineBreak = QStringLiteral("@vbCrLf@");

namespace {

constexpr int kLabel = 1;

// Fixed rows.
enum FixedRow : int {
    ShocRow = 1,
    IdentificationRow = 2,
    NetworkRow = 3,
    CommentRow = 4,
    ObserverRow = 5,
    ContactRow = 6,
    ParcelCountRow = 7,
    SeasonRow = 8,
    LocationsRow = 9,
};

// Columns of a parcel row of "Coordonnées".
enum LocationColumn : int {
    PointCol = 2,
    DepartmentCol = 3,
    CommuneCol = 4,
    PlaceCol = 5,
    UtmZoneCol = 6,
    LongitudeCol = 7,
    LatitudeCol = 8,
    MgrsCol = 9,
    WalkCol = 10,
    AltitudeCol = 11,
    ReserveCol = 12,
    ValidatedCol = 13,
    CoordTypeCol = 14,
    LambertXCol = 15,
    LambertYCol = 16,
    InformationCol = 17,
    ParcelLabelCol = 20,
    FirstHabitatCol = 21,
};

// Columns of the species title row, and where species grid column k goes.
enum SpeciesTitleColumn : int { StartTimeCol = 2, DurationCol = 3, HuntingOnCol = 4, HuntingNearCol = 5 };
constexpr int kSpeciesShift = 1;

const QStringList& locationCaptions()
{
    static const QStringList captions = {
        QStringLiteral("N°Point"),           QStringLiteral("Dept"),
        QStringLiteral("Commune"),           QStringLiteral("Lieudit"),
        QStringLiteral("Zone UTM"),          QStringLiteral("Longitude"),
        QStringLiteral("Latitude"),          QStringLiteral("Maille MGRS"),
        QStringLiteral("Longueur trajet"),   QStringLiteral("Altitude"),
        QStringLiteral("Réserve de chasse"), QStringLiteral("Vérifié"),
        QStringLiteral("Type Coord"),        QStringLiteral("Longitude Lambert"),
        QStringLiteral("Latitude Lambert"),  QStringLiteral("Informations")};
    return captions;
}

const QStringList& weatherCaptions()
{
    static const QStringList captions = {QStringLiteral("N°Point"), QStringLiteral("Couverture nuageuse"),
                                         QStringLiteral("Pluie"), QStringLiteral("Vent"),
                                         QStringLiteral("Visibilité")};
    return captions;
}

QString checkStateText(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("2");
}
QString checkValueText(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

// The parcels' location fields in the order of their columns, department to altitude.
std::array<QString ParcelLocation::*, 9> locationTexts()
{
    return {&ParcelLocation::department, &ParcelLocation::commune,    &ParcelLocation::placeName,
            &ParcelLocation::utmZone,    &ParcelLocation::longitude,  &ParcelLocation::latitude,
            &ParcelLocation::mgrsSquare, &ParcelLocation::walkLength, &ParcelLocation::altitude};
}

int speciesBlockRows(const Parcel& parcel)
{
    if (!parcel.species)
        return 1;
    const auto kept = std::count_if(parcel.species->begin(), parcel.species->end(),
                                    [](const SpeciesRow& r) { return !r.isBlank(); });
    return 2 + int(kept);
}

void writeSpeciesRow(grid::Grid& g, int row, const QStringList& cells)
{
    for (int k = 0; k < cells.size(); ++k)
        g.setCell(row, k + 1 + kSpeciesShift, cells[k]);
}

QStringList cellsOf(const SpeciesRow& s)
{
    QStringList cells = {s.speciesClass, s.code, s.name};
    for (const QString& c : s.counts)
        cells << c;
    cells << s.total << s.indices;
    return cells;
}

// A whole number read from a cell as the program reads numbers; nullopt when it is not one.
std::optional<int> wholeNumber(const QString& text)
{
    const double v = common::leadingNumber(text);
    if (!(std::fabs(v) < 1e9) || v != std::floor(v))
        return std::nullopt;
    return int(v);
}

int findTitle(const grid::Grid& g, const QString& title)
{
    return g.findRow(title, 0, kLabel);
}

// A species block ends at a label (the next title) or at a row with nothing in the species
// grid's columns 1 to 8.
bool endsSpeciesBlock(const grid::Grid& g, int row)
{
    if (!g.cell(row, kLabel).isEmpty())
        return true;
    for (int k = SpeciesClassColumn; k <= SpeciesTotalColumn; ++k)
        if (!g.cell(row, k + kSpeciesShift).isEmpty())
            return false;
    return true;
}

bool isSpeciesHeader(const grid::Grid& g, int row)
{
    return g.cell(row, SpeciesClassColumn + kSpeciesShift) == speciesTitles().value(0) &&
           g.cell(row, SpeciesCodeColumn + kSpeciesShift) == speciesTitles().value(1);
}

std::optional<SpeciesTable> readSpeciesBlock(const grid::Grid& g, int title)
{
    int r = title + 1;
    if (r >= g.rows() || endsSpeciesBlock(g, r))
        return std::nullopt; // title row only: the species grid was never stored
    if (isSpeciesHeader(g, r))
        ++r;
    SpeciesTable table;
    for (; r < g.rows() && !endsSpeciesBlock(g, r); ++r) {
        SpeciesRow s;
        s.speciesClass = g.cell(r, SpeciesClassColumn + kSpeciesShift);
        s.code = g.cell(r, SpeciesCodeColumn + kSpeciesShift);
        s.name = g.cell(r, SpeciesNameColumn + kSpeciesShift);
        for (int b = 0; b < kDistanceBands; ++b)
            s.counts[size_t(b)] = g.cell(r, SpeciesFirstCountColumn + b + kSpeciesShift);
        s.total = g.cell(r, SpeciesTotalColumn + kSpeciesShift);
        s.indices = g.cell(r, SpeciesIndicesColumn + kSpeciesShift);
        table.append(s);
    }
    return table;
}

void readLocations(const grid::Grid& g, int t, SurveyRecord& rec)
{
    const auto texts = locationTexts();
    for (int p = 1; p <= rec.parcels.size(); ++p) {
        const int row = t + p;
        Parcel& parcel = rec.parcels[p - 1];
        ParcelLocation& loc = parcel.location;
        for (size_t i = 0; i < texts.size(); ++i)
            loc.*texts[i] = g.cell(row, DepartmentCol + int(i));
        loc.huntingReserve = isTickedText(g.cell(row, ReserveCol));
        loc.validated = isTickedText(g.cell(row, ValidatedCol));
        loc.lambertX = g.cell(row, LambertXCol);
        loc.lambertY = g.cell(row, LambertYCol);
        loc.information = g.cell(row, InformationCol);
        for (int h = 0; h < kHabitatCount; ++h)
            parcel.habitats[size_t(h)] = isTickedText(g.cell(row, FirstHabitatCol + h));
    }
    const std::optional<int> type = wholeNumber(g.cell(t + 1, CoordTypeCol));
    rec.coordinateType = type && *type >= kCoordNtfGrads && *type <= kCoordMgrs ? *type : kCoordLambert;
}

void readSeason(const grid::Grid& g, const ReadOptions& o, RecordReading& out)
{
    const int t = findTitle(g, RecordLayout::kTitleSeason);
    if (t < 0)
        return;
    const QString stored = g.cell(t, 2).trimmed();
    QString& season = out.record.season;
    if (o.seasons.isEmpty() && o.mode != RecordMode::NextWinter) {
        season = stored;
        return;
    }
    qsizetype i = -1;
    for (qsizetype k = 0; k < o.seasons.size() && !stored.isEmpty(); ++k)
        if (o.seasons[k].compare(stored, Qt::CaseInsensitive) == 0)
            i = k;
    if (i < 0) {
        if (!stored.isEmpty())
            out.notices << QStringLiteral("La saison « %1 » du relevé n'est pas dans la liste des saisons : "
                                          "veuillez choisir la saison.")
                               .arg(stored);
        return;
    }
    if (o.mode != RecordMode::NextWinter) {
        season = o.seasons[i];
        return;
    }
    if (i + 1 < o.seasons.size()) {
        season = o.seasons[i + 1];
        return;
    }
    out.notices << QStringLiteral("L'hiver qui suit « %1 » n'est pas encore dans la liste des saisons : "
                                  "veuillez choisir la saison du nouveau relevé.")
                       .arg(stored);
}

void setPassageButtons(const ReadOptions& o, RecordReading& out)
{
    if (o.mode != RecordMode::NewPassage)
        return;
    int last = -1;
    for (int p : o.storedPassages) {
        if (p < 0 || p >= kPassageCount)
            continue;
        out.passageEnabled[size_t(p)] = false;
        last = std::max(last, p);
    }
    // Above the last stored passage only the next one can be chosen; with none stored, any.
    if (last >= 0)
        for (int p = last + 2; p < kPassageCount; ++p)
            out.passageEnabled[size_t(p)] = false;
}

} // namespace

QString RecordLayout::versionText()
{
    return QStringLiteral("V%1.%2.%3")
        .arg(common::kVersionMajor)
        .arg(common::kVersionMinor)
        .arg(common::kVersionRevision);
}

const QStringList& RecordLayout::habitatTitles()
{
    static const QStringList titles = {
        QStringLiteral("Parcelle enherbée\r(prairie, jachères)"),
        QStringLiteral("Sol nu"),
        QStringLiteral("Culture de\rcéréales d’hiver"),
        QStringLiteral("Culture avec végétation développée\r(ex : colza, luzerne, engrais vert, etc.)"),
        QStringLiteral("Chaume"),
        QStringLiteral("Verger"),
        QStringLiteral("Vigne"),
        QStringLiteral("Autre"),
        QStringLiteral("Forêt, bois"),
        QStringLiteral("Arbre isolé"),
        QStringLiteral("Haie"),
        QStringLiteral("Plan d’eau"),
        QStringLiteral("Habitation"),
        QStringLiteral("Cours d’eau"),
        QStringLiteral("Chemin"),
        QStringLiteral("Route"),
        QStringLiteral("Fil électrique et\rou téléphonique"),
        QStringLiteral("Réserve\rde chasse")};
    return titles;
}

QString RecordLayout::parcelLabel(int parcel)
{
    return QStringLiteral("Parcelle N°") + QStringLiteral("%1").arg(parcel, 2, 10, QLatin1Char('0'));
}

QString storedLines(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), RecordLayout::kLineBreak);
    s.replace(QLatin1Char('\r'), RecordLayout::kLineBreak);
    s.replace(QLatin1Char('\n'), RecordLayout::kLineBreak);
    return s;
}

QString typedLines(const QString& stored)
{
    QString s = stored;
    return s.replace(RecordLayout::kLineBreak, QStringLiteral("\n"));
}

bool isTickedText(const QString& text)
{
    static const QStringList ticked = {QStringLiteral("1"),    QStringLiteral("-1"),  QStringLiteral("TRUE"),
                                       QStringLiteral("VRAI"), QStringLiteral("OUI"), QStringLiteral("X")};
    return ticked.contains(text.trimmed().toUpper());
}

void RecordLayout::write(const SurveyRecord& rec, grid::Grid& grid)
{
    const int n = int(rec.parcels.size());
    int rows = 13 + 2 * n;
    for (const Parcel& p : rec.parcels)
        rows += speciesBlockRows(p);

    grid::Grid g;
    g.setCols(kColumns);
    g.setRows(rows);
    g.setFixedRows(1);
    g.setFixedCols(1);

    g.setCell(ShocRow, 1, kTitleShoc);
    g.setCell(ShocRow, 2, versionText());
    g.setCell(ShocRow, 3, rec.notValidated ? kNotValidated : QString());
    const QStringList identification = {kTitleIdentification, rec.department, rec.commune,
                                        rec.placeName,        rec.siteName,   rec.habitatType};
    for (int c = 0; c < identification.size(); ++c)
        g.setCell(IdentificationRow, 1 + c, identification[c]);
    g.setCell(NetworkRow, 1, kTitleNetwork);
    g.setCell(NetworkRow, 2, rec.network);
    g.setCell(CommentRow, 1, kTitleComment);
    g.setCell(CommentRow, 2, storedLines(rec.generalComment));
    g.setCell(ObserverRow, 1, kTitleObserver);
    g.setCell(ObserverRow, 2, rec.observerName.trimmed());
    g.setCell(ObserverRow, 3, rec.observerFirstName.trimmed());
    g.setCell(ContactRow, 1, kTitleContact);
    g.setCell(ContactRow, 2, rec.email);
    g.setCell(ContactRow, 3, rec.telephone);
    g.setCell(ParcelCountRow, 1, kTitleParcelCount);
    g.setCell(ParcelCountRow, 2, QString::number(n));
    g.setCell(SeasonRow, 1, kTitleSeason);
    g.setCell(SeasonRow, 2, rec.season);

    // Locations and habitats.
    g.setCell(LocationsRow, 1, kTitleLocations);
    for (int c = 0; c < locationCaptions().size(); ++c)
        g.setCell(LocationsRow, PointCol + c, locationCaptions()[c]);
    for (int h = 0; h < kHabitatCount; ++h)
        g.setCell(LocationsRow, FirstHabitatCol + h, habitatTitles()[h]);
    const auto texts = locationTexts();
    for (int p = 1; p <= n; ++p) {
        const int row = LocationsRow + p;
        const Parcel& parcel = rec.parcels[p - 1];
        const ParcelLocation& loc = parcel.location;
        g.setCell(row, PointCol, QString::number(p));
        for (size_t i = 0; i < texts.size(); ++i)
            g.setCell(row, DepartmentCol + int(i), loc.*texts[i]);
        g.setCell(row, ReserveCol, checkStateText(loc.huntingReserve));
        g.setCell(row, ValidatedCol, checkStateText(loc.validated));
        g.setCell(row, CoordTypeCol, QString::number(rec.coordinateType));
        g.setCell(row, LambertXCol, loc.lambertX);
        g.setCell(row, LambertYCol, loc.lambertY);
        g.setCell(row, InformationCol, loc.information);
        g.setCell(row, ParcelLabelCol, parcelLabel(p));
        for (int h = 0; h < kHabitatCount; ++h)
            g.setCell(row, FirstHabitatCol + h, checkStateText(parcel.habitats[size_t(h)]));
    }

    // The visit.
    const int visit = 10 + n;
    g.setCell(visit, 1, kTitleVisit);
    g.setCell(visit, 2, rec.date);
    g.setCell(visit, 3, QString::number(rec.passageIndex()));
    g.setCell(visit, 4, storedLines(rec.visitComment));

    // Weather.
    const int weather = 11 + n;
    g.setCell(weather, 1, kTitleWeather);
    for (int c = 0; c < weatherCaptions().size(); ++c)
        g.setCell(weather, 2 + c, weatherCaptions()[c]);
    for (int p = 1; p <= n; ++p) {
        g.setCell(weather + p, 2, QString::number(p));
        for (int w = 0; w < kWeatherCount; ++w)
            g.setCell(weather + p, 3 + w, rec.parcels[p - 1].weather[size_t(w)]);
    }

    // Entry options.
    const int options = 12 + 2 * n;
    g.setCell(options, 1, kTitleOptions);
    g.setCell(options, 2, rec.totalTypedByHand ? QStringLiteral("1") : QStringLiteral("0"));
    g.setCell(options, 3, checkValueText(rec.mergeSpecies));

    // Species blocks.
    int row = 13 + 2 * n;
    for (int p = 1; p <= n; ++p) {
        const Parcel& parcel = rec.parcels[p - 1];
        g.setCell(row, 1, kTitleSpecies + QString::number(p));
        g.setCell(row, StartTimeCol, parcel.startTime);
        g.setCell(row, DurationCol, parcel.duration);
        g.setCell(row, HuntingOnCol, checkValueText(parcel.huntingOn));
        g.setCell(row, HuntingNearCol, checkValueText(parcel.huntingNear));
        ++row;
        if (!parcel.species)
            continue;
        writeSpeciesRow(g, row++, speciesTitles());
        for (const SpeciesRow& s : *parcel.species)
            if (!s.isBlank())
                writeSpeciesRow(g, row++, cellsOf(s));
    }

    g.setEditable(grid::Grid::Editable::None);
    grid.copyFrom(g);
}

int RecordLayout::passageIndexOf(const grid::Grid& g)
{
    const int t = findTitle(g, kTitleVisit);
    const std::optional<int> index = t < 0 ? std::nullopt : wholeNumber(g.cell(t, 3));
    return index && *index >= 0 && *index < kPassageCount ? *index : -1;
}

RecordReadResult RecordLayout::read(const grid::Grid& g, const ReadOptions& o)
{
    RecordReadResult out;
    RecordReading& reading = out.reading;
    SurveyRecord& rec = reading.record;

    const QString countText = g.cell(ParcelCountRow, 2);
    const std::optional<int> count = wholeNumber(countText);
    if (!count || *count < 1 || *count > kMaxParcels) {
        out.result = platform::Result::failure(
            QStringLiteral("le nombre de parcelles « %1 » n'est pas un nombre entier de 1 à %2")
                .arg(countText.trimmed())
                .arg(kMaxParcels));
        return out;
    }
    rec.parcels.resize(*count);
    out.result = platform::Result::success();
    const RecordMode mode = o.mode;
    if (mode == RecordMode::New)
        return out;

    rec.department = g.cell(IdentificationRow, 2);
    rec.commune = g.cell(IdentificationRow, 3);
    rec.placeName = g.cell(IdentificationRow, 4);
    rec.siteName = g.cell(IdentificationRow, 5);
    rec.habitatType = g.cell(IdentificationRow, 6);
    rec.network = g.cell(NetworkRow, 2);
    rec.generalComment = typedLines(g.cell(CommentRow, 2));
    rec.observerName = g.cell(ObserverRow, 2);
    rec.observerFirstName = g.cell(ObserverRow, 3);
    rec.email = g.cell(ContactRow, 2);
    rec.telephone = g.cell(ContactRow, 3);

    if (mode == RecordMode::Update || mode == RecordMode::NewPassage) {
        const int t = findTitle(g, kTitleLocations);
        if (t >= 0) {
            readLocations(g, t, rec);
            reading.locationsRead = true;
        }
    }
    readSeason(g, o, reading);
    setPassageButtons(o, reading);
    if (mode != RecordMode::Update)
        return out;

    rec.notValidated = g.cell(ShocRow, 3) == kNotValidated;
    if (const int t = findTitle(g, kTitleVisit); t >= 0) {
        rec.date = g.cell(t, 2);
        rec.passage = passageIndexOf(g) + 1;
        rec.visitComment = typedLines(g.cell(t, 4));
    }
    if (const int t = findTitle(g, kTitleWeather); t >= 0)
        for (int p = 1; p <= rec.parcels.size(); ++p)
            for (int w = 0; w < kWeatherCount; ++w)
                rec.parcels[p - 1].weather[size_t(w)] = g.cell(t + p, 3 + w);
    if (const int t = findTitle(g, kTitleOptions); t >= 0)
        rec.totalTypedByHand = common::leadingNumber(g.cell(t, 2)) == 1;
    // The species-merge box always starts unticked.
    for (int p = 1; p <= rec.parcels.size(); ++p) {
        const int t = findTitle(g, kTitleSpecies + QString::number(p));
        if (t < 0)
            continue;
        Parcel& parcel = rec.parcels[p - 1];
        parcel.startTime = g.cell(t, StartTimeCol);
        parcel.duration = g.cell(t, DurationCol);
        parcel.huntingOn = isTickedText(g.cell(t, HuntingOnCol));
        parcel.huntingNear = isTickedText(g.cell(t, HuntingNearCol));
        parcel.species = readSpeciesBlock(g, t);
    }
    return out;
}

} // namespace record
