#include "tests/samples/RecordSamples.h"

#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "record/RecordLayout.h"

#include <gtest/gtest.h>

namespace record_samples {

record::SurveyRecord twoParcels()
{
    using namespace record;
    SurveyRecord r;
    r.department = "26 - Drôme";
    r.commune = "Valence";
    r.placeName = "Les Baumes";
    r.siteName = "SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010";
    r.habitatType = "CH - Champs";
    r.network = "SHOC / Réseau national";
    r.generalComment = "Site venté\nhaies basses";
    r.observerName = "DUPONT";
    r.observerFirstName = "Jean";
    r.email = "jean.dupont@exemple.example";
    r.telephone = "04 75 00 00 00";
    r.season = "Hiver 2009-2010";
    r.date = "12/01/2010";
    r.passage = 2;
    r.visitComment = "Brouillard le matin";
    r.totalTypedByHand = true;
    r.notValidated = true;

    Parcel a;
    a.location = {
        "26 - Drôme", "Valence", "Les Baumes", "",    "800123", "1987456", "",
        "600",        "124",     true,         false, "800123", "1987456", "Possible erreur de coordonnées"};
    a.habitats[0] = a.habitats[17] = true;
    a.weather = {"1", "2", "", "3"};
    a.startTime = "08:30";
    a.duration = "00:45";
    a.huntingOn = true;
    a.species =
        SpeciesTable{{"O", "ALAARV", "Alouette des champs", {"3", "2", "", "10"}, "15", "O~NI Nourrissage"},
                     {"M", "LEPEUR", "Lièvre d'Europe", {"1", "", "", ""}, "1", ""}};

    Parcel b;
    b.location = {"26 - Drôme", "Valence", "",    "",   "801000", "1988000", "",
                  "",           "130",     false, true, "801000", "1988000", ""};
    b.habitats[4] = true;
    b.weather = {"3", "1", "1", "1"};
    b.startTime = "09:20";
    b.duration = "00:30";
    b.huntingNear = true;
    b.species = SpeciesTable{};

    r.parcels = {a, b};
    return r;
}

void writeRecord(const QString& path, const record::SurveyRecord& record,
                 const std::function<void(grid::Grid&)>& change)
{
    grid::Grid g;
    record::RecordLayout::write(record, g);
    if (change)
        change(g);
    const platform::Result r = grid::GridFile::save(g, path, grid::GridFile::Complete, true);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
}

QString gridDump(const grid::Grid& grid)
{
    QString out;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            if (!grid.cell(r, c).isEmpty())
                cells << QString("%1=%2").arg(c).arg(grid.cell(r, c).replace('\r', "\\r"));
        out += QString("%1: %2\n").arg(r).arg(cells.join(" | "));
    }
    return out;
}

} // namespace record_samples

void record::PrintTo(const SurveyRecord& record, std::ostream* os)
{
    grid::Grid g;
    RecordLayout::write(record, g);
    *os << "\n" << record_samples::gridDump(g).toStdString();
}
