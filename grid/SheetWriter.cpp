#include "grid/SheetWriter.h"

#include "grid/GridWorkbook.h"
#include "platform/SaveFile.h"

#include <QFile>

#include <xlsxwriter.h>

#include <cerrno>

namespace grid {

namespace {

// The reason, in French, why the workbook module failed (its error number), with the system's
// error number (errno) for failures of the files it puts the workbook together in.
QString writerReason(lxw_error writerError, int errorNumber)
{
    switch (writerError) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("mémoire insuffisante");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        // The workbook is put together in the temporary folder: a full disk shows here first.
        return platform::fileErrorReason(errorNumber);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("un texte dépasse 32 767 caractères");
    default:
        return QStringLiteral("le classeur ne peut pas être produit (erreur %1 du module des classeurs)")
            .arg(int(writerError));
    }
}

} // namespace

SheetWriter::SheetWriter(Rows rows)
{
    if (!m_folder.isValid()) {
        fail(QStringLiteral("aucun dossier temporaire disponible"));
        return;
    }
    m_path = m_folder.filePath(QStringLiteral("classeur.xlsx"));
    QByteArray tmpdir = QFile::encodeName(m_folder.path());
    lxw_workbook_options options{};
    options.constant_memory = rows == Rows::ToDisk ? LXW_TRUE : LXW_FALSE;
    options.tmpdir = tmpdir.data();
    m_book = workbook_new_opt(QFile::encodeName(m_path).constData(), &options);
    if (!m_book)
        fail(QStringLiteral("le classeur ne peut pas être créé"));
}

SheetWriter::~SheetWriter()
{
    if (m_book)
        workbook_close(m_book);
}

platform::Result SheetWriter::status() const
{
    return m_failure.isEmpty() ? platform::Result::success() : platform::Result::failure(m_failure);
}

bool SheetWriter::fail(const QString& why)
{
    if (m_failure.isEmpty())
        m_failure = why;
    return false;
}

// True when the module succeeded; otherwise keeps its reason, errno read at once as the module
// leaves it.
bool SheetWriter::noError(int writerError)
{
    if (writerError == LXW_NO_ERROR)
        return true;
    return fail(writerReason(lxw_error(writerError), errno));
}

SheetFormat SheetWriter::addFormat(const CellStyle& style)
{
    SheetFormat format;
    if (!m_book)
        return format;
    lxw_format* f = workbook_add_format(m_book);
    if (!f) {
        fail(writerReason(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
        return format;
    }
    if (!style.fontName.isEmpty())
        format_set_font_name(f, style.fontName.toUtf8().constData());
    if (style.verticallyCentred)
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    if (style.thinBorder)
        format_set_border(f, LXW_BORDER_THIN);
    if (!style.numberFormat.isEmpty())
        format_set_num_format(f, style.numberFormat.constData());
    if (style.fontSize)
        format_set_font_size(f, *style.fontSize);
    if (style.italic)
        format_set_italic(f);
    if (style.bold)
        format_set_bold(f);
    if (style.fill) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, *style.fill);
    }
    format.m_format = f;
    return format;
}

bool SheetWriter::addSheet(const QString& name, int number)
{
    if (!m_book || !m_failure.isEmpty())
        return false;
    // Beside what the library checks, a workbook refuses an empty name, a name beginning or
    // ending with an apostrophe, and "History".
    const auto accepted = [&](const QString& n) {
        return workbook_validate_sheet_name(m_book, n.toUtf8().constData()) == LXW_NO_ERROR;
    };
    QString chosen = name;
    const bool refused = name.isEmpty() || name.startsWith(u'\'') || name.endsWith(u'\'') ||
                         name.compare(QLatin1StringView("History"), Qt::CaseInsensitive) == 0;
    if (refused || !accepted(name)) {
        for (int n = number;; ++n) {
            chosen = QStringLiteral("Feuil%1").arg(n);
            if (accepted(chosen))
                break;
        }
    }
    m_sheet = workbook_add_worksheet(m_book, chosen.toUtf8().constData());
    if (!m_sheet)
        return fail(QStringLiteral("la feuille « %1 » ne peut pas être ajoutée").arg(chosen));
    return true;
}

void SheetWriter::setColumn(int col, double width, SheetFormat format)
{
    if (m_sheet && m_failure.isEmpty())
        worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), width, format.m_format);
}

void SheetWriter::setColumnFormat(int col, SheetFormat format) { setColumn(col, LXW_DEF_COL_WIDTH, format); }

// UTF-8 written straight into the buffer kept from cell to cell; a text holding what must be
// escaped (or an underscore, which might read as an escape) goes through workbookEscape.
const char* SheetWriter::utf8(QStringView s)
{
    std::string& buffer = m_utf8;
    buffer.clear();
    const char16_t* p = s.utf16();
    const qsizetype n = s.size();
    bool escape = false;
    for (qsizetype i = 0; i < n && !escape; ++i) {
        const char16_t u = p[i];
        if (u < 0x80) {
            escape = u == u'_' || (u < 0x20 && u != u'\t' && u != u'\n');
            buffer += char(u);
        } else if (u < 0x800) {
            buffer += char(0xC0 | (u >> 6));
            buffer += char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            const char32_t c = QChar::surrogateToUcs4(u, p[++i]);
            buffer += char(0xF0 | (c >> 18));
            buffer += char(0x80 | ((c >> 12) & 0x3F));
            buffer += char(0x80 | ((c >> 6) & 0x3F));
            buffer += char(0x80 | (c & 0x3F));
        } else if (QChar::isSurrogate(u) || u >= 0xFFFE) {
            escape = true;
        } else {
            buffer += char(0xE0 | (u >> 12));
            buffer += char(0x80 | ((u >> 6) & 0x3F));
            buffer += char(0x80 | (u & 0x3F));
        }
    }
    if (!escape)
        return buffer.c_str();
    const QByteArray escaped = workbookEscape(s.toString()).toUtf8();
    buffer.assign(escaped.constData(), size_t(escaped.size()));
    return buffer.c_str();
}

bool SheetWriter::writeText(int row, int col, QStringView text, SheetFormat format)
{
    if (!m_sheet || !m_failure.isEmpty())
        return false;
    return noError(
        worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col), utf8(text), format.m_format));
}

bool SheetWriter::writeNumber(int row, int col, double value, SheetFormat format)
{
    if (!m_sheet || !m_failure.isEmpty())
        return false;
    return noError(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value, format.m_format));
}

bool SheetWriter::writeBoolean(int row, int col, bool value, SheetFormat format)
{
    if (!m_sheet || !m_failure.isEmpty())
        return false;
    return noError(
        worksheet_write_boolean(m_sheet, lxw_row_t(row), lxw_col_t(col), value ? 1 : 0, format.m_format));
}

bool SheetWriter::writeBlank(int row, int col, SheetFormat format)
{
    if (!m_sheet || !m_failure.isEmpty())
        return false;
    return noError(worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(col), format.m_format));
}

platform::Result SheetWriter::finish(QByteArray* bytes)
{
    if (!m_book)
        return status(); // the workbook was never made, or is finished already
    errno = 0;
    const lxw_error err = workbook_close(m_book);
    m_book = nullptr;
    m_sheet = nullptr;
    noError(err);
    if (!m_failure.isEmpty() || !bytes)
        return status();
    QFile f(m_path);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly))
        return platform::Result::failure(writerReason(LXW_ERROR_READING_TMPFILE, errno));
    *bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return platform::Result::failure(writerReason(LXW_ERROR_READING_TMPFILE, errno));
    return platform::Result::success();
}

} // namespace grid
