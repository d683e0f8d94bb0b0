#pragma once
// The lines of the complete grid file (code 0), read by the whole reading (GridFile.cpp) and by
// the reading of its first rows (GridFileHead.cpp); used by GridFile only.
//
//   MIRELOT-GRILLE <tab> 1                                   signature and version
//   taille <tab> rows <tab> cols <tab> fixed rows <tab> fixed cols
//   colonne <tab> c <tab> hidden <tab> type <tab> sort <tab> centred <tab> width <tab> list <tab> data
//   cellules
//   one line per row: the row's texts separated by tabs, trailing empty texts left out
//   cellule <tab> r <tab> c <tab> check <tab> back colour <tab> read-only <tab> font size <tab> font
//   cle <tab> r <tab> key
//   fin <tab> rows
//
// Lines end with a line feed. Inside texts a backslash, a tab, a carriage return and a line
// feed are written \\, \t, \r and \n. Only the columns and cells whose settings differ from
// the defaults have a line. "fin" with the row count ends a complete file: a file cut short
// anywhere is refused.

#include "grid/GridData.h"
#include "platform/Result.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace grid::gridfile {

// The counts a complete file declares on its size line.
struct Header
{
    qint64 rows = 0, cols = 0, fixedRows = 0, fixedCols = 0;
};

// The parsers below fail with the reason alone; their callers name the file (fail()).

// The signature line: "MIRELOT-GRILLE", then a version this program reads.
platform::Result parseSignature(QStringView line);
// The size line: rows, columns, fixed rows and fixed columns, within the largest grid.
platform::ResultOf<Header> parseSize(QStringView line);
// Every row of a complete file has a line of its own, its line feed at least: a file cannot hold
// more rows than it has characters (or bytes) after its size line.
platform::Result checkRowsHeld(const Header& h, qint64 charactersLeft);
// A content of the declared counts, every column with default settings and no row yet.
void startContent(GridContent& c, const Header& h);
// A column line: the settings of one column of c.
platform::Result parseColumn(QStringView line, GridContent& c);
// Equal short texts of one file, made once and shared by every cell that holds them: a file of
// many cells holds few different short texts ("0", "x", a species code), and a string of its own
// costs each cell a block of memory and the time to make and free it. A text not met lately (or
// a longer one) is made on its own, so that a file of all different texts costs about what it
// would without sharing: a table of a few thousand texts more.
class SharedTexts
{
public:
    // For a file of about so many cells.
    explicit SharedTexts(qint64 cells);
    QString text(QStringView cell);

private:
    struct Recent
    {
        size_t hash = 0; // compared first: most different texts are told apart without reading them
        QString text;
    };
    std::vector<Recent> m_recent; // by hash of the text; a power of two long
    size_t m_seed;
};

// One row line: texts between tabs, escaped texts undone. A tab in a line always separates two
// texts (a tab inside a text is written escaped). Short texts are taken from `shared` when given.
bool parseRow(QStringView line, GridRow& row, int cols, SharedTexts* shared = nullptr);
// Undoes the escapes of a text (\\, \t, \r and \n); false for a backslash that starts no known
// escape.
bool unescape(QStringView s, QString* out);

// The first lines of every complete file, up to "cellules": signature, size and column settings.
// Each read line comes from nextLine, which gives false at the end of the file.
template <typename NextLine> platform::ResultOf<Header> parseHead(NextLine nextLine, GridContent& c)
{
    QStringView line;
    if (!nextLine(&line))
        return platform::ResultOf<Header>::failure(QStringLiteral("ce n'est pas un fichier de grille"));
    if (platform::Result r = parseSignature(line); !r)
        return platform::ResultOf<Header>::failure(std::move(r));
    if (!nextLine(&line))
        return platform::ResultOf<Header>::failure(QStringLiteral("taille de la grille absente"));
    platform::ResultOf<Header> h = parseSize(line);
    if (!h)
        return h;
    startContent(c, h.value);
    for (;;) {
        if (!nextLine(&line))
            return platform::ResultOf<Header>::failure(QStringLiteral("fichier incomplet"));
        if (line == u"cellules")
            return h;
        if (!line.startsWith(u"colonne\t"))
            return platform::ResultOf<Header>::failure(QStringLiteral("ligne inconnue avant les cellules"));
        if (platform::Result r = parseColumn(line, c); !r)
            return platform::ResultOf<Header>::failure(std::move(r));
    }
}

} // namespace grid::gridfile
