#include "record/RecordValidator.h"

#include "common/Globals.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/FieldChecks.h"
#include "record/ReferenceData.h"
#include "record/SiteName.h"
#include "record/SpeciesCounts.h"

#include <algorithm>
#include <cmath>

namespace mb = platform::mb;

namespace record {

namespace {

// The check style: with the partial-save question, the suffix and Yes/No (No preselected);
// without it, an OK button. Both with the exclamation icon.
const QString kPartialSuffix =
    QStringLiteral("\n\n\nBien qu'il y ait au moins une erreur, souhaitez-vous quand "
                   "même effectuer une sauvegarde partielle ?");
constexpr int kStylePartial = mb::YesNo | mb::Exclamation | mb::DefaultButton2;
constexpr int kStyleCheck = mb::OKOnly | mb::Exclamation;

// Step -1.
const QString kNoDepartment =
    QStringLiteral("Sauvegarde impossible\n\nVeuillez indiquer le numéro du département.");

// Step 0.
const QString kObserverName = QStringLiteral("Veuillez indiquer le nom de l'observateur.");
const QString kObserverFirstName = QStringLiteral("Veuillez indiquer le prénom de l'observateur.");
const QString kContact =
    QStringLiteral("Veuillez indiquer votre adresse courriel ou à défaut, votre N° de téléphone.");
const QString kSeason = QStringLiteral("Veuillez indiquer la saison d'observation votre relevé.");
const QString kDepartment = QStringLiteral(
    "Veuillez indiquer le N° du département dans lequel se situe (majoritairement) votre site.");
const QString kCommune = QStringLiteral(
    "Veuillez indiquer le nom de la commune dans laquelle se situe (majoritairement) votre site.");
const QString kSiteName = QStringLiteral("Veuillez indiquer le nom sous lequel sera connu votre EPS Site.");
const QString kParcelCount = QStringLiteral(
    "Veuillez indiquer le nombre [1,30] de points d'écoute qui seront effectués dans votre EPS Site. ");

// Step 1; the parcel number follows the first five.
const QString kLongitude = QStringLiteral("Veuillez indiquer la longitude de la parcelle N°");
const QString kLatitude = QStringLiteral("Veuillez indiquer la latitude de la parcelle N°");
const QString kUtmZone = QStringLiteral("Veuillez indiquer la zone UTM de la parcelle N°");
const QString kMgrsSquare = QStringLiteral("Veuillez indiquer la maille MGRS de la parcelle N°");
const QString kUnconvertible = QStringLiteral("Veuillez vérifier les coordonnées de la parcelle N°");
const QString kAltitude = QStringLiteral("Veuillez indiquer l'altitude de tous les points d'écoute.");
QString farParcel(int parcel, double km)
{
    return QStringLiteral("La Parcelle N°") + QString::number(parcel) +
           QStringLiteral(" est situé à plus de ") + coords::slotText(QVariant(km)) +
           QStringLiteral(" km du barycentre de sa commune d'appartenance.");
}
const QString kFarQuestion = QStringLiteral("\n\nCela  vous parait-il exacte ?");
constexpr grid::GridColour kRed = 255;

// Step 3.
const QString kTimeMissing = QStringLiteral("Veuillez indiquer l'heure du relevé.");
const QString kTimeInvalid = QStringLiteral("L'heure est invalide.");
const QString kDurationMissing = QStringLiteral("Veuillez indiquer la durée du relevé.");
const QString kDurationInvalid = QStringLiteral("La durée est invalide.");
// The per-parcel values of the window have slots for parcels 1 to 50.
constexpr int kParcelSlots = 51;

// Step 4.
const QString kGiveCounts = QStringLiteral(
    "Il convient de fournir le nombre d'oiseaux contactés, ventilé selon les distances de contact.");
QString noCount(int parcel, const SpeciesRow& row)
{
    return QStringLiteral("Parcelle N°") + QString::number(parcel) +
           QStringLiteral("\n\nAucune nombre d'individus contactés n'est fourni pour l'espèce ") +
           row.speciesClass + QLatin1Char('/') + row.code + QStringLiteral(" !\n\n") + kGiveCounts;
}
QString noTotal(int parcel, const SpeciesRow& row)
{
    return QStringLiteral("Parcelle N°") + QString::number(parcel) +
           QStringLiteral("\n\nLe total d'individu contacté pour l'espèce ") + row.speciesClass +
           QLatin1Char('/') + row.code + QStringLiteral(" n'est pas valorisé !!!\n\n") + kGiveCounts;
}
QString totalBelowBands(const SpeciesRow& row)
{
    return QStringLiteral("Pour l'espèce ") + row.speciesClass + QStringLiteral(" (") + row.code +
           QStringLiteral(") , le total saisi est inférieur à la somme des colonnes détails !!!");
}
QString noClass(int parcel, int row, const SpeciesRow& species)
{
    QStringList names;
    for (const QString& n : {species.code.trimmed(), species.name.trimmed()})
        if (!n.isEmpty())
            names << n;
    const QString which = names.isEmpty() ? QStringLiteral("de la ligne ") + QString::number(row + 1)
                                          : names.join(QLatin1Char('/'));
    return QStringLiteral("Parcelle N°") + QString::number(parcel) + QStringLiteral("\n\nL'espèce ") + which +
           QStringLiteral(" n'est pas reconnue : sa classe n'est pas renseignée !\n\n") +
           QStringLiteral("Il convient de choisir l'espèce dans la liste des codes ou des noms d'espèces.");
}

// The page-change gate: the species page while the record cannot be saved.
const QString kSpeciesPageRefused = QStringLiteral(
    "Avant de saisir les espèces contactées lors de votre relevé, veuilllez renseigner TOUS les éléments "
    "indispensables pour réaliser la sauvegarde des données :"
    "\n\t-   Le nom de l'observateur.\n\t-   Le nom de la commune.\n\t-   La saison d'observation."
    "\n\t-   La date de passage.\n\t-   Le N° de passage.\n\t-   L'heure de passage."
    "\n\nValorisez dès maintenant ces éléments pour pouvoir sauvegarder votre saisie.");

bool blank(const QString& text) { return text.trimmed().isEmpty(); }

double countValue(const QString& text)
{
    const double v = common::leadingNumber(text);
    return std::isfinite(v) ? v : 0.0;
}

} // namespace

QString validationTitle()
{
    return common::kProgramName + QStringLiteral(" - Validation des données saisies");
}

struct RecordValidator::Call
{
    int step = 0;
    VerifOptions options;
    bool error = false;
    std::optional<int> kept; // the answer of the last box whose answer counts
};

RecordValidator::RecordValidator(SurveyRecord& record, const ReferenceData& references, RecordView& view,
                                 CoordinateServices coordinates)
    : m_record(record), m_references(references), m_view(view), m_coordinates(std::move(coordinates))
{
}

void RecordValidator::setSpeciesChecked(int parcel, bool checked)
{
    if (checked)
        m_speciesChecked.insert(parcel);
    else
        m_speciesChecked.remove(parcel);
}

VerifResult RecordValidator::Sub_Vérif_Data(int step, const VerifOptions& options)
{
    Call call{.step = step, .options = options, .error = false, .kept = std::nullopt};
    switch (step) {
    case -1:
        stepDepartment(call);
        if (call.error)
            return {true, false};
        break;
    case 0:
        stepIdentification(call);
        break;
    case 1:
        stepLocations(call);
        break;
    case 3:
        stepTimes(call);
        break;
    case 4:
        stepSpecies(call);
        break;
    case 5:
        stepMerge(call);
        break;
    default: // step 2 (date and weather) has no check
        break;
    }
    return {call.error, options.askPartial && call.kept == mb::Yes};
}

void RecordValidator::showPage(int page)
{
    const GateSuppressor quiet(*this);
    m_view.showPage(page);
}

int RecordValidator::askChecked(Call& call, const QString& message)
{
    const int answer =
        call.options.askPartial
            ? platform::dialogs().ask(message + kPartialSuffix, kStylePartial, validationTitle())
            : platform::dialogs().ask(message, kStyleCheck, validationTitle());
    call.kept = answer;
    return answer;
}

void RecordValidator::pageFailure(Call& call, int page, const QString& message,
                                  std::optional<RecordField> focus)
{
    showPage(page);
    askChecked(call, message);
    call.error = true;
    if (focus)
        m_view.focusField(*focus);
}

int RecordValidator::lastParcel(const Call& call) const
{
    return call.options.lastParcel < 0 ? parcelCount() : call.options.lastParcel;
}

// ---------------------------------------------------------------- steps -1 and 0

void RecordValidator::stepDepartment(Call& call)
{
    if (!blank(m_record.department))
        return;
    platform::dialogs().ask(kNoDepartment, mb::OKOnly | mb::Critical, validationTitle());
    call.error = true;
}

void RecordValidator::stepIdentification(Call& call)
{
    const SurveyRecord& r = m_record;
    const struct
    {
        bool fails;
        const QString& message;
        RecordField focus;
    } checks[] = {
        {blank(r.observerName), kObserverName, RecordField::ObserverName},
        {blank(r.observerFirstName), kObserverFirstName, RecordField::ObserverFirstName},
        {blank(r.email) && blank(r.telephone), kContact, RecordField::Email},
        {r.season.isEmpty(), kSeason, RecordField::Season},
        {r.department.isEmpty(), kDepartment, RecordField::Department},
        {r.commune.isEmpty(), kCommune, RecordField::Commune},
        {blank(r.siteName), kSiteName, RecordField::SiteName},
        {parcelCount() == 0 || parcelCount() > kMaxParcels, kParcelCount, RecordField::ParcelCount},
    };
    for (const auto& c : checks)
        if (c.fails) {
            pageFailure(call, PageIdentification, c.message, c.focus);
            return;
        }
}

// ---------------------------------------------------------------- step 1

void RecordValidator::stepLocations(Call& call)
{
    for (int i = 1; i <= parcelCount(); ++i)
        if (!checkLocation(call, i))
            return;
}

bool RecordValidator::checkLocation(Call& call, int parcel)
{
    ParcelLocation& loc = m_record.parcels[parcel - 1].location;
    if (loc.validated)
        return true;
    const QString number = QString::number(parcel);
    const int type = m_record.coordinateType;

    auto fail = [&](const QString& message) {
        pageFailure(call, PageLocations, message);
        return false;
    };
    const TypedPosition typed{.utmZone = loc.utmZone,
                              .longitude = loc.longitude,
                              .latitude = loc.latitude,
                              .mgrsSquare = loc.mgrsSquare};
    switch (type) {
    case kCoordUtm:
        if (blank(loc.utmZone))
            return fail(kUtmZone + number);
        [[fallthrough]];
    case kCoordNtfGrads:
    case kCoordLambert:
    case kCoordWgs84:
        if (blank(loc.longitude))
            return fail(kLongitude + number);
        if (blank(loc.latitude))
            return fail(kLatitude + number);
        break;
    case kCoordMgrs:
        if (blank(loc.mgrsSquare))
            return fail(kMgrsSquare + number);
        break;
    default:
        break;
    }
    m_view.hideCheckColumns();
    if (blank(loc.altitude))
        return fail(kAltitude);

    // Fresh slots for every parcel: nothing converted for another parcel can stand in for a
    // position that does not convert.
    const auto position = convertPosition(type, typed, m_coordinates);
    if (!position) {
        // The Lambert position of coordinates that no longer convert is not kept.
        if (!loc.lambertX.isEmpty() || !loc.lambertY.isEmpty()) {
            loc.lambertX.clear();
            loc.lambertY.clear();
            m_view.locationChanged(parcel);
        }
        return fail(kUnconvertible + number);
    }
    loc.lambertX = position->lambertX;
    loc.lambertY = position->lambertY;

    // The distance to the centre of the parcel's commune (the site's when the row names none), when
    // it can be known. Otherwise the parcel is left unvalidated, without a word.
    const auto distance = distanceToCentre(
        m_references, parcelCommune(loc.department, loc.commune, m_record.department, m_record.commune),
        *position, m_coordinates);
    if (!distance) {
        m_view.locationChanged(parcel);
        return true;
    }
    const double km = *distance;

    if (km > kMaxDistanceKm) {
        const int remembered = m_view.currentPage();
        showPage(PageLocations);
        const QString statement = farParcel(parcel, km);
        // The user confirms the position; whether to save partially is another question.
        const int answer =
            platform::dialogs().ask(statement + kFarQuestion, mb::YesNo | mb::Question, validationTitle());
        if (answer != mb::Yes) {
            loc.validated = false;
            loc.information = statement;
            m_view.setInformationColour(parcel, kRed);
            m_view.locationChanged(parcel);
            call.error = true;
            if (call.options.askPartial)
                askChecked(call, statement);
            return false;
        }
        showPage(remembered);
    }
    loc.validated = true;
    loc.information.clear();
    m_view.setInformationColour(parcel, 0);
    m_view.locationChanged(parcel);
    return true;
}

// ---------------------------------------------------------------- step 3

void RecordValidator::stepTimes(Call& call)
{
    const int last = std::min({lastParcel(call), parcelCount(), kParcelSlots - 1});
    for (int i = std::max(1, call.options.firstParcel); i <= last; ++i) {
        const Parcel& p = m_record.parcels[i - 1];
        QString message;
        if (blank(p.startTime))
            message = kTimeMissing;
        else if (sub_Heure_Vérifier(p.startTime, true))
            message = kTimeInvalid;
        else if (blank(p.duration))
            message = kDurationMissing;
        else if (sub_Heure_Vérifier(p.duration, true))
            message = kDurationInvalid;
        if (message.isEmpty())
            continue;
        if (call.options.showPage) {
            showPage(PageSpecies);
            m_view.showParcel(i);
        }
        askChecked(call, message);
        call.error = true;
        return;
    }
}

// ---------------------------------------------------------------- step 4

void RecordValidator::stepSpecies(Call& call)
{
    const bool typed = m_record.totalTypedByHand;
    const int last = std::min(lastParcel(call), parcelCount());
    for (int i = std::max(1, call.options.firstParcel); i <= last; ++i) {
        if (speciesChecked(i))
            continue;
        m_speciesChecked.insert(i);
        std::optional<SpeciesTable>& species = m_record.parcels[i - 1].species;
        if (!species)
            continue;
        SpeciesTable& table = *species;
        bool changed = false;
        auto store = [&] {
            if (changed)
                m_view.speciesChanged(i);
            changed = false;
        };
        // A missing count: the parcel's species are examined again next time. The species page
        // comes to the front for every failure but a missing total.
        auto refuse = [&](int r, const QString& message, bool bringForward = true) {
            store();
            if (bringForward && call.options.showPage) {
                showPage(PageSpecies);
                m_view.showParcel(i);
            }
            m_view.selectSpeciesRow(i, r);
            platform::dialogs().ask(message, mb::OKOnly, common::kProgramName);
            m_speciesChecked.remove(i);
            call.error = true;
        };

        for (int r = 0; r < table.size(); ++r) {
            SpeciesRow& row = table[r];
            if (row.isBlank())
                continue;
            if (blank(row.speciesClass))
                return refuse(r, noClass(i, r, row));
            const SpeciesSum s = speciesRowSum(row.counts);
            if (s.sum == 0 && !s.zeroGiven) {
                if (!typed)
                    return refuse(r, noCount(i, row));
                if (countValue(row.total) == 0)
                    return refuse(r, noTotal(i, row), false);
                continue;
            }
            const QString sumText = speciesTotalText(s.sum);
            const double total = countValue(row.total);
            if (typed && total != 0) {
                if (total < s.sum && call.options.showPage) {
                    store();
                    m_view.selectSpeciesRow(i, r);
                    askChecked(call, totalBelowBands(row));
                    call.error = true;
                    return;
                }
            } else if (row.total != sumText) {
                row.total = sumText;
                changed = true;
            }
        }
        store();
    }
}

// ---------------------------------------------------------------- step 5

void RecordValidator::stepMerge(Call& call)
{
    if (!m_record.mergeSpecies)
        return;
    const int last = std::min(lastParcel(call), parcelCount());
    for (int i = std::max(1, call.options.firstParcel); i <= last; ++i) {
        std::optional<SpeciesTable>& species = m_record.parcels[i - 1].species;
        if (!species)
            continue;
        const SpeciesTable before = *species;
        if (mergeSameSpecies(*species, m_record.totalTypedByHand) > 0)
            call.error = true;
        if (*species != before)
            m_view.speciesChanged(i);
    }
}

// ---------------------------------------------------------------- the page-change gate

RecordValidator::GateResult RecordValidator::pageChanged(int pageLeft)
{
    GateResult result;
    const bool saveable = sub_Build_Nom_Zone(m_record).complete();
    m_view.setSaveEnabled(saveable);
    if (gateSuppressed())
        return result;

    if (pageLeft >= PageIdentification && pageLeft <= PageVisit) {
        result.validated = true;
        result.error = Sub_Vérif_Data(pageLeft, {.showPage = true}).error;
    }

    bool undo = false;
    switch (m_view.currentPage()) {
    case PageLocations:
        for (int i = 1; i <= parcelCount(); ++i) {
            ParcelLocation& loc = m_record.parcels[i - 1].location;
            bool changed = false;
            if (loc.department.isEmpty() && !m_record.department.isEmpty()) {
                loc.department = m_record.department;
                changed = true;
            }
            if (loc.commune.isEmpty() && !m_record.commune.isEmpty()) {
                loc.commune = m_record.commune;
                changed = true;
            }
            if (changed)
                m_view.locationChanged(i);
        }
        break;
    case PageSpecies:
        if (!saveable) {
            platform::dialogs().ask(kSpeciesPageRefused, mb::OKOnly, common::kProgramName);
            undo = true;
        }
        break;
    default:
        break;
    }

    if (result.error || undo) {
        showPage(pageLeft);
        result.sentBack = true;
    }
    return result;
}

} // namespace record
