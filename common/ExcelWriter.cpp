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
#include <string>
#include <vector>

namespace {

// What the start-up reports for the writer built into the program.
const QString k_versionEcrivain = QStringLiteral("14.0");

// Serial number 0 of workbook dates is 30/12/1899. Serials below 61 (before 01/03/1900) are
// read differently by spreadsheet programs (their calendar has a 29/02/1900), and negative
// ones cannot be shown at all.
const qint64 k_jourZero = QDate(1899, 12, 30).toJulianDay();
constexpr qint64 k_premierSerialSur = 61;

// Header fill: the desktop's button face, the colour of the grid's fixed cells.
constexpr quint32 k_couleurEntete = 0xF0F0F0;

// Column widths, fitted to the contents: a workbook's width unit is one digit of an 11-point
// font; bold text is about a tenth wider.
constexpr double k_taillePoliceUnite = 11.0;
constexpr double k_largeurMarge = 1.0;
constexpr double k_largeurMax = 255.0;

bool estBlanc(QStringView s)
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

bool lireNombre(QStringView text, double* value, bool sansPourcent)
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
QString textePropre(const QString& t)
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
QDate dateSaisie(const QString& t)
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

// One cell converted without copying its text: the text written is texte(), a part of
// propre, which shares the grid's characters unless trimming or line ends changed them.
struct Conversion
{
    common::excel::CellKind kind = common::excel::CellKind::Empty;
    double number = 0;
    QString propre;
    qsizetype debut = 0; // 1 after the "keep as text" apostrophe

    QStringView texte() const { return QStringView(propre).sliced(debut); }
};

// The text of a cell that the rules make a text; Empty when nothing is left.
Conversion enTexte(QString s)
{
    Conversion c;
    c.debut = s.startsWith(u'\'') ? 1 : 0;
    if (s.size() > c.debut) {
        c.kind = common::excel::CellKind::Text;
        c.propre = std::move(s);
    } else {
        c.debut = 0;
    }
    return c;
}

Conversion texteDeColonne(const QString& t, const common::excel::ColumnRule& rule)
{
    return enTexte(rule.text && rule.keepAsTyped ? t : textePropre(t));
}

Conversion convertir(const QString& t, const common::excel::ColumnRule& rule)
{
    using common::excel::CellKind;
    if (rule.text)
        return texteDeColonne(t, rule);

    if (const QDate d = dateSaisie(t); d.isValid()) {
        const qint64 serial = d.toJulianDay() - k_jourZero;
        if (serial >= k_premierSerialSur)
            return {CellKind::Date, double(serial), {}, 0};
    }
    if (t.size() == 5 && !estBlanc(t) && fun_Verif_Heure(t)) {
        double heures = 0, minutes = 0;
        lireNombre(QStringView(t).left(2), &heures, false);
        lireNombre(QStringView(t).right(2), &minutes, false);
        return {CellKind::Time, (std::nearbyint(heures) * 60 + std::nearbyint(minutes)) / 1440.0, {}, 0};
    }

    QString u = textePropre(t);
    double v = 0;
    if (lireNombre(u, &v, false))
        return {CellKind::Number, v, {}, 0};
    if (u.contains(u'%') && lireNombre(u, &v, true))
        return {CellKind::Percent, v / 100.0, {}, 0};
    return enTexte(std::move(u));
}

} // namespace

// ================================================================ small procedures

void sub_Status_Message(const QString&, const QString&, const QString&) {}

bool fun_Verif_Heure(const QString& texte)
{
    if (estBlanc(texte))
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
    sub_Status_Message(QStringLiteral("Excel ") + k_versionEcrivain + QStringLiteral(" présent "));
    disponible = true;
    version = common::storedExcelVersion(k_versionEcrivain);
    lignesParFeuille = common::rowsPerSheet(version);
    sub_Status_Message(QStringLiteral("Fin test présence Excel "));
}

// ================================================================ cell conversion

namespace common::excel {

bool parseNumber(QStringView text, double* value) { return lireNombre(text, value, false); }

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
    const Conversion c = convertir(t, rule);
    return {c.kind, c.number, c.kind == CellKind::Text ? c.texte().toString() : QString()};
}

} // namespace common::excel

// ================================================================ the workbook

namespace {

using common::excel::CellKind;

// Number format of a written column, the first that applies: dates, times, percentages, then
// the text format of text columns.
enum class FormatColonne : int { General, Date, Heure, Pourcentage, Texte };
constexpr int k_nombreFormats = 5;

const char* codeFormat(FormatColonne f)
{
    switch (f) {
    case FormatColonne::Date:
        return "dd/mm/yyyy";
    case FormatColonne::Heure:
        return "hh:mm";
    case FormatColonne::Pourcentage:
        return "0.00%";
    case FormatColonne::Texte:
        return "@";
    default:
        return nullptr;
    }
}

struct Colonne
{
    int grille = 0; // grid column
    common::excel::ColumnRule regle;
    // For the sheet being written:
    bool date = false, heure = false, pourcentage = false;
    double largeur = 0; // in characters of the body font, header counted apart
    double largeurEntete = 0;

    FormatColonne format() const
    {
        if (date)
            return FormatColonne::Date;
        if (heure)
            return FormatColonne::Heure;
        if (pourcentage)
            return FormatColonne::Pourcentage;
        if (regle.text)
            return FormatColonne::Texte;
        return FormatColonne::General;
    }
};

// The longest line of a text, in characters.
qsizetype longueurLigne(QStringView s)
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
qsizetype longueurAffichee(const Conversion& c)
{
    switch (c.kind) {
    case CellKind::Text:
        return longueurLigne(c.texte());
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

class Classeur
{
public:
    Classeur(const grid::Grid& grille, std::vector<Colonne> colonnes, int premiere, int derniere)
        : m_grille(grille), m_colonnes(std::move(colonnes)), m_premiere(premiere), m_derniere(derniere),
          m_classeur(grid::SheetWriter::Rows::ToDisk)
    {
    }

    // Writes the workbook into its file in the writer's temporary folder (fichier()). Gives the
    // number of sheets; the reason of a failure names no file.
    platform::ResultOf<int> ecrire(const QString& nomFeuille);
    QString fichier() const { return m_classeur.path(); }

private:
    void creerFormats();
    void mesurer(int debut, int fin);
    platform::Result ecrireFeuille(int debut, int fin);
    platform::Result ecrireCellule(int ligne, int col, CellKind type, double nombre, QStringView texte,
                                   grid::SheetFormat format, int ligneGrille);

    const grid::Grid& m_grille;
    std::vector<Colonne> m_colonnes;
    int m_premiere;
    int m_derniere;
    grid::SheetWriter m_classeur;
    // Formats by column number format: body cells, header cells, whole columns.
    grid::SheetFormat m_corps[k_nombreFormats];
    grid::SheetFormat m_entete[k_nombreFormats];
    grid::SheetFormat m_colonne[k_nombreFormats];
    // The sheet being written, row by row: the kind of each cell and its number.
    std::vector<CellKind> m_types;
    std::vector<double> m_nombres;
};

void Classeur::creerFormats()
{
    for (int i = 0; i < k_nombreFormats; ++i) {
        grid::CellStyle corps;
        corps.fontName = gstr_Police_Excel;
        corps.verticallyCentred = true;
        corps.thinBorder = true;
        corps.numberFormat = codeFormat(FormatColonne(i));
        corps.italic = gbol_Italique_Excel;
        grid::CellStyle entete = corps;
        corps.fontSize = double(glng_Taille_Police_Excel);
        corps.bold = gbol_Gras_Excel;
        entete.fontSize = double(glng_Taille_Police_Excel + 1);
        entete.bold = true;
        entete.fill = k_couleurEntete;
        m_corps[i] = m_classeur.addFormat(corps);
        m_entete[i] = m_classeur.addFormat(entete);
        if (!corps.numberFormat.isEmpty()) {
            grid::CellStyle colonne;
            colonne.numberFormat = corps.numberFormat;
            m_colonne[i] = m_classeur.addFormat(colonne);
        }
    }
}

// First pass over the rows of one sheet: what each cell becomes, the column marks and widths.
void Classeur::mesurer(int debut, int fin)
{
    const int fixes = m_grille.fixedRows();
    const size_t n = m_colonnes.size();
    std::vector<qsizetype> largeurs(n, 0);
    for (size_t k = 0; k < n; ++k) {
        Colonne& col = m_colonnes[k];
        col.date = col.heure = col.pourcentage = false;
        col.largeurEntete = 0;
        for (int r = 0; r < fixes; ++r)
            col.largeurEntete =
                std::max(col.largeurEntete, double(longueurLigne(m_grille.cell(r, col.grille))));
    }
    m_types.resize(size_t(fin - debut + 1) * n);
    m_nombres.resize(m_types.size());
    size_t i = 0;
    for (int r = debut; r <= fin; ++r) {
        for (size_t k = 0; k < n; ++k, ++i) {
            Colonne& col = m_colonnes[k];
            const Conversion c = convertir(m_grille.cell(r, col.grille), col.regle);
            m_types[i] = c.kind;
            m_nombres[i] = c.number;
            col.date |= c.kind == CellKind::Date;
            col.heure |= c.kind == CellKind::Time;
            col.pourcentage |= c.kind == CellKind::Percent;
            largeurs[k] = std::max(largeurs[k], longueurAffichee(c));
        }
    }
    for (size_t k = 0; k < n; ++k)
        m_colonnes[k].largeur = double(largeurs[k]);
}

platform::Result Classeur::ecrireCellule(int ligne, int col, CellKind type, double nombre, QStringView texte,
                                         grid::SheetFormat format, int ligneGrille)
{
    bool ecrit = true;
    switch (type) {
    case CellKind::Empty:
        ecrit = m_classeur.writeBlank(ligne, col, format);
        break;
    case CellKind::Text:
        if (texte.size() > grid::kSheetMaxTextLength)
            return platform::Result::failure(
                QStringLiteral("la cellule de la ligne %1, colonne %2 dépasse %3 caractères")
                    .arg(ligneGrille)
                    .arg(m_colonnes[size_t(col)].grille)
                    .arg(grid::kSheetMaxTextLength));
        ecrit = m_classeur.writeText(ligne, col, texte, format);
        break;
    default:
        ecrit = m_classeur.writeNumber(ligne, col, nombre, format);
        break;
    }
    return ecrit ? platform::Result::success() : m_classeur.status();
}

platform::Result Classeur::ecrireFeuille(int debut, int fin)
{
    const int fixes = m_grille.fixedRows();
    const double taille = std::max(1, glng_Taille_Police_Excel);
    for (size_t k = 0; k < m_colonnes.size(); ++k) {
        const Colonne& col = m_colonnes[k];
        const double entete = col.largeurEntete * (taille + 1) / taille * 1.1;
        const double caracteres = std::max(col.largeur * (gbol_Gras_Excel ? 1.1 : 1.0), entete);
        const grid::SheetFormat format = m_colonne[int(col.format())];
        if (caracteres > 0) {
            const double largeur =
                std::min(caracteres * taille / k_taillePoliceUnite + k_largeurMarge, k_largeurMax);
            m_classeur.setColumn(int(k), largeur, format);
        } else if (format) {
            m_classeur.setColumnFormat(int(k), format);
        }
    }
    // Header rows, carriage returns as line feeds.
    for (int r = 0; r < fixes; ++r) {
        for (size_t k = 0; k < m_colonnes.size(); ++k) {
            QString t = m_grille.cell(r, m_colonnes[k].grille);
            t.replace(u'\r', u'\n');
            const CellKind type = t.isEmpty() ? CellKind::Empty : CellKind::Text;
            const grid::SheetFormat format = m_entete[int(m_colonnes[k].format())];
            if (platform::Result ecrit = ecrireCellule(r, int(k), type, 0, t, format, r); !ecrit)
                return ecrit;
        }
    }
    // Data rows, as the first pass found them; texts are taken from the grid again rather than
    // kept for a whole sheet.
    const size_t n = m_colonnes.size();
    std::vector<grid::SheetFormat> formats(n);
    for (size_t k = 0; k < n; ++k)
        formats[k] = m_corps[int(m_colonnes[k].format())];
    size_t i = 0;
    int ligne = fixes;
    for (int r = debut; r <= fin; ++r, ++ligne) {
        for (size_t k = 0; k < n; ++k, ++i) {
            const CellKind type = m_types[i];
            Conversion t;
            if (type == CellKind::Text)
                t = texteDeColonne(m_grille.cell(r, m_colonnes[k].grille), m_colonnes[k].regle);
            if (platform::Result ecrit =
                    ecrireCellule(ligne, int(k), type, m_nombres[i], t.texte(), formats[k], r);
                !ecrit)
                return ecrit;
        }
    }
    return platform::Result::success();
}

platform::ResultOf<int> Classeur::ecrire(const QString& nomFeuille)
{
    using Feuilles = platform::ResultOf<int>;
    if (platform::Result pret = m_classeur.status(); !pret)
        return Feuilles::failure(std::move(pret));
    creerFormats();

    const int fixes = m_grille.fixedRows();
    const qint64 limite = std::clamp<qint64>(glng_Lignes_Par_Feuille, fixes + 1, grid::kSheetMaxRows);
    const int parFeuille = int(limite - fixes);
    const int lignes = std::max(0, m_derniere - m_premiere + 1);
    const int feuilles = lignes == 0 ? 1 : (lignes + parFeuille - 1) / parFeuille;

    for (int f = 0; f < feuilles; ++f) {
        const int debut = m_premiere + f * parFeuille;
        const int fin = std::min(m_derniere, debut + parFeuille - 1);
        mesurer(debut, fin);
        sub_Status_Message(QStringLiteral(
            "Veuillez patienter durant la création du fichier EXCEL : enregistrement au format Excel."));
        const QString voulu =
            f == 0 ? nomFeuille.right(31)
                   : nomFeuille.right(26) + QStringLiteral("-%1").arg(f, 3, 10, QLatin1Char('0'));
        if (!m_classeur.addSheet(voulu, f + 1))
            return Feuilles::failure(m_classeur.status());
        if (platform::Result ecrite = ecrireFeuille(debut, fin); !ecrite)
            return Feuilles::failure(std::move(ecrite));
    }

    sub_Status_Message(QStringLiteral(
        "Veuillez patienter durant la création du fichier EXCEL : écriture et fermeture du fichier Excel."));
    if (platform::Result ferme = m_classeur.finish(); !ferme)
        return Feuilles::failure(std::move(ferme));
    return Feuilles::success(feuilles);
}

platform::Result echec(const QString& chemin, const QString& pourquoi)
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
        return grid::GridFile::save(grille, cible, grid::GridFile::Workbook, true);
    }
    if (ajoutFeuille)
        return echec(chemin, QStringLiteral("l'ajout de feuilles à un classeur existant n'est pas possible"));
    if (info.fileName().isEmpty())
        return echec(chemin, QStringLiteral("aucun nom de fichier"));

    const platform::PointerGuard sablier;
    QElapsedTimer chrono;
    chrono.start();

    // Rows: below the fixed rows, up to the last row asked for.
    const int fixes = grille.fixedRows();
    const int derniere =
        derniereLigne < 1 || derniereLigne > grille.rows() - 1 ? grille.rows() - 1 : int(derniereLigne);
    const int premiere = std::max(int(premiereLigne), fixes);

    // Columns: from 1, visible and not of width 0.
    std::vector<Colonne> colonnes;
    for (int c = 1; c < grille.cols(); ++c) {
        if (grille.colHidden(c) || grille.colWidth(c) == 0)
            continue;
        Colonne col;
        col.grille = c;
        col.regle = common::excel::columnRule(grille.cell(0, c));
        colonnes.push_back(col);
    }
    if (qsizetype(colonnes.size()) > grid::kSheetMaxCols)
        return echec(chemin, QStringLiteral("plus de %1 colonnes").arg(grid::kSheetMaxCols));

    Classeur classeur(grille, std::move(colonnes), premiere, derniere);
    const platform::ResultOf<int> feuilles = classeur.ecrire(nomFeuille);
    if (!feuilles)
        return echec(chemin, feuilles.result.error);
    // The finished workbook replaces the target only now: the old file stays until then.
    if (platform::Result copie = platform::saveFileFrom(cible, classeur.fichier()); !copie)
        return copie;

    sub_Status_Message(QStringLiteral("Sauvegarde du fichier EXCEL en ") +
                       QTime(0, 0).addMSecs(int(chrono.elapsed())).toString(QStringLiteral("hh:mm:ss")));
    nombreFeuilles += feuilles.value;
    return platform::Result::success();
}
