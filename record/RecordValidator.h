#pragma once
// The step-wise validation of a survey record, without the window. The steps follow the record
// window's pages and stop at the first failure, which they report in a box (through the dialog
// service) after bringing the failing page, parcel or field to the front:
//
//  -1  the department (a record without one cannot be saved at all)
//   0  identification: observer's names, e-mail or telephone, season, department, commune, site
//      name, number of parcels (1 to 30)
//   1  each parcel's position: present, with its altitude, convertible; its Lambert II étendu
//      position written back; its distance to its commune's centre: within 5.0 km the parcel is
//      validated, beyond it the user confirms it or not
//   2  the visit's date and weather: nothing to check
//   3  each parcel's start time and duration
//   4  each parcel's species counts, with the totals written back
//   5  the merge of the rows of one species, when the record asks for it
//
// The validator works on the record the window hands over (the window fills it from its fields
// and grids, and applies back what the steps changed: the parcels' positions and the species
// tables); it asks the window, through RecordView, to show a page, a parcel, a field or a species
// row. It also holds the two states the window keeps between calls: which parcels' species were
// checked, and the gate of the page changes.

#include "grid/Grid.h"
#include "record/ParcelPosition.h"
#include "record/SurveyRecord.h"

#include <QSet>
#include <QString>
#include <optional>

namespace record {

class ReferenceData;

// The title of the validation's boxes, the location grid's questions included.
QString validationTitle();

// Pages of the record window's outer tab strip.
enum RecordPage : int {
    PageIdentification = 0,
    PageLocations = 1,
    PageVisit = 2,
    PageSpecies = 3,
    PageAdministrator = 4,
};

// The fields step 0 gives the focus to.
enum class RecordField {
    ObserverName,
    ObserverFirstName,
    Email,
    Season,
    Department,
    Commune,
    SiteName,
    ParcelCount,
};

// What the validation asks of the record window. Only the current page and the page change are
// required; the rest refreshes what the window shows.
class RecordView
{
public:
    virtual ~RecordView() = default;
    virtual int currentPage() const = 0;
    // Shows a page; the page-change event this raises reaches the gate (see
    // RecordValidator::pageChanged) while the gate is suppressed.
    virtual void showPage(int page) = 0;
    // Brings a parcel's tab to the front.
    virtual void showParcel(int /*parcel*/) {}
    virtual void focusField(RecordField /*field*/) {}
    // Selects a row of a parcel's species table (its index in the parcel's table).
    virtual void selectSpeciesRow(int /*parcel*/, int /*row*/) {}
    // The position columns that step 1 leaves to itself (length, validated box, Lambert
    // position) are hidden from the parcel grid.
    virtual void hideCheckColumns() {}
    // The background of a parcel's information cell: red for a parcel the user did not confirm,
    // 0 for the grid's own colour.
    virtual void setInformationColour(int /*parcel*/, grid::GridColour /*colour*/) {}
    // A parcel's location or species table in the record was changed by a step.
    virtual void locationChanged(int /*parcel*/) {}
    virtual void speciesChanged(int /*parcel*/) {}
    // The save button: enabled exactly when the record can be saved.
    virtual void setSaveEnabled(bool /*enabled*/) {}
};

struct VerifOptions
{
    // The boxes of the failures carry the question whether to save partially anyway.
    bool askPartial = false;
    // Parcels of steps 3 to 5; lastParcel -1: the record's last parcel.
    int firstParcel = 1;
    int lastParcel = -1;
    // Failures of steps 3 and 4 bring the species page and the parcel's tab to the front, and a
    // typed total below its bands' sum is refused.
    bool showPage = false;
};

struct VerifResult
{
    bool error = false;   // a check failed (step 5: rows were merged)
    bool partial = false; // asked: the user chose to save partially anyway
};

class RecordValidator
{
public:
    // The distance beyond which a parcel is confirmed by the user, in kilometres.
    static constexpr double kMaxDistanceKm = 5.0;

    // The record, reference data and view must outlive the validator.
    RecordValidator(SurveyRecord& record, const ReferenceData& references, RecordView& view,
                    CoordinateServices coordinates = CoordinateServices());

    // One step (-1 to 5; another step checks nothing).
    VerifResult Sub_Vérif_Data(int step, const VerifOptions& options = VerifOptions());

    // The page-change event of the outer tab strip, after the page changed: refreshes the save
    // button, validates the page left (0, 1 or 2), fills the parcels' empty department and
    // commune when the locations page is shown, refuses the species page while the record cannot
    // be saved, and sends the user back to the page left after a failure. Does nothing but the
    // save button while the gate is suppressed.
    struct GateResult
    {
        bool validated = false; // the page left was validated
        bool error = false;     // ... and failed
        bool sentBack = false;  // the page left was shown again
    };
    GateResult pageChanged(int pageLeft);

    // Suppresses the gate for as long as it lives: the page changes that the validation makes
    // itself are not validated again. Nesting is safe.
    class GateSuppressor
    {
    public:
        explicit GateSuppressor(RecordValidator& validator) : m_validator(validator)
        {
            ++m_validator.m_gateSuppressed;
        }
        ~GateSuppressor() { --m_validator.m_gateSuppressed; }
        GateSuppressor(const GateSuppressor&) = delete;
        GateSuppressor& operator=(const GateSuppressor&) = delete;

    private:
        RecordValidator& m_validator;
    };
    bool gateSuppressed() const { return m_gateSuppressed > 0; }

    // The parcels whose species step 4 has examined. A species edit of a parcel, and the start of
    // each save, set them back.
    bool speciesChecked(int parcel) const { return m_speciesChecked.contains(parcel); }
    void setSpeciesChecked(int parcel, bool checked);
    void clearSpeciesChecked() { m_speciesChecked.clear(); }

private:
    struct Call;
    void stepDepartment(Call& call);
    void stepIdentification(Call& call);
    void stepLocations(Call& call);
    void stepTimes(Call& call);
    void stepSpecies(Call& call);
    void stepMerge(Call& call);
    bool checkLocation(Call& call, int parcel);
    void pageFailure(Call& call, int page, const QString& message, std::optional<RecordField> focus = {});
    int askChecked(Call& call, const QString& message);
    void showPage(int page);
    int parcelCount() const { return int(m_record.parcels.size()); }
    int lastParcel(const Call& call) const;

    SurveyRecord& m_record;
    const ReferenceData& m_references;
    RecordView& m_view;
    CoordinateServices m_coordinates;
    QSet<int> m_speciesChecked;
    int m_gateSuppressed = 0;
};

} // namespace record
