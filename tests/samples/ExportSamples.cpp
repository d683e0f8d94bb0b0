#include "tests/samples/ExportSamples.h"

#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordStore.h"
#include "tests/samples/RecordSamples.h"

#include <gtest/gtest.h>

namespace export_samples {

using namespace record;

SurveyRecord oneParcel(int parcels)
{
    SurveyRecord r;
    r.department = "07 - Ardèche";
    r.commune = "Privas";
    r.placeName = "Les Blaches";
    r.siteName = "SHOC-07~Privas~Les Blaches~MARTIN Anne~Hiver 2009-2010";
    r.habitatType = "CH - Culture de céréales d’hiver";
    r.network = "SHOC / Suivi hivernal des oiseaux communs";
    r.observerName = "MARTIN";
    r.email = "anne.martin@exemple.fr";
    r.season = "Hiver 2009-2010";
    r.date = "14/01/2010";
    r.passage = 1;
    r.coordinateType = kCoordLambert;
    Parcel p;
    p.location = {"07 - Ardèche", "Privas", "Les Blaches", "31", "784512", "1965432", "FL12",
                  "600",          "250",    false,         true, "784512", "1965432", ""};
    p.habitats[0] = p.habitats[4] = true;
    p.weather = {"3", "1", "2", ""}; // four codes apart, so that a swap of two columns shows
    p.startTime = "08:30";
    p.duration = "00:40";
    p.species =
        SpeciesTable{{"O", "ALAARV", "Alouette des champs", {"3", "", "2", ""}, "7", "O~NI Nourrissage"},
                     {"O", "PICXXX", "Pie bavarde", {"", "1", "", ""}, "1", ""},
                     {"O", "EMBCIT", "Bruant jaune", {"2", "", "", "3"}, "4", ""}};
    r.parcels = QList<Parcel>(parcels, p);
    return r;
}

const QStringList& habitatCodes()
{
    static const QStringList codes = {"PA", "SN", "CH", "AC", "MA", "VG", "VI", "XX", "FO",
                                      "AI", "HA", "PE", "HT", "CE", "CM", "RT", "FI", "RC"};
    return codes;
}

recordlist::ExportSettings settings(bool withLocality)
{
    return {withLocality,
            "LPO Ardèche",
            "HA",
            habitatCodes(),
            {{"Alouette des champs", "ALAARV"}, {"Pie bavarde", "PICPIC"}}};
}

void writeTables()
{
    grid::Grid habitats, species;
    habitats.setCols(2);
    for (const QString& code : habitatCodes())
        habitats.addRow("\t" + code);
    species.setCols(4);
    for (const auto& [name, code] : settings().speciesCodes.asKeyValueRange())
        species.addRow("\tO\t" + code + "\t" + name);
    for (const auto& [grid, file] : {std::pair{&habitats, "Milieux_SHOC.DOV"}, {&species, "Espèces.DOV"}})
        ASSERT_TRUE(grid::GridFile::save(*grid, common::joinPath(common::programFolder(), QString(file)),
                                         grid::GridFile::Complete, true)
                        .ok);
}

QString writeRecord(const QString& folder, const SurveyRecord& r, const QString& name,
                    const QString& blankedLabel)
{
    const QString file = name.isEmpty() ? RecordStore::fileName(r.siteName, r.passage) : name;
    record_samples::writeRecord(common::joinPath(folder, file), r, [&](grid::Grid& g) {
        if (!blankedLabel.isEmpty())
            g.setCell(g.findRow(blankedLabel, 0, 1), 1, QString());
    });
    return file;
}

} // namespace export_samples
