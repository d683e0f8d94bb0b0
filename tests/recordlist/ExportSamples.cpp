#include "tests/recordlist/ExportSamples.h"

#include "common/Paths.h"
#include "platform/Grid.h"
#include "platform/GridFile.h"
#include "record/RecordLayout.h"
#include "record/RecordStore.h"

#include <gtest/gtest.h>

namespace export_samples {

using namespace record;

SurveyRecord oneParcel()
{
    SurveyRecord r;
    r.department = "07 - Ardèche";
    r.commune = "Privas";
    r.placeName = "Les Blaches";
    r.siteName = "SHOC-07~Privas~Les Blaches~MARTIN Anne~Hiver 2009-2010";
    r.habitatType = "CH - Culture de céréales d’hiver";
    r.network = "SHOC / Suivi hivernal des oiseaux communs";
    r.observerName = "MARTIN";
    r.observerFirstName = "Anne";
    r.email = "anne.martin@exemple.fr";
    r.season = "Hiver 2009-2010";
    r.date = "14/01/2010";
    r.passage = 1;
    r.coordinateType = kCoordLambert;

    Parcel p;
    p.location = {"07 - Ardèche", "Privas", "Les Blaches", "31", "784512", "1965432", "FL12",
                  "600",          "250",    false,         true, "784512", "1965432", ""};
    p.habitats[0] = p.habitats[4] = true;
    p.weather = {"1", "2", "1", "3"};
    p.startTime = "08:30";
    p.duration = "00:40";
    p.species =
        SpeciesTable{{"O", "ALAARV", "Alouette des champs", {"3", "", "2", ""}, "7", "O~NI Nourrissage"},
                     {"O", "PICXXX", "Pie bavarde", {"", "1", "", ""}, "1", ""},
                     {"O", "EMBCIT", "Bruant jaune", {"2", "", "", "3"}, "4", ""}};
    r.parcels = {p};
    return r;
}

void writeGrid(const SurveyRecord& r, platform::Grid& grid)
{
    RecordLayout::write(r, grid);
}

const QStringList& habitatCodes()
{
    static const QStringList codes = {"PA", "SN", "CH", "AC", "MA", "VG", "VI", "XX", "FO",
                                      "AI", "HA", "PE", "HT", "CE", "CM", "RT", "FI", "RC"};
    return codes;
}

recordlist::ExportSettings settings(bool withLocality)
{
    recordlist::ExportSettings s;
    s.withLocality = withLocality;
    s.organisme = "LPO Ardèche";
    s.cpu = "HA";
    s.habitatCodes = habitatCodes();
    s.speciesCodes = {{"Alouette des champs", "ALAARV"}, {"Pie bavarde", "PICPIC"}};
    return s;
}

QStringList columns(const recordlist::RecordExport& table, const QStringList& names)
{
    QStringList out;
    for (const QStringList& row : table.rows) {
        QStringList cells;
        for (const QString& name : names)
            cells << row.value(table.header.indexOf(name), "?");
        out << cells.join('|');
    }
    return out;
}

void writeTables()
{
    platform::Grid habitats;
    habitats.setCols(3);
    habitats.setRows(int(habitatCodes().size()) + 1);
    habitats.setCell(0, 1, "Code");
    for (int i = 0; i < habitatCodes().size(); ++i)
        habitats.setCell(i + 1, 1, habitatCodes()[i]);
    ASSERT_TRUE(platform::GridFile::save(habitats, fun_Chemin(fun_Dossier_Programme(), "Milieux_SHOC.DOV"),
                                         platform::GridFile::Complete, true)
                    .ok);

    platform::Grid species;
    species.setCols(4);
    species.setRows(3);
    const QStringList rows[] = {{"Classe", "Espèce", "Nom français"},
                                {"O", "ALAARV", "Alouette des champs"},
                                {"O", "PICPIC", "Pie bavarde"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            species.setCell(r, c + 1, rows[r][c]);
    ASSERT_TRUE(platform::GridFile::save(species, fun_Chemin(fun_Dossier_Programme(), "Espèces.DOV"),
                                         platform::GridFile::Complete, true)
                    .ok);
}

QString writeRecord(const QString& folder, const SurveyRecord& r)
{
    const QString name = RecordStore::fileName(r.siteName, r.passage);
    platform::Grid g;
    RecordLayout::write(r, g);
    writeRecordGrid(folder, name, g);
    return name;
}

void writeRecordGrid(const QString& folder, const QString& name, const platform::Grid& grid)
{
    ASSERT_TRUE(
        platform::GridFile::save(grid, fun_Chemin(folder, name), platform::GridFile::Complete, true).ok);
}

} // namespace export_samples
