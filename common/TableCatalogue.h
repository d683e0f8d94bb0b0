#pragma once
// The reference tables that the settings window edits and the record window, the start-up, the
// mail and the export read:
// the settings window's modes, and for each mode with a table its path setting, its file, the
// grid file codes it is loaded and saved with and the header it gets when its file cannot be read.

#include <QList>
#include <QString>

namespace common {

// Mode texts, as the main window hands them to the settings window (compared exactly).
inline const QString kModeSpecies = QStringLiteral("Codes espèces");
inline const QString kModeSquares = QStringLiteral("Codes carrés");
inline const QString kModeNetworks = QStringLiteral("Codes réseaux");
inline const QString kModeHabitats = QStringLiteral("Codes milieux");
inline const QString kModeBehaviours = QStringLiteral("Codes comportementaux");
inline const QString kModeAddresses = QStringLiteral("Adresses courriel de votre correspondant");
inline const QString kModeIdentification = QStringLiteral("Indentification de votre Gadrel");
inline const QString kModeFolder = QStringLiteral("Dossier de travail");

enum class ParamMode {
    Unknown,
    Species,
    Squares,
    Networks,
    Habitats,
    Behaviours,
    Addresses,
    Identification,
    Folder
};

// The mode of a mode text; Unknown for any other text.
ParamMode modeFromText(const QString& texte);

// The species table's check-box column "Saisie", and the address book's "Sélection".
inline constexpr int kSpeciesEntryColumn = 5;
inline constexpr int kAddressBoxColumn = 1;

// A reference table: its path setting in "Paramètres", its default file name in the program's
// folder, the grid file codes it is loaded and saved with, and the header (a format string) it
// gets when its file cannot be loaded, with its check-box columns.
struct ReferenceTable
{
    QString setting;
    QString fileName;
    int loadFormat = 0;
    int saveFormat = 0;
    QString header;
    QList<int> checkBoxColumns;
};
// nullptr for the modes without a table (identification, data folder, unknown).
const ReferenceTable* paramTable(ParamMode mode);

// The table's file: the setting, by default the program's folder and the file name; "\" read
// as a separator; an existing file whose name differs only in letter case is the one used; an
// empty setting names no file (empty). Every reader and writer of a reference table finds its
// file here and nowhere else.
QString tablePath(const ReferenceTable& table);
QString tablePath(ParamMode mode);

} // namespace common
