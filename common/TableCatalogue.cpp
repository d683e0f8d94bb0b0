#include "common/TableCatalogue.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"

#include <QFileInfo>

#include <utility>

using grid::GridFile;

namespace common {

namespace {

const ReferenceTable kEspeces{.valeur = QStringLiteral("Fichier espèces"),
                              .fichier = QStringLiteral("Espèces.DOV"),
                              .formatChargement = GridFile::Complete,
                              .formatSauvegarde = GridFile::Complete,
                              .entete = QStringLiteral("|Classe|Espèce|Nom français|Nom scientifique|Saisie"),
                              .colonnesCases = {kSpeciesEntryColumn}};
const ReferenceTable kCarres{.valeur = QStringLiteral("Fichier carrés"),
                             .fichier = QStringLiteral("Carrés.DOV"),
                             .formatChargement = GridFile::Complete,
                             .formatSauvegarde = GridFile::Complete,
                             .entete = QStringLiteral("|Département|N° carré|Longitude|Latitude"),
                             .colonnesCases = {}};
const ReferenceTable kReseaux{.valeur = QStringLiteral("Fichier Réseaux"),
                              .fichier = QStringLiteral("Réseaux.DOV"),
                              .formatChargement = GridFile::Workbook,
                              .formatSauvegarde = GridFile::Workbook,
                              .entete = QStringLiteral("|Code|Nom|5mn"),
                              .colonnesCases = {}};
const ReferenceTable kMilieux{.valeur = QStringLiteral("Fichier milieux SHOC"),
                              .fichier = QStringLiteral("Milieux_SHOC.DOV"),
                              .formatChargement = GridFile::Complete,
                              .formatSauvegarde = GridFile::Complete,
                              .entete = QStringLiteral("|^Code|Libellé"),
                              .colonnesCases = {}};
const ReferenceTable kComportements{
    .valeur = QStringLiteral("Fichier comportements"),
    .fichier = QStringLiteral("Comportements.dov"),
    .formatChargement = GridFile::Workbook,
    .formatSauvegarde = GridFile::Workbook,
    .entete = QStringLiteral("|Classe|Code|Défaut|Liste_Restreinte|Libellé|Assurément_Nicheur|"
                             "Niveau|Age|Sexe|SFF|Nbr_Utilisation"),
    .colonnesCases = {}};
const ReferenceTable kAdresses{.valeur = QStringLiteral("Adresses email"),
                               .fichier = QStringLiteral("email.DOV"),
                               .formatChargement = GridFile::Complete,
                               .formatSauvegarde = GridFile::Complete,
                               .entete = QStringLiteral("|Sélection|Adresse"),
                               .colonnesCases = {kAddressBoxColumn}};

} // namespace

ParamMode modeFromText(const QString& texte)
{
    static const QList<std::pair<QString, ParamMode>> modes = {
        {kModeSpecies, ParamMode::Espèces},
        {kModeSquares, ParamMode::Carrés},
        {kModeNetworks, ParamMode::Réseaux},
        {kModeHabitats, ParamMode::Milieux},
        {kModeBehaviours, ParamMode::Comportements},
        {kModeAddresses, ParamMode::Adresses},
        {kModeIdentification, ParamMode::Identification},
        {kModeFolder, ParamMode::Dossier},
    };
    for (const auto& [t, m] : modes)
        if (t == texte)
            return m;
    return ParamMode::Inconnu;
}

const ReferenceTable* paramTable(ParamMode mode)
{
    switch (mode) {
    case ParamMode::Espèces:
        return &kEspeces;
    case ParamMode::Carrés:
        return &kCarres;
    case ParamMode::Réseaux:
        return &kReseaux;
    case ParamMode::Milieux:
        return &kMilieux;
    case ParamMode::Comportements:
        return &kComportements;
    case ParamMode::Adresses:
        return &kAdresses;
    default:
        return nullptr;
    }
}

QString tablePath(ParamMode mode)
{
    const ReferenceTable* table = paramTable(mode);
    if (!table)
        return QString();
    const QString defaut = joinPath(programFolder(), table->fichier);
    const QFileInfo chemin(normalisePath(fun_Get_Setting_Str(kParametersSection, table->valeur, defaut)));
    return writePath(chemin.path(), chemin.fileName());
}

} // namespace common
