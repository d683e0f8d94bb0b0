#include "grid/GridWorkbook.h"

#include "grid/GridData.h"
#include "grid/SheetWriter.h"
#include "platform/Result.h"

#include <QHash>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>

namespace grid {

namespace {

// The most a part of a workbook (a sheet, the shared texts...) may expand to when it is read.
// The largest workbook this program writes holds 65,000 rows of a few dozen columns; its sheet
// takes about 37 bytes of XML a cell (`<c r="AD64999" t="s"><v>12345</v></c>`): 72 MB for 30
// full columns, 120 MB for 50. A part beyond 128 MiB is no workbook of this program, and reading
// it would hold the window and take several times its size in memory.
constexpr zip_uint64_t kPartMaxBytes = 128ull * 1024 * 1024;
// Nor may a part expand to far more than its compressed size: the sheets this program writes
// shrink 12 to 17 times, and a hundredfold is only reached by padding made to inflate. Parts of
// up to 1 MiB are never refused on this count (small parts of few distinct bytes shrink more).
constexpr zip_uint64_t kPartMaxRatio = 100;
constexpr zip_uint64_t kPartRatioFloor = 1024 * 1024;

bool isHex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

// "_xHHHH_" at position i
bool escapeAt(const QString& s, qsizetype i)
{
    if (i + 7 > s.size() || s[i] != u'_' || (s[i + 1] != u'x' && s[i + 1] != u'X') || s[i + 6] != u'_')
        return false;
    return isHex(s[i + 2]) && isHex(s[i + 3]) && isHex(s[i + 4]) && isHex(s[i + 5]);
}

void appendCode(QString& out, char16_t u)
{
    out += QStringLiteral("_x") + QString::number(uint(u), 16).toUpper().rightJustified(4, u'0') + u'_';
}

} // namespace

QString workbookEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const char16_t u = ch.unicode();
        bool lone = false;
        if (ch.isHighSurrogate())
            lone = !(i + 1 < text.size() && text[i + 1].isLowSurrogate());
        else if (ch.isLowSurrogate())
            lone = !(i > 0 && text[i - 1].isHighSurrogate());
        if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF || lone)
            appendCode(out, u);
        else if (u == u'_' && escapeAt(text, i))
            appendCode(out, u);
        else
            out += ch;
    }
    return out;
}

QString workbookUnescape(const QString& text)
{
    if (!text.contains(u'_'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (escapeAt(text, i)) {
            out += QChar(char16_t(text.mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

// ================================================================ writer

platform::ResultOf<QByteArray> writeWorkbook(const GridContent& c, bool withFixedCells)
{
    using Bytes = platform::ResultOf<QByteArray>;
    const int r0 = withFixedCells ? 0 : c.fixedRows;
    const int c0 = withFixedCells ? 0 : c.fixedCols;
    const int rows = c.rowCount() - r0, cols = c.cols - c0;
    if (rows > kSheetMaxRows || cols > kSheetMaxCols)
        return Bytes::failure(QStringLiteral("la grille dépasse la taille d'une feuille de classeur"));
    // The check state a cell is written with when it has no text: that of the cell, or
    // unchecked in a check-box column below the fixed rows.
    const auto checkOf = [&](int row, int col) {
        const GridRow& r = c.rows[size_t(row)];
        const int check = r.fmt.empty() ? 0 : r.fmt[size_t(col)].check;
        if (check == 0 && row >= c.fixedRows && c.columns[size_t(col)].type == Grid::DataType::Boolean)
            return int(Grid::Unchecked);
        return check;
    };
    SheetWriter book;
    bool written = book.addSheet(QStringLiteral("Feuil1"), 1);
    for (int r = 0; r < rows && written; ++r) {
        const GridRow& row = c.rows[size_t(r0 + r)];
        for (int k = 0; k < cols && written; ++k) {
            if (const QString& text = row.cells[c0 + k]; !text.isEmpty())
                written = book.writeText(r, k, text);
            else if (const int check = checkOf(r0 + r, c0 + k); check != 0)
                written = book.writeBoolean(r, k, check == Grid::Checked);
        }
    }
    // An empty last cell keeps the grid's counts: it is written as a formatted blank.
    if (written && rows > 0 && cols > 0 && c.rows[size_t(r0 + rows - 1)].cells[c0 + cols - 1].isEmpty() &&
        checkOf(r0 + rows - 1, c0 + cols - 1) == 0)
        book.writeBlank(rows - 1, cols - 1, book.addFormat());
    QByteArray bytes;
    if (platform::Result r = book.finish(&bytes); !r)
        return Bytes::failure(std::move(r));
    return Bytes::success(std::move(bytes));
}

// ================================================================ reader

namespace {

struct ZipArchive
{
    zip_t* zip = nullptr;
    ~ZipArchive()
    {
        if (zip)
            zip_discard(zip);
    }
};

enum class Entry { Ok, Missing, Broken, TooLarge };

// The most bytes a part of the given compressed size may expand to.
zip_uint64_t expandedLimit(zip_uint64_t compressed)
{
    if (compressed >= kPartMaxBytes / kPartMaxRatio)
        return kPartMaxBytes;
    return std::max(kPartRatioFloor, compressed * kPartMaxRatio);
}

Entry readEntry(zip_t* z, const QString& name, QByteArray* out)
{
    const QByteArray n = name.toUtf8();
    const zip_int64_t index = zip_name_locate(z, n.constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return Entry::Missing;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
        !(st.valid & ZIP_STAT_COMP_SIZE))
        return Entry::Broken;
    // The sizes the archive announces are checked before anything is expanded; the reading
    // below never goes past them either, as an archive may announce less than it holds.
    if (st.size > expandedLimit(st.comp_size))
        return Entry::TooLarge;
    zip_file_t* f = zip_fopen_index(z, zip_uint64_t(index), 0);
    if (!f)
        return Entry::Broken;
    out->resize(qsizetype(st.size));
    zip_uint64_t done = 0;
    bool ok = true;
    while (done < st.size) {
        const zip_int64_t got = zip_fread(f, out->data() + done, st.size - done);
        if (got <= 0) {
            ok = false;
            break;
        }
        done += zip_uint64_t(got);
    }
    // One byte past the announced size: there must be none, and reaching the end checks the
    // CRC of the whole part.
    char extra;
    if (ok && zip_fread(f, &extra, 1) != 0)
        ok = false;
    zip_fclose(f);
    return ok ? Entry::Ok : Entry::Broken;
}

// Why a part could not be read, for the message.
QString partProblem(Entry e, const QString& part, const QString& broken)
{
    if (e == Entry::TooLarge)
        return QStringLiteral("la partie « %1 » du classeur est trop grande une fois décompressée").arg(part);
    return broken;
}

QString attr(const QXmlStreamReader& x, QLatin1StringView name)
{
    return x.attributes().value(name).toString();
}

// The relationship id of a <sheet>: the "id" attribute in the relationships namespace.
QString relId(const QXmlStreamReader& x)
{
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == u"id" && (!a.namespaceUri().isEmpty() || a.qualifiedName() == u"r:id"))
            return a.value().toString();
    return QString();
}

QString resolve(const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

// The text of an <si> or <is> element: its <t> elements, phonetic runs left out.
QString inlineText(QXmlStreamReader& x)
{
    QString text;
    const QString end = x.name().toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"t")
                text += x.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (x.name() == u"rPh")
                x.skipCurrentElement();
        } else if (x.isEndElement() && x.name() == end) {
            break;
        }
    }
    return workbookUnescape(text);
}

bool cellRef(QStringView ref, int* row, int* col)
{
    qsizetype i = 0;
    qint64 c = 0;
    while (i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128) {
        c = c * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (c > kSheetMaxCols)
            return false;
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    qint64 r = 0;
    for (; i < ref.size(); ++i) {
        const char16_t u = ref[i].unicode();
        if (u < '0' || u > '9')
            return false;
        r = r * 10 + (u - '0');
        if (r > kSheetMaxRows)
            return false;
    }
    if (r < 1)
        return false;
    *row = int(r - 1);
    *col = int(c - 1);
    return true;
}

// ---------------------------------------------------------------- the parts, one by one

// The archive over the bytes of a workbook.
platform::Result openArchive(const QByteArray& bytes, ZipArchive& archive)
{
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &zerr);
    if (!src) {
        zip_error_fini(&zerr);
        return platform::Result::failure(QStringLiteral("mémoire insuffisante"));
    }
    archive.zip = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &zerr);
    zip_error_fini(&zerr);
    if (!archive.zip) {
        zip_source_free(src);
        return platform::Result::failure(QStringLiteral("ce n'est pas un classeur (.xlsx)"));
    }
    return platform::Result::success();
}

// The relationship id of the workbook's first sheet, from the workbook's description; empty
// when it names none.
platform::Result firstSheetRelation(zip_t* z, QString* id)
{
    QByteArray data;
    const QString bookPath = QStringLiteral("xl/workbook.xml");
    if (const Entry e = readEntry(z, bookPath, &data); e != Entry::Ok)
        return platform::Result::failure(
            partProblem(e, bookPath, QStringLiteral("ce n'est pas un classeur (.xlsx)")));
    QXmlStreamReader x(data);
    while (!x.atEnd() && id->isEmpty()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"sheet")
            *id = relId(x);
    }
    if (x.hasError() && id->isEmpty())
        return platform::Result::failure(QStringLiteral("description du classeur illisible"));
    return platform::Result::success();
}

// Where the first sheet and the shared texts are: as the workbook's relationships say, or
// where workbooks usually keep them. Relationships that are missing or damaged leave the usual
// places.
struct PartPaths
{
    QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    QString strings = QStringLiteral("xl/sharedStrings.xml");
};

platform::Result locateParts(zip_t* z, PartPaths* paths)
{
    QString sheetRel;
    if (platform::Result r = firstSheetRelation(z, &sheetRel); !r)
        return r;
    QByteArray data;
    const QString relsPath = QStringLiteral("xl/_rels/workbook.xml.rels");
    const Entry rels = readEntry(z, relsPath, &data);
    if (rels == Entry::TooLarge)
        return platform::Result::failure(partProblem(rels, relsPath, QString()));
    if (rels != Entry::Ok)
        return platform::Result::success();
    QXmlStreamReader x(data);
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement() || x.name() != u"Relationship")
            continue;
        const QString id = attr(x, QLatin1StringView("Id"));
        const QString type = attr(x, QLatin1StringView("Type"));
        const QString target = attr(x, QLatin1StringView("Target"));
        if (!sheetRel.isEmpty() && id == sheetRel)
            paths->sheet = resolve(target);
        else if (type.endsWith(QLatin1StringView("/sharedStrings")))
            paths->strings = resolve(target);
    }
    return platform::Result::success();
}

// The shared texts, by their number; none when the workbook has no such part.
platform::Result readSharedStrings(zip_t* z, const QString& path, QStringList* strings)
{
    const QString unreadable = QStringLiteral("table des textes illisible");
    QByteArray data;
    const Entry e = readEntry(z, path, &data);
    if (e == Entry::Missing)
        return platform::Result::success();
    if (e != Entry::Ok)
        return platform::Result::failure(partProblem(e, path, unreadable));
    QXmlStreamReader x(data);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"si")
            *strings << inlineText(x);
    }
    if (x.hasError())
        return platform::Result::failure(unreadable);
    return platform::Result::success();
}

struct SheetCell
{
    int row;
    int col;
    QString text;
    quint8 check;
};

// The cells of a sheet that hold something, and the last row and column used.
struct SheetCells
{
    std::vector<SheetCell> cells;
    int maxRow = -1;
    int maxCol = -1;
};

// The number of a <row>: its "r" attribute, or the one after the previous row.
platform::Result rowNumber(const QXmlStreamReader& x, int previousRow, int* row)
{
    const QString r = attr(x, QLatin1StringView("r"));
    bool ok = true;
    const int n = r.isEmpty() ? previousRow + 2 : r.toInt(&ok);
    if (!ok || n < 1 || n > kSheetMaxRows)
        return platform::Result::failure(QStringLiteral("numéro de ligne invalide dans la feuille"));
    *row = n - 1;
    return platform::Result::success();
}

// What a cell of the given type holds: a shared text, a check state, a text or a number as
// written.
platform::Result cellValue(const QString& type, const QString& value, bool inlineValue,
                           const QStringList& strings, SheetCell* cell)
{
    if (type == u"s") {
        bool ok = false;
        const int i = value.trimmed().toInt(&ok);
        if (!ok || i < 0 || i >= strings.size())
            return platform::Result::failure(QStringLiteral("texte partagé introuvable"));
        cell->text = strings[i];
    } else if (type == u"b") {
        const QString v = value.trimmed();
        if (v == u"1")
            cell->check = Grid::Checked;
        else if (v == u"0")
            cell->check = Grid::Unchecked;
        else
            cell->text = v;
    } else if (type == u"inlineStr" || inlineValue) {
        cell->text = value; // already unescaped
    } else if (type == u"str" || type == u"e") {
        cell->text = workbookUnescape(value);
    } else {
        cell->text = value; // numbers and dates as written
    }
    return platform::Result::success();
}

// One <c> element, the reader on its start: its place (its "r" reference, or the column after
// the previous cell of the row) and its value. The reader is left on its end.
platform::Result readCell(QXmlStreamReader& x, int row, int nextCol, const QStringList& strings,
                          SheetCell* cell)
{
    *cell = SheetCell{row, nextCol, QString(), 0};
    const QString ref = attr(x, QLatin1StringView("r"));
    if (!ref.isEmpty() && !cellRef(ref, &cell->row, &cell->col))
        return platform::Result::failure(
            QStringLiteral("référence de cellule invalide : %1").arg(ref.left(20)));
    if (cell->col >= kSheetMaxCols)
        return platform::Result::failure(QStringLiteral("trop de colonnes dans la feuille"));
    const QString type = attr(x, QLatin1StringView("t"));
    QString value;
    bool inlineValue = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"v")
                value = x.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (x.name() == u"is") {
                value = inlineText(x);
                inlineValue = true;
            } else
                x.skipCurrentElement();
        } else if (x.isEndElement() && x.name() == u"c") {
            break;
        }
    }
    return cellValue(type, value, inlineValue, strings, cell);
}

// The cells of the sheet at path.
platform::Result readSheet(zip_t* z, const QString& path, const QStringList& strings, SheetCells* sheet)
{
    QByteArray data;
    if (const Entry e = readEntry(z, path, &data); e != Entry::Ok)
        return platform::Result::failure(
            partProblem(e, path, QStringLiteral("feuille du classeur absente ou illisible")));
    QXmlStreamReader x(data);
    int currentRow = -1, nextCol = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == u"row") {
            if (platform::Result r = rowNumber(x, currentRow, &currentRow); !r)
                return r;
            nextCol = 0;
            continue;
        }
        if (x.name() != u"c")
            continue;
        if (currentRow < 0)
            return platform::Result::failure(QStringLiteral("cellule hors ligne dans la feuille"));
        SheetCell cell;
        if (platform::Result r = readCell(x, currentRow, nextCol, strings, &cell); !r)
            return r;
        nextCol = cell.col + 1;
        sheet->maxRow = std::max(sheet->maxRow, cell.row);
        sheet->maxCol = std::max(sheet->maxCol, cell.col);
        if (!cell.text.isEmpty() || cell.check != 0)
            sheet->cells.push_back(std::move(cell));
    }
    if (x.hasError())
        return platform::Result::failure(
            QStringLiteral("feuille illisible (XML incorrect à la ligne %1)").arg(x.lineNumber()));
    return platform::Result::success();
}

// The grid's cells from the sheet's: counts from its last used cell (the columns kept when the
// sheet has no cell), the fixed counts kept within them.
platform::Result fillContent(SheetCells& sheet, GridContent& content)
{
    const qint64 rows = sheet.maxRow + 1;
    const qint64 cols = sheet.maxCol >= 0 ? sheet.maxCol + 1 : content.cols;
    if (rows * std::max<qint64>(cols, 1) > kGridMaxCells)
        return platform::Result::failure(QStringLiteral("grille trop grande"));
    content.cols = int(cols);
    content.columns.resize(size_t(cols));
    content.rows.assign(size_t(rows), GridRow());
    for (GridRow& r : content.rows)
        r.cells.resize(content.cols);
    for (SheetCell& cell : sheet.cells) {
        GridRow& r = content.rows[size_t(cell.row)];
        r.cells[cell.col] = std::move(cell.text);
        if (cell.check != 0) {
            if (r.fmt.empty())
                r.fmt.resize(size_t(content.cols));
            r.fmt[size_t(cell.col)].check = cell.check;
        }
    }
    content.fixedRows = std::min(content.fixedRows, content.rowCount());
    content.fixedCols = std::min(content.fixedCols, content.cols);
    return platform::Result::success();
}

} // namespace

platform::Result readWorkbook(const QByteArray& bytes, GridContent& content)
{
    ZipArchive archive;
    if (platform::Result r = openArchive(bytes, archive); !r)
        return r;
    PartPaths paths;
    if (platform::Result r = locateParts(archive.zip, &paths); !r)
        return r;
    QStringList strings;
    if (platform::Result r = readSharedStrings(archive.zip, paths.strings, &strings); !r)
        return r;
    SheetCells sheet;
    if (platform::Result r = readSheet(archive.zip, paths.sheet, strings, &sheet); !r)
        return r;
    return fillContent(sheet, content);
}

} // namespace grid
