// Grid files: the complete grid file (code 0), written and read whole, and the choice of a file
// code. The text files (codes 4 and 5), the workbook (code 6) and the reading of the first rows
// of a complete file are in GridFileText.cpp, GridFileWorkbook.cpp and GridFileHead.cpp.

#include "grid/GridFile.h"
#include "platform/SaveFile.h"

#include "grid/Grid.h"
#include "grid/GridData.h"
#include "grid/GridFileComplete.h"
#include "grid/GridFileReading.h"
#include "grid/GridFileText.h"

#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QStringDecoder>
#include <algorithm>
#include <bit>

#include <cerrno>

namespace grid {

namespace gridfile {

using platform::Result;
using platform::ResultOf;

// ================================================================ the complete grid file (code 0)
//
// Its lines are described in GridFileComplete.h.

namespace {

const QString kSignature = QStringLiteral("MIRELOT-GRILLE");
constexpr int kVersion = 1;

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

} // namespace

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

namespace {

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

// Reads the lines of a complete file one at a time from its bytes (UTF-8 already checked), each
// decoded as it is read into one buffer: the whole file decoded at once would take twice its size
// again. One decoder takes the lines in order, as it would take the whole file.
class LineReader
{
public:
    explicit LineReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool next(QStringView* line)
    {
        if (m_pos >= m_bytes.size())
            return false;
        const qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            return false; // every line of a complete file ends with a line feed
        const QByteArrayView raw = m_bytes.sliced(m_pos, end - m_pos);
        if (m_line.size() < raw.size()) // a character takes at least one byte
            m_line.resize(raw.size());
        QChar* const start = m_line.data();
        *line = QStringView(start, m_decoder.appendToBuffer(start, raw));
        m_pos = end + 1;
        return true;
    }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // The characters left, as the decoded text counts them: each byte that begins a character,
    // and one more for a character beyond 16 bits (a four-byte sequence).
    qint64 remaining() const
    {
        qint64 n = 0;
        for (qsizetype i = m_pos; i < m_bytes.size(); ++i) {
            const auto b = quint8(m_bytes[i]);
            n += ((b & 0xC0) != 0x80) + (b >= 0xF0);
        }
        return n;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    QString m_line;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace

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

namespace {

// The longest text shared: one that fits the smallest block of memory a string takes.
constexpr qsizetype kSharedLength = 6;
// The most texts kept: a hundred kilobytes or so, for a file of thirty thousand cells and more.
constexpr qint64 kSharedMost = 1 << 12;

} // namespace

SharedTexts::SharedTexts(qint64 cells)
    : m_recent(size_t(
          std::clamp<qint64>(std::bit_ceil(quint64(std::max<qint64>(cells, 1))) / 8, 64, kSharedMost))),
      m_seed(QHashSeed::globalSeed())
{
}

QString SharedTexts::text(QStringView cell)
{
    if (cell.size() > kSharedLength)
        return cell.toString();
    const size_t hash = qHash(cell, m_seed);
    Recent& recent = m_recent[hash & (m_recent.size() - 1)];
    if (recent.hash != hash || QStringView(recent.text) != cell) {
        recent.hash = hash;
        recent.text = cell.toString();
    }
    return recent.text;
}

bool parseRow(QStringView line, GridRow& row, int cols, SharedTexts* shared)
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
                cells[col] = shared ? shared->text(cell) : cell.toString();
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

void startContent(GridContent& c, const Header& h)
{
    c.cols = int(h.cols);
    c.fixedRows = int(h.fixedRows);
    c.fixedCols = int(h.fixedCols);
    c.columns.assign(size_t(h.cols), GridColumn());
}

namespace {

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

// Parses a whole complete file (valid UTF-8); on success the content is in c.
Result parseComplete(QByteArrayView bytes, GridContent& c)
{
    LineReader lines(bytes);
    const ResultOf<Header> head = parseHead([&lines](QStringView* line) { return lines.next(line); }, c);
    if (!head)
        return head.result;
    const Header& h = head.value;
    if (Result held = checkRowsHeld(h, lines.remaining()); !held)
        return held;
    QStringView line;
    c.rows.resize(size_t(h.rows));
    SharedTexts shared(h.rows * h.cols);
    for (qint64 r = 0; r < h.rows; ++r) {
        if (!lines.next(&line))
            return Result::failure(QStringLiteral("fichier incomplet"));
        if (!parseRow(line, c.rows[size_t(r)], c.cols, &shared))
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
    if (Result declared = checkDeclared(size.value.rows, size.value.cols, bounds); !declared)
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

} // namespace

} // namespace gridfile

using namespace gridfile;
using platform::Result;
using platform::ResultOf;

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

namespace gridfile {
namespace {

// The content of a complete file's bytes.
ResultOf<GridContent> contentFrom(QByteArrayView bytes, const QString& name)
{
    using Content = ResultOf<GridContent>;
    if (!bytes.isValidUtf8())
        return Content::failure(fail(name, QStringLiteral("ce n'est pas un texte UTF-8")));
    Content c;
    if (const Result parsed = parseComplete(bytes, c.value); !parsed)
        return Content::failure(fail(name, parsed.error));
    c.result = Result::success();
    return c;
}

} // namespace
} // namespace gridfile

Result GridFile::fromComplete(Grid& grid, const QByteArray& bytes, const QString& name)
{
    ResultOf<GridContent> c = contentFrom(bytes, name);
    if (!c)
        return c.result;
    grid.replaceContent(std::move(c.value));
    return Result::success();
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

Result GridFile::save(const Grid& grid, const QString& path, int code, bool withFixedCells,
                      platform::Links links)
{
    const ResultOf<QByteArray> bytes = encode(grid, path, code, withFixedCells);
    if (!bytes)
        return bytes.result;
    return platform::saveFile(path, bytes.value, links);
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
        if (Result r = checkBytes(QFileInfo(path).size(), bounds); !r)
            return fail(path, r.error);
        const ResultOf<QByteArray> bytes = readAll(path);
        if (!bytes)
            return bytes.result;
        return fromText(grid, bytes.value, code, path);
    }
    default:
        return Result::failure(QStringLiteral("Format de fichier de grille inconnu : %1.").arg(code));
    }
}

Result GridFile::checkBounds(const Grid& grid, const QByteArray& complete, const Bounds& bounds)
{
    const QString kind = gridfile::kindOf(bounds);
    const qint64 rows = grid.rows();
    const qint64 cols = grid.cols();
    if (rows > bounds.rows || rows * cols > bounds.cells)
        return Result::failure(
            QStringLiteral("il aurait %1 lignes de %2 colonnes, plus que n'en compte %3 (%4 lignes et %5 "
                           "cellules au plus)")
                .arg(rows)
                .arg(cols)
                .arg(kind)
                .arg(bounds.rows)
                .arg(bounds.cells));
    if (const qint64 bytes = complete.size(); bytes > bounds.bytes)
        return Result::failure(QStringLiteral("il serait trop grand pour %1 (%2 octets, %3 au plus)")
                                   .arg(kind)
                                   .arg(bytes)
                                   .arg(bounds.bytes));
    return Result::success();
}

} // namespace grid
