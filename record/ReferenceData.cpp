#include "record/ReferenceData.h"

#include "common/GridHelpers.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "common/TableCatalogue.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

using grid::Grid;
using grid::GridFile;
using platform::Result;

namespace record {

namespace {

// The two tables of the record window that the settings window does not edit. Their layout:
// communes "Département, N° commune, Commune, Nom du département, X centre, Y centre";
// behaviours as the settings window's behaviours table.
const common::ReferenceTable kCommunes{
    .setting = QStringLiteral("Fichier Communes"),
    .fileName = QStringLiteral("Communes.DOV"),
    .loadFormat = GridFile::Complete,
    .saveFormat = GridFile::Complete,
    .header = QStringLiteral("|Département|N° commune|Commune|Nom du département|"
                             "X centre|Y centre"),
    .checkBoxColumns = {}};
const common::ReferenceTable kComportementsShoc{.setting = QStringLiteral("Fichier comportements SHOC"),
                                                .fileName = QStringLiteral("Comportements_SHOC.dov"),
                                                .loadFormat = GridFile::Workbook,
                                                .saveFormat = GridFile::Workbook,
                                                .header =
                                                    common::paramTable(common::ParamMode::Behaviours)->header,
                                                .checkBoxColumns = {}};

const common::ReferenceTable& tableOf(common::ParamMode mode) { return *common::paramTable(mode); }

// Columns of the communes table.
constexpr int kCommuneDepartment = 1;
constexpr int kCommuneNumber = 2;
constexpr int kCommuneName = 3;
constexpr int kCommuneDepartmentName = 4;
constexpr int kCommuneCentreX = 5;
constexpr int kCommuneCentreY = 6;
// Columns of the networks, behaviours, habitats and species tables.
constexpr int kNetworkCode = 1;
constexpr int kNetworkName = 2;
constexpr int kBehaviourClass = 1;
constexpr int kBehaviourCode = 2;
constexpr int kBehaviourLabel = 5;
constexpr int kHabitatCode = 1;
constexpr int kHabitatLabel = 2;
constexpr int kSpeciesClass = 1;
constexpr int kSpeciesCode = 2;
constexpr int kSpeciesName = 3;

const QString kDefaultNetwork = QStringLiteral("SHOC");
const QString kDefaultHabitat = QStringLiteral("CH");
const QString kAllDepartments = QStringLiteral("%");

// Loads a table file into a grid whose fixed rows are first set to 0, so that the file alone
// decides its layout; row 0 is then the header. A file that cannot be read leaves the grid with
// the table's header alone.
Result loadTable(Grid& grid, const QString& path, const common::ReferenceTable& table)
{
    grid.setFixedRows(0);
    const Result read = GridFile::load(grid, path, table.loadFormat);
    if (!read) {
        grid.clear();
        grid.setFixedCols(0);
        grid.setRows(0);
        grid.setFormatString(table.header);
        for (int c : table.checkBoxColumns)
            grid.setColDataType(c, Grid::DataType::Boolean);
    }
    if (grid.rows() > 0)
        grid.setFixedRows(1);
    return read;
}

// The species rows that the lists offer: class and code both given.
bool isOfferedSpecies(const Grid& g, int r)
{
    return !g.cell(r, kSpeciesClass).trimmed().isEmpty() && !g.cell(r, kSpeciesCode).trimmed().isEmpty();
}

// The communes' names as the sort compares them. The program's generic comparison compares two
// texts without regard to case, character by character through each character's case fold. A
// name that begins with a letter is such a text; when every character of it folds to a single
// character of the basic plane (always so for the names of France), its folded form is kept once,
// and two such names compare as their folded forms. Any other name goes through the generic
// comparison itself. Kept for some rows of the table, numbered from 0 in the order given.
class SortNames
{
public:
    SortNames(const Grid& g, const int* rows, qsizetype count) : m_grid(g), m_rows(rows)
    {
        m_start.assign(size_t(count) + 1, 0);
        m_folded.assign(size_t(count), false);
        for (qsizetype i = 0; i < count; ++i) {
            m_start[size_t(i)] = m_pool.size();
            const QString name = g.cell(rows[i], kCommuneName);
            const QStringView trimmed = QStringView(name).trimmed();
            bool folded = !trimmed.isEmpty() && trimmed.front().isLetter();
            for (qsizetype c = 0; folded && c < trimmed.size(); ++c) {
                const char16_t ch = trimmed[c].unicode();
                const char32_t f = ch < 0x80                ? (ch >= u'A' && ch <= u'Z' ? ch + 32 : ch)
                                   : QChar::isSurrogate(ch) ? 0x10000
                                                            : QChar::toCaseFolded(char32_t(ch));
                if (f > 0xFFFF || QChar::isSurrogate(f))
                    folded = false;
                else
                    m_pool.push_back(char16_t(f));
            }
            if (!folded)
                m_pool.resize(m_start[size_t(i)]);
            m_folded[size_t(i)] = folded;
        }
        m_start[size_t(count)] = m_pool.size();
    }

    bool before(qsizetype a, qsizetype b) const
    {
        if (m_folded[size_t(a)] && m_folded[size_t(b)])
            return folded(a) < folded(b);
        return Grid::compareGeneric(m_grid.cell(m_rows[a], kCommuneName),
                                    m_grid.cell(m_rows[b], kCommuneName)) < 0;
    }

private:
    std::u16string_view folded(qsizetype i) const
    {
        return std::u16string_view(m_pool.data() + m_start[size_t(i)],
                                   m_start[size_t(i) + 1] - m_start[size_t(i)]);
    }

    const Grid& m_grid;
    const int* m_rows;
    std::vector<char16_t> m_pool; // every folded name, one after the other
    std::vector<size_t> m_start;  // where each row's folded name begins in the pool
    std::vector<bool> m_folded;   // the row's name is compared through its folded form
};

// Puts the grid rows first..last in the order of their communes' names, rows of equal names
// keeping their order.
void sortByName(const Grid& g, int* first, int* last)
{
    const qsizetype count = last - first;
    const SortNames names(g, first, count);
    std::vector<qsizetype> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto before = [&](qsizetype a, qsizetype b) { return names.before(a, b); };
    // A table kept in order needs no sorting: one look tells.
    if (std::is_sorted(order.begin(), order.end(), before))
        return;
    std::stable_sort(order.begin(), order.end(), before);
    std::vector<int> rows(first, last);
    for (qsizetype i = 0; i < count; ++i)
        first[i] = rows[size_t(order[size_t(i)])];
}

// The order of the communes table's data rows (grid rows 1 to count): by department code, then by
// commune name, with the generic comparison of trimmed texts; rows that compare equal keep their
// order. This is the order that sorting the table on the name and then on the department gives
// (sub_Tri_Colonne: the empty rows at the bottom stay there), reached by sorting the few
// department codes once and the names within each department. The rows of a department (or of
// codes that compare equal: "1" and "01") form a run of the order; a run of one code is left in
// table order, for its names to be sorted when its communes are first asked for.
struct CommuneOrder
{
    QList<int> rows;
    struct Run
    {
        int first = 0;
        int end = 0;
        bool sorted = false;
    };
    QList<Run> runs;
};

CommuneOrder communeOrder(const Grid& g)
{
    const int count = std::max(0, g.rows() - 1);
    int last = count; // the last row holding a text
    auto blankRow = [&](int r) {
        for (int c = g.fixedCols(); c < g.cols(); ++c)
            if (!g.cell(r, c).trimmed().isEmpty())
                return false;
        return true;
    };
    while (last > 1 && blankRow(last))
        --last;
    CommuneOrder out;
    QList<int>& order = out.rows;
    order.reserve(count);
    if (last <= 1) {
        for (int r = 1; r <= count; ++r)
            order.append(r);
        out.runs.append({0, int(order.size()), true});
        return out;
    }

    // The rows of each code, in table order; the codes in order of first appearance. A code is
    // looked up only where it changes: a department's rows stand together.
    QHash<QString, int> groupOfCode;
    QList<QString> codes;
    QList<QList<int>> groups;
    QString previous;
    int group = -1;
    for (int r = 1; r <= last; ++r) {
        const QString code = g.cell(r, kCommuneDepartment);
        if (group < 0 || code != previous) {
            group = groupOfCode.value(code, -1);
            if (group < 0) {
                group = int(codes.size());
                groupOfCode.insert(code, group);
                codes.append(code);
                groups.append(QList<int>());
            }
            previous = code;
        }
        groups[group].append(r);
    }
    QList<int> byCode(codes.size());
    std::iota(byCode.begin(), byCode.end(), 0);
    std::stable_sort(byCode.begin(), byCode.end(),
                     [&](int a, int b) { return Grid::compareGeneric(codes[a], codes[b]) < 0; });

    for (int k = 0; k < byCode.size();) {
        // Codes that compare equal ("1" and "01") form one run, sorted at once: its codes mix.
        const int first = int(order.size());
        order += groups[byCode[k]];
        int next = k + 1;
        for (; next < byCode.size() && Grid::compareGeneric(codes[byCode[k]], codes[byCode[next]]) == 0;
             ++next)
            order += groups[byCode[next]];
        const bool mixed = next > k + 1;
        if (mixed) {
            std::sort(order.begin() + first, order.end()); // back to table order
            sortByName(g, order.data() + first, order.data() + order.size());
        }
        out.runs.append({first, int(order.size()), mixed});
        k = next;
    }
    const int blanks = int(order.size());
    for (int r = last + 1; r <= count; ++r)
        order.append(r);
    if (blanks < order.size())
        out.runs.append({blanks, int(order.size()), true});
    return out;
}

} // namespace

ReferencePaths ReferencePaths::fromSettings()
{
    return {.communes = common::tablePath(kCommunes),
            .networks = common::tablePath(common::ParamMode::Networks),
            .behaviours = common::tablePath(kComportementsShoc),
            .habitats = common::tablePath(common::ParamMode::Habitats),
            .species = common::tablePath(common::ParamMode::Species)};
}

ReferencePaths ReferencePaths::inFolder(const QString& folder)
{
    return {.communes = common::writePath(folder, kCommunes.fileName),
            .networks = common::writePath(folder, tableOf(common::ParamMode::Networks).fileName),
            .behaviours = common::writePath(folder, kComportementsShoc.fileName),
            .habitats = common::writePath(folder, tableOf(common::ParamMode::Habitats).fileName),
            .species = common::writePath(folder, tableOf(common::ParamMode::Species).fileName)};
}

int firstItemStartingWith(const QStringList& items, const QString& prefix)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].startsWith(prefix, Qt::CaseInsensitive))
            return i;
    return -1;
}

ReferenceData::ReferenceData()
    : m_communeGrid(std::make_unique<Grid>()), m_behaviours(QStringLiteral(" ")),
      m_speciesCodes(QStringLiteral(" ")), m_speciesNames(QStringLiteral(" ")),
      m_species(std::make_unique<Grid>()), m_habitatTable(std::make_unique<Grid>())
{
}

ReferenceData::~ReferenceData() = default;

Result ReferenceData::load(const ReferencePaths& paths)
{
    QStringList failures;
    auto note = [&](const Result& r) {
        if (!r)
            failures << r.error;
    };
    note(sub_Load_Cbo_Réseau(paths.networks));
    note(sub_Load_Grid_Communes(paths.communes));
    note(sub_Load_Compotements(paths.behaviours));
    note(loadHabitats(paths.habitats));
    note(loadSpecies(paths.species));
    if (failures.isEmpty())
        return Result::success();
    return Result::failure(QStringLiteral("Tables de référence non lues :\n") +
                           failures.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------- communes

Result ReferenceData::sub_Load_Grid_Communes(const QString& path)
{
    m_departments.clear();
    m_firstRowOfCode.clear();
    Grid& g = *m_communeGrid;
    const Result read = loadTable(g, path, kCommunes);
    CommuneOrder order = communeOrder(g);
    m_communeOrder = std::move(order.rows);
    m_communeRuns.clear();
    m_runSorted.clear();
    for (const CommuneOrder::Run& run : order.runs) {
        m_communeRuns.append(run.end);
        m_runSorted.push_back(run.sorted);
    }

    // A department per change of the code along the order, named after its first row. A run of
    // one code whose rows all name their department alike is one department, whatever the order of
    // its names; any other run is put in name order first.
    const auto department = [&](int row) {
        const QString code = g.cell(m_communeOrder[row], kCommuneDepartment);
        if (m_departments.isEmpty() || m_departments.last().code != code) {
            m_departments.append({code, g.cell(m_communeOrder[row], kCommuneDepartmentName)});
            if (!m_firstRowOfCode.contains(code))
                m_firstRowOfCode.insert(code, row);
        }
    };
    for (qsizetype k = 0; k < order.runs.size(); ++k) {
        const CommuneOrder::Run& run = order.runs[k];
        const auto oneName = [&] {
            const QString name = g.cell(m_communeOrder[run.first], kCommuneDepartmentName);
            for (int row = run.first + 1; row < run.end; ++row)
                if (g.cell(m_communeOrder[row], kCommuneDepartmentName) != name)
                    return false;
            return true;
        };
        if (run.sorted || !oneName()) {
            sortRunAt(run.first);
            for (int row = run.first; row < run.end; ++row)
                department(row);
        } else {
            department(run.first);
        }
    }
    return read;
}

void ReferenceData::sortRunAt(int row) const
{
    const auto run = std::upper_bound(m_communeRuns.begin(), m_communeRuns.end(), row);
    if (run == m_communeRuns.end())
        return;
    const size_t k = size_t(run - m_communeRuns.begin());
    if (m_runSorted[k])
        return;
    m_runSorted[k] = true;
    const int first = k == 0 ? 0 : m_communeRuns[qsizetype(k) - 1];
    sortByName(*m_communeGrid, m_communeOrder.data() + first, m_communeOrder.data() + *run);
}

Commune ReferenceData::commune(int row) const
{
    if (row < 0 || row >= m_communeOrder.size())
        return Commune();
    sortRunAt(row);
    const Grid& g = *m_communeGrid;
    const int r = m_communeOrder[row];
    return {.department = g.cell(r, kCommuneDepartment),
            .number = g.cell(r, kCommuneNumber),
            .name = g.cell(r, kCommuneName),
            .departmentName = g.cell(r, kCommuneDepartmentName),
            .centreX = g.cell(r, kCommuneCentreX),
            .centreY = g.cell(r, kCommuneCentreY)};
}

int ReferenceData::findCommune(const QString& department, const QString& commune) const
{
    const QString code = department.left(2);
    const Grid& g = *m_communeGrid;
    const int from = m_firstRowOfCode.value(code, int(m_communeOrder.size()));
    sortRunAt(from);
    for (int row = from; row < m_communeOrder.size(); ++row) {
        const int r = m_communeOrder[row];
        const QString rowCode = g.cell(r, kCommuneDepartment);
        if (rowCode == code && g.cell(r, kCommuneName) == commune)
            return row;
        if (code < rowCode) // the department's rows are over
            break;
    }
    return -1;
}

QStringList ReferenceData::sub_Load_Dept(const QString& studyDepartments) const
{
    QStringList items;
    const bool all = studyDepartments == kAllDepartments;
    QString previous;
    for (const DepartmentRun& d : m_departments) {
        if (d.code.trimmed().isEmpty()) // a row without a department is no department to offer
            continue;
        if ((all || studyDepartments.contains(d.code)) && d.code != previous) {
            previous = d.code;
            items << d.code + QStringLiteral(" - ") + d.name;
        }
    }
    return items;
}

QList<CommuneChoice> ReferenceData::sub_Load_Communes(const QString& departmentItem) const
{
    QList<CommuneChoice> choices;
    const QString code = departmentItem.left(2);
    const Grid& g = *m_communeGrid;
    const int from = m_firstRowOfCode.value(code, int(m_communeOrder.size()));
    sortRunAt(from);
    for (int row = from; row < m_communeOrder.size(); ++row) {
        const int r = m_communeOrder[row];
        const QString rowCode = g.cell(r, kCommuneDepartment);
        if (rowCode == code && common::leadingNumber(g.cell(r, kCommuneNumber)) != 0)
            choices.append({g.cell(r, kCommuneName), row});
        if (code < rowCode) // the department's rows are over
            break;
    }
    return choices;
}

// ---------------------------------------------------------------- other tables

Result ReferenceData::sub_Load_Cbo_Réseau(const QString& path)
{
    m_networks = ChoiceList();
    Grid g;
    const Result read = loadTable(g, path, tableOf(common::ParamMode::Networks));
    for (int r = 1; r < g.rows(); ++r) {
        const QString item = g.cell(r, kNetworkCode) + QStringLiteral(" / ") + g.cell(r, kNetworkName);
        if (item != QStringLiteral(" / "))
            m_networks.items << item;
    }
    m_networks.selected = firstItemStartingWith(m_networks.items, kDefaultNetwork);
    return read;
}

Result ReferenceData::sub_Load_Compotements(const QString& path)
{
    Grid g;
    const Result read = loadTable(g, path, kComportementsShoc);
    m_behaviours = QStringLiteral(" ");
    for (int r = 1; r < g.rows(); ++r) {
        const QString speciesClass = g.cell(r, kBehaviourClass);
        if (!speciesClass.trimmed().isEmpty())
            m_behaviours += QLatin1Char('|') + speciesClass + QLatin1Char('~') + g.cell(r, kBehaviourCode) +
                            QLatin1Char(' ') + g.cell(r, kBehaviourLabel);
    }
    return read;
}

Result ReferenceData::loadHabitats(const QString& path)
{
    Grid& g = *m_habitatTable;
    const Result read = loadTable(g, path, tableOf(common::ParamMode::Habitats));
    m_habitats = ChoiceList();
    for (int r = 1; r < g.rows(); ++r)
        m_habitats.items << g.cell(r, kHabitatCode) + QStringLiteral(" - ") + g.cell(r, kHabitatLabel);
    m_habitats.selected = firstItemStartingWith(m_habitats.items, kDefaultHabitat);
    return read;
}

Result ReferenceData::loadSpecies(const QString& path)
{
    Grid& g = *m_species;
    const Result read = loadTable(g, path, tableOf(common::ParamMode::Species));

    // The name list in name order, then the code list in code order: the table stays in code
    // order. The names are listed as a French reader sorts them ("Bécasse" before "Buse"), names
    // that collate alike in the table's name order.
    sub_Tri_Colonne(g, kSpeciesName);
    QList<int> byName;
    for (int r = 1; r < g.rows(); ++r)
        if (isOfferedSpecies(g, r))
            byName.append(r);
    QCollator french{QLocale(QLocale::French, QLocale::France)};
    std::stable_sort(byName.begin(), byName.end(), [&](int a, int b) {
        return french.compare(g.cell(a, kSpeciesName), g.cell(b, kSpeciesName)) < 0;
    });
    m_speciesNames = QStringLiteral(" ");
    for (int r : std::as_const(byName))
        m_speciesNames +=
            QStringLiteral("|#") + g.cell(r, kSpeciesCode) + QLatin1Char(';') + g.cell(r, kSpeciesName);
    sub_Tri_Colonne(g, kSpeciesCode);
    m_speciesCodes = QStringLiteral(" ");
    for (int r = 1; r < g.rows(); ++r)
        if (isOfferedSpecies(g, r))
            m_speciesCodes +=
                QStringLiteral("|#") + g.cell(r, kSpeciesName) + QLatin1Char(';') + g.cell(r, kSpeciesCode);
    return read;
}

} // namespace record
