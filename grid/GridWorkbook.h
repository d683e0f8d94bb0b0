#pragma once
// The .xlsx form of a grid (file code 6): written with the sheet writer (SheetWriter), read with
// libzip and QXmlStreamReader. Used by GridFile only, and its escapes by the sheet writer.

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace grid {

struct GridContent;

// Writes the grid (all of it with fixed cells, else from the first non-fixed row and column) as
// a workbook of one sheet: non-empty texts as text cells, cells with a check state and no text
// as TRUE or FALSE.
// The reason of a failure names no file.
platform::ResultOf<QByteArray> writeWorkbook(const GridContent& grid, bool withFixedCells);

// Reads the first sheet of a workbook into content, from cell A1 into (0, 0): counts from the
// sheet's last used cell, texts, numbers as written, TRUE and FALSE as check states. The fixed
// counts and column settings already in content are kept, within the new counts. A part of the
// workbook that would expand beyond 128 MiB, or beyond a hundred times its compressed size (when
// over 1 MiB), is refused before it is read. The reason of a failure names no file.
platform::Result readWorkbook(const QByteArray& bytes, GridContent& content);

// Texts inside a workbook: characters XML cannot carry are written "_xHHHH_", and an underscore
// that would read as such an escape is written "_x005F_".
QString workbookEscape(const QString& text);
QString workbookUnescape(const QString& text);

} // namespace grid
