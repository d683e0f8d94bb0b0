#pragma once
// Record files of the sibling program Pomerel for the import tests.

#include <QList>
#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace sibling_samples {

// A small record of the sibling program, in our grid format, rows from column 1. A point row:
// label, number, department, commune, place, UTM zone, first and second coordinate, MGRS, walk,
// altitude, habitat code, checked, coordinate type.
struct Sibling
{
    using Cells = QStringList;
    QString observer = "lefèvre jean", contact = "jean@example.fr", passage = "0", comment;
    QList<Cells> points = {
        QString("Point|1|26 - Drôme|Valence|Les Baumes||849000|1991000||||||1").split('|')};
    QList<QList<Cells>> species; // per parcel, its rows from column 2
    QString count;               // of parcels: the number of points unless given
    bool withLocations = true;
    bool speciesHeader = true;      // each species block begins with its header row
    bool visitFirst = false;        // the date row right after the mark, before the identification
    QList<int> withoutSpeciesBlock; // parcels written without their "Espèces Parcelle N°" block

    void fill(grid::Grid& g) const;
};

// The record written whole at `path` (the test fails when it cannot be).
void write(const QString& path, const Sibling& sibling);

} // namespace sibling_samples
