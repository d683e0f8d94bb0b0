#include "grid/GridFile.h"
#include "platform/SaveFile.h"

#include "grid/Grid.h"
#include "grid/GridData.h"
#include "grid/GridWorkbook.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <optional>

#include <cerrno>

namespace grid {

using platform::Result;
using platform::ResultOf;

// ================================================================ the complete grid file (code 0)
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

namespace {

const QString kSignature = QStringLiteral("MIRELOT-GRILLE");
constexpr int kVersion = 1;

QString fileLabel(const QString& name) { return name.isEmpty() ? QStringLiteral("(en mémoire)") : name; }

// Why a file could not be read: a folder where the file should be is named as such.
QString readErrorReason(const QString& path, int errorNumber)
{
    if (errorNumber == EISDIR || QFileInfo(path).isDir())
        return QStringLiteral("c'est un dossier");
    return platform::fileErrorReason(errorNumber);
}

Result fail(const QString& name, const QString& why)
{
    return Result::failure(
        QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2.").arg(fileLabel(name), why));
}

void appendEscaped(QString& out, const QString& text)
{
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = p[i].unicode();
        char16_t esc = 0;
        switch (ch) {
        case u'\\':
            esc = u'\\';
            break;
        case u'\t':
            esc = u't';
            break;
        case u'\r':
            esc = u'r';
            break;
        case u'\n':
            esc = u'n';
            break;
        default:
            continue;
        }
        out.append(p + start, i - start);
        out += u'\\';
        out += QChar(esc);
        start = i + 1;
    }
    out.append(p + start, n - start);
}

// Undoes appendEscaped; false for a backslash that starts no known escape.
bool unescape(QStringView s, QString* out)
{
    QString r(s.size(), Qt::Uninitialized);
    QChar* w = r.data();
    qsizetype k = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar ch = s[i];
        if (ch != u'\\') {
            w[k++] = ch;
            continue;
        }
        if (++i >= s.size())
            return false;
        switch (s[i].unicode()) {
        case u'\\':
            w[k++] = u'\\';
            break;
        case u't':
            w[k++] = u'\t';
            break;
        case u'r':
            w[k++] = u'\r';
            break;
        case u'n':
            w[k++] = u'\n';
            break;
        default:
            return false;
        }
    }
    r.truncate(k);
    *out = std::move(r);
    return true;
}

bool readCell(QStringView s, QString* out)
{
    if (!s.contains(u'\\')) {
        *out = s.toString();
        return true;
    }
    return unescape(s, out);
}

// Splits a line at its tabs.
QList<QStringView> fields(QStringView line)
{
    QList<QStringView> out;
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0) {
            out.append(line.mid(start));
            return out;
        }
        out.append(line.mid(start, tab - start));
        start = tab + 1;
    }
}

bool readInt(QStringView s, qint64 lo, qint64 hi, qint64* out)
{
    qsizetype i = 0;
    const bool negative = !s.isEmpty() && s[0] == u'-';
    if (negative)
        i = 1;
    if (i >= s.size() || s.size() - i > 12)
        return false;
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (u < '0' || u > '9')
            return false;
        v = v * 10 + (u - '0');
    }
    if (negative)
        v = -v;
    if (v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

// The fields of a line, one after the other, without building a list.
class Fields
{
public:
    explicit Fields(QStringView line) : m_line(line) {}
    bool next(QStringView* field)
    {
        if (m_done)
            return false;
        const qsizetype tab = m_line.indexOf(u'\t', m_pos);
        if (tab < 0) {
            *field = m_line.mid(m_pos);
            m_done = true;
        } else {
            *field = m_line.mid(m_pos, tab - m_pos);
            m_pos = tab + 1;
        }
        return true;
    }
    bool nextInt(qint64 lo, qint64 hi, qint64* out)
    {
        QStringView f;
        return next(&f) && readInt(f, lo, hi, out);
    }
    bool atEnd() const { return m_done; }

private:
    QStringView m_line;
    qsizetype m_pos = 0;
    bool m_done = false;
};

// Reads the lines of a complete file one at a time from text already decoded.
class LineReader
{
public:
    explicit LineReader(QStringView text) : m_text(text) {}
    bool next(QStringView* line)
    {
        if (m_pos >= m_text.size())
            return false;
        qsizetype end = m_text.indexOf(u'\n', m_pos);
        if (end < 0)
            return false; // every line of a complete file ends with a line feed
        *line = m_text.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype remaining() const { return m_text.size() - m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// Reads one line at a time from a file, for the first rows only.
class FileLineReader
{
public:
    explicit FileLineReader(QFile& f) : m_file(f) {}
    // false at the end of the file, on a read error, on invalid UTF-8 or on a line without
    // its line feed
    bool next(QString* line)
    {
        QByteArray bytes = m_file.readLine();
        if (bytes.isEmpty() || !bytes.endsWith('\n'))
            return false;
        bytes.chop(1);
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *line = dec.decode(bytes);
        return !dec.hasError();
    }

private:
    QFile& m_file;
};

struct Header
{
    qint64 rows = 0, cols = 0, fixedRows = 0, fixedCols = 0;
};

// The parsers below fail with the reason alone; their callers name the file (fail()).

Result parseSignature(QStringView line)
{
    const QList<QStringView> f = fields(line);
    if (f.size() != 2 || f[0] != kSignature)
        return Result::failure(QStringLiteral("ce n'est pas un fichier de grille"));
    qint64 version = 0;
    if (!readInt(f[1], 1, 1'000'000, &version))
        return Result::failure(QStringLiteral("version illisible"));
    if (version > kVersion)
        return Result::failure(
            QStringLiteral("fichier écrit par une version plus récente du programme (format %1)")
                .arg(version));
    return Result::success();
}

ResultOf<Header> parseSize(QStringView line)
{
    const QList<QStringView> f = fields(line);
    Header h;
    if (f.size() != 5 || f[0] != u"taille" || !readInt(f[1], 0, kGridMaxCells, &h.rows) ||
        !readInt(f[2], 0, kGridMaxCols, &h.cols) || !readInt(f[3], 0, h.rows, &h.fixedRows) ||
        !readInt(f[4], 0, h.cols, &h.fixedCols))
        return ResultOf<Header>::failure(QStringLiteral("taille de la grille illisible"));
    if (h.rows * std::max<qint64>(h.cols, 1) > kGridMaxCells)
        return ResultOf<Header>::failure(QStringLiteral("grille trop grande"));
    return ResultOf<Header>::success(h);
}

// Every row of a complete file has a line of its own, its line feed at least: a file cannot hold
// more rows than it has characters (or bytes) after its size line.
Result checkRowsHeld(const Header& h, qint64 charactersLeft)
{
    if (h.rows > charactersLeft)
        return Result::failure(
            QStringLiteral("il annonce %1 lignes et n'en contient pas autant").arg(h.rows));
    return Result::success();
}

QString kindOf(const GridFile::Bounds& b)
{
    return b.kind.isEmpty() ? QStringLiteral("un fichier de grille") : b.kind;
}

Result checkBytes(qint64 size, const GridFile::Bounds& b)
{
    if (size > b.bytes)
        return Result::failure(QStringLiteral("il est trop grand pour %1 (%2 octets, %3 au plus)")
                                   .arg(kindOf(b))
                                   .arg(size)
                                   .arg(b.bytes));
    return Result::success();
}

// "1 colonne", "2 colonnes".
QString counted(qint64 n, const QString& word)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(word, n > 1 ? QStringLiteral("s") : QString());
}

Result checkDeclared(const Header& h, const GridFile::Bounds& b)
{
    const qint64 cells = h.rows * h.cols;
    if (h.rows > b.rows || cells > b.cells)
        return Result::failure(
            QStringLiteral("il annonce %1 de %2, plus que n'en compte %3 (%4 et %5 au plus)")
                .arg(counted(h.rows, QStringLiteral("ligne")), counted(h.cols, QStringLiteral("colonne")),
                     kindOf(b), counted(b.rows, QStringLiteral("ligne")),
                     counted(b.cells, QStringLiteral("cellule"))));
    return Result::success();
}

Result parseColumn(QStringView line, GridContent& c)
{
    const QList<QStringView> f = fields(line);
    qint64 col = 0, hidden = 0, type = 0, sort = 0, centred = 0, width = 0;
    GridColumn column;
    if (f.size() != 9 || !readInt(f[1], 0, c.cols - 1, &col) || !readInt(f[2], 0, 1, &hidden) ||
        !readInt(f[3], 0, 1000, &type) || !readInt(f[4], 0, 1000, &sort) || !readInt(f[5], 0, 1, &centred) ||
        !readInt(f[6], -1, 1'000'000, &width) || !readCell(f[7], &column.editList) ||
        !readCell(f[8], &column.data))
        return Result::failure(QStringLiteral("réglage de colonne illisible"));
    const auto t = Grid::DataType(type);
    const auto s = Grid::Sort(sort);
    if ((t != Grid::DataType::Default && t != Grid::DataType::Date && t != Grid::DataType::String &&
         t != Grid::DataType::Boolean) ||
        (s != Grid::Sort::None && s != Grid::Sort::GenericAscending && s != Grid::Sort::GenericDescending))
        return Result::failure(QStringLiteral("réglage de colonne inconnu"));
    column.hidden = hidden != 0;
    column.type = t;
    column.sort = s;
    column.centred = centred != 0;
    column.width = int(width);
    c.columns[size_t(col)] = std::move(column);
    return Result::success();
}

// One row line: texts between tabs, escaped texts undone. A tab in a line always separates two
// texts (a tab inside a text is written escaped).
bool parseRow(QStringView line, GridRow& row, int cols)
{
    row.cells.resize(cols);
    const qsizetype n = line.size();
    if (n == 0)
        return true;
    QString* cells = row.cells.data();
    qsizetype backslash = line.indexOf(u'\\');
    int col = 0;
    qsizetype start = 0;
    for (;;) {
        if (col >= cols)
            return false;
        const qsizetype tab = line.indexOf(u'\t', start);
        const qsizetype end = tab < 0 ? n : tab;
        if (end > start) {
            const QStringView cell = line.mid(start, end - start);
            if (backslash < 0 || backslash >= end) {
                cells[col] = cell.toString();
            } else {
                if (!unescape(cell, &cells[col]))
                    return false;
                backslash = line.indexOf(u'\\', end);
            }
        }
        if (tab < 0)
            return true;
        ++col;
        start = tab + 1;
    }
}

Result parseTrailer(QStringView line, GridContent& c)
{
    Fields f(line);
    QStringView kind;
    f.next(&kind);
    if (kind == u"cellule") {
        qint64 r = 0, col = 0, check = 0, back = 0, ro = 0;
        QStringView size, font;
        CellFormat fmt;
        QString fontName;
        bool ok = f.nextInt(0, c.rowCount() - 1, &r) && f.nextInt(0, c.cols - 1, &col) &&
                  f.nextInt(0, 2, &check) && f.nextInt(0, 0xFFFFFF, &back) && f.nextInt(0, 1, &ro) &&
                  f.next(&size) && f.next(&font) && f.atEnd();
        if (ok) {
            if (size != u"0") {
                const double points = size.toDouble(&ok);
                ok = ok && points >= 0 && points <= 1000;
                fmt.fontSize = float(points);
            }
            ok = ok && readCell(font, &fontName);
        }
        if (!ok)
            return Result::failure(QStringLiteral("réglage de cellule illisible"));
        fmt.check = quint8(check);
        fmt.back = GridColour(back);
        fmt.readOnly = ro != 0;
        fmt.font = c.fontNumber(fontName);
        GridRow& row = c.rows[size_t(r)];
        if (row.fmt.empty())
            row.fmt.resize(size_t(c.cols));
        row.fmt[size_t(col)] = fmt;
        return Result::success();
    }
    if (kind == u"cle") {
        qint64 r = 0;
        QStringView key;
        if (!f.nextInt(0, c.rowCount() - 1, &r) || !f.next(&key) || !f.atEnd() ||
            !readCell(key, &c.rows[size_t(r)].key))
            return Result::failure(QStringLiteral("clé de ligne illisible"));
        return Result::success();
    }
    return Result::failure(QStringLiteral("ligne inconnue"));
}

void startContent(GridContent& c, const Header& h)
{
    c.cols = int(h.cols);
    c.fixedRows = int(h.fixedRows);
    c.fixedCols = int(h.fixedCols);
    c.columns.assign(size_t(h.cols), GridColumn());
}

// The first lines of every complete file, up to "cellules": signature, size and column settings.
// Each read line comes from nextLine, which gives false at the end of the file.
template <typename NextLine> ResultOf<Header> parseHead(NextLine nextLine, GridContent& c)
{
    QStringView line;
    if (!nextLine(&line))
        return ResultOf<Header>::failure(QStringLiteral("ce n'est pas un fichier de grille"));
    if (Result r = parseSignature(line); !r)
        return ResultOf<Header>::failure(std::move(r));
    if (!nextLine(&line))
        return ResultOf<Header>::failure(QStringLiteral("taille de la grille absente"));
    ResultOf<Header> h = parseSize(line);
    if (!h)
        return h;
    startContent(c, h.value);
    for (;;) {
        if (!nextLine(&line))
            return ResultOf<Header>::failure(QStringLiteral("fichier incomplet"));
        if (line == u"cellules")
            return h;
        if (!line.startsWith(u"colonne\t"))
            return ResultOf<Header>::failure(QStringLiteral("ligne inconnue avant les cellules"));
        if (Result r = parseColumn(line, c); !r)
            return ResultOf<Header>::failure(std::move(r));
    }
}

// Parses a whole complete file; on success the content is in c.
Result parseComplete(QStringView text, GridContent& c)
{
    LineReader lines(text);
    const ResultOf<Header> head = parseHead([&lines](QStringView* line) { return lines.next(line); }, c);
    if (!head)
        return head.result;
    const Header& h = head.value;
    if (Result held = checkRowsHeld(h, lines.remaining()); !held)
        return held;
    QStringView line;
    c.rows.resize(size_t(h.rows));
    for (qint64 r = 0; r < h.rows; ++r) {
        if (!lines.next(&line))
            return Result::failure(QStringLiteral("fichier incomplet"));
        if (!parseRow(line, c.rows[size_t(r)], c.cols))
            return Result::failure(QStringLiteral("ligne %1 illisible").arg(r));
    }
    for (;;) {
        if (!lines.next(&line))
            return Result::failure(QStringLiteral("fichier incomplet"));
        if (line.startsWith(u"fin\t")) {
            qint64 count = -1;
            if (!readInt(line.mid(4), 0, kGridMaxCells, &count) || count != h.rows || !lines.atEnd())
                return Result::failure(QStringLiteral("fin de fichier incohérente"));
            return Result::success();
        }
        if (Result r = parseTrailer(line, c); !r)
            return r;
    }
}

bool decodeUtf8(const QByteArray& bytes, QString* out)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *out = dec.decode(bytes);
    return !dec.hasError();
}

// Opens a file for reading, or says why it cannot be.
Result openForReading(QFile& f, const QString& path)
{
    if (!f.exists())
        return Result::failure(QStringLiteral("Le fichier « %1 » n'existe pas.").arg(path));
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return Result::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    return Result::success();
}

ResultOf<QByteArray> readAll(const QString& path)
{
    QFile f(path);
    if (Result opened = openForReading(f, path); !opened)
        return ResultOf<QByteArray>::failure(std::move(opened));
    errno = 0;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return ResultOf<QByteArray>::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    return ResultOf<QByteArray>::success(std::move(bytes));
}

// The signature and size lines of a complete file stand in its first bytes.
constexpr qint64 kFirstBytes = 4096;

// Judges a complete file from its first bytes, before it is read whole: its signature, its
// size line, the rows its size can hold and the bounds. What cannot be judged from them (a file
// shorter than they are) is left to the whole reading.
Result checkFirstLines(QByteArrayView first, qint64 fileSize, const GridFile::Bounds& bounds)
{
    const bool whole = first.size() >= fileSize;
    const qsizetype signatureEnd = first.indexOf('\n');
    QString line;
    if (signatureEnd < 0) {
        return whole ? Result::success()
                     : Result::failure(QStringLiteral("ce n'est pas un fichier de grille"));
    }
    if (!decodeUtf8(first.first(signatureEnd).toByteArray(), &line))
        return Result::failure(QStringLiteral("ce n'est pas un fichier de grille"));
    if (Result signature = parseSignature(line); !signature)
        return signature;
    const qsizetype sizeEnd = first.indexOf('\n', signatureEnd + 1);
    if (sizeEnd < 0)
        return whole ? Result::success() : Result::failure(QStringLiteral("taille de la grille illisible"));
    if (!decodeUtf8(first.sliced(signatureEnd + 1, sizeEnd - signatureEnd - 1).toByteArray(), &line))
        return Result::failure(QStringLiteral("taille de la grille illisible"));
    const ResultOf<Header> size = parseSize(line);
    if (!size)
        return size.result;
    if (Result declared = checkDeclared(size.value, bounds); !declared)
        return declared;
    return checkRowsHeld(size.value, fileSize - (sizeEnd + 1));
}

// The bytes of a complete file, read whole only when its size and its first lines allow it.
ResultOf<QByteArray> readComplete(const QString& path, const GridFile::Bounds& bounds)
{
    using Bytes = ResultOf<QByteArray>;
    QFile f(path);
    if (Result opened = openForReading(f, path); !opened)
        return Bytes::failure(std::move(opened));
    const qint64 size = f.size();
    if (Result r = checkBytes(size, bounds); !r)
        return Bytes::failure(fail(path, r.error));
    errno = 0;
    QByteArray bytes = f.read(std::min(size, kFirstBytes));
    if (f.error() != QFileDevice::NoError)
        return Bytes::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    if (Result r = checkFirstLines(bytes, size, bounds); !r)
        return Bytes::failure(fail(path, r.error));
    errno = 0;
    bytes += f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Bytes::failure(platform::readFailureText(path, readErrorReason(path, errno)));
    // The file may have grown since its size was read.
    if (Result r = checkBytes(bytes.size(), bounds); !r)
        return Bytes::failure(fail(path, r.error));
    return Bytes::success(std::move(bytes));
}

// ================================================================ text files (codes 4 and 5)

bool needsQuotes(const QString& cell, const QString& cellSep, const QString& rowSep)
{
    if (cell.isEmpty())
        return false;
    return cell.startsWith(u'"') || cell.contains(u'\r') || cell.contains(u'\n') || cell.contains(cellSep) ||
           cell.contains(rowSep);
}

QByteArray toText(const GridContent& c, bool withFixed, const QString& cellSep, const QString& rowSep)
{
    const int r0 = withFixed ? 0 : c.fixedRows;
    const int c0 = withFixed ? 0 : c.fixedCols;
    QString out;
    for (int r = r0; r < c.rowCount(); ++r) {
        const QList<QString>& cells = c.rows[size_t(r)].cells;
        for (int col = c0; col < c.cols; ++col) {
            if (col > c0)
                out += cellSep;
            const QString& cell = cells[col];
            if (cell.isEmpty() && r >= c.fixedRows &&
                c.columns[size_t(col)].type == Grid::DataType::Boolean) {
                // A check box is written as the word a spreadsheet reads as a truth value.
                const GridRow& row = c.rows[size_t(r)];
                const bool checked = !row.fmt.empty() && row.fmt[size_t(col)].check == Grid::Checked;
                out += checked ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                continue;
            }
            if (needsQuotes(cell, cellSep, rowSep)) {
                out += u'"';
                out += QString(cell).replace(QStringLiteral("\""), QStringLiteral("\"\""));
                out += u'"';
            } else {
                out += cell;
            }
        }
        out += rowSep;
    }
    return out.toUtf8();
}

// Splits separated text into rows of cells. A cell that begins with a double quote and ends
// with one, the closing quote followed by a separator, a row end or the end of the text, is
// quoted: it may hold separators and line ends, and a doubled quote inside stands for one. Any
// other cell is its text as it stands, quotes included ("Pie" bavarde, or a quote never closed).
// With a line-end row separator, CR LF, CR and LF all end a row.
QList<QStringList> parseText(QStringView text, const QString& cellSep, const QString& rowSep)
{
    const bool anyLineEnd = rowSep == u"\r\n" || rowSep == u"\r" || rowSep == u"\n";
    const qsizetype n = text.size();
    const auto cellSepAt = [&](qsizetype i) { return text.sliced(i).startsWith(cellSep); };
    // The length of the row end standing at i, 0 when there is none.
    const auto rowEndAt = [&](qsizetype i) -> qsizetype {
        if (!anyLineEnd)
            return text.sliced(i).startsWith(rowSep) ? rowSep.size() : 0;
        if (text[i] == u'\r')
            return i + 1 < n && text[i + 1] == u'\n' ? 2 : 1;
        return text[i] == u'\n' ? 1 : 0;
    };
    const auto cellEndsAt = [&](qsizetype i) { return i >= n || cellSepAt(i) || rowEndAt(i) > 0; };
    // Reads the quoted cell whose opening quote is at i; false when it is not one.
    const auto quotedCell = [&](qsizetype i, QString* cell, qsizetype* after) {
        QString out;
        for (++i; i < n;) {
            if (text[i] != u'"') {
                out += text[i++];
                continue;
            }
            if (i + 1 < n && text[i + 1] == u'"') {
                out += u'"';
                i += 2;
                continue;
            }
            if (!cellEndsAt(i + 1))
                return false; // a lone quote inside: the cell is not quoted
            *cell = std::move(out);
            *after = i + 1;
            return true;
        }
        return false; // never closed
    };

    QList<QStringList> rows;
    QStringList row;
    qsizetype i = 0;
    while (i < n) {
        QString cell;
        qsizetype after = 0;
        if (text[i] == u'"' && quotedCell(i, &cell, &after)) {
            i = after;
        } else {
            const qsizetype start = i;
            while (!cellEndsAt(i))
                ++i;
            cell = text.sliced(start, i - start).toString();
        }
        row << cell;
        if (i >= n)
            break;
        if (cellSepAt(i)) {
            i += cellSep.size();
            if (i >= n)
                row << QString(); // the last cell of the text is empty
            continue;
        }
        i += rowEndAt(i);
        rows.append(row);
        row.clear();
    }
    if (!row.isEmpty())
        rows.append(row);
    return rows;
}

// The check state a text names in a check-box column: TRUE, VRAI, OUI, X, 1 or -1 tick the box;
// FALSE, FAUX, NON, 0, 2 or nothing leave it unticked; any other text is no state.
int checkStateOfText(const QString& text)
{
    const QString t = text.trimmed().toUpper();
    static const QStringList ticked = {QStringLiteral("TRUE"), QStringLiteral("VRAI"), QStringLiteral("OUI"),
                                       QStringLiteral("X"),    QStringLiteral("1"),    QStringLiteral("-1")};
    static const QStringList unticked = {
        QString(),           QStringLiteral("FALSE"), QStringLiteral("FAUX"), QStringLiteral("NON"),
        QStringLiteral("0"), QStringLiteral("2")};
    if (ticked.contains(t))
        return Grid::Checked;
    if (unticked.contains(t))
        return Grid::Unchecked;
    return Grid::NoCheck;
}

// The content a text file gives a grid whose content is `current`.
ResultOf<GridContent> loadText(const GridContent& current, const QString& path, const QString& cellSep,
                               const QString& rowSep)
{
    const ResultOf<QByteArray> bytes = readAll(path);
    if (!bytes)
        return ResultOf<GridContent>::failure(bytes.result);
    QString text;
    if (!decodeUtf8(bytes.value, &text) || text.contains(QChar(0)))
        return ResultOf<GridContent>::failure(fail(path, QStringLiteral("ce n'est pas un texte UTF-8")));
    const QList<QStringList> lines = parseText(text, cellSep, rowSep);

    GridContent c;
    c.fixedRows = current.fixedRows;
    c.fixedCols = current.fixedCols;
    qint64 widest = 0;
    for (const QStringList& l : std::as_const(lines))
        widest = std::max<qint64>(widest, l.size());
    const qint64 cols = lines.isEmpty() ? current.cols : std::max<qint64>(current.fixedCols + widest, 1);
    const qint64 rows = c.fixedRows + lines.size();
    if (cols > kGridMaxCols || rows * cols > kGridMaxCells)
        return ResultOf<GridContent>::failure(fail(path, QStringLiteral("grille trop grande")));
    c.cols = int(cols);
    c.columns = current.columns;
    c.columns.resize(size_t(c.cols));
    c.fixedCols = std::min(c.fixedCols, c.cols);
    c.rows.reserve(size_t(rows));
    for (int r = 0; r < c.fixedRows; ++r) {
        GridRow row;
        row.cells = r < current.rowCount() ? current.rows[size_t(r)].cells : QList<QString>();
        row.cells.resize(c.cols);
        c.rows.push_back(std::move(row));
    }
    for (const QStringList& l : std::as_const(lines)) {
        GridRow row;
        row.cells.resize(c.cols);
        for (int k = 0; k < l.size(); ++k)
            row.cells[c.fixedCols + k] = l[k];
        // In a check-box column, a truth value becomes the box's state.
        for (int col = c.fixedCols; col < c.cols; ++col) {
            if (c.columns[size_t(col)].type != Grid::DataType::Boolean)
                continue;
            const int state = checkStateOfText(row.cells[col]);
            if (state == Grid::NoCheck)
                continue;
            row.fmt.resize(size_t(c.cols));
            row.fmt[size_t(col)].check = quint8(state);
            row.cells[col].clear();
        }
        c.rows.push_back(std::move(row));
    }
    return ResultOf<GridContent>::success(std::move(c));
}

} // namespace

// ================================================================ public

QByteArray GridFile::toComplete(const Grid& grid)
{
    const GridContent& c = grid.content();
    QString out;
    out.reserve(qsizetype(c.rowCount()) * 32 + 256);
    out += kSignature + u'\t' + QString::number(kVersion) + u'\n';
    out += QStringLiteral("taille\t%1\t%2\t%3\t%4\n")
               .arg(c.rowCount())
               .arg(c.cols)
               .arg(c.fixedRows)
               .arg(c.fixedCols);
    for (int col = 0; col < c.cols; ++col) {
        const GridColumn& k = c.columns[size_t(col)];
        if (k.isDefault())
            continue;
        out += QStringLiteral("colonne\t%1\t%2\t%3\t%4\t%5\t%6\t")
                   .arg(col)
                   .arg(int(k.hidden))
                   .arg(int(k.type))
                   .arg(int(k.sort))
                   .arg(int(k.centred))
                   .arg(k.width);
        appendEscaped(out, k.editList);
        out += u'\t';
        appendEscaped(out, k.data);
        out += u'\n';
    }
    out += QStringLiteral("cellules\n");
    for (const GridRow& row : c.rows) {
        int last = c.cols - 1;
        while (last >= 0 && row.cells[last].isEmpty())
            --last;
        for (int col = 0; col <= last; ++col) {
            if (col > 0)
                out += u'\t';
            appendEscaped(out, row.cells[col]);
        }
        out += u'\n';
    }
    for (int r = 0; r < c.rowCount(); ++r) {
        const GridRow& row = c.rows[size_t(r)];
        for (size_t col = 0; col < row.fmt.size(); ++col) {
            const CellFormat& f = row.fmt[col];
            if (f.isDefault())
                continue;
            out += u"cellule\t";
            out += QString::number(r);
            out += u'\t';
            out += QString::number(col);
            out += u'\t';
            out += QChar(u'0' + f.check);
            out += u'\t';
            out += QString::number(f.back & 0xFFFFFF);
            out += f.readOnly ? u"\t1\t" : u"\t0\t";
            out += f.fontSize == 0 ? QStringLiteral("0") : QString::number(double(f.fontSize), 'g', 8);
            out += u'\t';
            appendEscaped(out, c.fontName(f.font));
            out += u'\n';
        }
        if (!row.key.isEmpty()) {
            out += QStringLiteral("cle\t%1\t").arg(r);
            appendEscaped(out, row.key);
            out += u'\n';
        }
    }
    out += QStringLiteral("fin\t%1\n").arg(c.rowCount());
    return out.toUtf8();
}

Result GridFile::fromComplete(Grid& grid, const QByteArray& bytes, const QString& name)
{
    QString text;
    if (!decodeUtf8(bytes, &text))
        return fail(name, QStringLiteral("ce n'est pas un texte UTF-8"));
    GridContent c;
    if (const Result parsed = parseComplete(text, c); !parsed)
        return fail(name, parsed.error);
    grid.replaceContent(std::move(c));
    return Result::success();
}

Result GridFile::fromWorkbook(Grid& grid, const QByteArray& bytes, const QString& name)
{
    GridContent c;
    c.fixedRows = grid.fixedRows();
    c.fixedCols = grid.fixedCols();
    c.columns = grid.content().columns;
    if (const Result read = readWorkbook(bytes, c); !read)
        return fail(name, read.error);
    grid.replaceContent(std::move(c));
    return Result::success();
}

ResultOf<QByteArray> GridFile::toWorkbook(const Grid& grid, bool withFixedCells, const QString& name)
{
    ResultOf<QByteArray> written = writeWorkbook(grid.content(), withFixedCells);
    if (!written)
        return ResultOf<QByteArray>::failure(
            platform::writeFailureText(fileLabel(name), written.result.error));
    return written;
}

ResultOf<QByteArray> GridFile::encode(const Grid& grid, const QString& path, int code, bool withFixedCells)
{
    switch (code) {
    case GridFile::Complete:
        return ResultOf<QByteArray>::success(GridFile::toComplete(grid));
    case GridFile::TabText:
        return ResultOf<QByteArray>::success(
            toText(grid.content(), withFixedCells, QStringLiteral("\t"), QStringLiteral("\r\n")));
    case GridFile::SeparatedText:
        return ResultOf<QByteArray>::success(
            toText(grid.content(), withFixedCells, grid.textCellSeparator(), grid.textRowSeparator()));
    case GridFile::Workbook:
        return GridFile::toWorkbook(grid, withFixedCells, path);
    default:
        return ResultOf<QByteArray>::failure(
            QStringLiteral("Format de fichier de grille inconnu : %1.").arg(code));
    }
}

Result GridFile::save(const Grid& grid, const QString& path, int code, bool withFixedCells)
{
    const ResultOf<QByteArray> bytes = encode(grid, path, code, withFixedCells);
    if (!bytes)
        return bytes.result;
    return platform::saveFile(path, bytes.value);
}

Result GridFile::saveNew(const Grid& grid, const QString& path, int code, bool withFixedCells)
{
    const ResultOf<QByteArray> bytes = encode(grid, path, code, withFixedCells);
    if (!bytes)
        return bytes.result;
    return platform::saveNewFile(path, bytes.value);
}

Result GridFile::load(Grid& grid, const QString& path, int code, const Bounds& bounds)
{
    switch (code) {
    case Complete: {
        const ResultOf<QByteArray> bytes = readComplete(path, bounds);
        if (!bytes)
            return bytes.result;
        return fromComplete(grid, bytes.value, path);
    }
    case Workbook: {
        if (Result r = checkBytes(QFileInfo(path).size(), bounds); !r)
            return fail(path, r.error);
        const ResultOf<QByteArray> bytes = readAll(path);
        if (!bytes)
            return bytes.result;
        return fromWorkbook(grid, bytes.value, path);
    }
    case TabText:
    case SeparatedText: {
        const QString cellSep = code == TabText ? QStringLiteral("\t") : grid.textCellSeparator();
        const QString rowSep = code == TabText ? QStringLiteral("\r\n") : grid.textRowSeparator();
        if (Result r = checkBytes(QFileInfo(path).size(), bounds); !r)
            return fail(path, r.error);
        ResultOf<GridContent> c = loadText(grid.content(), path, cellSep, rowSep);
        if (!c)
            return c.result;
        grid.replaceContent(std::move(c.value));
        return Result::success();
    }
    default:
        return Result::failure(QStringLiteral("Format de fichier de grille inconnu : %1.").arg(code));
    }
}

Result GridFile::loadHead(Grid& grid, const QString& path, int rowCount)
{
    QFile f(path);
    if (Result opened = openForReading(f, path); !opened)
        return opened;
    FileLineReader lines(f);
    QString text;
    const auto nextLine = [&](QStringView* line) {
        if (!lines.next(&text))
            return false;
        *line = text;
        return true;
    };
    GridContent c;
    const ResultOf<Header> head = parseHead(nextLine, c);
    if (!head)
        return fail(path, head.result.error);
    const qint64 wanted = std::clamp<qint64>(rowCount, 0, head.value.rows);
    c.rows.resize(size_t(wanted));
    for (qint64 r = 0; r < wanted; ++r) {
        if (!lines.next(&text))
            return fail(path, QStringLiteral("fichier incomplet"));
        if (!parseRow(text, c.rows[size_t(r)], c.cols))
            return fail(path, QStringLiteral("ligne %1 illisible").arg(r));
    }
    c.fixedRows = std::min<int>(c.fixedRows, int(wanted));
    grid.replaceContent(std::move(c));
    return Result::success();
}

ResultOf<QList<QStringList>> GridFile::readHead(const QString& path, int rowCount, const HeadColumns& columns,
                                                const Bounds& bounds)
{
    using Rows = ResultOf<QList<QStringList>>;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        QFile again(path);
        return Rows::failure(openForReading(again, path)); // says why
    }
    const qint64 fileSize = f.size();
    if (Result r = checkBytes(fileSize, bounds); !r)
        return Rows::failure(fail(path, r.error));
    // The file is read a block at a time, without the device's own buffer: the first rows of a
    // record lie in its first block. Each byte is searched once for its line feed.
    constexpr qint64 kBlock = 8 * 1024;
    // The signature and size lines are short: a longer first line is no grid file's.
    constexpr qsizetype kShortLine = 256;
    constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();
    QByteArray buffer;
    qsizetype pos = 0;      // where the next line starts in the buffer
    qsizetype searched = 0; // the buffer holds no line feed from pos up to here
    qint64 dropped = 0;     // bytes of the file before the buffer
    QString why;
    // The next line, without its line feed; false at the end of the file, on a read error or
    // when the line is longer than maxLength.
    const auto nextLine = [&](QByteArrayView* line, qsizetype maxLength) {
        for (;;) {
            const qsizetype end = buffer.indexOf('\n', searched);
            if (end >= 0) {
                if (end - pos > maxLength)
                    return false;
                *line = QByteArrayView(buffer).sliced(pos, end - pos);
                pos = searched = end + 1;
                return true;
            }
            if (buffer.size() - pos > maxLength)
                return false;
            buffer.remove(0, pos);
            dropped += pos;
            pos = 0;
            searched = buffer.size();
            const QByteArray more = f.read(kBlock);
            if (more.isEmpty()) {
                if (f.error() != QFileDevice::NoError)
                    why = platform::fileErrorReason(errno);
                return false;
            }
            buffer += more;
        }
    };
    const auto decode = [](QByteArrayView bytes, QString* out) {
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *out = dec.decode(bytes);
        return !dec.hasError();
    };
    // A failure naming the file: the read error when there was one, else the parser's reason,
    // else the reason given.
    const auto failure = [&](const Result& parsed, const QString& otherwise) {
        return Rows::failure(fail(path, !why.isEmpty()            ? why
                                        : !parsed.error.isEmpty() ? parsed.error
                                                                  : otherwise));
    };
    const auto incomplete = [&]() { return failure({}, QStringLiteral("fichier incomplet")); };

    QByteArrayView bytes;
    QString line;
    if (!nextLine(&bytes, kShortLine) || !decode(bytes, &line))
        return failure({}, QStringLiteral("ce n'est pas un fichier de grille"));
    if (const Result signature = parseSignature(line); !signature)
        return failure(signature, {});
    if (!nextLine(&bytes, kShortLine) || !decode(bytes, &line))
        return failure({}, QStringLiteral("taille de la grille absente"));
    const ResultOf<Header> size = parseSize(line);
    if (!size)
        return failure(size.result, {});
    const Header& h = size.value;
    if (const Result declared = checkDeclared(h, bounds); !declared)
        return failure(declared, {});
    if (const Result held = checkRowsHeld(h, fileSize - (dropped + pos)); !held)
        return failure(held, {});
    GridContent c;
    startContent(c, h);
    for (;;) {
        if (!nextLine(&bytes, kAnyLength))
            return incomplete();
        if (bytes == "cellules")
            break;
        if (!decode(bytes, &line) || !line.startsWith(u"colonne\t"))
            return failure({}, QStringLiteral("ligne inconnue avant les cellules"));
        if (const Result column = parseColumn(line, c); !column)
            return failure(column, {});
    }
    const qint64 wanted = std::clamp<qint64>(rowCount, 0, h.rows);
    QList<QStringList> out;
    out.reserve(wanted);
    for (qint64 r = 0; r < wanted; ++r) {
        if (!nextLine(&bytes, kAnyLength))
            return incomplete();
        const int cols = std::clamp(columns ? columns(int(r), out) : 0, 0, c.cols);
        // Each text up to its tab (a tab inside a text is written escaped), decoded on its own;
        // empty texts after the last one are not kept.
        QStringList cells;
        std::optional<QStringDecoder> dec;
        qsizetype start = 0;
        for (int k = 0; k < cols && start <= bytes.size(); ++k) {
            const qsizetype tab = bytes.indexOf('\t', start);
            const qsizetype end = tab < 0 ? bytes.size() : tab;
            if (end > start) {
                if (!dec)
                    dec.emplace(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QByteArrayView text = bytes.sliced(start, end - start);
                cells.resize(k + 1);
                QString& cell = cells[k];
                cell = dec->decode(text);
                if (dec->hasError() || (text.contains('\\') && !unescape(QString(cell), &cell)))
                    return Rows::failure(fail(path, QStringLiteral("ligne %1 illisible").arg(r)));
            }
            if (tab < 0)
                break;
            start = tab + 1;
        }
        out.append(std::move(cells));
    }
    return Rows::success(std::move(out));
}

} // namespace grid
