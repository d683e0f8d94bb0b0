#include "record/SpeciesEntry.h"

#include "common/OptionMarks.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/SpeciesConfirmations.h"
#include "record/SpeciesCounts.h"
#include "record/SpeciesStore.h"

#include <QChar>

#include <algorithm>

using grid::Grid;
using grid::GridRange;
namespace mb = platform::mb;

namespace record {

namespace {

const QString kLearningOption = QStringLiteral("SaisieEsp");
const QString kFirstUseTitle = QStringLiteral("SAISIE ESPECE");

int otherColumn(int column) { return column == kSpeciesTableName ? kSpeciesTableCode : kSpeciesTableName; }

int findIn(const Grid& table, const QString& text, int column)
{
    for (int r = table.fixedRows(); r < table.rows(); ++r)
        if (table.cell(r, column).trimmed().compare(text, Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

bool firstUseConfirmed(const Grid& table, int row)
{
    const QString question =
        QStringLiteral("ATTENTION !!!\n\n\nVous venez de choisir pour la première fois l'espèce ") +
        table.cell(row, kSpeciesTableCode) + QLatin1Char('/') + table.cell(row, kSpeciesTableName) +
        QStringLiteral("\n\nVeuillez confirmer votre intention ; conserver cette nouvelle espèce ?\n\n\n"
                       "PS : si vous confirmez, ce message ne s'affichera plus pour cette espèce.");
    return platform::dialogs().ask(question, mb::YesNo | mb::Exclamation | mb::DefaultButton2,
                                   kFirstUseTitle) == mb::Yes;
}

std::array<QString, kDistanceBands> countsOf(const Grid& g, int row)
{
    std::array<QString, kDistanceBands> counts;
    for (int b = 0; b < kDistanceBands; ++b)
        counts[size_t(b)] = g.cell(row, SpeciesFirstCountColumn + b);
    return counts;
}

void writeTotal(Grid& g, int row)
{
    g.setCell(row, SpeciesTotalColumn, speciesTotalText(speciesRowSum(countsOf(g, row)).sum));
}

bool holdsSpecies(const Grid& g, int row)
{
    for (int c = SpeciesClassColumn; c < SpeciesTotalColumn; ++c)
        if (!g.cell(row, c).trimmed().isEmpty())
            return true;
    return false;
}

void noteUnknown(SpeciesLookups& lookups, const QString& text)
{
    const QString t = text.trimmed();
    if (!lookups.unknown.contains(t))
        lookups.unknown << t;
}

// The species refused during one edit (a paste, a fill), forgotten when it ends: asked again
// later, the question comes again.
class RefusalsOfOneEdit
{
public:
    explicit RefusalsOfOneEdit(QSet<int>*& current) : m_current(current) { m_current = &m_refused; }
    ~RefusalsOfOneEdit() { m_current = nullptr; }
    RefusalsOfOneEdit(const RefusalsOfOneEdit&) = delete;
    RefusalsOfOneEdit& operator=(const RefusalsOfOneEdit&) = delete;

private:
    QSet<int>*& m_current;
    QSet<int> m_refused;
};

} // namespace

int findSpecies(const Grid& table, const QString& text, int column)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return -1;
    const int row = findIn(table, t, column);
    return row >= 0 ? row : findIn(table, t, otherColumn(column));
}

SpeciesKeyRule speciesKeyRule(int column)
{
    if (column >= SpeciesFirstCountColumn && column <= SpeciesTotalColumn)
        return SpeciesKeyRule::Digits;
    if (column == SpeciesIndicesColumn)
        return SpeciesKeyRule::Letters;
    return SpeciesKeyRule::Any;
}

bool speciesKeyAllowed(int column, int key)
{
    const bool control = (key >= 0 && key <= 31) || (key >= 127 && key <= 159);
    if (control || key < 0 || key > 0xFFFF)
        return control;
    const QChar ch{char16_t(key)};
    switch (speciesKeyRule(column)) {
    case SpeciesKeyRule::Digits:
        return key >= '0' && key <= '9';
    case SpeciesKeyRule::Letters:
        return ch.isLetter() || key == ' ';
    case SpeciesKeyRule::Any:
        return true;
    }
    return true;
}

QString speciesKeyMessage(SpeciesKeyRule rule)
{
    return rule == SpeciesKeyRule::Letters ? QStringLiteral("Veuillez saisir uniquement des lettres")
                                           : QStringLiteral("Veuillez saisir uniquement des chiffres");
}

QString behaviourListForClass(const QString& behaviours, const QString& speciesClass)
{
    QString list = QStringLiteral(" |");
    if (speciesClass.isEmpty())
        return list;
    const QChar key = speciesClass[0];
    for (const QString& item : behaviours.split(QLatin1Char('|')))
        if (!item.isEmpty() && item[0] == key)
            list += item.mid(2) + QLatin1Char('|');
    return list;
}

QString unknownSpeciesText(const QStringList& texts)
{
    if (texts.size() == 1)
        return QStringLiteral("L'espèce « %1 » est inconnue : ce n'est ni un code ni un nom de la table "
                              "des espèces.\n\nSa classe et son code sont effacés.")
            .arg(texts.first());
    return QStringLiteral("Ces espèces sont inconnues : « %1 ». Ce ne sont ni des codes ni des noms de la "
                          "table des espèces.\n\nLeur classe et leur code sont effacés.")
        .arg(texts.join(QStringLiteral(" », « ")));
}

SpeciesEntry::SpeciesEntry(const Grid& speciesTable, Confirm confirm)
    : m_table(speciesTable), m_confirm(std::move(confirm))
{
}

SpeciesMatch SpeciesEntry::sub_Vérif_Espèce(const QString& text, int column)
{
    const int row = findSpecies(m_table, text, column);
    if (row < 0)
        return {SpeciesFound::Unknown, -1};
    if (common::isOptionChecked(kLearningOption) &&
        m_table.checkState(row, kSpeciesTableEntered) != Grid::Checked) {
        if ((m_refusedInEdit && m_refusedInEdit->contains(row)) || !firstUseConfirmed(m_table, row)) {
            if (m_refusedInEdit)
                m_refusedInEdit->insert(row);
            return {SpeciesFound::Refused, -1};
        }
        if (m_confirm)
            m_confirm(m_table.cell(row, kSpeciesTableCode));
    }
    return {SpeciesFound::Found, row};
}

bool SpeciesEntry::lookUpRow(Grid& g, int row, const QString& text, int column, SpeciesLookups& lookups)
{
    lookups.lookedUp = true;
    const SpeciesMatch match = sub_Vérif_Espèce(text, column);
    if (match.found != SpeciesFound::Found) {
        if (match.found == SpeciesFound::Unknown)
            noteUnknown(lookups, text);
        g.setCell(row, SpeciesClassColumn, QString());
        g.setCell(row, SpeciesCodeColumn, QString());
        return false;
    }
    g.setCell(row, SpeciesNameColumn, m_table.cell(match.row, kSpeciesTableName));
    g.setCell(row, SpeciesCodeColumn, m_table.cell(match.row, kSpeciesTableCode));
    g.setCell(row, SpeciesClassColumn, m_table.cell(match.row, kSpeciesTableClass));
    return true;
}

SpeciesLookups SpeciesEntry::afterEdit(Grid& g, int row, int col, bool computedTotals)
{
    const RefusalsOfOneEdit refusals(m_refusedInEdit);
    SpeciesLookups lookups;
    if (col == SpeciesCodeColumn || col == SpeciesNameColumn) {
        const int tableColumn = col == SpeciesCodeColumn ? kSpeciesTableCode : kSpeciesTableName;
        if (!lookUpRow(g, row, g.cell(row, col), tableColumn, lookups))
            return lookups;
    }
    if (computedTotals)
        writeTotal(g, row);
    return lookups;
}

SpeciesLookups SpeciesEntry::afterRowsWritten(Grid& g, const GridRange& range, bool computedTotals)
{
    const RefusalsOfOneEdit refusals(m_refusedInEdit);
    SpeciesLookups lookups;
    const auto covers = [&range](int col) { return col >= range.col1 && col <= range.col2; };
    const bool codeWritten = covers(SpeciesCodeColumn);
    const bool speciesWritten = codeWritten || covers(SpeciesNameColumn);
    for (int r = std::max(range.row1, g.fixedRows()); r <= range.row2 && r < g.rows(); ++r) {
        if (!holdsSpecies(g, r))
            continue;
        if (speciesWritten) {
            const QString code = g.cell(r, SpeciesCodeColumn).trimmed();
            const QString name = g.cell(r, SpeciesNameColumn).trimmed();
            // The text written decides: a code written, else a name (written or kept).
            const bool byCode = !code.isEmpty() && (codeWritten || name.isEmpty());
            if (byCode || !name.isEmpty()) {
                if (!lookUpRow(g, r, byCode ? code : name, byCode ? kSpeciesTableCode : kSpeciesTableName,
                               lookups))
                    continue;
            } else {
                g.setCell(r, SpeciesClassColumn, QString());
            }
        }
        if (computedTotals)
            writeTotal(g, r);
    }
    return lookups;
}

void SpeciesEntry::addEmptyRow(Grid& g, bool computedTotals)
{
    const int row = g.addRow();
    g.setReadOnly({row, SpeciesClassColumn, row, SpeciesClassColumn}, true);
    g.setReadOnly({row, SpeciesTotalColumn, row, SpeciesTotalColumn}, computedTotals);
}

void SpeciesEntry::endWithEmptyRow(Grid& g, bool computedTotals)
{
    const int last = g.rows() - 1;
    if (last < g.fixedRows() || holdsSpecies(g, last) || !g.cell(last, SpeciesTotalColumn).isEmpty() ||
        !g.cell(last, SpeciesIndicesColumn).isEmpty())
        addEmptyRow(g, computedTotals);
}

void SpeciesEntry::paintColumns(Grid& g, bool computedTotals)
{
    const int last = g.rows() - 1;
    g.setReadOnly({0, SpeciesClassColumn, last, SpeciesClassColumn}, true);
    g.setReadOnly({0, SpeciesTotalColumn, last, SpeciesTotalColumn}, computedTotals);
    if (!computedTotals)
        g.setBackColour({0, SpeciesTotalColumn, last, SpeciesTotalColumn}, 0);
}

} // namespace record
