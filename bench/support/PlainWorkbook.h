#pragma once
// The floor of the workbook benchmarks: the cells of a table, converted beforehand by the
// program's own rules (common::excel::convertCell, column formats from the header and from what
// the columns hold), written by libxlsxwriter alone in a plain loop, with the same formats and
// the same rows a sheet as the program's writer.

#include "common/ExcelWriter.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench_support {

// A cell in the library's own terms: a number, or a text (empty: a blank cell).
struct PlainCell
{
    bool text = false;
    double number = 0;
    std::string utf8;
};

struct PlainWorkbook
{
    std::vector<std::string> header;
    std::vector<std::vector<PlainCell>> rows;
    std::vector<const char*> columnFormat; // nullptr: the general format
};

// The cells of the rows under the header, converted by the rules the header gives each column;
// a row shorter than the header has empty cells at its end.
inline PlainWorkbook plainWorkbook(const QStringList& header, const QList<QStringList>& rows)
{
    PlainWorkbook b;
    const size_t columns = size_t(header.size());
    b.columnFormat.assign(columns, nullptr);
    std::vector<common::excel::ColumnRule> rules;
    for (const QString& h : header) {
        b.header.push_back(h.toStdString());
        rules.push_back(common::excel::columnRule(h));
        if (rules.back().text)
            b.columnFormat[rules.size() - 1] = "@";
    }
    b.rows.resize(size_t(rows.size()));
    for (size_t r = 0; r < b.rows.size(); ++r) {
        auto& row = b.rows[r];
        row.resize(columns);
        for (size_t c = 0; c < columns; ++c) {
            const common::excel::Cell cell =
                common::excel::convertCell(rows[qsizetype(r)].value(qsizetype(c)), rules[c]);
            row[c].text =
                cell.kind == common::excel::CellKind::Text || cell.kind == common::excel::CellKind::Empty;
            row[c].number = cell.number;
            row[c].utf8 = cell.text.toStdString();
            if (cell.kind == common::excel::CellKind::Date)
                b.columnFormat[c] = "dd/mm/yyyy";
            else if (cell.kind == common::excel::CellKind::Time)
                b.columnFormat[c] = "hh:mm";
            else if (cell.kind == common::excel::CellKind::Percent)
                b.columnFormat[c] = "0.00%";
        }
    }
    return b;
}

// Writes the workbook to the path, in sheets of 64,999 rows under the header named after the
// sheet name ("SHOC", "SHOC-001", ...); false when the library fails to close it.
inline bool writePlainWorkbook(const PlainWorkbook& b, const QByteArray& path, QByteArray tmpdir,
                               const std::string& sheetName)
{
    const int perSheet = 65'000 - 1;
    const int rows = int(b.rows.size());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    lxw_workbook* wb = workbook_new_opt(path.constData(), &options);
    lxw_format* header = workbook_add_format(wb);
    format_set_bold(header);
    format_set_border(header, LXW_BORDER_THIN);
    std::map<const char*, lxw_format*> body;
    for (const char* f : b.columnFormat) {
        if (body.count(f))
            continue;
        lxw_format* format = workbook_add_format(wb);
        format_set_font_name(format, "MS Sans Serif");
        format_set_font_size(format, 8);
        format_set_border(format, LXW_BORDER_THIN);
        if (f)
            format_set_num_format(format, f);
        body[f] = format;
    }
    for (int first = 0, sheet = 0; first < rows; first += perSheet, ++sheet) {
        char suffix[16] = "";
        if (sheet > 0)
            std::snprintf(suffix, sizeof suffix, "-%03d", sheet);
        lxw_worksheet* ws = workbook_add_worksheet(wb, (sheetName + suffix).c_str());
        for (size_t c = 0; c < b.header.size(); ++c)
            worksheet_write_string(ws, 0, lxw_col_t(c), b.header[c].c_str(), header);
        const int end = std::min(rows, first + perSheet);
        for (int r = first; r < end; ++r) {
            const lxw_row_t row = lxw_row_t(r - first + 1);
            for (size_t c = 0; c < b.header.size(); ++c) {
                const PlainCell& cell = b.rows[size_t(r)][c];
                lxw_format* format = body[b.columnFormat[c]];
                if (!cell.text)
                    worksheet_write_number(ws, row, lxw_col_t(c), cell.number, format);
                else if (cell.utf8.empty())
                    worksheet_write_blank(ws, row, lxw_col_t(c), format);
                else
                    worksheet_write_string(ws, row, lxw_col_t(c), cell.utf8.c_str(), format);
            }
        }
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

// The body of a BM_LibxlsxwriterLoop: one workbook written per iteration into a temporary folder.
inline void timePlainWorkbook(benchmark::State& state, const PlainWorkbook& b, const std::string& sheetName)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("export.xlsx"));
    const QByteArray tmpdir = QFile::encodeName(dir.path());
    for (auto _ : state)
        if (!writePlainWorkbook(b, path, tmpdir, sheetName))
            state.SkipWithError("workbook_close failed");
    state.counters["cellules"] = double(b.rows.size() + 2) * double(b.header.size());
}

} // namespace bench_support
