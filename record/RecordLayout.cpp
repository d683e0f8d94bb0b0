#include "record/RecordLayout.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "record/RecordFileLayout.h"
#include "record/SpeciesStore.h"

#include <QSet>
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

using namespace file;
namespace Loc = file::LocationColumn;

namespace {

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

QString checkStateText(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("2"); }
QString checkValueText(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }

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
        g.setCell(row, speciesColumn(k + 1), cells[k]);
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

int findTitle(const grid::Grid& g, const QString& title) { return g.findRow(title, 0, LabelColumn); }

// The row of parcel p in the section titled on row t (one row per parcel directly below its title)
// is there: it lies in the grid and begins no section of its own.
bool holdsParcelRow(const grid::Grid& g, int t, int p)
{
    return t + p < g.rows() && !RecordLayout::isTitle(g.cell(t + p, LabelColumn));
}

// Failure naming the first parcel whose row the section titled on row t does not hold.
platform::Result parcelRowsOf(const grid::Grid& g, int t, const QString& section, int count)
{
    for (int p = 1; p <= count; ++p)
        if (!holdsParcelRow(g, t, p))
            return platform::Result::failure(QStringLiteral("la ligne de la parcelle %1 manque sous « %2 » "
                                                            "(« %3 » : %4)")
                                                 .arg(p)
                                                 .arg(section, RecordLayout::kTitleParcelCount)
                                                 .arg(count));
    return platform::Result::success();
}

// The title rows of the parcels' species blocks, parcel p at index p - 1; -1 for a parcel that has
// none (an empty parcel: its species grid starts empty).
QList<int> speciesTitlesOf(const grid::Grid& g, int count)
{
    QList<int> rows;
    for (int p = 1; p <= count; ++p)
        rows << findTitle(g, RecordLayout::kTitleSpecies + QString::number(p));
    return rows;
}

// A species block ends at a label (the next title) or at a row with nothing in the species
// grid's columns 1 to 8.
bool endsSpeciesBlock(const grid::Grid& g, int row)
{
    if (!g.cell(row, LabelColumn).isEmpty())
        return true;
    for (int k = SpeciesClassColumn; k <= SpeciesTotalColumn; ++k)
        if (!g.cell(row, speciesColumn(k)).isEmpty())
            return false;
    return true;
}

bool isSpeciesHeader(const grid::Grid& g, int row)
{
    return g.cell(row, speciesColumn(SpeciesClassColumn)) == speciesTitles().value(0) &&
           g.cell(row, speciesColumn(SpeciesCodeColumn)) == speciesTitles().value(1);
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
        s.speciesClass = g.cell(r, speciesColumn(SpeciesClassColumn));
        s.code = g.cell(r, speciesColumn(SpeciesCodeColumn));
        s.name = g.cell(r, speciesColumn(SpeciesNameColumn));
        for (int b = 0; b < kDistanceBands; ++b)
            s.counts[size_t(b)] = g.cell(r, speciesColumn(SpeciesFirstCountColumn + b));
        s.total = g.cell(r, speciesColumn(SpeciesTotalColumn));
        s.indices = g.cell(r, speciesColumn(SpeciesIndicesColumn));
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
            loc.*texts[i] = g.cell(row, Loc::Department + int(i));
        loc.huntingReserve = isTickedText(g.cell(row, Loc::HuntingReserve));
        loc.validated = isTickedText(g.cell(row, Loc::Validated));
        loc.lambertX = g.cell(row, Loc::LambertX);
        loc.lambertY = g.cell(row, Loc::LambertY);
        loc.information = g.cell(row, Loc::Information);
        for (int h = 0; h < kHabitatCount; ++h)
            parcel.habitats[size_t(h)] = isTickedText(g.cell(row, Loc::FirstHabitat + h));
    }
    const std::optional<int> type = wholeNumber(g.cell(t + 1, Loc::CoordType));
    rec.coordinateType = type && *type >= kCoordNtfGrads && *type <= kCoordMgrs ? *type : kCoordLambert;
}

void readSeason(const grid::Grid& g, const ReadOptions& o, RecordReading& out)
{
    const int t = findTitle(g, RecordLayout::kTitleSeason);
    if (t < 0)
        return;
    const QString stored = g.cell(t, SeasonColumn).trimmed();
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

namespace {

// The rows the record's file takes: the fixed rows and sections, then each parcel's species block.
int recordRows(const SurveyRecord& rec)
{
    int rows = firstSpeciesRow(int(rec.parcels.size()));
    for (const Parcel& p : rec.parcels)
        rows += speciesBlockRows(p);
    return rows;
}

// Rows 1 to 8: the version and status, the site, the network, the comment, the observer, the
// contact, the number of parcels and the season.
void writeFixedRows(grid::Grid& g, const SurveyRecord& rec)
{
    g.setCell(ShocRow, LabelColumn, RecordLayout::kTitleShoc);
    g.setCell(ShocRow, ShocColumn::Version, RecordLayout::versionText());
    g.setCell(ShocRow, ShocColumn::Status, rec.notValidated ? RecordLayout::kNotValidated : QString());
    g.setCell(IdentificationRow, LabelColumn, RecordLayout::kTitleIdentification);
    g.setCell(IdentificationRow, IdentificationColumn::Department, rec.department);
    g.setCell(IdentificationRow, IdentificationColumn::Commune, rec.commune);
    g.setCell(IdentificationRow, IdentificationColumn::Place, rec.placeName);
    g.setCell(IdentificationRow, IdentificationColumn::Site, rec.siteName);
    g.setCell(IdentificationRow, IdentificationColumn::HabitatType, rec.habitatType);
    g.setCell(NetworkRow, LabelColumn, RecordLayout::kTitleNetwork);
    g.setCell(NetworkRow, NetworkColumn, rec.network);
    g.setCell(CommentRow, LabelColumn, RecordLayout::kTitleComment);
    g.setCell(CommentRow, CommentColumn, storedLines(rec.generalComment));
    g.setCell(ObserverRow, LabelColumn, RecordLayout::kTitleObserver);
    g.setCell(ObserverRow, ObserverColumn::Name, rec.observerName.trimmed());
    g.setCell(ObserverRow, ObserverColumn::FirstName, rec.observerFirstName.trimmed());
    g.setCell(ContactRow, LabelColumn, RecordLayout::kTitleContact);
    g.setCell(ContactRow, ContactColumn::Email, rec.email);
    g.setCell(ContactRow, ContactColumn::Telephone, rec.telephone);
    g.setCell(ParcelCountRow, LabelColumn, RecordLayout::kTitleParcelCount);
    g.setCell(ParcelCountRow, ParcelCountColumn, QString::number(int(rec.parcels.size())));
    g.setCell(SeasonRow, LabelColumn, RecordLayout::kTitleSeason);
    g.setCell(SeasonRow, SeasonColumn, rec.season);
}

// Locations and habitats: their titles, then one row per parcel.
void writeLocations(grid::Grid& g, const SurveyRecord& rec)
{
    const int n = int(rec.parcels.size());
    g.setCell(LocationsRow, LabelColumn, RecordLayout::kTitleLocations);
    for (int c = 0; c < locationCaptions().size(); ++c)
        g.setCell(LocationsRow, Loc::Point + c, locationCaptions()[c]);
    for (int h = 0; h < kHabitatCount; ++h)
        g.setCell(LocationsRow, Loc::FirstHabitat + h, RecordLayout::habitatTitles()[h]);
    const auto texts = locationTexts();
    for (int p = 1; p <= n; ++p) {
        const int row = LocationsRow + p;
        const Parcel& parcel = rec.parcels[p - 1];
        const ParcelLocation& loc = parcel.location;
        g.setCell(row, Loc::Point, QString::number(p));
        for (size_t i = 0; i < texts.size(); ++i)
            g.setCell(row, Loc::Department + int(i), loc.*texts[i]);
        g.setCell(row, Loc::HuntingReserve, checkStateText(loc.huntingReserve));
        g.setCell(row, Loc::Validated, checkStateText(loc.validated));
        g.setCell(row, Loc::CoordType, QString::number(rec.coordinateType));
        g.setCell(row, Loc::LambertX, loc.lambertX);
        g.setCell(row, Loc::LambertY, loc.lambertY);
        g.setCell(row, Loc::Information, loc.information);
        g.setCell(row, Loc::ParcelLabel, RecordLayout::parcelLabel(p));
        for (int h = 0; h < kHabitatCount; ++h)
            g.setCell(row, Loc::FirstHabitat + h, checkStateText(parcel.habitats[size_t(h)]));
    }
}

// The visit, the weather of each parcel and the entry options.
void writeVisit(grid::Grid& g, const SurveyRecord& rec)
{
    const int n = int(rec.parcels.size());
    const int visit = visitRow(n);
    g.setCell(visit, LabelColumn, RecordLayout::kTitleVisit);
    g.setCell(visit, VisitColumn::Date, rec.date);
    g.setCell(visit, VisitColumn::Passage, QString::number(rec.passageIndex()));
    g.setCell(visit, VisitColumn::Comment, storedLines(rec.visitComment));

    const int weather = weatherRow(n);
    g.setCell(weather, LabelColumn, RecordLayout::kTitleWeather);
    for (int c = 0; c < weatherCaptions().size(); ++c)
        g.setCell(weather, WeatherColumn::Point + c, weatherCaptions()[c]);
    for (int p = 1; p <= n; ++p) {
        g.setCell(weather + p, WeatherColumn::Point, QString::number(p));
        for (int w = 0; w < kWeatherCount; ++w)
            g.setCell(weather + p, WeatherColumn::First + w, rec.parcels[p - 1].weather[size_t(w)]);
    }

    const int options = optionsRow(n);
    g.setCell(options, LabelColumn, RecordLayout::kTitleOptions);
    g.setCell(options, OptionsColumn::TotalByHand,
              rec.totalTypedByHand ? QStringLiteral("1") : QStringLiteral("0"));
    g.setCell(options, OptionsColumn::MergeSpecies, checkValueText(rec.mergeSpecies));
}

// Each parcel's species block: its title row with the parcel's values, then, when the parcel has a
// species grid, its header and its species rows (blank rows left out).
void writeSpeciesBlocks(grid::Grid& g, const SurveyRecord& rec)
{
    const int n = int(rec.parcels.size());
    int row = firstSpeciesRow(n);
    for (int p = 1; p <= n; ++p) {
        const Parcel& parcel = rec.parcels[p - 1];
        g.setCell(row, LabelColumn, RecordLayout::kTitleSpecies + QString::number(p));
        g.setCell(row, SpeciesTitleColumn::StartTime, parcel.startTime);
        g.setCell(row, SpeciesTitleColumn::Duration, parcel.duration);
        g.setCell(row, SpeciesTitleColumn::HuntingOn, checkValueText(parcel.huntingOn));
        g.setCell(row, SpeciesTitleColumn::HuntingNear, checkValueText(parcel.huntingNear));
        ++row;
        if (!parcel.species)
            continue;
        writeSpeciesRow(g, row++, speciesTitles());
        for (const SpeciesRow& s : *parcel.species)
            if (!s.isBlank())
                writeSpeciesRow(g, row++, cellsOf(s));
    }
}

} // namespace

void RecordLayout::write(const SurveyRecord& rec, grid::Grid& grid)
{
    grid::Grid g;
    g.setCols(ColumnCount);
    g.setRows(recordRows(rec));
    g.setFixedRows(1);
    g.setFixedCols(1);
    writeFixedRows(g, rec);
    writeLocations(g, rec);
    writeVisit(g, rec);
    writeSpeciesBlocks(g, rec);
    g.setEditable(grid::Grid::Editable::None);
    grid.copyFrom(g);
}

bool RecordLayout::isTitle(const QString& label)
{
    static const QSet<QString> titles = {kTitleShoc,        kTitleIdentification, kTitleNetwork,
                                         kTitleComment,     kTitleObserver,       kTitleContact,
                                         kTitleParcelCount, kTitleSeason,         kTitleLocations,
                                         kTitleVisit,       kTitleWeather,        kTitleOptions};
    return titles.contains(label) || label.startsWith(kTitleSpecies);
}

const QList<std::pair<int, QString>>& RecordLayout::fixedRows()
{
    static const QList<std::pair<int, QString>> rows = {{ShocRow, kTitleShoc},
                                                        {IdentificationRow, kTitleIdentification},
                                                        {NetworkRow, kTitleNetwork},
                                                        {CommentRow, kTitleComment},
                                                        {ObserverRow, kTitleObserver},
                                                        {ContactRow, kTitleContact},
                                                        {ParcelCountRow, kTitleParcelCount},
                                                        {SeasonRow, kTitleSeason}};
    return rows;
}

int RecordLayout::passageIndexOf(const grid::Grid& g)
{
    const int t = findTitle(g, kTitleVisit);
    const std::optional<int> index = t < 0 ? std::nullopt : wholeNumber(g.cell(t, VisitColumn::Passage));
    return index && *index >= 0 && *index < kPassageCount ? *index : -1;
}

RecordReadResult RecordLayout::read(const grid::Grid& g, const ReadOptions& o)
{
    RecordReadResult out;
    RecordReading& reading = out.reading;
    SurveyRecord& rec = reading.record;

    const QString countText = g.cell(ParcelCountRow, ParcelCountColumn);
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

    rec.department = g.cell(IdentificationRow, IdentificationColumn::Department);
    rec.commune = g.cell(IdentificationRow, IdentificationColumn::Commune);
    rec.placeName = g.cell(IdentificationRow, IdentificationColumn::Place);
    rec.siteName = g.cell(IdentificationRow, IdentificationColumn::Site);
    rec.habitatType = g.cell(IdentificationRow, IdentificationColumn::HabitatType);
    rec.network = g.cell(NetworkRow, NetworkColumn);
    rec.generalComment = typedLines(g.cell(CommentRow, CommentColumn));
    rec.observerName = g.cell(ObserverRow, ObserverColumn::Name);
    rec.observerFirstName = g.cell(ObserverRow, ObserverColumn::FirstName);
    rec.email = g.cell(ContactRow, ContactColumn::Email);
    rec.telephone = g.cell(ContactRow, ContactColumn::Telephone);

    if (mode == RecordMode::Update || mode == RecordMode::NewPassage) {
        const int t = findTitle(g, kTitleLocations);
        if (t >= 0) {
            if (out.result = parcelRowsOf(g, t, kTitleLocations, *count); !out.result.ok)
                return out;
            readLocations(g, t, rec);
            reading.locationsRead = true;
        }
    }
    readSeason(g, o, reading);
    setPassageButtons(o, reading);
    if (mode != RecordMode::Update)
        return out;

    rec.notValidated = g.cell(ShocRow, ShocColumn::Status) == kNotValidated;
    if (const int t = findTitle(g, kTitleVisit); t >= 0) {
        rec.date = g.cell(t, VisitColumn::Date);
        rec.passage = passageIndexOf(g) + 1;
        rec.visitComment = typedLines(g.cell(t, VisitColumn::Comment));
    }
    // A weather title without parcel rows (the next row begins another section) leaves the
    // weather empty.
    if (const int t = findTitle(g, kTitleWeather); t >= 0 && holdsParcelRow(g, t, 1)) {
        if (out.result = parcelRowsOf(g, t, kTitleWeather, *count); !out.result.ok)
            return out;
        for (int p = 1; p <= rec.parcels.size(); ++p)
            for (int w = 0; w < kWeatherCount; ++w)
                rec.parcels[p - 1].weather[size_t(w)] = g.cell(t + p, WeatherColumn::First + w);
    }
    if (const int t = findTitle(g, kTitleOptions); t >= 0)
        rec.totalTypedByHand = common::leadingNumber(g.cell(t, OptionsColumn::TotalByHand)) == 1;
    // The species-merge box always starts unticked.
    const QList<int> species = speciesTitlesOf(g, *count);
    for (int p = 1; p <= rec.parcels.size(); ++p) {
        const int t = species[p - 1];
        if (t < 0)
            continue;
        Parcel& parcel = rec.parcels[p - 1];
        parcel.startTime = g.cell(t, SpeciesTitleColumn::StartTime);
        parcel.duration = g.cell(t, SpeciesTitleColumn::Duration);
        parcel.huntingOn = isTickedText(g.cell(t, SpeciesTitleColumn::HuntingOn));
        parcel.huntingNear = isTickedText(g.cell(t, SpeciesTitleColumn::HuntingNear));
        parcel.species = readSpeciesBlock(g, t);
    }
    return out;
}

} // namespace record
