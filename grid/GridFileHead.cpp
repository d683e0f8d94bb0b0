// The first rows of a complete grid file (code 0), read without the rest of the file: into a
// grid (GridFile::loadHead), or as texts only (GridFile::readHead, for readers that need a few
// cells of many files).

#include "grid/GridFile.h"
#include "platform/SaveFile.h"

#include "grid/Grid.h"
#include "grid/GridData.h"
#include "grid/GridFileComplete.h"
#include "grid/GridFileReading.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <optional>

#include <cerrno>

namespace grid {

using namespace gridfile;
using platform::Result;
using platform::ResultOf;

namespace {

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

// The lines of a file read a block at a time, without the device's own buffer: the first rows
// of a record lie in its first block. Each byte is searched once for its line feed.
class BlockLineReader
{
public:
    explicit BlockLineReader(QFile& f) : m_file(f) {}
    // The next line, without its line feed; false at the end of the file, on a read error or
    // when the line is longer than maxLength. The line lasts until the next call.
    bool next(QByteArrayView* line, qsizetype maxLength)
    {
        for (;;) {
            const qsizetype end = m_buffer.indexOf('\n', m_searched);
            if (end >= 0) {
                if (end - m_pos > maxLength)
                    return false;
                *line = QByteArrayView(m_buffer).sliced(m_pos, end - m_pos);
                m_pos = m_searched = end + 1;
                return true;
            }
            if (m_buffer.size() - m_pos > maxLength)
                return false;
            m_buffer.remove(0, m_pos);
            m_dropped += m_pos;
            m_pos = 0;
            m_searched = m_buffer.size();
            const QByteArray more = m_file.read(kBlock);
            if (more.isEmpty()) {
                if (m_file.error() != QFileDevice::NoError)
                    m_readError = platform::fileErrorReason(errno);
                return false;
            }
            m_buffer += more;
        }
    }
    // The bytes of the file before the next line.
    qint64 consumed() const { return m_dropped + m_pos; }
    // Why the file could not be read further; empty when it could.
    const QString& readError() const { return m_readError; }

private:
    static constexpr qint64 kBlock = 8 * 1024;
    QFile& m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;      // where the next line starts in the buffer
    qsizetype m_searched = 0; // the buffer holds no line feed from m_pos up to here
    qint64 m_dropped = 0;     // bytes of the file before the buffer
    QString m_readError;
};

// The signature and size lines are short: a longer first line is no grid file's.
constexpr qsizetype kShortLine = 256;
constexpr qsizetype kAnyLength = std::numeric_limits<qsizetype>::max();

bool decodeLine(QByteArrayView bytes, QString* out)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *out = dec.decode(bytes);
    return !dec.hasError();
}

// A failure naming the file: the read error when there was one, else the parser's reason, else
// the reason given.
Result headFailure(const QString& path, const BlockLineReader& lines, const Result& parsed,
                   const QString& otherwise)
{
    return fail(path, !lines.readError().isEmpty() ? lines.readError()
                      : !parsed.error.isEmpty()    ? parsed.error
                                                   : otherwise);
}

// The lines up to "cellules": the signature, the size (within the bounds, and rows that the
// file's bytes can hold) and the column settings, into c. A failure names the file.
ResultOf<Header> readFirstLines(BlockLineReader& lines, const QString& path, qint64 fileSize,
                                const GridFileBounds& bounds, GridContent& c)
{
    const auto failure = [&](const Result& parsed, const QString& otherwise) {
        return ResultOf<Header>::failure(headFailure(path, lines, parsed, otherwise));
    };
    QByteArrayView bytes;
    QString line;
    if (!lines.next(&bytes, kShortLine) || !decodeLine(bytes, &line))
        return failure({}, QStringLiteral("ce n'est pas un fichier de grille"));
    if (const Result signature = parseSignature(line); !signature)
        return failure(signature, {});
    if (!lines.next(&bytes, kShortLine) || !decodeLine(bytes, &line))
        return failure({}, QStringLiteral("taille de la grille absente"));
    ResultOf<Header> size = parseSize(line);
    if (!size)
        return failure(size.result, {});
    const Header& h = size.value;
    if (const Result declared = checkDeclared(h.rows, h.cols, bounds); !declared)
        return failure(declared, {});
    if (const Result held = checkRowsHeld(h, fileSize - lines.consumed()); !held)
        return failure(held, {});
    startContent(c, h);
    for (;;) {
        if (!lines.next(&bytes, kAnyLength))
            return failure({}, QStringLiteral("fichier incomplet"));
        if (bytes == "cellules")
            return size;
        if (!decodeLine(bytes, &line) || !line.startsWith(u"colonne\t"))
            return failure({}, QStringLiteral("ligne inconnue avant les cellules"));
        if (const Result column = parseColumn(line, c); !column)
            return failure(column, {});
    }
}

// The texts of the first cols columns of a row line. Each text up to its tab (a tab inside a
// text is written escaped), decoded on its own; empty texts after the last one are not kept.
// False when a text is no UTF-8 or holds an unknown escape.
bool readRowTexts(QByteArrayView bytes, int cols, QStringList* cells)
{
    std::optional<QStringDecoder> dec;
    qsizetype start = 0;
    for (int k = 0; k < cols && start <= bytes.size(); ++k) {
        const qsizetype tab = bytes.indexOf('\t', start);
        const qsizetype end = tab < 0 ? bytes.size() : tab;
        if (end > start) {
            if (!dec)
                dec.emplace(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QByteArrayView text = bytes.sliced(start, end - start);
            cells->resize(k + 1);
            QString& cell = (*cells)[k];
            cell = dec->decode(text);
            if (dec->hasError() || (text.contains('\\') && !unescape(QString(cell), &cell)))
                return false;
        }
        if (tab < 0)
            break;
        start = tab + 1;
    }
    return true;
}

} // namespace

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
    BlockLineReader lines(f);
    GridContent c;
    const ResultOf<Header> head = readFirstLines(lines, path, fileSize, bounds, c);
    if (!head)
        return Rows::failure(head.result);
    const qint64 wanted = std::clamp<qint64>(rowCount, 0, head.value.rows);
    QList<QStringList> out;
    out.reserve(wanted);
    for (qint64 r = 0; r < wanted; ++r) {
        QByteArrayView bytes;
        if (!lines.next(&bytes, kAnyLength))
            return Rows::failure(headFailure(path, lines, {}, QStringLiteral("fichier incomplet")));
        const int cols = std::clamp(columns ? columns(int(r), out) : 0, 0, c.cols);
        QStringList cells;
        if (!readRowTexts(bytes, cols, &cells))
            return Rows::failure(fail(path, QStringLiteral("ligne %1 illisible").arg(r)));
        out.append(std::move(cells));
    }
    return Rows::success(std::move(out));
}

} // namespace grid
