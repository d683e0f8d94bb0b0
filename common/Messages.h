#pragma once
// The numbered message catalogue and its box. A message number picks the header (type and
// reference "#MB"), the icon and the text builder of its thousand; an optional error block and
// the caller's complement text complete the prompt, shown in a modal box with an OK button.

#include <QList>
#include <QString>

namespace common {

// A box ready to be shown: prompt, Windows style number and title.
struct PreparedBox
{
    QString text;
    int style = 0;
    QString title;
    bool operator==(const PreparedBox&) const = default;
};

// Title of every catalogue message box: a leading blank, no program name in front.
inline const QString kMessagesTitle = QStringLiteral(" [Gestion des messages]");

// Builds the box of a numbered message without showing it. The error block ("Erreur #", the
// number, the description) follows the header when there is an error number; a description
// given without a number follows the header alone.
PreparedBox buildMessageBox(qint16 number, qint32 errorNumber, const QString& errorDescription,
                            QString complement);

// The builders of the catalogue, in the order of the thousands.
enum class MessageBuilder { Logic, Input, Security, Information, ProcessingError };
// The numbers that have an entry in a builder, ascending.
QList<qint16> messageNumbers(MessageBuilder constructeur);

// A catalogue text with its markers replaced in one pass, so that a complement holding
// marker-like text shows as typed: {C} the complement (and *complementUtilise set), {Ct} the
// complement without its surrounding blanks, {E} the error description, {P} the program's name,
// {PM} the program's name in capitals.
QString fillTemplate(const QString& modele, const QString& complement, const QString& descriptionErreur,
                     bool* complementUtilise = nullptr);

} // namespace common

// The five text builders, one per thousand. Each returns the catalogue text of the number
// (empty when the number has no entry). The complement is the caller's working copy: a builder
// empties it when its entry splices it into the text or drops it. Only
// fun_Msg_Erreur_Traitement reads the error description; no builder reads the error number.
QString fun_Msg_Logique(qint16 number, qint32 errorNumber, const QString& errorDescription,
                        QString& complement);
QString fun_Msg_Saisie(qint16 number, qint32 errorNumber, const QString& errorDescription,
                       QString& complement);
QString fun_Msg_Securite(qint16 number, qint32 errorNumber, const QString& errorDescription,
                         QString& complement);
QString fun_Msg_Information(qint16 number, qint32 errorNumber, const QString& errorDescription,
                            QString& complement);
QString fun_Msg_Erreur_Traitement(qint16 number, qint32 errorNumber, const QString& errorDescription,
                                  QString& complement);

// Shows the numbered message in a modal box (OK only) and returns when it is closed. The
// caller's complement is never changed.
void sub_Message(qint16 number, qint32 errorNumber, const QString& errorDescription, QString complement);
