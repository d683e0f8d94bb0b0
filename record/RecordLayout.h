#pragma once
// The record file's writer and reader: a survey record as its file's grid and back. Where each
// row and column of the file stands is in record/RecordFileLayout.h.
//
// Texts keep their line breaks as "@vbCrLf@". Check boxes of the location and habitat grids are
// written as their check state ("1" ticked, "2" not ticked), the hunting and merge boxes as their
// value ("1" ticked, "0" not); reading accepts any usual truth text.

#include "platform/Result.h"
#include "record/SurveyRecord.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <utility>

namespace grid {
class Grid;
}

namespace record {

struct ReadOptions
{
    RecordMode mode = RecordMode::Update;
    // The seasons the record window offers; the stored season is kept only when it is one of them
    // (ignoring case), and the next winter is the item after it. An empty list keeps the stored
    // season as it is (and finds no next winter).
    QStringList seasons;
    // NEW RELEVE: the passage indexes (0 to 4) already stored for the site.
    QList<int> storedPassages;
};

struct RecordReading
{
    // What the mode restores; the rest keeps the values of a new record.
    SurveyRecord record;
    // The passage buttons the user may choose.
    std::array<bool, kPassageCount> passageEnabled{true, true, true, true, true};
    // The "Coordonnées" section was found and the parcels' locations restored.
    bool locationsRead = false;
    // What the record window tells the user after the load (a season it could not choose...).
    QStringList notices;
};

struct [[nodiscard]] RecordReadResult
{
    platform::Result result;
    RecordReading reading;
};

class RecordLayout
{
public:
    // Labels of column 1.
    static const QString kTitleShoc;
    static const QString kTitleIdentification;
    static const QString kTitleNetwork;
    static const QString kTitleComment;
    static const QString kTitleObserver;
    static const QString kTitleContact;
    static const QString kTitleParcelCount;
    static const QString kTitleSeason;
    static const QString kTitleLocations;
    static const QString kTitleVisit;
    static const QString kTitleWeather;
    static const QString kTitleOptions;
    static const QString kTitleSpecies; // followed by the parcel number
    static const QString kNotValidated;
    static const QString kLineBreak; // "@vbCrLf@"

    // "V" + major + "." + minor + "." + revision of the running program.
    static QString versionText();
    // The titles of the habitat-description grid's columns 2 to 19 (a carriage return breaks a
    // title over two lines).
    static const QStringList& habitatTitles();
    // "Parcelle N°" and the parcel number on two digits: the label of a parcel's grid rows.
    static QString parcelLabel(int parcel);

    // The record as its file's grid: the grid is replaced whole (rows, counts, settings).
    static void write(const SurveyRecord& record, grid::Grid& grid);

    // A label that begins a row of its own in column 1: a fixed row, a section or a species block.
    static bool isTitle(const QString& label);
    // The rows a record holds at fixed places, each with its label: (1, "SHOC") to (8, "Saison").
    static const QList<std::pair<int, QString>>& fixedRows();

    // The passage index (0 to 4) a record's grid holds in its date row; -1 when it holds none.
    static int passageIndexOf(const grid::Grid& grid);

    // The record a file's grid holds, as far as the mode restores it. A missing section is
    // skipped, and a parcel without its species block is an empty parcel (no species, no start
    // time, no duration, hunting boxes unticked). Fails, with the reason, when the number of
    // parcels is not a whole number from 1 to 30, or when "Coordonnées" or "Météo" (when it has
    // parcel rows at all), in a mode that takes it, does not hold one row per parcel directly
    // below its title. Nothing is ever read from another section's rows.
    static RecordReadResult read(const grid::Grid& grid, const ReadOptions& options);
};

// Texts stored in the file: every line break ("\r\n", "\r" or "\n") becomes "@vbCrLf@", and back
// as "\n".
QString storedLines(const QString& text);
QString typedLines(const QString& stored);
// A check box's cell: "1", "-1", TRUE, VRAI, OUI or X tick it; anything else leaves it unticked.
bool isTickedText(const QString& text);

} // namespace record
