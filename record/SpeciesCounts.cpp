#include "record/SpeciesCounts.h"

#include "common/Settings.h"
#include "grid/Grid.h"

#include <algorithm>
#include <cmath>

namespace record {

namespace {

// A count or total as a number: 0 when empty or not a finite number.
double countValue(const QString& text)
{
    const double v = common::leadingNumber(text);
    return std::isfinite(v) ? v : 0.0;
}

double addRounded(double sum, double value) { return roundHalfEven(sum + value); }

// What a total-mode row counts: its typed total, or its bands when it has none.
double typedTotal(const SpeciesRow& row)
{
    const double total = countValue(row.total);
    return total != 0 ? total : speciesRowSum(row.counts).sum;
}

QString countText(double value) { return QString::number(value + 0.0, 'g', 15); }

void mergeInto(SpeciesRow& into, const SpeciesRow& from, bool totalTypedByHand)
{
    // Typed totals are read before the bands are added together.
    const bool anyTotal = !into.total.trimmed().isEmpty() || !from.total.trimmed().isEmpty();
    const double typed = addRounded(addRounded(0, typedTotal(into)), typedTotal(from));

    if (into.speciesClass.trimmed().isEmpty())
        into.speciesClass = from.speciesClass;
    if (into.name.trimmed().isEmpty())
        into.name = from.name;
    for (size_t b = 0; b < into.counts.size(); ++b) {
        QString& band = into.counts[b];
        if (band.trimmed().isEmpty() && from.counts[b].trimmed().isEmpty())
            continue;
        band = countText(countValue(band) + countValue(from.counts[b]));
    }
    if (!totalTypedByHand)
        into.total = speciesTotalText(speciesRowSum(into.counts).sum);
    else if (anyTotal)
        into.total = speciesTotalText(typed);

    QStringList indices;
    for (const QString& i : {into.indices, from.indices})
        for (const QString& part : i.split(QStringLiteral(" ; ")))
            if (!part.trimmed().isEmpty() && !indices.contains(part.trimmed()))
                indices << part.trimmed();
    into.indices = indices.join(QStringLiteral(" ; "));
}

} // namespace

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

SpeciesSum speciesRowSum(const std::array<QString, kDistanceBands>& counts)
{
    SpeciesSum s;
    for (const QString& c : counts) {
        s.sum = addRounded(s.sum, countValue(c));
        if (c.trimmed() == QLatin1String("0"))
            s.zeroGiven = true;
    }
    return s;
}

QString speciesTotalText(double sum) { return QString::number(sum + 0.0, 'f', 0); }

int mergeSameSpecies(SpeciesTable& table, bool totalTypedByHand)
{
    std::stable_sort(table.begin(), table.end(), [](const SpeciesRow& a, const SpeciesRow& b) {
        return grid::Grid::compareGeneric(a.code, b.code) < 0;
    });
    int removed = 0;
    for (qsizetype r = table.size() - 1; r >= 1; --r) {
        const QString code = table[r].code.trimmed();
        if (code.isEmpty() || code.compare(table[r - 1].code.trimmed(), Qt::CaseInsensitive) != 0)
            continue;
        mergeInto(table[r - 1], table[r], totalTypedByHand);
        table.removeAt(r);
        ++removed;
    }
    return removed;
}

} // namespace record
