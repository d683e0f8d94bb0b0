#include "tests/grid/GridSamples.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>

using namespace grid;

namespace grid_samples {

void fillAwkward(Grid& g)
{
    g.setRows(0);
    g.setFormatString("|^Code|Nom\rfrançais|Saisie|Date|Divers");
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.addRow("1\tALAARV\tAlouette des champs\t\t05/11/2009\tplain");
    g.addRow("2\tAvec\ttabulation\t\t\t");
    g.setCell(2, 2, "a\tb");
    g.setCell(2, 5, "ligne 1\r\nligne 2\rligne 3\nfin");
    g.addRow(
        "PG\tcéréales d’hiver\tÉlanion blanc | x\t\t31/12/2010 23:59:59\t\\t n'est pas une tabulation \\");
    g.addRow("3\t  espaces  \t_x000D_\t\t\t");
    g.setCell(4, 5, QString::fromUtf8("oiseau \xF0\x9F\x90\xA6") + QChar(0) + "nul");
    g.addRow(""); // empty last row
    g.setColDataType(3, Grid::DataType::Boolean);
    g.setCheckState(1, 3, Grid::Checked);
    g.setCheckState(3, 3, Grid::Unchecked);
    g.setColDataType(4, Grid::DataType::Date);
    g.setColHidden(5, true);
    g.setColEditList(1, " |#1;un|#2;deux\tavec tab");
    g.setColSort(2, Grid::Sort::GenericDescending);
    g.setColWidth(2, 143);
    g.setColData(4, "Bilan Hiver 2009-2010 : Nbr. sites prospectés=3");
    g.setBackColour({1, 1, 1, 2}, gridRgb(192, 255, 192));
    g.setFontName({2, 2, 2, 2}, "Arial");
    g.setFontSize({3, 0, 3, 5}, 10.5);
    g.setReadOnly({4, 1, 4, 1}, true);
    g.setRowKey(2, "38-Vif");
    g.setRowKey(4, "clé\tavec\\tab");
}

void fillRecord(Grid& g, int rows)
{
    static const char* words[] = {"Alouette des champs",
                                  "Parcelle N°01",
                                  "Hiver 2009-2010",
                                  "12",
                                  "Culture de\rcéréales d’hiver",
                                  "05/11/2009",
                                  "Isère",
                                  "Vif",
                                  "08:30",
                                  "Bruant proyer",
                                  "Chaume",
                                  "0",
                                  "1",
                                  "Perdrix grise",
                                  "Haie",
                                  "Oiseaux",
                                  "ALAARV",
                                  "Non Validé",
                                  "Dupont",
                                  "Éric"};
    constexpr int kWords = sizeof(words) / sizeof(words[0]);
    g.setRedraw(false);
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setCols(72);
    g.setRows(rows);
    unsigned seed = 7;
    for (int r = 1; r < rows; ++r)
        for (int c = 1; c < 72; ++c) {
            seed = seed * 1103515245u + 12345u;
            if ((seed >> 16) % 10 < 7) // seven cells in ten hold a text
                g.setCell(r, c, QString::fromUtf8(words[(seed >> 8) % kWords]));
        }
    g.setRedraw(true);
}

void fillReference(Grid& g, int rows)
{
    static const char* names[] = {"Alouette des champs", "Bruant proyer",      "Perdrix grise",
                                  "Busard Saint-Martin", "Faucon crécerelle",  "Vanneau huppé",
                                  "Pluvier doré",        "Étourneau sansonnet"};
    g.setRedraw(false);
    g.setFixedRows(0);
    g.setFixedCols(0);
    g.setRows(0);
    g.setFormatString("|Classe|Espèce|Nom français|Nom scientifique|Saisie");
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setColDataType(5, Grid::DataType::Boolean);
    g.setRows(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        g.setCell(r, 1, "Oiseaux");
        g.setCell(r, 2, QStringLiteral("SP%1").arg(r, 5, 10, QChar(u'0')));
        g.setCell(r, 3, QString::fromUtf8(names[r % 8]) + QStringLiteral(" %1").arg(r));
        g.setCell(r, 4, QStringLiteral("Species scientifica %1").arg(r));
        g.setCheckState(r, 5, r % 3 == 0 ? Grid::Checked : Grid::Unchecked);
    }
    g.setRedraw(true);
}

QByteArray zipOf(const QList<QPair<QString, QByteArray>>& entries)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(nullptr, 0, 0, &err);
    zip_t* z = src ? zip_open_from_source(src, ZIP_TRUNCATE, &err) : nullptr;
    zip_error_fini(&err);
    if (!z)
        return {};
    zip_source_keep(src);
    for (const auto& e : entries) {
        // The entries outlive zip_close, which reads them: no copy to own.
        zip_source_t* data = zip_source_buffer(z, e.second.constData(), zip_uint64_t(e.second.size()), 0);
        if (data && zip_file_add(z, e.first.toUtf8().constData(), data, ZIP_FL_OVERWRITE) < 0)
            zip_source_free(data);
    }
    QByteArray out;
    if (zip_close(z) == 0 && zip_source_open(src) == 0) {
        zip_stat_t st;
        zip_source_stat(src, &st);
        out.resize(qsizetype(st.size));
        zip_source_read(src, out.data(), st.size);
        zip_source_close(src);
    }
    zip_source_free(src);
    return out;
}

QByteArray workbookOf(const QByteArray& sheetXml, const QStringList& sharedStrings, bool rich)
{
    QByteArray sst = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString& s : sharedStrings)
        sst += rich ? "<si>" + s.toUtf8() + "</si>" : "<si><t>" + s.toHtmlEscaped().toUtf8() + "</t></si>";
    sst += "</sst>";
    return zipOf({
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"xl/workbook.xml",
         "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<sheets><sheet name=\"Feuil1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheetXml},
        {"xl/sharedStrings.xml", sst},
    });
}

QList<QPair<QString, QByteArray>> unzipAll(const QByteArray& bytes)
{
    QList<QPair<QString, QByteArray>> out;
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &err);
    zip_t* z = src ? zip_open_from_source(src, ZIP_RDONLY, &err) : nullptr;
    zip_error_fini(&err);
    if (!z) {
        if (src)
            zip_source_free(src);
        return out;
    }
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0)
            continue;
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        QByteArray data(qsizetype(st.size), '\0');
        if (f && zip_fread(f, data.data(), st.size) == zip_int64_t(st.size))
            out.append({QString::fromUtf8(st.name), data});
        if (f)
            zip_fclose(f);
    }
    zip_discard(z);
    return out;
}

} // namespace grid_samples
