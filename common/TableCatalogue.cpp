#include "common/TableCatalogue.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"

#include <QFileInfo>

#include <utility>

using grid::GridFile;

namespace common {

namespace {

const ReferenceTable kEspeces{.setting = QStringLiteral("Fichier espèces"),
                              .fileName = QStringLiteral("Espèces.DOV"),
                              .loadFormat = GridFile::Complete,
                              .saveFormat = GridFile::Complete,
                              .header = QStringLiteral("|Classe|Espèce|Nom français|Nom scientifique|Saisie"),
                              .checkBoxColumns = {kSpeciesEntryColumn}};
const ReferenceTable kCarres{.setting = QStringLiteral("Fichier carrés"),
                             .fileName = QStringLiteral("Carrés.DOV"),
                             .loadFormat = GridFile::Complete,
                             .saveFormat = GridFile::Complete,
                             .header = QStringLiteral("|Département|N° carré|Longitude|Latitude"),
                             .checkBoxColumns = {}};
const ReferenceTable kReseaux{.setting = QStringLiteral("Fichier Réseaux"),
                              .fileName = QStringLiteral("Réseaux.DOV"),
                              .loadFormat = GridFile::Workbook,
                              .saveFormat = GridFile::Workbook,
                              .header = QStringLiteral("|Code|Nom|5mn"),
                              .checkBoxColumns = {}};
const ReferenceTable kMilieux{.setting = QStringLiteral("Fichier milieux SHOC"),
                              .fileName = QStringLiteral("Milieux_SHOC.DOV"),
                              .loadFormat = GridFile::Complete,
                              .saveFormat = GridFile::Complete,
                              .header = QStringLiteral("|^Code|Libellé"),
                              .checkBoxColumns = {}};
const ReferenceTable kComportements{
    .setting = QStringLiteral("Fichier comportements"),
    .fileName = QStringLiteral("Comportements.dov"),
    .loadFormat = GridFile::Workbook,
    .saveFormat = GridFile::Workbook,
    .header = QStringLiteral("|Classe|Code|Défaut|Liste_Restreinte|Libellé|Assurément_Nicheur|"
                             "Niveau|Age|Sexe|SFF|Nbr_Utilisation"),
    .checkBoxColumns = {}};
const ReferenceTable kAdresses{.setting = QStringLiteral("Adresses email"),
                               .fileName = QStringLiteral("email.DOV"),
                               .loadFormat = GridFile::Complete,
                               .saveFormat = GridFile::Complete,
                               .header = QStringLiteral("|Sélection|Adresse"),
                               .checkBoxColumns = {kAddressBoxColumn}};

} // namespace

ParamMode modeFromText(const QString& texte)
{
    static const QList<std::pair<QString, ParamMode>> modes = {
        {kModeSpecies, ParamMode::Species},
        {kModeSquares, ParamMode::Squares},
        {kModeNetworks, ParamMode::Networks},
        {kModeHabitats, ParamMode::Habitats},
        {kModeBehaviours, ParamMode::Behaviours},
        {kModeAddresses, ParamMode::Addresses},
        {kModeIdentification, ParamMode::Identification},
        {kModeFolder, ParamMode::Folder},
    };
    for (const auto& [t, m] : modes)
        if (t == texte)
            return m;
    return ParamMode::Unknown;
}

const ReferenceTable* paramTable(ParamMode mode)
{
    switch (mode) {
    case ParamMode::Species:
        return &kEspeces;
    case ParamMode::Squares:
        return &kCarres;
    case ParamMode::Networks:
        return &kReseaux;
    case ParamMode::Habitats:
        return &kMilieux;
    case ParamMode::Behaviours:
        return &kComportements;
    case ParamMode::Addresses:
        return &kAdresses;
    default:
        return nullptr;
    }
}

QString tablePath(const ReferenceTable& table)
{
    const QString defaut = joinPath(programFolder(), table.fileName);
    const QString setting = normalisePath(fun_Get_Setting_Str(kParametersSection, table.setting, defaut));
    if (setting.isEmpty())
        return QString();
    const QFileInfo chemin(setting);
    return writePath(chemin.path(), chemin.fileName());
}

QString tablePath(ParamMode mode)
{
    const ReferenceTable* table = paramTable(mode);
    return table ? tablePath(*table) : QString();
}

} // namespace common
