#pragma once
// One survey record: one visit ("passage" 1 to 5) of one site in one winter, with its parcels.
// A plain value: the record window fills it from its fields and grids, RecordLayout turns it into
// the record file's grid and back, RecordStore names and keeps its file.
//
// Texts are kept as the user typed them, line breaks as "\n"; check boxes are truth values.

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace record {

// The record window's modes, as the record list asks for them.
enum class RecordMode {
    New,        // "NEW": a new site
    NewPassage, // "NEW RELEVE": the next passage of a known site, same winter
    NextWinter, // "NEW RELEVE A-1": a known site in the next winter
    Update,     // "UPDATE": the record chosen in the list, opened for modification
};
QString modeText(RecordMode mode);

// Coordinate types of the parcel grid (the item data of its coordinate-system list).
inline constexpr int kCoordNtfGrads = 0;
inline constexpr int kCoordLambert = 1;
inline constexpr int kCoordWgs84 = 2;
inline constexpr int kCoordUtm = 3;
inline constexpr int kCoordMgrs = 4;

inline constexpr int kMaxParcels = 30;
inline constexpr int kPassageCount = 5;
inline constexpr int kHabitatCount = 18;
inline constexpr int kWeatherCount = 4;
inline constexpr int kDistanceBands = 4;

// One row of the parcel location grid, columns 2 to 15.
struct ParcelLocation
{
    QString department;
    QString commune;
    QString placeName;
    QString utmZone;
    QString longitude; // or easting
    QString latitude;  // or northing
    QString mgrsSquare;
    QString walkLength; // metres
    QString altitude;   // metres
    bool huntingReserve = false;
    bool validated = false; // coordinates checked against the commune's centre
    QString lambertX;       // Lambert II étendu, whole metres
    QString lambertY;
    QString information;

    bool operator==(const ParcelLocation&) const = default;
};

// One species row of a parcel's species grid (its columns 1 to 9).
struct SpeciesRow
{
    QString speciesClass;
    QString code;
    QString name;
    std::array<QString, kDistanceBands> counts; // 0-50 m, 50-200 m, beyond 200 m, flying over
    QString total;
    QString indices; // behaviour indices

    // Nothing in the class, code, name, counts or total: the row is not kept, whatever its
    // indices hold.
    bool isBlank() const;
    bool operator==(const SpeciesRow&) const = default;
};

// The species of a parcel in grid order; an empty table is a grid that holds no species.
using SpeciesTable = QList<SpeciesRow>;

struct Parcel
{
    ParcelLocation location;
    std::array<bool, kHabitatCount> habitats{}; // the habitat-description grid, columns 2 to 19
    std::array<QString, kWeatherCount> weather; // cloud cover, rain, wind, visibility: "1" to "3"
    QString startTime;                          // "HH:MM", empty when never entered
    QString duration;                           // "HH:MM"
    bool huntingOn = false;                     // "Chasse sur la parcelle"
    bool huntingNear = false;                   // "Chasse à proximité de la parcelle"
    // nullopt: the parcel's species grid was never stored (a parcel added and never shown);
    // an empty table: a species grid holding no species.
    std::optional<SpeciesTable> species;

    bool operator==(const Parcel&) const = default;
};

struct SurveyRecord
{
    // Identification (the first page).
    QString department;  // "26 - Drôme": the department list's item
    QString commune;     // empty: no commune chosen
    QString placeName;   // lieu-dit
    QString siteName;    // built from the fields above (SiteName)
    QString habitatType; // "CH - ..." item of the habitat list
    QString network;     // "SHOC / ..." item of the network list
    QString generalComment;
    QString observerName;
    QString observerFirstName;
    QString email;
    QString telephone;
    QString season; // "Hiver 2009-2010"; empty: none chosen

    // The visit.
    QString date;    // "JJ/MM/AAAA"
    int passage = 0; // 1 to 5; 0: none chosen
    QString visitComment;

    // Entry options.
    bool totalTypedByHand = false; // otherwise totals are computed from the distance bands
    bool mergeSpecies = false;     // "Regroupement espèce"
    int coordinateType = kCoordLambert;

    bool notValidated = false; // saved despite anomalies

    QList<Parcel> parcels; // 1 to 30

    // The passage index stored in the record: passage - 1, and 4 when none is chosen.
    int passageIndex() const
    {
        return passage >= 1 && passage <= kPassageCount ? passage - 1 : kPassageCount - 1;
    }

    bool operator==(const SurveyRecord&) const = default;
};

} // namespace record
