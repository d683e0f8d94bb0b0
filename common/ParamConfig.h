#pragma once
// Configuration of the settings window and of the export: the national coordination mailboxes
// that the address book always holds, and where the sibling product Gadrel keeps what the
// identification reads. Change these lines, and only these, when a survey's coordination or the
// sibling product moves.

#include <QString>
#include <QStringList>

namespace common {

// The national coordinators' mailboxes of the SHOC and STOC-EPS schemes. The address book always
// holds the SHOC one; a ticked STOC-EPS one is switched to the SHOC one.
inline const QString kShocCoordinationAddress = QStringLiteral("coordination.shoc@mirelot.example");
inline const QString kStocEpsCoordinationAddress = QStringLiteral("coordination.stoc-eps@mirelot.example");

// The sibling product's settings: its program name in the settings store, the section of its
// first database, the values read and their defaults ("Fin": the product is not installed).
inline const QString kGadrelProgram = QStringLiteral("Gadrel");
inline const QString kGadrelSection = QStringLiteral("Références fichiers\\#1");
inline const QString kEngineValue = QStringLiteral("Moteur");
inline const QString kNoEngine = QStringLiteral("Fin");
inline const QString kDatabaseValue = QStringLiteral("Base");
inline const QString kNoDatabase = QStringLiteral("Non applicable");

// The sibling product's table of computers and the fields read from it.
inline const QString kComputersTable = QStringLiteral("TPOrdinateurs");
inline const QString kOrganisationField = QStringLiteral("Organisme");
inline const QString kCpuField = QStringLiteral("CPU");
inline const QString kComputerField = QStringLiteral("Ordinateur");

// The choice of computer is kept in "Paramètres" under these names followed by the scheme.
inline const QString kCpuChoiceValue = QStringLiteral("Indentification de votre Gadrel : CPU ");
inline const QString kOrganisationChoiceValue =
    QStringLiteral("Indentification de votre Gadrel : Organisme ");

// The data folder's setting in "Paramètres".
inline const QString kFolderValue = QStringLiteral("Dossier");

} // namespace common
