#pragma once
// Record files for the bulk update's tests: a record of the current layout, written as the record
// window writes it, and one of the older EPS layout; the record grid saved whole in the complete
// grid format with its fixed cells.

#include "grid/Grid.h"

#include <QString>
#include <QStringList>

namespace testing_support {

struct RecordSample
{
    QString departement = QStringLiteral("26 - Drôme");
    QString commune = QStringLiteral("Crest");
    QString lieuDit = QStringLiteral("Les Plaines");
    QString site = QStringLiteral("SHOC-26~Crest~Les Plaines~DUPONT Jean~Hiver 2009-2010");
    QString milieu = QStringLiteral("CH - Culture de céréales d’hiver");
    QString reseau = QStringLiteral("SHOC / Suivi hivernal des oiseaux communs");
    QString nom = QStringLiteral("DUPONT");
    QString prenom = QStringLiteral("Jean");
    QString courriel = QStringLiteral("jean.dupont@example.org");
    QString telephone = QStringLiteral("04 75 00 00 00");
    QString saison = QStringLiteral("Hiver 2009-2010");
    QString date = QStringLiteral("15/12/2009");
    int passage = 1; // 1 to 5
    int parcelles = 2;
};

// The record grid of the current layout (record::RecordLayout::write): the sample record of
// record_samples with the identification, visit and number of parcels given, each parcel the
// sample's first one (two species), and after the last species block the two empty rows that a
// record saved again keeps.
void fillRecordGrid(grid::Grid& grille, const RecordSample& r);

// A record of the older EPS layout, written cell by cell as that layout stands (the program
// writes it no more): commune in row 2 column 4, observer's name and e-mail address in row 3
// columns 2 and 3, the other cells holding texts of their own.
void fillEpsRecordGrid(grid::Grid& grille, const RecordSample& r);

// Writes the grid as a record file; false when it could not be written.
bool writeRecordFile(const grid::Grid& grille, const QString& chemin);

// Every cell of a grid, "row,col=text", for comparing two grids cell by cell.
QStringList cellTexts(const grid::Grid& grille);

} // namespace testing_support
