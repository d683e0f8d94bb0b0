#include "tests/support/WorkbookContents.h"

#include "grid/GridWorkbook.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <zip.h>

namespace testing_support {

namespace {

QString builtInFormat(int id)
{
    static const QHash<int, QString> formats = {
        {0, QStringLiteral("General")}, {1, QStringLiteral("0")},      {2, QStringLiteral("0.00")},
        {9, QStringLiteral("0%")},      {10, QStringLiteral("0.00%")}, {14, QStringLiteral("m/d/yyyy")},
        {20, QStringLiteral("h:mm")},   {49, QStringLiteral("@")},
    };
    return formats.value(id, QStringLiteral("#%1").arg(id));
}

bool readEntry(zip_t* z, const char* name, QByteArray* out)
{
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) != 0)
        return false;
    zip_file_t* f = zip_fopen(z, name, 0);
    if (!f)
        return false;
    out->resize(qsizetype(st.size));
    const zip_int64_t got = zip_fread(f, out->data(), st.size);
    zip_fclose(f);
    return got == zip_int64_t(st.size);
}

QString attr(const QXmlStreamReader& x, const char* name)
{
    return x.attributes().value(QLatin1StringView(name)).toString();
}

bool cellRef(const QString& ref, int* row, int* col)
{
    int i = 0, c = 0;
    while (i < ref.size() && ref[i].isLetter())
        c = c * 26 + (ref[i++].toUpper().unicode() - 'A' + 1);
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    *row = r - 1;
    *col = c - 1;
    return ok && c > 0 && r > 0;
}

// The text of an <si> or <is>: its <t> elements.
QString runText(QXmlStreamReader& x)
{
    QString text;
    const QString end = x.name().toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"t")
            text += x.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (x.isEndElement() && x.name() == end)
            break;
    }
    return grid::workbookUnescape(text);
}

void readStyles(const QByteArray& xml, QList<WorkbookStyle>* styles)
{
    QHash<int, QString> numFmts;
    struct Font
    {
        QString name;
        double size = 0;
        bool bold = false, italic = false;
    };
    QList<Font> fonts;
    QList<bool> fills;
    QList<QString> borders;
    QXmlStreamReader x(xml);
    QString section;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && (x.name() == u"fonts" || x.name() == u"fills" || x.name() == u"borders" ||
                                 x.name() == u"cellXfs"))
            section.clear();
        if (!x.isStartElement())
            continue;
        const QString n = x.name().toString();
        if (n == u"fonts" || n == u"fills" || n == u"borders" || n == u"cellXfs" || n == u"cellStyleXfs") {
            section = n;
        } else if (n == u"numFmt") {
            numFmts.insert(attr(x, "numFmtId").toInt(), attr(x, "formatCode"));
        } else if (section == u"fonts" && n == u"font") {
            fonts.append(Font());
        } else if (section == u"fonts" && !fonts.isEmpty()) {
            if (n == u"b")
                fonts.last().bold = true;
            else if (n == u"i")
                fonts.last().italic = true;
            else if (n == u"sz")
                fonts.last().size = attr(x, "val").toDouble();
            else if (n == u"name")
                fonts.last().name = attr(x, "val");
        } else if (section == u"fills" && n == u"patternFill") {
            fills.append(attr(x, "patternType") == u"solid");
        } else if (section == u"borders" && n == u"border") {
            borders.append(QString());
        } else if (section == u"borders" && !borders.isEmpty() &&
                   (n == u"left" || n == u"right" || n == u"top" || n == u"bottom")) {
            if (!borders.last().isEmpty())
                borders.last() += u',';
            borders.last() += attr(x, "style");
        } else if (section == u"cellXfs" && n == u"xf") {
            WorkbookStyle s;
            const int fmt = attr(x, "numFmtId").toInt();
            s.numberFormat = numFmts.contains(fmt) ? numFmts.value(fmt) : builtInFormat(fmt);
            const Font f = fonts.value(attr(x, "fontId").toInt());
            s.fontName = f.name;
            s.fontSize = f.size;
            s.bold = f.bold;
            s.italic = f.italic;
            s.solidFill = fills.value(attr(x, "fillId").toInt());
            s.borders = borders.value(attr(x, "borderId").toInt());
            styles->append(s);
        } else if (section == u"cellXfs" && n == u"alignment" && !styles->isEmpty()) {
            styles->last().verticalAlign = attr(x, "vertical");
        }
    }
}

bool readSheet(const QByteArray& xml, const QStringList& shared, WorkbookSheet* sheet)
{
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == u"sheetView") {
            sheet->tabSelected = attr(x, "tabSelected") == u"1";
        } else if (x.name() == u"col") {
            for (int c = attr(x, "min").toInt(); c <= attr(x, "max").toInt(); ++c) {
                sheet->columnWidths.insert(c - 1, attr(x, "width").toDouble());
                if (!attr(x, "style").isEmpty())
                    sheet->columnStyles.insert(c - 1, attr(x, "style").toInt());
            }
        } else if (x.name() == u"c") {
            int row = 0, col = 0;
            if (!cellRef(attr(x, "r"), &row, &col))
                return false;
            WorkbookCell cell;
            cell.style = attr(x, "s").toInt();
            const QString t = attr(x, "t");
            QString v;
            bool hasValue = false;
            while (!x.atEnd()) {
                x.readNext();
                if (x.isStartElement() && x.name() == u"v") {
                    v = x.readElementText();
                    hasValue = true;
                } else if (x.isStartElement() && x.name() == u"is") {
                    v = runText(x);
                    hasValue = true;
                } else if (x.isEndElement() && x.name() == u"c") {
                    break;
                }
            }
            if (t == u"s") {
                cell.type = WorkbookCell::Type::Text;
                cell.value = shared.value(v.toInt());
            } else if (t == u"inlineStr" || t == u"str") {
                cell.type = WorkbookCell::Type::Text;
                cell.value = t == u"str" ? grid::workbookUnescape(v) : v;
            } else if (t == u"b") {
                cell.type = WorkbookCell::Type::Boolean;
                cell.value = v;
            } else if (hasValue) {
                cell.type = WorkbookCell::Type::Number;
                cell.value = v;
            }
            sheet->cells.insert({row, col}, cell);
            if (hasValue) {
                sheet->rowCount = std::max(sheet->rowCount, row + 1);
                sheet->colCount = std::max(sheet->colCount, col + 1);
            }
        }
    }
    return !x.hasError();
}

} // namespace

const WorkbookCell* WorkbookSheet::cell(int row, int col) const
{
    const auto it = cells.constFind({row, col});
    return it == cells.constEnd() ? nullptr : &it.value();
}

QString WorkbookSheet::value(int row, int col) const
{
    const WorkbookCell* c = cell(row, col);
    return c ? c->value : QString();
}

QStringList WorkbookContents::sheetNames() const
{
    QStringList names;
    for (const WorkbookSheet& s : sheets)
        names << s.name;
    return names;
}

WorkbookStyle WorkbookContents::cellStyle(int sheet, int row, int col) const
{
    const WorkbookCell* c = sheets.value(sheet).cell(row, col);
    return styles.value(c ? c->style : 0);
}

WorkbookStyle WorkbookContents::columnStyle(int sheet, int col) const
{
    return styles.value(sheets.value(sheet).columnStyles.value(col, 0));
}

WorkbookContents readWorkbookContents(const QString& path)
{
    WorkbookContents book;
    int zerr = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &zerr);
    if (!z) {
        book.error = QStringLiteral("not a zip file: ") + path;
        return book;
    }
    QByteArray xml;
    // Sheets in workbook order, each through its relationship.
    QList<QPair<QString, QString>> sheetIds; // name, relationship id
    if (!readEntry(z, "xl/workbook.xml", &xml)) {
        zip_discard(z);
        book.error = QStringLiteral("no xl/workbook.xml");
        return book;
    }
    {
        QXmlStreamReader x(xml);
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"sheet")
                sheetIds.append(
                    {attr(x, "name"), x.attributes()
                                          .value(QStringLiteral("http://schemas.openxmlformats.org/"
                                                                "officeDocument/2006/relationships"),
                                                 QStringLiteral("id"))
                                          .toString()});
            else if (x.isStartElement() && x.name() == u"workbookView")
                book.activeSheet = attr(x, "activeTab").toInt();
        }
    }
    QHash<QString, QString> targets;
    if (readEntry(z, "xl/_rels/workbook.xml.rels", &xml)) {
        QXmlStreamReader x(xml);
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"Relationship")
                targets.insert(attr(x, "Id"), attr(x, "Target"));
        }
    }
    QStringList shared;
    if (readEntry(z, "xl/sharedStrings.xml", &xml)) {
        QXmlStreamReader x(xml);
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"si")
                shared << runText(x);
        }
    }
    if (readEntry(z, "xl/styles.xml", &xml))
        readStyles(xml, &book.styles);
    for (const auto& [name, id] : sheetIds) {
        WorkbookSheet sheet;
        sheet.name = name;
        QString target = targets.value(id);
        target = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        if (!readEntry(z, target.toUtf8().constData(), &xml) || !readSheet(xml, shared, &sheet)) {
            zip_discard(z);
            book.error = QStringLiteral("sheet unreadable: ") + name;
            return book;
        }
        book.sheets.append(sheet);
    }
    zip_discard(z);
    book.ok = true;
    return book;
}

} // namespace testing_support
