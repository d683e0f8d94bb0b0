#pragma once
// Filters of typed keys. Key codes are character codes (the Windows code page's 0-255 for the
// characters the program knows); a filter returns the code to keep, or 0 to drop the key.
// fun_KeyPress_Chiffres, which needs the active field and shows a message, is in
// common/GridWidgets; its decision is common::filterDigitKey here.

#include <QChar>
#include <QString>

// Keeps the key when its character is in permis, or, without permis, when its code lies in
// 0-31, 45, 48-57, 65-90, 87-122, 127-159 or 192-255. Shows nothing.
int fun_Car_Dans_Plages(int cle, const QString& permis = QString());

// The code of the key's character in capitals.
int fun_Majuscule_Sans_Accent(int cle);
// The text with à ä â, é è ê ë, ï î, ô ö, û ü ù and ç replaced by A, E, I, O, U and C (lower-case
// letters only), then in capitals.
QString fun_Majuscule_Sans_Accent(const QString& texte);

namespace common {

// The decision of the digits filter for one key.
struct DigitsDecision
{
    int key = 0;               // the key to keep, 0 when refused
    bool caretToStart = false; // a sign that passes in a field goes in front
};
// Digits, the allowed character, control codes (0-31, 127-159) pass. The decimal separator
// passes in a grid cell, and in a field holding none yet. "-" and "+" pass in a grid cell; in a
// field, a sign is refused when the text already holds "-" or "+", otherwise it passes and goes
// to the start of the text.
DigitsDecision filterDigitKey(int cle, const QString& permis, QChar separateurDecimal, bool celluleGrille,
                              const QString& texteChamp);
// "Veuillez saisir uniquement des chiffres", followed by " et " and the allowed character when
// one is given.
QString digitsOnlyMessage(const QString& permis);

// The first item that begins with the text, case ignored; -1 when none.
int findItemStartingWith(const QStringList& items, const QString& texte);
// The first item whose whole text is the text, letter case and surrounding blanks aside (never an
// item that merely begins with it); -1 when none is, or when the text is blank.
int findItemIgnoringCase(const QStringList& items, const QString& texte);

} // namespace common
