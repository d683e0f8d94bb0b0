#include "data/StarterTables.h"

#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

using grid::Grid;
using grid::GridFile;

const QList<data::StarterTable>& data::starterTables()
{
    static const QList<data::StarterTable> tables = {
        {QStringLiteral(":/tables/Especes.tsv"), QStringLiteral("Espèces.DOV"), GridFile::Complete, {5}},
        {QStringLiteral(":/tables/Carres.tsv"), QStringLiteral("Carrés.DOV"), GridFile::Complete, {}},
        {QStringLiteral(":/tables/Reseaux.tsv"), QStringLiteral("Réseaux.DOV"), GridFile::Workbook, {}},
        {QStringLiteral(":/tables/Milieux_SHOC.tsv"),
         QStringLiteral("Milieux_SHOC.DOV"),
         GridFile::Complete,
         {}},
        {QStringLiteral(":/tables/Comportements.tsv"),
         QStringLiteral("Comportements.dov"),
         GridFile::Workbook,
         {}},
        {QStringLiteral(":/tables/Comportements_SHOC.tsv"),
         QStringLiteral("Comportements_SHOC.dov"),
         GridFile::Workbook,
         {}},
        {QStringLiteral(":/tables/Communes.tsv"), QStringLiteral("Communes.DOV"), GridFile::Complete, {}},
    };
    return tables;
}

QString data::gridFromText(Grid& grille, const QString& texte, const QList<int>& checkBoxColumns)
{
    QStringList lignes = texte.split(QLatin1Char('\n'));
    for (QString& l : lignes)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lignes.isEmpty() && lignes.last().isEmpty())
        lignes.removeLast();
    if (lignes.isEmpty() || lignes.first().trimmed().isEmpty())
        return QStringLiteral("la table n'a pas de ligne d'en-tête");

    const QStringList titres = lignes.first().split(QLatin1Char('\t'));
    const int colonnes = int(titres.size()) + 1;
    for (int c : checkBoxColumns)
        if (c < 1 || c >= colonnes)
            return QStringLiteral("la colonne de cases %1 n'existe pas").arg(c);

    Grid g;
    g.setFormatString(QLatin1Char('|') + titres.join(QLatin1Char('|')));
    g.setRows(int(lignes.size()));
    for (int c : checkBoxColumns)
        g.setColDataType(c, Grid::DataType::Boolean);
    for (int r = 1; r < lignes.size(); ++r) {
        const QStringList cellules = lignes.at(r).split(QLatin1Char('\t'));
        if (cellules.size() > titres.size())
            return QStringLiteral("la ligne %1 a %2 cellules pour %3 colonnes")
                .arg(r + 1)
                .arg(cellules.size())
                .arg(titres.size());
        for (int i = 0; i < cellules.size(); ++i) {
            const int c = i + 1;
            const QString& v = cellules.at(i);
            if (checkBoxColumns.contains(c)) {
                if (v != QLatin1String("1") && v != QLatin1String("2") && !v.isEmpty())
                    return QStringLiteral("la ligne %1 a « %2 » dans une colonne de cases (1 ou 2 attendu)")
                        .arg(r + 1)
                        .arg(v);
                g.setCheckState(r, c, v == QLatin1String("1") ? Grid::Checked : Grid::Unchecked);
            } else {
                g.setCell(r, c, v);
            }
        }
        for (int c : checkBoxColumns)
            if (c > cellules.size())
                g.setCheckState(r, c, Grid::Unchecked);
    }
    g.setFixedRows(1);
    g.setFixedCols(1);
    grille.copyFrom(g);
    return QString();
}

QString data::starterGrid(Grid& grille, const data::StarterTable& table)
{
    QFile f(table.resource);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("la table « %1 » manque au programme").arg(table.fileName);
    const QString error = data::gridFromText(grille, QString::fromUtf8(f.readAll()), table.checkBoxColumns);
    return error.isEmpty() ? error : QStringLiteral("table « %1 » : %2").arg(table.fileName, error);
}

namespace {

// Writes the table as a new file of the folder: the file appears complete or not at all, and a
// file of that name, even one that appeared since the first look, is never replaced.
data::TableInstallation installTable(const QString& dossier, const data::StarterTable& table)
{
    data::TableInstallation r{table.fileName, data::InstallState::Failed, {}};
    if (!common::findFile(dossier, table.fileName).isEmpty()) {
        r.state = data::InstallState::AlreadyThere;
        return r;
    }
    Grid grille;
    if (const QString error = data::starterGrid(grille, table); !error.isEmpty()) {
        r.error = error;
        return r;
    }
    const platform::Result ecrit =
        GridFile::saveNew(grille, common::joinPath(dossier, table.fileName), table.format, true);
    if (ecrit)
        r.state = data::InstallState::Installed;
    else if (!common::findFile(dossier, table.fileName).isEmpty())
        r.state = data::InstallState::AlreadyThere; // taken meanwhile
    else
        r.error = ecrit.error;
    return r;
}

} // namespace

QList<data::TableInstallation> data::installStarterTables(const QString& programFolder)
{
    QList<data::TableInstallation> resultats;
    const QString dossier = common::normalisePath(programFolder);
    const bool dossierPret = !dossier.isEmpty() && QDir().mkpath(dossier) && QFileInfo(dossier).isDir();
    for (const data::StarterTable& table : data::starterTables()) {
        if (!dossierPret) {
            resultats.append({table.fileName, data::InstallState::Failed,
                              QStringLiteral("Le dossier « %1 » ne peut pas être créé.").arg(programFolder)});
            continue;
        }
        resultats.append(installTable(dossier, table));
    }
    return resultats;
}
