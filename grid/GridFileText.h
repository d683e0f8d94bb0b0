#pragma once
// The text files of a grid (codes 4 and 5): cells between separators, rows between row
// separators; used by GridFile only.

#include "grid/GridData.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace grid::gridfile {

// The text of a grid: the whole grid with its fixed cells, otherwise the cells below the fixed
// rows and right of the fixed columns.
QByteArray toText(const GridContent& c, bool withFixed, const QString& cellSep, const QString& rowSep);

// The content a text file's bytes give a grid whose content is `current`; path is the file named
// in a failure's reason.
platform::ResultOf<GridContent> textContent(const GridContent& current, const QByteArray& bytes,
                                            const QString& path, const QString& cellSep,
                                            const QString& rowSep);

} // namespace grid::gridfile
