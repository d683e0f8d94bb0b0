#include "grid/Grid.h"
#include "record/RecordLayout.h"
#include "recordlist/ExportTable.h"
#include "tests/samples/ExportSamples.h"

#include <functional>
#include <gtest/gtest.h>

using recordlist::RecordExport;

namespace {

QStringList cells(const char* text) { return QString(text).split('|'); }

RecordExport build(const record::SurveyRecord& r, const std::function<void(grid::Grid&)>& change = {},
                   bool withLocality = true)
{
    grid::Grid g;
    record::RecordLayout::write(r, g);
    if (change)
        change(g);
    return recordlist::ExportTable(export_samples::settings(withLocality)).build(g, "/donnees/r.FLX2009");
}

// The parcel, species, distance and count of each row.
QStringList species(const RecordExport& t)
{
    QStringList out;
    for (const QStringList& row : t.rows)
        out << QStringList({row.value(t.header.indexOf("N° Parcelle")),
                            row.value(t.header.indexOf("Code espèce")),
                            row.value(t.header.indexOf("Distance de contact")),
                            row.value(t.header.indexOf("Nombre"))})
                   .join('|');
    return out;
}

} // namespace

TEST(ExportTable, GoldenRowWithLocalityAndAsGps)
{
    const QStringList who = cells("Organisme|CPU|Type|Code inventaire|Etude|Hiver|Site");
    const QStringList visit = cells("Date|Heure|Durée|Type échantillon|N° Passage|Observateur|Email|"
                                    "N° Parcelle SHOC|N° Parcelle|Altitude|Zone UTM|Maille MGRS|Longitude|"
                                    "Latitude|Type de coordonnées|Type de coordonnées lambert");
    QStringList rest = cells("SHOC-Nuage|SHOC-Pluie|SHOC-Vent|SHOC-Visibilité");
    for (const char* kind : {"SHOC-MPP", "SHOC-MPA"})
        for (const QString& code : export_samples::habitatCodes())
            rest << QString(kind) + code;
    rest += cells("Classe|Code espèce|Nom espèce|Comportement|Distance de contact|Nombre");

    // The site is "CH"; the parcel's descriptions tick its first and fifth habitats.
    QStringList ticks(36);
    ticks[2] = ticks[18] = ticks[22] = "-1";
    const QStringList row1 = cells("LPO Ardèche|HA|Observateur|'10007078451965401|SHOC|2009-2010|"
                                   "SHOC-07~Privas~Les Blaches~MARTIN Anne~Hiver 2009-2010");
    const QStringList row2 = cells("14/01/2010|08:30|00:40|IKA|1|MARTIN|anne.martin@exemple.fr|"
                                   "Parcelle SHOC 2010 : 1|1|250|31|FL12|784512|1965432|1|2E");
    const QStringList row3 = cells("3|1|2|") + ticks + cells("O|ALAARV|Alouette des champs|O~NI|< 50m|3");

    const RecordExport local = build(export_samples::oneParcel());
    EXPECT_EQ(local.header, who + cells("Pays|Département|Commune|Lieudit") + visit + rest);
    EXPECT_EQ(local.rows.value(0), row1 + cells("FR|'07|Privas|Les Blaches") + row2 + row3);
    const RecordExport gps = build(export_samples::oneParcel(), {}, false);
    EXPECT_EQ(gps.header, who + visit + cells("GPS") + rest);
    EXPECT_EQ(gps.rows.value(0), row1 + row2 + cells("-1") + row3);
}

TEST(ExportTable, OneRowPerDistanceClassAndTheUnstatedRest)
{
    // 3 near, 2 far and 2 of a total of 7 unstated; the magpie under the species table's code; the
    // bunting's counts exceed its total: no unstated rest.
    const QStringList parcel = {"|ALAARV|< 50m|3",   "|ALAARV|> 200m|2", "|ALAARV|Non indiquée|2",
                                "|PICPIC|50-200m|1", "|EMBCIT|< 50m|2",  "|EMBCIT|En vol|3"};
    QStringList two;
    for (const char* p : {"1", "2"})
        for (const QString& row : parcel)
            two << QString(p) + row;
    EXPECT_EQ(species(build(export_samples::oneParcel(2))), two);

    // A parcel stored with its title row only has no rows, whatever block follows it.
    record::SurveyRecord r = export_samples::oneParcel(2);
    r.parcels[0].species.reset();
    EXPECT_EQ(species(build(r)), two.mid(6));
}

TEST(ExportTable, CellsTakenFromTheRecord)
{
    const struct
    {
        QString cell; // "row,column=text" changed in the record
        QString column;
        QString value;
    } cases[] = {
        {"10,14=0", "Type de coordonnées lambert", ""},
        {"10,14=3", "Type de coordonnées lambert", ""},
        {"10,14=", "Type de coordonnées lambert", ""},
        {"11,3=3", "N° Passage", "4"},
        {"3,2= SHOC ", "Etude", "SHOC"},
        {"17,10=  ", "Comportement", ""},
    };
    for (const auto& c : cases) {
        const QStringList at = c.cell.section('=', 0, 0).split(',');
        const RecordExport t = build(export_samples::oneParcel(), [&](grid::Grid& g) {
            g.setCell(at[0].toInt(), at[1].toInt(), c.cell.section('=', 1));
        });
        EXPECT_EQ(t.rows.value(0).value(t.header.indexOf(c.column)), c.value) << c.cell.toStdString();
    }
}

TEST(ExportTable, ARecordLackingASectionIsRefusedWhole)
{
    // The second parcel's species title, and each section the rows are taken from.
    for (const QString& label :
         {QString("Espèces Parcelle N°2"), record::RecordLayout::kTitleWeather,
          record::RecordLayout::kTitleVisit, record::RecordLayout::kTitleIdentification,
          record::RecordLayout::kTitleLocations, record::RecordLayout::kTitleParcelCount}) {
        const RecordExport t = build(export_samples::oneParcel(2),
                                     [&](grid::Grid& g) { g.setCell(g.findRow(label, 0, 1), 1, ""); });
        EXPECT_EQ(t.result.error, "Le fichier /donnees/r.FLX2009 n'est pas conforme.") << label.toStdString();
        EXPECT_TRUE(t.rows.isEmpty()) << label.toStdString();
    }
    // A number of parcels that is no number gives no row, and no refusal.
    const RecordExport none =
        build(export_samples::oneParcel(2), [](grid::Grid& g) { g.setCell(7, 2, "x"); });
    EXPECT_TRUE(none.result.ok);
    EXPECT_TRUE(none.rows.isEmpty());
}

TEST(ExportTable, HabitatCodesStopAtTheFirstEmptyRow)
{
    grid::Grid table;
    table.setCols(2);
    for (const char* code : {"PA", "SN", "", "CH"})
        table.addRow(QString("\t") + code);
    recordlist::ExportSettings s = export_samples::settings();
    s.habitatCodes = recordlist::habitatCodesOf(table);
    grid::Grid g;
    record::RecordLayout::write(export_samples::oneParcel(), g);
    const RecordExport t = recordlist::ExportTable(s).build(g, "r");
    EXPECT_EQ(t.header.filter("SHOC-MPP"), QStringList({"SHOC-MPPPA", "SHOC-MPPSN"}));
    EXPECT_EQ(t.rows.value(0).size(), t.header.size());
}

TEST(ExportTable, TheGridTakesTheRowsAfterAnEmptyColumn0)
{
    grid::Grid g;
    record::RecordLayout::write(export_samples::oneParcel(2), g);
    const recordlist::ExportTable builder(export_samples::settings());
    const RecordExport rows = builder.build(g, "r");
    const RecordExport gridRows = builder.gridRows(g, "r");
    ASSERT_EQ(gridRows.rows.size(), rows.rows.size());
    for (qsizetype i = 0; i < rows.rows.size(); ++i)
        EXPECT_EQ(gridRows.rows[i], QStringList{QString()} + rows.rows[i]);

    // The header and the rows of two records one after the other, under the last header; a wider
    // table keeps its width, the cells beyond a row empty.
    grid::Grid table;
    table.setCols(int(rows.header.size()) + 3);
    for (int i = 0; i < 2; ++i) {
        recordlist::setExportHeader(table, gridRows.header);
        recordlist::appendGridRows(table, gridRows.rows);
    }
    ASSERT_EQ(table.rows(), 1 + 2 * rows.rows.size());
    EXPECT_EQ(table.cols(), rows.header.size() + 3);
    EXPECT_EQ(table.fixedRows(), 1);
    EXPECT_EQ(table.cell(0, 1), "Organisme");
    EXPECT_EQ(table.cell(0, table.cols() - 1), "");
    for (int r = 1; r < table.rows(); ++r) {
        const QStringList& row = rows.rows[(r - 1) % rows.rows.size()];
        for (int c = 0; c < table.cols(); ++c)
            ASSERT_EQ(table.cell(r, c), c >= 1 ? row.value(c - 1) : QString()) << r << "," << c;
    }
}

TEST(ExportTable, ATextThatRecursIsKeptOnceForTheWholeTable)
{
    grid::Grid g;
    record::RecordLayout::write(export_samples::oneParcel(2), g);
    const recordlist::ExportTable builder(export_samples::settings());
    const RecordExport first = builder.gridRows(g, "r");
    const RecordExport second = builder.gridRows(g, "r");
    const qsizetype species = first.header.indexOf("Nom espèce") + 1;
    const qsizetype count = first.header.indexOf("Nombre") + 1;
    ASSERT_GT(first.rows.size(), 1);
    // The same text in two rows of a record, and in the rows of another record, is one text.
    for (const qsizetype column : {species, count}) {
        const QString& text = first.rows[0][column];
        EXPECT_EQ(second.rows[0][column].constData(), text.constData()) << column;
        for (const RecordExport* t : {&first, &second})
            for (const QStringList& row : t->rows) {
                if (row[column] == text) {
                    EXPECT_EQ(row[column].constData(), text.constData()) << column;
                }
            }
    }
}
