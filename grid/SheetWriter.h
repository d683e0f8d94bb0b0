#pragma once
// The one workbook writer of the program, on libxlsxwriter: the grid's own workbooks (file code
// 6) and the exports of sub_Export_Excel are both written through it. A workbook is put together
// in a temporary folder of the writer's own, a sheet at a time; the caller then takes the
// finished file (its path or its bytes) once finish() succeeded.
//
// The first failure is kept and ends the writing: later calls do nothing and return false, and
// status() and finish() give its reason in French (a full disk said as such), without the file's
// name, which the caller adds. Texts are written as UTF-8, what an .xlsx cannot carry written
// "_xHHHH_" (workbookEscape), so that every workbook of the program reads back alike.

#include "platform/Result.h"
#include "platform/TemporaryFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace grid {

// Limits of a worksheet and of a cell text.
inline constexpr int kSheetMaxRows = 1'048'576;
inline constexpr int kSheetMaxCols = 16'384;
inline constexpr int kSheetMaxTextLength = 32'767;

// How cells of a format look. What is left unset is the workbook's default.
struct CellStyle
{
    QString fontName; // empty: the workbook's font
    std::optional<double> fontSize;
    bool bold = false;
    bool italic = false;
    bool thinBorder = false;
    bool verticallyCentred = false;
    std::optional<quint32> fill; // solid background, 0xRRGGBB
    QByteArray numberFormat;     // "dd/mm/yyyy", "@"...; empty: general
};

// A format of one workbook, made by its writer's addFormat(); a default-made one is no format.
class SheetFormat
{
public:
    explicit operator bool() const { return m_format != nullptr; }

private:
    friend class SheetWriter;
    lxw_format* m_format = nullptr;
};

class SheetWriter
{
public:
    // Where the rows of a sheet wait until the workbook is finished: in memory, texts shared
    // between cells; or on disk as soon as the next row is begun, each text in its cell (for
    // large exports: rows must then be written in order).
    enum class Rows { InMemory, ToDisk };

    explicit SheetWriter(Rows rows = Rows::InMemory);
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    // Success so far, or the reason of the first failure.
    platform::Result status() const;

    // A new format; an empty style gives a format of its own all the same (a blank cell is only
    // written with a format).
    SheetFormat addFormat(const CellStyle& style = {});

    // Adds a sheet after the others; the cells written next go there. A name the workbook
    // refuses (too long, characters it forbids, a name already used, an empty name, a name
    // beginning or ending with an apostrophe, "History") gives "Feuil" and the first free
    // number from number on.
    bool addSheet(const QString& name, int number);
    // A column's width in characters, and the format of its empty cells (none when null).
    void setColumn(int col, double width, SheetFormat format = {});
    // The same at the workbook's default width.
    void setColumnFormat(int col, SheetFormat format);

    // Cells of the current sheet, rows and columns from 0. A blank cell without a format is not
    // written.
    bool writeText(int row, int col, QStringView text, SheetFormat format = {});
    bool writeNumber(int row, int col, double value, SheetFormat format = {});
    bool writeBoolean(int row, int col, bool value, SheetFormat format = {});
    bool writeBlank(int row, int col, SheetFormat format);

    // Completes the workbook file, and reads it whole into bytes when asked; nothing can be
    // written after it.
    platform::Result finish(QByteArray* bytes = nullptr);
    // The workbook's file, in the writer's temporary folder (removed with the writer).
    QString path() const { return m_path; }

private:
    bool noError(int writerError);
    bool fail(const QString& why);
    const char* utf8(QStringView text);

    platform::TemporaryFolder m_folder;
    QString m_path;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    QString m_failure;
    std::string m_utf8; // the last text written, kept from cell to cell
};

} // namespace grid
