#include "platform/Grid.h"
#include "record/RecordLayout.h"
#include "recordlist/ExportTable.h"
#include "recordlist/RecordSections.h"
#include "tests/recordlist/ExportSamples.h"

#include <functional>
#include <gtest/gtest.h>

using export_samples::columns;
using recordlist::ExportTable;
using recordlist::RecordExport;

namespace {

// Eighteen cells, the given ones ticked.
QStringList ticks(std::initializer_list<int> ticked)
{
    QStringList cells(18);
    for (int i : ticked)
        cells[i] = "-1";
    return cells;
}

QStringList prefixed(const QString& prefix, const QStringList& codes)
{
    QStringList out;
    for (const QString& c : codes)
        out << prefix + c;
    return out;
}

RecordExport build(const record::SurveyRecord& r, const std::function<void(platform::Grid&)>& change = {},
                   bool withLocality = true)
{
    platform::Grid g;
    export_samples::writeGrid(r, g);
    if (change)
        change(g);
    return ExportTable(export_samples::settings(withLocality)).build(g, "/donnees/releve.FLX2009");
}

const QStringList kSpecies = {"N° Parcelle", "Code espèce", "Distance de contact", "Nombre"};

} // namespace

TEST(ExportTable, GoldenRowWithLocalityAndAsGps)
{
    const auto cells = [](const char* text) { return QString(text).split('|'); };
    const QStringList identification = cells("Organisme|CPU|Type|Code inventaire|Etude|Hiver|Site");
    const QStringList visit = cells("Date|Heure|Durée|Type échantillon|N° Passage|Observateur|Email|"
                                    "N° Parcelle SHOC|N° Parcelle|Altitude|Zone UTM|Maille MGRS|Longitude|"
                                    "Latitude|Type de coordonnées|Type de coordonnées lambert");
    const QStringList weather = cells("SHOC-Nuage|SHOC-Pluie|SHOC-Vent|SHOC-Visibilité");
    const QStringList habitats = prefixed("SHOC-MPP", export_samples::habitatCodes()) +
                                 prefixed("SHOC-MPA", export_samples::habitatCodes());
    const QStringList species =
        cells("Classe|Code espèce|Nom espèce|Comportement|Distance de contact|Nombre");

    const QStringList who = cells("LPO Ardèche|HA|Observateur|'10007078451965401|SHOC|2009-2010|"
                                  "SHOC-07~Privas~Les Blaches~MARTIN Anne~Hiver 2009-2010");
    const QStringList where = cells("FR|'07|Privas|Les Blaches");
    const QStringList when = cells("14/01/2010|08:30|00:40|IKA|1|MARTIN|anne.martin@exemple.fr|"
                                   "Parcelle SHOC 2010 : 1|1|250|31|FL12|784512|1965432|1|2E");
    const QStringList sky = cells("1|2|1|3");
    // The site is "CH"; the parcel's descriptions tick its first and fifth habitats.
    const QStringList ticked = ticks({2}) + ticks({0, 4});
    const QStringList lark = cells("O|ALAARV|Alouette des champs|O~NI|< 50m|3");

    const RecordExport local = build(export_samples::oneParcel());
    ASSERT_TRUE(local.result.ok) << local.result.error.toStdString();
    EXPECT_EQ(local.header, identification + cells("Pays|Département|Commune|Lieudit") + visit + weather +
                                habitats + species);
    ASSERT_FALSE(local.rows.isEmpty());
    EXPECT_EQ(local.rows[0], who + where + when + sky + ticked + lark);

    const RecordExport gps = build(export_samples::oneParcel(), {}, false);
    EXPECT_EQ(gps.header, identification + visit + cells("GPS") + weather + habitats + species);
    ASSERT_FALSE(gps.rows.isEmpty());
    EXPECT_EQ(gps.rows[0], who + when + cells("-1") + sky + ticked + lark);
}

TEST(ExportTable, OneRowPerDistanceClassAndTheUnstatedRest)
{
    using record::SpeciesTable;
    // Two parcels of three species, two counted in two classes and one in one: ten rows.
    record::SurveyRecord two = export_samples::oneParcel();
    two.parcels.append(two.parcels[0]);
    for (record::Parcel& p : two.parcels)
        p.species = SpeciesTable{{"O", "ALAARV", "Alouette des champs", {"3", "", "2", ""}, "5", ""},
                                 {"O", "EMBCIT", "Bruant jaune", {"", "1", "", "4"}, "5", ""},
                                 {"O", "PICPIC", "Pie bavarde", {"", "", "", "2"}, "2", ""}};
    const struct
    {
        const char* name;
        record::SurveyRecord record;
        QStringList rows;
    } cases[] = {
        {"the three species of the sample",
         export_samples::oneParcel(),
         // 3 near, 2 far, 2 of a total of 7 unstated; the magpie under the species table's code;
         // counts above the total leave no unstated rest.
         {"1|ALAARV|< 50m|3", "1|ALAARV|> 200m|2", "1|ALAARV|Non indiquée|2", "1|PICPIC|50-200m|1",
          "1|EMBCIT|< 50m|2", "1|EMBCIT|En vol|3"}},
        {"two parcels",
         two,
         {"1|ALAARV|< 50m|3", "1|ALAARV|> 200m|2", "1|EMBCIT|50-200m|1", "1|EMBCIT|En vol|4",
          "1|PICPIC|En vol|2", "2|ALAARV|< 50m|3", "2|ALAARV|> 200m|2", "2|EMBCIT|50-200m|1",
          "2|EMBCIT|En vol|4", "2|PICPIC|En vol|2"}},
    };
    for (const auto& c : cases) {
        const RecordExport t = build(c.record);
        EXPECT_TRUE(t.result.ok) << c.name;
        EXPECT_EQ(columns(t, kSpecies), c.rows) << c.name;
    }
}

TEST(ExportTable, CellsTakenFromTheRecord)
{
    const struct
    {
        const char* name;
        std::function<void(platform::Grid&)> change;
        QString column;
        QString value;
    } cases[] = {
        {"Lambert type 1", {}, "Type de coordonnées lambert", "2E"},
        {"type 0", [](platform::Grid& g) { g.setCell(10, 14, "0"); }, "Type de coordonnées lambert", ""},
        {"type 3", [](platform::Grid& g) { g.setCell(10, 14, "3"); }, "Type de coordonnées lambert", ""},
        {"no type", [](platform::Grid& g) { g.setCell(10, 14, ""); }, "Type de coordonnées lambert", ""},
        {"passage index 3", [](platform::Grid& g) { g.setCell(11, 3, "3"); }, "N° Passage", "4"},
        {"Corsica", [](platform::Grid& g) { g.setCell(2, 2, "2B - Haute-Corse"); }, "Département", "'2B"},
        {"network without code", [](platform::Grid& g) { g.setCell(3, 2, " SHOC "); }, "Etude", "SHOC"},
        {"no behaviour", [](platform::Grid& g) { g.setCell(17, 10, "  "); }, "Comportement", ""},
    };
    for (const auto& c : cases) {
        const RecordExport t = build(export_samples::oneParcel(), c.change);
        ASSERT_TRUE(t.result.ok) << c.name;
        EXPECT_EQ(columns(t, {c.column}).value(0), c.value) << c.name;
    }
}

TEST(ExportTable, AParcelStoredWithItsTitleOnlyHasNoRows)
{
    // Parcel 1's species grid was never stored: its title row is followed by parcel 2's block.
    record::SurveyRecord r = export_samples::oneParcel();
    r.parcels.append(r.parcels[0]);
    r.parcels[0].species.reset();
    const RecordExport t = build(r);
    ASSERT_TRUE(t.result.ok);
    EXPECT_EQ(columns(t, kSpecies),
              QStringList({"2|ALAARV|< 50m|3", "2|ALAARV|> 200m|2", "2|ALAARV|Non indiquée|2",
                           "2|PICPIC|50-200m|1", "2|EMBCIT|< 50m|2", "2|EMBCIT|En vol|3"}));
}

TEST(ExportTable, ARecordLackingASectionIsRefusedWhole)
{
    record::SurveyRecord two = export_samples::oneParcel();
    two.parcels.append(two.parcels[0]);
    const auto relabel = [](const QString& label) {
        return [label](platform::Grid& g) { g.setCell(g.findRow(label, 0, 1), 1, "Autre chose"); };
    };
    // The second parcel's species title, and each section the rows are taken from.
    for (const QString& label :
         {QString("Espèces Parcelle N°2"), record::RecordLayout::kTitleWeather,
          record::RecordLayout::kTitleVisit, record::RecordLayout::kTitleIdentification,
          record::RecordLayout::kTitleLocations, record::RecordLayout::kTitleParcelCount}) {
        const RecordExport t = build(two, relabel(label));
        EXPECT_EQ(t.result.error, "Le fichier /donnees/releve.FLX2009 n'est pas conforme.")
            << label.toStdString();
        EXPECT_TRUE(t.rows.isEmpty()) << label.toStdString();
    }
    // A number of parcels that is no number gives no row, and no refusal.
    const RecordExport none = build(two, [](platform::Grid& g) { g.setCell(7, 2, "deux"); });
    EXPECT_TRUE(none.result.ok);
    EXPECT_TRUE(none.rows.isEmpty());
}

TEST(ExportTable, ReferenceTables)
{
    platform::Grid habitats;
    habitats.setCols(3);
    habitats.setRows(5);
    for (const auto& [row, code] : {std::pair{1, "PA"}, {2, "SN"}, {4, "CH"}})
        habitats.setCell(row, 1, code);
    // The codes stop at the first empty row: two "SHOC-MPP" columns, two ticks per row.
    EXPECT_EQ(recordlist::habitatCodesOf(habitats), QStringList({"PA", "SN"}));
    recordlist::ExportSettings s = export_samples::settings();
    s.habitatCodes = recordlist::habitatCodesOf(habitats);
    platform::Grid g;
    export_samples::writeGrid(export_samples::oneParcel(), g);
    const RecordExport t = ExportTable(s).build(g, "r");
    EXPECT_EQ(t.header.filter("SHOC-MPP"), QStringList({"SHOC-MPPPA", "SHOC-MPPSN"}));
    EXPECT_EQ(t.rows.value(0).size(), t.header.size());

    platform::Grid species;
    species.setCols(4);
    species.setRows(4);
    const char* rows[][2] = {{"ALAARV", "Alouette des champs"}, {"ALAXXX", "Alouette des champs"}, {"", ""}};
    for (int r = 0; r < 3; ++r) {
        species.setCell(r + 1, 2, rows[r][0]);
        species.setCell(r + 1, 3, rows[r][1]);
    }
    const QHash<QString, QString> codes = recordlist::speciesCodesOf(species);
    EXPECT_EQ(codes.value("Alouette des champs"), "ALAARV");
}
