#pragma once
// What tests need to see inside an .xlsx that the grid's own reader does not give: every sheet
// (names, order, the active one), each cell's stored type (number or text), and the formats of
// cells and columns (number format, font, borders, fill, alignment). Read with libzip and
// QXmlStreamReader; a test reads the values of the first sheet with the grid's reader as well.

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace testing_support {

struct WorkbookStyle
{
    QString numberFormat; // "General", "dd/mm/yyyy", "@", ...
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool solidFill = false;
    QString borders;       // styles of left, right, top, bottom joined by ",": "thin,thin,thin,thin"
    QString verticalAlign; // "center", or empty
};

struct WorkbookCell
{
    enum class Type { Number, Text, Boolean, Other };
    Type type = Type::Other;
    QString value; // the text, or the number as stored
    int style = 0;
    double number() const { return value.toDouble(); }
};

struct WorkbookSheet
{
    QString name;
    QMap<QPair<int, int>, WorkbookCell> cells; // (row, column) from 0
    QMap<int, double> columnWidths;
    QMap<int, int> columnStyles;
    int rowCount = 0; // last used row + 1
    int colCount = 0; // last used column + 1
    bool tabSelected = false;

    const WorkbookCell* cell(int row, int col) const;
    // The text of a text cell or the stored number; empty for an empty cell.
    QString value(int row, int col) const;
};

struct WorkbookContents
{
    bool ok = false;
    QString error;
    QList<WorkbookSheet> sheets;
    int activeSheet = 0;
    QList<WorkbookStyle> styles; // cell formats by index

    QStringList sheetNames() const;
    WorkbookStyle cellStyle(int sheet, int row, int col) const;
    WorkbookStyle columnStyle(int sheet, int col) const;
};

WorkbookContents readWorkbookContents(const QString& path);

} // namespace testing_support
