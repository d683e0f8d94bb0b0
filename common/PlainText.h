#pragma once
// Values typed on one line (a commune, a name, an address, a cell of a grid) and the names of
// files: what they may not hold. A tab, a line break or another control character pasted into a
// box would go into a record file's cell as it is, and from there into a file name, a workbook
// or a list; such a value is refused with a reason that names the character and where it stands.

#include "platform/Result.h"

#include <QChar>
#include <QString>

namespace common {

// The characters a value of one line or a name cannot show as they are: the control characters
// (C0, DEL, C1), the line and paragraph separators, and the marks that change the direction of
// the text, which make a value read otherwise than it is.
bool isControlCharacter(QChar c);

// The character as a reason names it: "une tabulation (U+0009)", "un saut de ligne (U+000A)",
// "un retour chariot (U+000D)", otherwise "un caractère de contrôle (U+0085)".
QString controlCharacterName(QChar c);

// A value of one line: refused when it holds such a character. what names the value with its
// article, as a sentence begins ("Le nom de la commune"); the reason names the first such
// character and the text that comes before it.
platform::Result checkSingleLine(const QString& what, const QString& value);

} // namespace common
