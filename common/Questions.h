#pragma once
// The numbered question catalogue and its box. A dialogue number picks the header (type and
// reference "#DL") and the catalogue entry, which gives the question and its buttons and icon;
// the answer is the Windows code of the button pressed.

#include "common/Messages.h"

#include <QList>
#include <QString>

namespace common {

// Title of every question box: the program's name, then " [Gestion des messages]".
QString questionTitle();

// Builds the box of a numbered question without showing it. The complement is spliced into the
// question by the entries that name something, otherwise it ends the prompt after a blank.
PreparedBox buildQuestionBox(qint16 number, QString complement = QString());

// The numbers that have an entry in the catalogue, ascending.
QList<qint16> questionNumbers();

} // namespace common

// Asks the numbered question and returns the code of the button pressed (1 OK, 2 Cancel,
// 4 Retry, 6 Yes, 7 No).
qint16 fun_Dialogue(qint16 number, QString complement = QString());
// The same, storing the answer into the caller's variable (gint_Réponse_Dialogue for the main
// window).
void fun_Dialogue(qint16 number, qint16& answer, QString complement);
