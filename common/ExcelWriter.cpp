#include "common/ExcelWriter.h"

#include "common/Paths.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "grid/SheetWriter.h"
#include "platform/MousePointer.h"
#include "platform/SaveFile.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

namespace {

// What the start-up reports for the writer built into the program.
const QString kWriterVersion = QStringLiteral("14.0");

// Serial number 0 of workbook dates is 30/12/1899. Serials below 61 (before 01/03/1900) are
// read differently by spreadsheet programs (their calendar has a 29/02/1900), and negative
// ones cannot be shown at all.
const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();
constexpr qint64 kFirstSafeSerial = 61;

// Header fill: the desktop's button face, the colour of the grid's fixed cells.
constexpr quint32 kHeaderFill = 0xF0F0F0;

// Column widths, fitted to the contents: a workbook's width unit is one digit of an 11-point
// font; bold text is about a tenth wider.
constexpr double kUnitFontSize = 11.0;
constexpr double kWidthMargin = 1.0;
constexpr double kMaxWidth = 255.0;

bool isBlank(QStringView s)
{
    for (QChar c : s)
        if (!c.isSpace())
            return false;
    return true;
}

// Digits of a number written the way the writer accepts it, as plain ASCII with "." for the
// decimal separator and without a leading "+"; false when the text is no such number. With
// sansPourcent, every "%" of the text is passed over as if it had been removed.
bool asciiNumber(QStringView s, std::string& out, bool sansPourcent)
{
    const auto ignore = [&](QChar c) { return c.isSpace() || (sansPourcent && c == u'%'); };
    qsizetype i = 0, n = s.size();
    while (i < n && ignore(s[i]))
        ++i;
    while (n > i && ignore(s[n - 1]))
        --n;
    // Inside the number a "%" is passed over too; blanks are not.
    const auto next = [&] {
        while (sansPourcent && i < n && s[i] == u'%')
            ++i;
        return i < n ? s[i].unicode() : char16_t(0);
    };
    out.clear();
    if (const char16_t u = next(); u == u'+' || u == u'-') {
        if (u == u'-')
            out += '-';
        ++i;
    }
    int digits = 0;
    bool separator = false;
    for (char16_t u = next(); i < n; ++i, u = next()) {
        if (u >= '0' && u <= '9') {
            out += char(u);
            ++digits;
        } else if ((u == '.' || u == ',') && !separator) {
            out += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    if (const char16_t u = next(); u == u'e' || u == u'E') {
        out += 'e';
        ++i;
        if (const char16_t sign = next(); sign == u'+' || sign == u'-') {
            out += char(sign);
            ++i;
        }
        int expDigits = 0;
        for (char16_t d = next(); i < n && d >= '0' && d <= '9'; ++i, ++expDigits, d = next())
            out += char(d);
        if (expDigits == 0)
            return false;
    }
    return next() == 0 && i == n;
}

bool readNumber(QStringView text, double* value, bool sansPourcent)
{
    thread_local std::string ascii;
    if (!asciiNumber(text, ascii, sansPourcent))
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (ec != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

// Carriage returns become line feeds, then each pair of line feeds one line feed, after the
// blanks around the text are trimmed.
QString cleanText(const QString& t)
{
    QString u = t.trimmed();
    if (u.contains(u'\r')) {
        u.replace(u'\r', u'\n');
        u.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
    }
    return u;
}

// The day of a text written exactly "JJ/MM/AAAA", as sub_Vérif_Date accepts it; an invalid
// date otherwise. Read here digit by digit: an export checks every cell of a table.
QDate typedDate(const QString& t)
{
    if (t.size() != 10 || t.at(2) != u'/' || t.at(5) != u'/')
        return {};
    int chiffres[10] = {};
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
        const char16_t u = t.at(i).unicode();
        if (u < '0' || u > '9')
            return {};
        chiffres[i] = u - '0';
    }
    const int jour = chiffres[0] * 10 + chiffres[1];
    const int mois = chiffres[3] * 10 + chiffres[4];
    const int annee = chiffres[6] * 1000 + chiffres[7] * 100 + chiffres[8] * 10 + chiffres[9];
    return annee == 0 ? QDate() : QDate(annee, mois, jour);
}

// One cell converted without copying its text: the text written is text(), a part of
// clean, which shares the grid's characters unless trimming or line ends changed them.
struct Conversion
{
    common::excel::CellKind kind = common::excel::CellKind::Empty;
    double number = 0;
    QString clean;
    qsizetype start = 0; // 1 after the "keep as text" apostrophe

    QStringView text() const { return QStringView(clean).sliced(start); }
};

// The text of a cell that the rules make a text; Empty when nothing is left.
Conversion asText(QString s)
{
    Conversion c;
    c.start = s.startsWith(u'\'') ? 1 : 0;
    if (s.size() > c.start) {
        c.kind = common::excel::CellKind::Text;
        c.clean = std::move(s);
    } else {
        c.start = 0;
    }
    return c;
}

Conversion columnText(const QString& t, const common::excel::ColumnRule& rule)
{
    return asText(rule.text && rule.keepAsTyped ? t : cleanText(t));
}

Conversion convert(const QString& t, const common::excel::ColumnRule& rule)
{
    using common::excel::CellKind;
    if (rule.text)
        return columnText(t, rule);

    if (const QDate d = typedDate(t); d.isValid()) {
        const qint64 serial = d.toJulianDay() - kDayZero;
        if (serial >= kFirstSafeSerial)
            return {CellKind::Date, double(serial), {}, 0};
    }
    if (t.size() == 5 && !isBlank(t) && fun_Verif_Heure(t)) {
        double heures = 0, minutes = 0;
        readNumber(QStringView(t).left(2), &heures, false);
        readNumber(QStringView(t).right(2), &minutes, false);
        return {CellKind::Time, (std::nearbyint(heures) * 60 + std::nearbyint(minutes)) / 1440.0, {}, 0};
    }

    QString u = cleanText(t);
    double v = 0;
    if (readNumber(u, &v, false))
        return {CellKind::Number, v, {}, 0};
    if (u.contains(u'%') && readNumber(u, &v, true))
        return {CellKind::Percent, v / 100.0, {}, 0};
    return asText(std::move(u));
}

} // namespace

// ================================================================ small procedures

void sub_Status_Message(const QString&, const QString&, const QString&) {}

bool fun_Verif_Heure(const QString& texte)
{
    if (isBlank(texte))
        return true;
    if (texte.size() != 5)
        return false;
    double heures = 0, minutes = 0;
    if (!common::excel::parseNumber(QStringView(texte).left(2), &heures) || heures < 0 || heures > 23)
        return false;
    if (!common::excel::parseNumber(QStringView(texte).right(2), &minutes) || minutes < 0 || minutes > 59)
        return false;
    return texte.at(2) == u':';
}

QString common::storedExcelVersion(const QString& version)
{
    double v = 0;
    if (common::excel::parseNumber(version, &v) && v < 10)
        return version + QLatin1Char('0');
    return version;
}

qint32 common::rowsPerSheet(const QString& version)
{
    static const QStringList grandesFeuilles = {QStringLiteral("10.0"), QStringLiteral("11.0"),
                                                QStringLiteral("12.0"), QStringLiteral("13.0"),
                                                QStringLiteral("14.0")};
    return grandesFeuilles.contains(version) ? 65000 : 32000;
}

void Sub_Test_Version_Excel(bool& disponible, QString& version, qint32& lignesParFeuille)
{
    sub_Status_Message(QStringLiteral("Debut test présence Excel "));
    // The writer is linked into the program: it is always there.
    sub_Status_Message(QStringLiteral("Excel ") + kWriterVersion + QStringLiteral(" présent "));
    disponible = true;
    version = common::storedExcelVersion(kWriterVersion);
    lignesParFeuille = common::rowsPerSheet(version);
    sub_Status_Message(QStringLiteral("Fin test présence Excel "));
}

// ================================================================ cell conversion

namespace common::excel {

bool parseNumber(QStringView text, double* value) { return readNumber(text, value, false); }

ColumnRule columnRule(const QString& header)
{
    const QString h = header.toUpper();
    const bool bague = h.contains(QLatin1StringView("BAGUE"));
    const bool departement = h.contains(QLatin1StringView("DEPT")) ||
                             h.contains(QStringLiteral("DÉPARTEMENT")) ||
                             h.contains(QLatin1StringView("DEPARTEMENT"));
    ColumnRule rule;
    rule.text = bague || departement;
    rule.keepAsTyped = bague && !h.contains(QLatin1StringView("BAGUEUR"));
    return rule;
}

Cell convertCell(const QString& t, const ColumnRule& rule)
{
    const Conversion c = convert(t, rule);
    return {c.kind, c.number, c.kind == CellKind::Text ? c.text().toString() : QString()};
}

} // namespace common::excel

// ================================================================ the workbook

namespace {

using common::excel::CellKind;

// Number format of a written column, the first that applies: dates, times, percentages, then
// the text format of text columns.
enum class ColumnFormat : int { General, Date, Time, Percent, Text };
constexpr int kFormatCount = 5;

const char* formatCode(ColumnFormat f)
{
    switch (f) {
    case ColumnFormat::Date:
        return "dd/mm/yyyy";
    case ColumnFormat::Time:
        return "hh:mm";
    case ColumnFormat::Percent:
        return "0.00%";
    case ColumnFormat::Text:
        return "@";
    default:
        return nullptr;
    }
}

struct Column
{
    int gridColumn = 0;
    common::excel::ColumnRule rule;
    // For the sheet being written:
    bool date = false, time = false, percent = false;
    double width = 0; // in characters of the body font, header counted apart
    double headerWidth = 0;

    ColumnFormat format() const
    {
        if (date)
            return ColumnFormat::Date;
        if (time)
            return ColumnFormat::Time;
        if (percent)
            return ColumnFormat::Percent;
        if (rule.text)
            return ColumnFormat::Text;
        return ColumnFormat::General;
    }
};

// The longest line of a text, in characters.
qsizetype longestLine(QStringView s)
{
    qsizetype best = 0, run = 0;
    for (QChar c : s) {
        if (c == u'\n' || c == u'\r') {
            best = std::max(best, run);
            run = 0;
        } else {
            ++run;
        }
    }
    return std::max(best, run);
}

// Characters the cell shows, for the column width.
qsizetype shownLength(const Conversion& c)
{
    switch (c.kind) {
    case CellKind::Text:
        return longestLine(c.text());
    case CellKind::Date:
        return 10;
    case CellKind::Time:
        return 5;
    case CellKind::Percent: {
        char buffer[64];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, c.number * 100, std::chars_format::fixed, 2);
        return (r.ec == std::errc() ? r.ptr - buffer : 10) + 1;
    }
    case CellKind::Number: {
        char buffer[64];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, c.number, std::chars_format::general, 11);
        return r.ec == std::errc() ? r.ptr - buffer : 11;
    }
    case CellKind::Empty:
        break;
    }
    return 0;
}

// The conversion of a column's last cell, used again while the next cells of the column hold the
// same characters, shared with it (the rows of a table share most of their texts: a record's
// cells, a count, a species).
struct LastCell
{
    QString text;
    Conversion conversion;
    qsizetype shown = 0;
    bool known = false;

    bool holds(const QString& t) const { return known && t.isSharedWith(text); }
    void keep(const QString& t, Conversion c)
    {
        text = t;
        conversion = std::move(c);
        known = true;
    }
};

class ExportWorkbook
{
public:
    ExportWorkbook(const grid::Grid& grille, std::vector<Column> colonnes, int premiere, int derniere)
        : m_grid(grille), m_columns(std::move(colonnes)), m_first(premiere), m_last(derniere),
          m_writer(grid::SheetWriter::Rows::ToDisk)
    {
    }

    // Writes the workbook into its file in the writer's temporary folder (file()). Gives the
    // number of sheets; the reason of a failure names no file.
    platform::ResultOf<int> write(const QString& nomFeuille);
    QString file() const { return m_writer.path(); }

private:
    void createFormats();
    void measure(int debut, int fin);
    platform::Result writeSheet(int debut, int fin);
    platform::Result writeCell(int ligne, int col, CellKind type, double nombre, QStringView texte,
                               grid::SheetFormat format, int ligneGrille);

    const grid::Grid& m_grid;
    std::vector<Column> m_columns;
    int m_first;
    int m_last;
    grid::SheetWriter m_writer;
    // Formats by column number format: body cells, header cells, whole columns.
    grid::SheetFormat m_body[kFormatCount];
    grid::SheetFormat m_header[kFormatCount];
    grid::SheetFormat m_column[kFormatCount];
    // The sheet being written, row by row: the kind of each cell, and the numbers of the cells
    // that are numbers, dates, times or percentages, one after the other (a table's cells are
    // mostly texts and blanks: a number kept for each cell would double what this takes), in
    // blocks rather than in one array that doubles as it grows.
    std::vector<CellKind> m_types;
    std::deque<double> m_numbers;
    // The kinds whose number m_numbers keeps: what is kept and what is taken back must agree.
    static constexpr bool keepsNumber(CellKind k) { return k != CellKind::Text && k != CellKind::Empty; }
};

void ExportWorkbook::createFormats()
{
    for (int i = 0; i < kFormatCount; ++i) {
        grid::CellStyle corps;
        corps.fontName = gstr_Police_Excel;
        corps.verticallyCentred = true;
        corps.thinBorder = true;
        corps.numberFormat = formatCode(ColumnFormat(i));
        corps.italic = gbol_Italique_Excel;
        grid::CellStyle entete = corps;
        corps.fontSize = double(glng_Taille_Police_Excel);
        corps.bold = gbol_Gras_Excel;
        entete.fontSize = double(glng_Taille_Police_Excel + 1);
        entete.bold = true;
        entete.fill = kHeaderFill;
        m_body[i] = m_writer.addFormat(corps);
        m_header[i] = m_writer.addFormat(entete);
        if (!corps.numberFormat.isEmpty()) {
            grid::CellStyle colonne;
            colonne.numberFormat = corps.numberFormat;
            m_column[i] = m_writer.addFormat(colonne);
        }
    }
}

// First pass over the rows of one sheet: what each cell becomes, the column marks and widths.
void ExportWorkbook::measure(int debut, int fin)
{
    const int fixes = m_grid.fixedRows();
    const size_t n = m_columns.size();
    std::vector<qsizetype> largeurs(n, 0);
    for (size_t k = 0; k < n; ++k) {
        Column& col = m_columns[k];
        col.date = col.time = col.percent = false;
        col.headerWidth = 0;
        for (int r = 0; r < fixes; ++r)
            col.headerWidth = std::max(col.headerWidth, double(longestLine(m_grid.cell(r, col.gridColumn))));
    }
    m_types.resize(size_t(fin - debut + 1) * n);
    m_numbers.clear();
    std::vector<LastCell> derniers(n);
    size_t i = 0;
    for (int r = debut; r <= fin; ++r) {
        for (size_t k = 0; k < n; ++k, ++i) {
            Column& col = m_columns[k];
            LastCell& dernier = derniers[k];
            if (const QString t = m_grid.cell(r, col.gridColumn); !dernier.holds(t)) {
                dernier.keep(t, convert(t, col.rule));
                dernier.shown = shownLength(dernier.conversion);
            }
            const Conversion& c = dernier.conversion;
            m_types[i] = c.kind;
            if (keepsNumber(c.kind))
                m_numbers.push_back(c.number);
            col.date |= c.kind == CellKind::Date;
            col.time |= c.kind == CellKind::Time;
            col.percent |= c.kind == CellKind::Percent;
            largeurs[k] = std::max(largeurs[k], dernier.shown);
        }
    }
    for (size_t k = 0; k < n; ++k)
        m_columns[k].width = double(largeurs[k]);
}

platform::Result ExportWorkbook::writeCell(int ligne, int col, CellKind type, double nombre,
                                           QStringView texte, grid::SheetFormat format, int ligneGrille)
{
    bool ecrit = true;
    switch (type) {
    case CellKind::Empty:
        ecrit = m_writer.writeBlank(ligne, col, format);
        break;
    case CellKind::Text:
        if (texte.size() > grid::kSheetMaxTextLength)
            return platform::Result::failure(
                QStringLiteral("la cellule de la ligne %1, colonne %2 dépasse %3 caractères")
                    .arg(ligneGrille)
                    .arg(m_columns[size_t(col)].gridColumn)
                    .arg(grid::kSheetMaxTextLength));
        ecrit = m_writer.writeText(ligne, col, texte, format);
        break;
    default:
        ecrit = m_writer.writeNumber(ligne, col, nombre, format);
        break;
    }
    return ecrit ? platform::Result::success() : m_writer.status();
}

platform::Result ExportWorkbook::writeSheet(int debut, int fin)
{
    const int fixes = m_grid.fixedRows();
    const double taille = std::max(1, glng_Taille_Police_Excel);
    for (size_t k = 0; k < m_columns.size(); ++k) {
        const Column& col = m_columns[k];
        const double entete = col.headerWidth * (taille + 1) / taille * 1.1;
        const double caracteres = std::max(col.width * (gbol_Gras_Excel ? 1.1 : 1.0), entete);
        const grid::SheetFormat format = m_column[int(col.format())];
        if (caracteres > 0) {
            const double largeur = std::min(caracteres * taille / kUnitFontSize + kWidthMargin, kMaxWidth);
            m_writer.setColumn(int(k), largeur, format);
        } else if (format) {
            m_writer.setColumnFormat(int(k), format);
        }
    }
    // Header rows, carriage returns as line feeds.
    for (int r = 0; r < fixes; ++r) {
        for (size_t k = 0; k < m_columns.size(); ++k) {
            QString t = m_grid.cell(r, m_columns[k].gridColumn);
            t.replace(u'\r', u'\n');
            const CellKind type = t.isEmpty() ? CellKind::Empty : CellKind::Text;
            const grid::SheetFormat format = m_header[int(m_columns[k].format())];
            if (platform::Result ecrit = writeCell(r, int(k), type, 0, t, format, r); !ecrit)
                return ecrit;
        }
    }
    // Data rows, as the first pass found them; texts are taken from the grid again rather than
    // kept for a whole sheet.
    const size_t n = m_columns.size();
    std::vector<grid::SheetFormat> formats(n);
    for (size_t k = 0; k < n; ++k)
        formats[k] = m_body[int(m_columns[k].format())];
    std::vector<LastCell> derniers(n);
    size_t i = 0;
    size_t nombres = 0;
    int ligne = fixes;
    for (int r = debut; r <= fin; ++r, ++ligne) {
        for (size_t k = 0; k < n; ++k, ++i) {
            const CellKind type = m_types[i];
            QStringView texte;
            double nombre = 0;
            if (type == CellKind::Text) {
                LastCell& dernier = derniers[k];
                if (const QString t = m_grid.cell(r, m_columns[k].gridColumn); !dernier.holds(t))
                    dernier.keep(t, columnText(t, m_columns[k].rule));
                texte = dernier.conversion.text();
            } else if (keepsNumber(type)) {
                nombre = m_numbers[nombres++];
            }
            if (platform::Result ecrit = writeCell(ligne, int(k), type, nombre, texte, formats[k], r); !ecrit)
                return ecrit;
        }
    }
    return platform::Result::success();
}

platform::ResultOf<int> ExportWorkbook::write(const QString& nomFeuille)
{
    using Sheets = platform::ResultOf<int>;
    if (platform::Result pret = m_writer.status(); !pret)
        return Sheets::failure(std::move(pret));
    createFormats();

    const int fixes = m_grid.fixedRows();
    const qint64 limite = std::clamp<qint64>(glng_Lignes_Par_Feuille, fixes + 1, grid::kSheetMaxRows);
    const int parFeuille = int(limite - fixes);
    const int lignes = std::max(0, m_last - m_first + 1);
    const int feuilles = lignes == 0 ? 1 : (lignes + parFeuille - 1) / parFeuille;

    for (int f = 0; f < feuilles; ++f) {
        const int debut = m_first + f * parFeuille;
        const int fin = std::min(m_last, debut + parFeuille - 1);
        measure(debut, fin);
        sub_Status_Message(QStringLiteral(
            "Veuillez patienter durant la création du fichier EXCEL : enregistrement au format Excel."));
        const QString voulu =
            f == 0 ? nomFeuille.right(31)
                   : nomFeuille.right(26) + QStringLiteral("-%1").arg(f, 3, 10, QLatin1Char('0'));
        if (!m_writer.addSheet(voulu, f + 1))
            return Sheets::failure(m_writer.status());
        if (platform::Result ecrite = writeSheet(debut, fin); !ecrite)
            return Sheets::failure(std::move(ecrite));
    }

    sub_Status_Message(QStringLiteral(
        "Veuillez patienter durant la création du fichier EXCEL : écriture et fermeture du fichier Excel."));
    if (platform::Result ferme = m_writer.finish(); !ferme)
        return Sheets::failure(std::move(ferme));
    return Sheets::success(feuilles);
}

platform::Result failure(const QString& chemin, const QString& pourquoi)
{
    return platform::Result::failure(platform::writeFailureText(chemin, pourquoi));
}

} // namespace

platform::Result sub_Export_Excel([[maybe_unused]] bool excelConnecte, const grid::Grid& grille,
                                  const QString& chemin, [[maybe_unused]] const QString& formatFichier,
                                  const QString& nomFeuille, bool ajoutFeuille, qint32 premiereLigne,
                                  qint32 derniereLigne, int& nombreFeuilles)
{
    const QFileInfo info(chemin);
    const QString cible = common::writePath(info.absolutePath(), info.fileName());

    if (gstr_Version_Excel == QLatin1String("?")) {
        // No writer: the grid's own workbook, fixed cells included.
        return grid::GridFile::save(grille, cible, grid::GridFile::Workbook, true, platform::Links::Follow);
    }
    if (ajoutFeuille)
        return failure(chemin,
                       QStringLiteral("l'ajout de feuilles à un classeur existant n'est pas possible"));
    if (info.fileName().isEmpty())
        return failure(chemin, QStringLiteral("aucun nom de fichier"));

    const platform::PointerGuard sablier;
    QElapsedTimer chrono;
    chrono.start();

    // Rows: below the fixed rows, up to the last row asked for.
    const int fixes = grille.fixedRows();
    const int derniere =
        derniereLigne < 1 || derniereLigne > grille.rows() - 1 ? grille.rows() - 1 : int(derniereLigne);
    const int premiere = std::max(int(premiereLigne), fixes);

    // Columns: from 1, visible and not of width 0.
    std::vector<Column> colonnes;
    for (int c = 1; c < grille.cols(); ++c) {
        if (grille.colHidden(c) || grille.colWidth(c) == 0)
            continue;
        Column col;
        col.gridColumn = c;
        col.rule = common::excel::columnRule(grille.cell(0, c));
        colonnes.push_back(col);
    }
    if (qsizetype(colonnes.size()) > grid::kSheetMaxCols)
        return failure(chemin, QStringLiteral("plus de %1 colonnes").arg(grid::kSheetMaxCols));

    ExportWorkbook classeur(grille, std::move(colonnes), premiere, derniere);
    const platform::ResultOf<int> feuilles = classeur.write(nomFeuille);
    if (!feuilles)
        return failure(chemin, feuilles.result.error);
    // The finished workbook replaces the target only now: the old file stays until then.
    if (platform::Result copie = platform::saveFileFrom(cible, classeur.file(), platform::Links::Follow);
        !copie)
        return copie;

    sub_Status_Message(QStringLiteral("Sauvegarde du fichier EXCEL en ") +
                       QTime(0, 0).addMSecs(int(chrono.elapsed())).toString(QStringLiteral("hh:mm:ss")));
    nombreFeuilles += feuilles.value;
    return platform::Result::success();
}
