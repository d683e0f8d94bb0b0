#pragma once
// Inside of a Grid, shared by the grid and its file readers and writers only.

#include "grid/Grid.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace grid {

// The settings of one cell; small and trivially copied, as a grid may hold one per cell.
struct CellFormat
{
    GridColour back = 0;
    float fontSize = 0; // 0: the grid's
    quint16 font = 0;   // 0: the grid's; otherwise 1 + index in GridContent::fontNames
    quint8 check = Grid::NoCheck;
    bool readOnly = false;

    bool isDefault() const
    {
        return back == 0 && fontSize == 0 && font == 0 && check == Grid::NoCheck && !readOnly;
    }
};

struct GridRow
{
    QList<QString> cells;        // always cols long
    std::vector<CellFormat> fmt; // empty, or cols long
    QString key;
    bool selected = false; // list-box selection

    void resize(int cols)
    {
        cells.resize(cols);
        if (!fmt.empty())
            fmt.resize(size_t(cols));
    }
};

struct GridColumn
{
    bool hidden = false;
    Grid::DataType type = Grid::DataType::Default;
    QString editList;
    Grid::Sort sort = Grid::Sort::None;
    bool centred = false;
    int width = -1;
    QString data;

    bool isDefault() const
    {
        return !hidden && type == Grid::DataType::Default && editList.isEmpty() && sort == Grid::Sort::None &&
               !centred && width == -1 && data.isEmpty();
    }
};

// What a grid file holds: the cells with their settings, the counts and the column settings.
struct GridContent
{
    std::vector<GridRow> rows;
    std::vector<GridColumn> columns; // cols long
    int cols = 0;
    int fixedRows = 0;
    int fixedCols = 0;
    QStringList fontNames;               // font names of cells, shared
    QHash<QString, quint16> fontNumbers; // the number of each name of fontNames

    int rowCount() const { return int(rows.size()); }
    // The font number of a name for CellFormat::font (0 for an empty name, and for a name beyond
    // the 65,535 that a number can tell apart).
    quint16 fontNumber(const QString& name)
    {
        if (name.isEmpty())
            return 0;
        if (const auto found = fontNumbers.constFind(name); found != fontNumbers.cend())
            return *found;
        if (fontNames.size() >= 65535)
            return 0;
        fontNames.append(name);
        const auto number = quint16(fontNames.size());
        fontNumbers.insert(name, number);
        return number;
    }
    QString fontName(quint16 number) const { return number == 0 ? QString() : fontNames.value(number - 1); }
};

// The largest grid a file may declare: beyond it a file is refused as malformed.
inline constexpr qint64 kGridMaxCells = 10'000'000;
inline constexpr int kGridMaxCols = 16'384;

struct GridData
{
    GridContent content;

    // Selection
    int row = 0, col = 0, rowSel = 0, colSel = 0;
    Grid::SelectionMode selectionMode = Grid::SelectionMode::Free;

    // Grid-wide settings
    QString editList;
    QString defaultFontName;
    double defaultFontSize = 8.25;
    GridColour backFixed = gridRgb(212, 208, 200);
    GridColour backAlternate = 0;
    Grid::Editable editable = Grid::Editable::None;
    bool fillRepeat = false;
    QString tag;
    QString textCellSeparator = QStringLiteral("\t");
    QString textRowSeparator = QStringLiteral("\r\n");
    bool redraw = true;

    // Labels of "#code;label" edit-list items per column, built when first needed.
    mutable QHash<int, QHash<QString, QString>> labelCache;
};

} // namespace grid
