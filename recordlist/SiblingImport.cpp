#include "recordlist/SiblingImport.h"

#include "common/Dates.h"
#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "common/Paths.h"
#include "coords/Conversion.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/FileLock.h"
#include "platform/MousePointer.h"
#include "platform/SaveFile.h"
#include "platform/Services.h"
#include "record/RecordFileLayout.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"
#include "record/SpeciesStore.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <optional>
#include <utility>

namespace recordlist {

using record::RecordLayout;

namespace {

namespace file = record::file;
namespace Loc = record::file::LocationColumn;
namespace Ident = record::file::IdentificationColumn;

// The sibling's file has our layout but for its habitat code, which it keeps in our site-name
// cell of the identification row, or else on its first point in our hunting-reserve column.
constexpr int kSiblingHabitatColumn = Ident::Site;
constexpr int kSiblingPointHabitatColumn = Loc::HuntingReserve;

const QString kSiblingContactTitle = QStringLiteral("Courriel");
const QString kImportedDuration = QStringLiteral("00:30");
const QString kSpeciesClass = QStringLiteral("O");
const QString kNotChecked = QStringLiteral("0"); // "Vérifié" of an imported point
const QString kNoReserve = QStringLiteral("2");  // "Réserve de chasse": box not ticked

int titleRow(const grid::Grid& g, const QString& title) { return g.findRow(title, -1, file::LabelColumn); }

// The labels that begin a row of their own: a point list ends at the first of them.
bool isSectionTitle(const QString& label)
{
    return label == kSiblingMark || label == kSiblingContactTitle || RecordLayout::isTitle(label);
}

// The titles of "Coordonnées" from its information column on: "Informations", three empty
// columns, the habitat titles, and an empty last one.
QStringList locationTitles()
{
    QStringList t = {QStringLiteral("Informations"), QString(), QString(), QString()};
    t << RecordLayout::habitatTitles() << QString();
    return t;
}

QString withoutTabs(QString text) { return text.remove(QLatin1Char('\t')); }

// The habitat type a sibling habitat code stands for; empty for a code we have no type for.
QString habitatType(const QString& code)
{
    if (code.startsWith(QLatin1String("20")))
        return QStringLiteral("CH");
    if (code.startsWith(QLatin1String("21")) || code.startsWith(QLatin1String("22")))
        return QStringLiteral("PA");
    return QString();
}

// One point's position in Lambert II étendu, converted from the system its row names. Every point
// starts from empty slots: nothing of the previous point can leak into it.
struct PointConversion
{
    bool ok = false;
    QString x, y;
    QString detail; // why it failed, when the conversion says
};

PointConversion convertPoint(const grid::Grid& g, int row)
{
    PointConversion out;
    bool numeric = false;
    const int type = g.cell(row, Loc::CoordType).trimmed().toInt(&numeric);
    if (!numeric || type < coords::TYPE_NTF || type > coords::TYPE_MGRS) {
        out.detail = QStringLiteral("type de coordonnées « %1 » inconnu").arg(g.cell(row, Loc::CoordType));
        return out;
    }
    coords::CoordinateSlots x, y, z;
    if (type == coords::TYPE_MGRS) {
        x[type] = QString();
        y[type] = QString();
        z[type] = g.cell(row, Loc::Mgrs).trimmed();
    } else {
        x[type] = g.cell(row, Loc::Longitude).trimmed();
        y[type] = g.cell(row, Loc::Latitude).trimmed();
        z[type] = type == coords::TYPE_UTM ? g.cell(row, Loc::UtmZone).trimmed() : QString();
    }
    const QString zone = type <= coords::TYPE_LAMBERT ? QStringLiteral("*") : QStringLiteral("WGS84");
    const coords::ConversionResult r = sub_Convertir_Coordonnees(x, y, z, type, zone);
    out.x = coords::slotText(x[coords::TYPE_LAMBERT]);
    out.y = coords::slotText(y[coords::TYPE_LAMBERT]);
    out.ok = r.error == 0 && !out.x.isEmpty() && !out.y.isEmpty();
    out.detail = r.message;
    out.detail.remove(0, out.detail.startsWith(QLatin1String(" : ")) ? 3 : 0);
    out.detail = out.detail.trimmed();
    return out;
}

QString unconvertedPointText(const QString& detail)
{
    return QStringLiteral(
               "Coordonnées d'origine conservées : leur conversion en Lambert II étendu a échoué%1. "
               "Veuillez les vérifier.")
        .arg(detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail));
}

// Rewrites one point row: its parcel label, its reserve box, its position in Lambert II étendu.
// A position that cannot be converted stays as the source gave it, in its own system.
void rewritePoint(grid::Grid& g, int row)
{
    bool numbered = false;
    const QString number = g.cell(row, Loc::Point).trimmed();
    const int parcel = number.toInt(&numbered);
    g.setCell(row, Loc::ParcelLabel,
              numbered ? RecordLayout::parcelLabel(parcel) : QStringLiteral("Parcelle N°") + number);
    g.setCell(row, Loc::HuntingReserve, kNoReserve);
    g.setCell(row, Loc::Validated, kNotChecked);

    const PointConversion p = convertPoint(g, row);
    if (!p.ok) {
        g.setCell(row, Loc::LambertX, QString());
        g.setCell(row, Loc::LambertY, QString());
        g.setCell(row, Loc::Information, unconvertedPointText(p.detail));
        return;
    }
    g.setCell(row, Loc::UtmZone, QString());
    g.setCell(row, Loc::Longitude, p.x);
    g.setCell(row, Loc::LambertX, p.x);
    g.setCell(row, Loc::Latitude, p.y);
    g.setCell(row, Loc::LambertY, p.y);
    g.setCell(row, Loc::CoordType, QString::number(coords::TYPE_LAMBERT));
}

// The sibling's species columns that hold counts: 0-50 m, beyond 200 m, total, flying over.
constexpr int kSiblingCountColumns[] = {4, 5, 6, 7};
constexpr int kSiblingCodeColumn = 2;
constexpr int kSiblingLastColumn = 10;

bool isNumber(const QString& text)
{
    bool ok = false;
    QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok;
}

// The row below a block's title is the species grid's header when its count columns hold titles,
// its first species when they hold a count. A row without any count cell (a species counted
// nowhere, or a header without titles) cannot be told apart: the file is refused rather than a
// species lost. An empty row is taken as the header: it holds nothing to lose.
platform::ResultOf<bool> startsWithHeader(const grid::Grid& g, int title)
{
    const int row = title + 1;
    bool counts = false, texts = false;
    for (int c : kSiblingCountColumns)
        if (const QString cell = g.cell(row, c).trimmed(); !cell.isEmpty())
            (isNumber(cell) ? counts : texts) = true;
    if (counts)
        return platform::ResultOf<bool>::success(false);
    bool empty = true;
    for (int c = kSiblingCodeColumn; c <= kSiblingLastColumn && empty; ++c)
        empty = g.cell(row, c).trimmed().isEmpty();
    if (texts || empty)
        return platform::ResultOf<bool>::success(true);
    return platform::ResultOf<bool>::failure(
        QStringLiteral("la ligne qui suit « %1 » (« %2 ») n'a aucun comptage : ce n'est ni la ligne des "
                       "titres des espèces ni une espèce comptée")
            .arg(g.cell(title, file::LabelColumn), g.cell(row, kSiblingCodeColumn)));
}

// The species rows of a block: below its header while column 1 is empty and column 2 (the species
// code) is not. A block whose species start right below its title gets a header row there. The
// sibling's columns become ours:
//   sibling  2 code, 3 name, 4 count 0-50 m, 5 beyond 200 m, 6 total, 7 flying over, 8 (dropped),
//            9 indices, 10 (kept after them)
//   ours     2 class "O", 3 code, 4 name, 5-8 the four distance bands (50-200 m empty), 9 total,
//            10 indices, 11
platform::Result rewriteSpeciesBlock(grid::Grid& g, int title)
{
    g.setCell(title, file::SpeciesTitleColumn::Duration, kImportedDuration);
    const int header = title + 1;
    if (header >= g.rows() || !g.cell(header, file::LabelColumn).isEmpty())
        return platform::Result::success(); // a block without a species grid
    const platform::ResultOf<bool> hasHeader = startsWithHeader(g, title);
    if (!hasHeader.result.ok)
        return hasHeader.result;
    if (!hasHeader.value)
        g.addRow(QString(), header);
    using file::speciesColumn;
    const QStringList& titles = record::speciesTitles();
    for (int c = 0; c < titles.size(); ++c)
        g.setCell(header, speciesColumn(record::SpeciesClassColumn) + c, titles[c]);

    // (ours, the sibling's), rightmost first so that no cell is overwritten before it is moved.
    constexpr int indices = speciesColumn(record::SpeciesIndicesColumn);
    constexpr int bands = speciesColumn(record::SpeciesFirstCountColumn);
    static constexpr std::pair<int, int> moves[] = {{indices + 1, 10},
                                                    {indices, 9},
                                                    {speciesColumn(record::SpeciesTotalColumn), 6},
                                                    {bands + 3, 7},
                                                    {bands + 2, 5},
                                                    {bands + 1, -1},
                                                    {bands, 4},
                                                    {speciesColumn(record::SpeciesNameColumn), 3},
                                                    {speciesColumn(record::SpeciesCodeColumn), 2}};
    for (int row = header + 1; row < g.rows() && g.cell(row, file::LabelColumn).isEmpty() &&
                               !g.cell(row, kSiblingCodeColumn).isEmpty();
         ++row) {
        for (const auto& [to, from] : moves)
            g.setCell(row, to, from < 0 ? QString() : g.cell(row, from));
        g.setCell(row, speciesColumn(record::SpeciesClassColumn), kSpeciesClass);
    }
    return platform::Result::success();
}

// Row `from` moved to `to`, every cell with it; the rows between follow.
void moveRow(grid::Grid& g, int from, int to)
{
    const int at = g.addRow(QString(), to);
    if (from >= at)
        ++from;
    for (int c = 0; c < g.cols(); ++c)
        g.setCell(at, c, g.cell(from, c));
    g.removeRow(from);
}

// The rows that a record holds at fixed places (rows 1 to 8), which the sibling may keep
// elsewhere, brought to their places; one it does not have is added there with its title only.
void placeFixedRows(grid::Grid& g)
{
    for (const auto& [place, title] : RecordLayout::fixedRows()) {
        const int at = titleRow(g, title);
        if (at == place)
            continue;
        if (at >= 0) {
            moveRow(g, at, place);
        } else {
            g.addRow(QString(), place);
            g.setCell(place, file::LabelColumn, title);
        }
    }
}

QString missingRow(const QString& title) { return QStringLiteral("la ligne « %1 » manque").arg(title); }

// The rows of the sections every sibling record has.
struct SiblingRows
{
    int ident = -1;
    int locations = -1;
    int season = -1;
    int visit = -1;
    int count = -1;
};

// The sibling's mark, then its sections: the first that is missing fails.
platform::ResultOf<SiblingRows> findSiblingRows(const grid::Grid& g)
{
    using Rows = platform::ResultOf<SiblingRows>;
    if (g.cell(file::ShocRow, file::LabelColumn) != kSiblingMark)
        return Rows::failure(QStringLiteral("il ne contient pas de relevé de Pomerel"));
    SiblingRows rows;
    const std::pair<int*, const QString*> sections[] = {{&rows.ident, &RecordLayout::kTitleIdentification},
                                                        {&rows.locations, &RecordLayout::kTitleLocations},
                                                        {&rows.season, &RecordLayout::kTitleSeason},
                                                        {&rows.visit, &RecordLayout::kTitleVisit},
                                                        {&rows.count, &RecordLayout::kTitleParcelCount}};
    for (const auto& [row, title] : sections) {
        *row = titleRow(g, *title);
        if (*row < 0)
            return Rows::failure(missingRow(*title));
    }
    return Rows::success(rows);
}

// The passage index (0 to 4) of the visit row; an empty cell is the first passage.
platform::ResultOf<int> siblingPassageIndex(const grid::Grid& g, int visit)
{
    const QString passageText = g.cell(visit, file::VisitColumn::Passage).trimmed();
    bool numeric = passageText.isEmpty();
    const int passageIndex = numeric ? 0 : passageText.toInt(&numeric);
    if (!numeric || passageIndex < 0 || passageIndex >= record::kPassageCount)
        return platform::ResultOf<int>::failure(
            QStringLiteral("le numéro de passage « %1 » n'est pas un nombre de 0 à %2")
                .arg(g.cell(visit, file::VisitColumn::Passage))
                .arg(record::kPassageCount - 1));
    return platform::ResultOf<int>::success(passageIndex);
}

// Our mark and version, the date in our format, the passage index.
void rewriteHead(grid::Grid& g, int visit, int passageIndex)
{
    g.setCols(std::max(g.cols(), file::ColumnCount));
    g.setCell(file::ShocRow, file::LabelColumn, RecordLayout::kTitleShoc);
    g.setCell(file::ShocRow, file::ShocColumn::Version, RecordLayout::versionText());

    QString date = g.cell(visit, file::VisitColumn::Date);
    fun_Format_Date(common::kDateMask, date);
    g.setCell(visit, file::VisitColumn::Date, date);
    g.setCell(visit, file::VisitColumn::Passage, QString::number(passageIndex));
}

// Habitat: the code of the identification row, or else the one of the first point.
void rewriteHabitat(grid::Grid& g, int ident, int locations)
{
    if (g.cell(ident, kSiblingHabitatColumn).trimmed().isEmpty())
        g.setCell(ident, kSiblingHabitatColumn, g.cell(locations + 1, kSiblingPointHabitatColumn));
    if (const QString code = g.cell(ident, kSiblingHabitatColumn).trimmed(); !code.isEmpty())
        g.setCell(ident, Ident::HabitatType, habitatType(code));
}

// The locations' titles, then the points, up to the grid's end or the next section. The place
// name is the one of the first point in the record's department and commune; it is returned.
QString rewritePoints(grid::Grid& g, int ident, int locations)
{
    g.setCell(locations, Loc::HuntingReserve, QStringLiteral("Réserve de chasse"));
    const QStringList titles = locationTitles();
    for (int k = 0; k < titles.size(); ++k)
        g.setCell(locations, Loc::Information + k, titles[k]);

    QString place;
    int row = locations + 1;
    for (; row < g.rows() && !g.cell(row, file::LabelColumn).trimmed().isEmpty() &&
           !isSectionTitle(g.cell(row, file::LabelColumn));
         ++row) {
        if (place.isEmpty() && g.cell(row, Loc::Department) == g.cell(ident, Ident::Department) &&
            g.cell(row, Loc::Commune) == g.cell(ident, Ident::Commune))
            place = g.cell(row, Loc::Place);
        rewritePoint(g, row);
    }
    if (place.isEmpty())
        place = g.cell(row, Loc::Place);
    g.setCell(ident, Ident::Place, place);
    return place;
}

// Our network; e-mail or telephone: an address has "@", anything else is a telephone number.
void rewriteNetworkAndContact(grid::Grid& g)
{
    if (const int network = titleRow(g, RecordLayout::kTitleNetwork); network >= 0)
        g.setCell(network, file::NetworkColumn, RecordLayout::kTitleShoc);

    if (const int contact = titleRow(g, kSiblingContactTitle); contact >= 0) {
        g.setCell(contact, file::LabelColumn, RecordLayout::kTitleContact);
        const QString text = withoutTabs(g.cell(contact, file::ContactColumn::Email));
        const bool address = text.contains(QLatin1Char('@'));
        g.setCell(contact, file::ContactColumn::Email, address ? text : QString());
        g.setCell(contact, file::ContactColumn::Telephone, address ? QString() : text);
    }
}

// Observer: the name before the first blank, in capitals without accents; the first name after
// it. The observer as the site name gives it ("NAME FirstName"); empty without an observer row.
QString rewriteObserver(grid::Grid& g)
{
    const int names = titleRow(g, RecordLayout::kTitleObserver);
    if (names < 0)
        return QString();
    const QString text = withoutTabs(g.cell(names, file::ObserverColumn::Name)).trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const QString name = fun_Majuscule_Sans_Accent(blank < 0 ? text : text.left(blank));
    const QString firstName = blank < 0 ? QString() : text.mid(blank + 1).trimmed();
    g.setCell(names, file::ObserverColumn::Name, name);
    g.setCell(names, file::ObserverColumn::FirstName, firstName);
    return name + QLatin1Char(' ') + firstName;
}

// The species block of each parcel that has one (a block may gain a header row).
platform::Result rewriteSpeciesBlocks(grid::Grid& g, int count)
{
    const int parcels =
        std::min(g.cell(count, file::ParcelCountColumn).trimmed().toInt(), record::kMaxParcels);
    for (int n = 1; n <= parcels; ++n)
        if (const int title = titleRow(g, RecordLayout::kTitleSpecies + QString::number(n)); title >= 0)
            if (const platform::Result r = rewriteSpeciesBlock(g, title); !r.ok)
                return r;
    return platform::Result::success();
}

// Yes/No, No by default: may the record stored under the name be replaced by the imported one?
bool replaceAllowed(const QString& existing, const QString& source)
{
    const QString text =
        QStringLiteral("Le relevé « %1 » existe déjà.\n\nVoulez-vous le remplacer par le relevé importé du "
                       "fichier « %2 » ?\n\nOui : le relevé existant est mis de côté (renommé, il ne figure "
                       "plus dans la liste).\nNon : il est conservé tel quel, et le fichier « %2 » sera "
                       "proposé de nouveau au prochain import.")
            .arg(existing, source);
    return platform::dialogs().ask(
               text, platform::mb::YesNo | platform::mb::Question | platform::mb::DefaultButton2,
               common::kProgramName) == platform::mb::Yes;
}

// The files of the data folder that hold the record of that name: the current layout, and the
// older one that the list converts to it.
QStringList storedUnder(const QString& folder, const QString& fileName)
{
    QStringList found;
    const QString older = fileName.chopped(record::kRecordExtension.size()) + QStringLiteral(".FLX");
    for (const QString& name : {fileName, older})
        if (const QString path = common::findFile(folder, name); !path.isEmpty())
            found << QFileInfo(path).fileName();
    return found;
}

void importFile(const record::RecordStore& store, const QString& source, ImportReport& report)
{
    // why: a sentence of its own (it names the file concerned).
    auto refused = [&](const QString& why) {
        report.problems << QStringLiteral("Le fichier « %1 » n'est pas importé. %2").arg(source, why);
    };
    if (const platform::Result plain = common::checkPlainName(store.folder(), source); !plain.ok) {
        report.problems << plain.error;
        return;
    }
    // Another copy of the program may be importing the same files: one file at a time under the
    // data folder's lock, and a file gone when this copy has it was imported by the other one.
    const QString sourcePath = common::joinPath(store.folder(), source);
    std::optional<platform::FileLock> lock;
    auto lockAndFind = [&]() {
        const QString lockFile = common::joinPath(store.folder(), kConversionLockFile);
        lock.emplace(lockFile, lockFile);
        if (const platform::Result locked = lock->lock(); !locked && !lock->failedAsBefore())
            report.problems << QStringLiteral("Les relevés de Pomerel sont importés sans le verrou du "
                                              "dossier des données, qui ne peut pas être pris.\n") +
                                   locked.error; // and on without it
        if (!QFileInfo::exists(sourcePath)) {
            report.doneElsewhere << source;
            return false;
        }
        return true;
    };
    if (!lockAndFind())
        return;
    // Read whole only when its size and first lines are those of a record (RecordStore::fileBounds).
    grid::Grid grid;
    if (const platform::Result r = store.load(source, grid); !r.ok) {
        report.problems << r.error;
        return;
    }
    if (grid.cell(file::ShocRow, file::LabelColumn) != kSiblingMark)
        return;
    const SiblingConversion record = convertSiblingGrid(grid);
    platform::Result converted = record.result;
    if (converted.ok) // what the record list and the record window could not read is not written
        converted = RecordLayout::read(grid, {}).result;
    const QByteArray bytes = converted.ok ? grid::GridFile::toComplete(grid) : QByteArray();
    if (converted.ok)
        converted = grid::GridFile::checkBounds(grid, bytes, record::RecordStore::fileBounds());
    if (!converted.ok) {
        report.problems
            << QStringLiteral("Le fichier « %1 » n'est pas importé : %2.").arg(source, converted.error);
        return;
    }
    const QString name = record.fileName();
    if (const platform::Result r = store.checkFileName(name); !r.ok)
        return refused(r.error);

    QStringList existing = storedUnder(store.folder(), name);
    if (!existing.isEmpty()) {
        // The records as they are when the user is asked: only those may be replaced.
        QHash<QString, platform::FileVersion> asked;
        for (const QString& file : existing)
            asked.insert(file, platform::fileVersion(common::joinPath(store.folder(), file)));
        // The question is asked without the lock, so that the other copy goes on meanwhile.
        lock.reset();
        if (!replaceAllowed(existing.first(), source)) {
            report.kept << existing.first();
            return;
        }
        if (!lockAndFind())
            return;
        existing = storedUnder(store.folder(), name);
        // A record saved since the question, or come under that name, is not the one the user let
        // go: it is kept, and nothing is written.
        for (const QString& file : existing)
            if (!(platform::fileVersion(common::joinPath(store.folder(), file)) == asked.value(file))) {
                report.kept << file;
                return;
            }
    }
    // The former record is set aside before the new one takes its name, and comes back under its
    // name when the new one cannot be written.
    QList<std::pair<QString, QString>> setAside; // (name now, former name)
    auto restore = [&]() {
        QString stranded;
        for (const auto& [now, former] : setAside)
            if (!common::renameFile(common::joinPath(store.folder(), now),
                                    common::joinPath(store.folder(), former)))
                stranded += QStringLiteral(" Le relevé « %1 » reste sous le nom « %2 ».").arg(former, now);
        return stranded;
    };
    for (const QString& file : existing) {
        const record::SetAsideResult moved = store.setAside(file);
        if (!moved.result.ok)
            return refused(moved.result.error + restore());
        setAside.append({moved.fileName, file});
    }
    if (const platform::Result written = platform::saveNewFile(common::joinPath(store.folder(), name), bytes);
        !written.ok)
        return refused(written.error + restore());
    report.imported << name;

    if (const record::SetAsideResult done = store.setAside(source); !done.result.ok)
        report.problems << QStringLiteral(
                               "Le relevé « %1 » est importé. %2 Le fichier sera proposé de nouveau au "
                               "prochain import.")
                               .arg(name, done.result.error);
}

} // namespace

QString SiblingConversion::fileName() const { return record::RecordStore::fileName(siteName, passage); }

SiblingConversion convertSiblingGrid(grid::Grid& g)
{
    SiblingConversion out;
    auto failure = [&](const platform::Result& failed) {
        out.result = failed;
        return out;
    };
    const platform::ResultOf<SiblingRows> found = findSiblingRows(g);
    if (!found)
        return failure(found.result);
    const SiblingRows& rows = found.value;
    const platform::ResultOf<int> passage = siblingPassageIndex(g, rows.visit);
    if (!passage)
        return failure(passage.result);

    rewriteHead(g, rows.visit, passage.value);
    rewriteHabitat(g, rows.ident, rows.locations);
    const QString place = rewritePoints(g, rows.ident, rows.locations);
    rewriteNetworkAndContact(g);
    const QString observer = rewriteObserver(g);

    out.siteName = QStringLiteral("SHOC-") + g.cell(rows.ident, Ident::Department).left(2) +
                   QLatin1Char('~') + g.cell(rows.ident, Ident::Commune) + QLatin1Char('~') + place +
                   QLatin1Char('~') + observer + QLatin1Char('~') + g.cell(rows.season, file::SeasonColumn);
    out.passage = passage.value + 1;
    g.setCell(rows.ident, Ident::Site, out.siteName);

    // Last, as a block may gain a header row: the rows found above stay where they were.
    if (const platform::Result species = rewriteSpeciesBlocks(g, rows.count); !species.ok)
        return failure(species);
    placeFixedRows(g);
    out.result = platform::Result::success();
    return out;
}

ImportReport sub_Migration_Pomerel_Mirelot(const QString& dataFolder, ImportProgress* progress)
{
    ImportReport report;
    const record::RecordStore store(dataFolder);
    const QStringList sources = common::listFiles(store.folder(), kSiblingMask);
    if (sources.isEmpty())
        return report;

    const platform::PointerGuard hourglass;
    if (progress)
        progress->importBegins(int(sources.size()));
    int done = 0;
    for (const QString& source : sources) {
        importFile(store, source, report);
        if (progress)
            progress->fileDone(++done, int(sources.size()), source);
    }
    if (progress)
        progress->importEnds();
    return report;
}

ImportReport sub_Migration_Pomerel_Mirelot(ImportProgress* progress)
{
    return sub_Migration_Pomerel_Mirelot(record::RecordStore::fromSettings().folder(), progress);
}

ImportReport importAndTell(ToldOnce& told, ImportProgress* progress)
{
    ImportReport report = sub_Migration_Pomerel_Mirelot(progress);
    if (const QStringList fresh = told.firstTime(report.problems); !fresh.isEmpty())
        platform::dialogs().ask(fresh.join(QStringLiteral("\n\n")),
                                platform::mb::OKOnly | platform::mb::Exclamation, common::kProgramName);
    return report;
}

} // namespace recordlist
