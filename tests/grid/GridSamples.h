#pragma once
// Grids and files for the grid tests and benchmarks.

#include "grid/Grid.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace grid_samples {

// A small grid with every awkward thing a cell or a setting can hold: tabs, line ends, "|",
// backslashes, accents, U+2019, characters outside the basic plane, NUL, check states, colours,
// fonts, read-only cells, row keys, column settings, fixed rows and columns, empty last row.
void fillAwkward(grid::Grid& g);

// A record-shaped grid: 72 columns, the given number of rows of short French texts.
void fillRecord(grid::Grid& g, int rows);

// A reference table: a header row and the given number of species rows (6 columns, check box
// in column 5).
void fillReference(grid::Grid& g, int rows);

// A zip archive in memory holding the given entries.
QByteArray zipOf(const QList<QPair<QString, QByteArray>>& entries);

// A minimal workbook around a sheet's XML and shared strings (plain texts, or raw <si>
// contents with rich set).
QByteArray workbookOf(const QByteArray& sheetXml, const QStringList& sharedStrings, bool rich = false);

// The entries of a zip archive in memory (empty on failure).
QList<QPair<QString, QByteArray>> unzipAll(const QByteArray& zip);

} // namespace grid_samples
