#include "mainwindow/ParamEditor.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/GridHelpers.h"
#include "common/KeyFilters.h"
#include "common/ParamConfig.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/RowSource.h"
#include "platform/Services.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

using grid::Grid;
using grid::GridFile;
using grid::GridRange;
namespace mb = platform::mb;
using common::ParamMode;
using common::ReferenceTable;

namespace mainwindow {

namespace {

// The species table's "Saisie" column: the only one an ordinary user may change.
constexpr int kColonneSaisie = common::kSpeciesEntryColumn;
// The species table's descriptive columns, which RAZ reads to find empty rows.
constexpr int kPremiereColonneEspece = 1;
constexpr int kDerniereColonneEspece = 4;
// The species table's further header texts, written by Save where the table has the columns.
constexpr int kColonneFindCode = 6;
constexpr int kColonneFindNom = 7;
// The squares table: the square number, then the coordinates.
constexpr int kColonneNumeroCarre = 2;
constexpr int kColonneLongitude = 3;
// The networks table: the code (capitals) and the five-minute count (digits).
constexpr int kColonneCodeReseau = 1;
constexpr int kColonne5mn = 3;
constexpr int kColonnesReseaux = 4;
// The species code, typed in capitals.
constexpr int kColonneCodeEspece = 2;
// The identification grid: the box, then the information columns.
constexpr int kColonneSelection = 1;
constexpr int kColonneOrganisme = 2;
constexpr int kColonneCPU = 3;
constexpr int kColonneNomOrdinateur = 4;
// The address book: the box, then the address.
constexpr int kColonneCaseAdresse = common::kAddressBoxColumn;
constexpr int kColonneAdresse = 2;

// A number typed in a cell: the locale's form, or the form with a point.
bool lireNombre(const QString& texte, const QLocale& locale, double* valeur)
{
    const QString t = texte.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = locale.toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *valeur = v;
    return true;
}

int filtreChiffresSilencieux(int cle)
{
    const QString point = QLocale().decimalPoint();
    return common::filterDigitKey(cle, QString(), point.isEmpty() ? QChar(u'.') : point[0], true, QString())
        .cle;
}

} // namespace

DispositionTexte textLayout(const QList<QStringList>& lignes, const QStringList& entete, int colonnesFixes)
{
    DispositionTexte d;
    if (lignes.isEmpty())
        return d;
    colonnesFixes = std::clamp(colonnesFixes, 0, int(entete.size()));
    const QStringList titres = entete.mid(colonnesFixes);
    int titresNonVides = 0;
    for (const QString& t : titres)
        titresNonVides += t.trimmed().isEmpty() ? 0 : 1;
    auto estEntete = [&](const QStringList& ligne, int decalage) {
        int egaux = 0;
        for (int k = 0; k < titres.size(); ++k) {
            const QString titre = titres[k].trimmed();
            const QString cellule = ligne.value(decalage + k).trimmed();
            if (titre.isEmpty() || cellule.isEmpty())
                continue;
            if (cellule.compare(titre, Qt::CaseInsensitive) != 0)
                return false;
            ++egaux;
        }
        return titresNonVides > 0 && egaux >= std::min(2, titresNonVides);
    };
    if (colonnesFixes > 0 && estEntete(lignes.first(), colonnesFixes)) {
        d.entete = true;
        d.colonnesFixes = true;
        return d;
    }
    if (estEntete(lignes.first(), 0)) {
        d.entete = true;
        return d;
    }
    if (colonnesFixes == 0 || lignes.first().size() != entete.size())
        return d;
    // The fixed cells of the program's rows: all empty, or the row numbers.
    bool vides = true, numerotees = true;
    for (int i = 0; i < lignes.size(); ++i) {
        for (int c = 0; c < colonnesFixes; ++c) {
            const QString cellule = lignes[i].value(c).trimmed();
            vides = vides && cellule.isEmpty();
            numerotees = numerotees && (c > 0 ? cellule.isEmpty() : cellule == QString::number(i + 1));
        }
    }
    d.colonnesFixes = vides || numerotees;
    return d;
}

QString paramWindowTitle(const QString& mode, const QString& protocole)
{
    QString titre = common::kProgramName + QStringLiteral(" - ") + mode;
    if (!protocole.isEmpty())
        titre += QStringLiteral(" [") + protocole + QLatin1Char(']');
    return titre;
}

QString formatSquareNumber(const QString& texte, const QLocale& locale)
{
    double v = 0;
    if (!lireNombre(texte, locale, &v))
        return texte;
    const double arrondi = std::round(v); // halves away from zero
    if (std::fabs(arrondi) >= 1e15)
        return QString::number(arrondi, 'f', 0);
    const qint64 n = qint64(arrondi);
    const QString chiffres = QString::number(n < 0 ? -n : n).rightJustified(4, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + chiffres : chiffres;
}

QString formatCoordinate(const QString& texte, const QLocale& locale)
{
    double v = 0;
    if (!lireNombre(texte, locale, &v))
        return texte;
    QLocale sansGroupes = locale;
    sansGroupes.setNumberOptions(QLocale::OmitGroupSeparator);
    return sansGroupes.toString(v, 'f', 3);
}

void sortComputers(QList<Ordinateur>& ordinateurs)
{
    std::stable_sort(ordinateurs.begin(), ordinateurs.end(), [](const Ordinateur& a, const Ordinateur& b) {
        if (const int c = a.organisme.compare(b.organisme, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return a.cpu.compare(b.cpu, Qt::CaseInsensitive) < 0;
    });
}

// ================================================================ editor

ParamEditor::ParamEditor(Grid& grille, platform::RowSource& base)
    : m_grille(grille), m_base(base), m_filtreChiffres(filtreChiffresSilencieux)
{
}

void ParamEditor::setFiltreChiffres(FiltreTouche filtre)
{
    m_filtreChiffres = filtre ? std::move(filtre) : FiltreTouche(filtreChiffresSilencieux);
}

bool ParamEditor::administrateur() const { return common::isAdministratorMode(m_grille.tag()); }

void ParamEditor::signaler(const QString& texte) const
{
    platform::dialogs().ask(texte, mb::OKOnly | mb::Exclamation, common::kProgramName);
}

// ---------------------------------------------------------------- load

void ParamEditor::loadMode(const QString& mode, const QString& protocole)
{
    m_texteMode = mode;
    m_protocole = protocole;
    m_mode = common::modeFromText(mode);
    m_affichage = Affichage();
    m_etat = EtatTable::SansFichier;
    m_fermer = false;
    m_modifiee = false;
    m_chemin.clear();
    m_erreurBase.clear();
    m_grille.setTag(fun_Get_Setting_Str(common::kAdminSection, common::kPasswordValue, QString()));
    m_dossier = fun_Get_Setting_Str(common::kParametersSection, common::kFolderValue, gstr_Dossier);

    if (const ReferenceTable* table = common::paramTable(m_mode)) {
        chargerTable(*table);
    } else if (m_mode == ParamMode::Identification) {
        chargerIdentification();
        if (m_fermer)
            return;
    } else if (m_mode == ParamMode::Dossier) {
        m_affichage.grille = false;
        m_affichage.cmdExit = false;
        m_affichage.cmdCopier = false;
        m_affichage.cmdSave = false;
    }

    if (m_mode != ParamMode::Carrés)
        supprimerLignesVides();
    if (m_mode != ParamMode::Identification)
        m_grille.addRow();
    // Fix-ups whose save failed stay to be saved: the reference is then the file as read.
    if (!m_modifiee)
        m_empreinte = empreinte();
}

QStringList ParamEditor::empreinte() const
{
    const Grid& g = m_grille;
    QStringList lignes;
    for (int r = g.fixedRows(); r < g.rows(); ++r) {
        if (ligneVide(r))
            continue;
        QString ligne;
        for (int c = g.fixedCols(); c < g.cols(); ++c)
            ligne += g.cell(r, c) + u'\x1f' + QString::number(g.checkState(r, c)) + u'\t';
        lignes << ligne;
    }
    return lignes;
}

bool ParamEditor::isModified() const
{
    return m_affichage.cmdSave && m_etat != EtatTable::Illisible && empreinte() != m_empreinte;
}

bool ParamEditor::canClose()
{
    if (!isModified())
        return true;
    const QString question =
        QStringLiteral("Les modifications de « %1 » n'ont pas été enregistrées.").arg(m_texteMode) +
        QStringLiteral("\n\nVoulez-vous les enregistrer avant de fermer la fenêtre ?");
    switch (platform::dialogs().ask(question, mb::YesNoCancel | mb::Exclamation, common::kProgramName)) {
    case mb::Yes:
        return saveTable().ok; // a failed save has said why; the window stays open
    case mb::No:
        return true;
    default:
        return false;
    }
}

void ParamEditor::chargerTable(const ReferenceTable& table)
{
    m_affichage.txtFile = false;
    m_affichage.cmdParcourir = false;
    m_affichage.cmdAnnulEsp = m_mode == ParamMode::Espèces;
    m_chemin = common::tablePath(m_mode);

    Grid& g = m_grille;
    g.setFixedRows(0);
    g.setRows(0);
    const platform::Result lu = GridFile::load(g, m_chemin, table.formatChargement);
    if (lu) {
        m_etat = EtatTable::Chargee;
    } else {
        // Only a missing file is an empty table; a file that is there but cannot be read is left
        // alone, and no Save is offered that would replace it with an empty table.
        m_etat = QFileInfo::exists(m_chemin) ? EtatTable::Illisible : EtatTable::Absente;
        g.setFixedRows(0);
        g.setRows(0);
        g.setFormatString(table.entete);
        for (int c : table.colonnesCases)
            g.setColDataType(c, Grid::DataType::Boolean);
        if (m_etat == EtatTable::Illisible)
            signaler(
                QStringLiteral("La table « %1 » ne peut pas être lue : elle est affichée vide et ne peut pas "
                               "être enregistrée depuis cette fenêtre. Le fichier n'a pas été modifié.")
                    .arg(m_texteMode) +
                QStringLiteral("\n\n") + lu.error);
    }

    if (m_mode == ParamMode::Réseaux)
        g.setCols(kColonnesReseaux);
    if (m_mode == ParamMode::Comportements && g.rows() > 1) {
        const GridRange donnees{1, 0, g.rows() - 1, g.cols() - 1};
        g.setReadOnly(donnees, false);
        g.setBackColour(donnees, 0);
    }
    if (m_mode == ParamMode::Adresses && m_etat == EtatTable::Absente) {
        const int r = g.addRow(QString(), 1);
        g.setCell(r, kColonneAdresse, common::kShocCoordinationAddress);
        g.setCheckState(r, kColonneCaseAdresse, Grid::Checked);
    }
    g.setFixedRows(1);
    if (g.cols() > 0)
        g.setFixedCols(1);

    const bool modifiable =
        m_etat != EtatTable::Illisible &&
        (m_mode == ParamMode::Espèces || m_mode == ParamMode::Adresses || administrateur());
    g.setEditable(modifiable ? Grid::Editable::KeyboardMouse : Grid::Editable::None);
    m_affichage.cmdSave = modifiable;
    if (m_etat == EtatTable::Illisible)
        m_affichage.cmdAnnulEsp = false;

    if (m_mode == ParamMode::Adresses && m_etat == EtatTable::Chargee)
        corrigerAdresses();
}

void ParamEditor::corrigerAdresses()
{
    Grid& g = m_grille;
    m_empreinte = empreinte(); // the book as read, before its fix-ups
    int ligneSHOC = g.findRow(common::kShocCoordinationAddress, 1, kColonneAdresse);
    if (ligneSHOC < 0) {
        ligneSHOC = g.addRow(QString(), 1);
        g.setCell(ligneSHOC, kColonneAdresse, common::kShocCoordinationAddress);
        g.setCheckState(ligneSHOC, kColonneCaseAdresse, Grid::Unchecked);
        m_modifiee = true;
    }
    const int ligneSTOC = g.findRow(common::kStocEpsCoordinationAddress, 1, kColonneAdresse);
    if (ligneSTOC >= 0 && g.checkState(ligneSTOC, kColonneCaseAdresse) == Grid::Checked) {
        g.setCheckState(ligneSTOC, kColonneCaseAdresse, Grid::Unchecked);
        g.setCheckState(ligneSHOC, kColonneCaseAdresse, Grid::Checked);
        m_modifiee = true;
    }
    if (m_modifiee && saveTable())
        m_modifiee = false;
}

void ParamEditor::chargerIdentification()
{
    const QString moteur = fun_Get_Setting_Str(common::kGadrelSection, common::kEngineValue,
                                               common::kNoEngine, common::kGadrelProgram);
    if (moteur == common::kNoEngine) {
        platform::dialogs().ask(QStringLiteral("Le logiciel Gadrel n'est pas installé sur votre ordinateur"),
                                mb::OKOnly, common::kProgramName);
        m_fermer = true;
        return;
    }
    const QString base = common::normalisePath(fun_Get_Setting_Str(
        common::kGadrelSection, common::kDatabaseValue, common::kNoDatabase, common::kGadrelProgram));
    const QString choixCPU =
        fun_Get_Setting_Str(common::kParametersSection, common::kCpuChoiceValue + m_protocole, QString());
    const QString choixOrganisme = fun_Get_Setting_Str(
        common::kParametersSection, common::kOrganisationChoiceValue + m_protocole, QString());

    const platform::RowSourceResult lu =
        m_base.readTable(base, common::kComputersTable,
                         {common::kOrganisationField, common::kCpuField, common::kComputerField});
    m_erreurBase = lu.result.error;
    if (!lu.result) {
        // The grid shows what was read; the user is told why it is empty or short.
        const QString etat =
            lu.rows.isEmpty()
                ? QStringLiteral("La liste des ordinateurs de Gadrel n'a pas pu être lue : elle reste vide.")
                : QStringLiteral("La liste des ordinateurs de Gadrel n'a pas pu être lue en entier : seuls "
                                 "les %1 premiers ordinateurs sont affichés.")
                      .arg(lu.rows.size());
        signaler(etat + QStringLiteral("\n\n") + lu.result.error);
    }
    QList<Ordinateur> ordinateurs;
    for (const QStringList& row : lu.rows)
        ordinateurs << Ordinateur{row.value(0), row.value(1), row.value(2)};
    sortComputers(ordinateurs);

    Grid& g = m_grille;
    g.setFixedRows(0);
    g.setRows(0);
    g.setFormatString(kIdentificationHeader);
    g.setColDataType(kColonneSelection, Grid::DataType::Boolean);
    // The row of the saved choice: its organisation and its code, never the code alone, which two
    // organisations may share.
    bool coche = false;
    for (const Ordinateur& o : std::as_const(ordinateurs)) {
        const int r = g.addRow();
        g.setCell(r, kColonneOrganisme, o.organisme);
        g.setCell(r, kColonneCPU, o.cpu);
        g.setCell(r, kColonneNomOrdinateur, o.nom);
        const bool choisi =
            !coche && !choixCPU.isEmpty() && o.cpu == choixCPU && o.organisme == choixOrganisme;
        g.setCheckState(r, kColonneSelection, choisi ? Grid::Checked : Grid::Unchecked);
        coche = coche || choisi;
    }

    m_affichage.txtFile = false;
    m_affichage.cmdParcourir = false;
    g.setFixedRows(1);
    g.setFixedCols(1);
    if (g.rows() > 1)
        g.setReadOnly(GridRange{1, kColonneOrganisme, g.rows() - 1, kColonneNomOrdinateur}, true);
    g.setEditable(Grid::Editable::KeyboardMouse);
    m_affichage.cmdSave = true;
    m_affichage.cmdCopier = false;
}

bool ParamEditor::ligneVide(int row) const
{
    for (int c = m_grille.fixedCols(); c < m_grille.cols(); ++c)
        if (!m_grille.cell(row, c).trimmed().isEmpty() || m_grille.checkState(row, c) == Grid::Checked)
            return false;
    return true;
}

void ParamEditor::supprimerLignesVides()
{
    for (int r = m_grille.rows() - 1; r >= 1 && r >= m_grille.fixedRows(); --r)
        if (ligneVide(r))
            m_grille.removeRow(r);
}

// ---------------------------------------------------------------- editing rules

bool ParamEditor::isLocked(int row, int col) const
{
    if (m_grille.isReadOnly(row, col))
        return true;
    const grid::GridColour couleur = m_grille.backColour(row, col);
    return couleur != 0 && couleur == m_grille.backColourFixed();
}

bool ParamEditor::canEdit(int row, int col) const
{
    if (isLocked(row, col))
        return false;
    if (m_mode == ParamMode::Espèces && !administrateur() && col != kColonneSaisie)
        return false;
    return true;
}

bool ParamEditor::isCellEditable(int row, int col) const
{
    const Grid& g = m_grille;
    return g.editable() != Grid::Editable::None && row >= g.fixedRows() && col >= g.fixedCols() &&
           row < g.rows() && col < g.cols() && !g.colHidden(col) && canEdit(row, col);
}

int ParamEditor::filterKey(int col, int cle) const { return touche(col, cle, m_filtreChiffres); }

int ParamEditor::touche(int col, int cle, const FiltreTouche& filtreChiffres) const
{
    switch (m_mode) {
    case ParamMode::Carrés:
        if (col == kColonneNumeroCarre || col > kColonneLongitude)
            return filtreChiffres(cle);
        break;
    case ParamMode::Réseaux:
        if (col == kColonne5mn)
            return filtreChiffres(cle);
        if (col == kColonneCodeReseau)
            return fun_Majuscule_Sans_Accent(cle);
        break;
    case ParamMode::Espèces:
        if (col == kColonneCodeEspece)
            return fun_Majuscule_Sans_Accent(cle);
        break;
    default:
        break;
    }
    return cle;
}

QString ParamEditor::formatApresSaisie(int col, const QString& texte) const
{
    if (m_mode == ParamMode::Carrés) {
        if (col == kColonneNumeroCarre)
            return formatSquareNumber(texte);
        if (col > kColonneNumeroCarre)
            return formatCoordinate(texte);
    }
    return texte;
}

void ParamEditor::afterEdit(int row, int col)
{
    Grid& g = m_grille;
    if (m_mode == ParamMode::Carrés && col >= kColonneNumeroCarre)
        g.setCell(row, col, formatApresSaisie(col, g.cell(row, col)));
    if (m_mode == ParamMode::Identification) {
        if (row >= 1 && row < g.rows()) {
            g.setCheckState(GridRange{1, kColonneSelection, g.rows() - 1, kColonneSelection},
                            Grid::Unchecked);
            g.setCheckState(row, kColonneSelection, Grid::Checked);
        }
        return;
    }
    g.addRow();
}

void ParamEditor::clearSelection()
{
    const GridRange s = m_grille.selection();
    if (s.isEmpty())
        return;
    for (int r = s.row1; r <= s.row2; ++r)
        for (int c = s.col1; c <= s.col2; ++c)
            if (isCellEditable(r, c))
                m_grille.clearRange(GridRange{r, c, r, c});
}

std::optional<QString> ParamEditor::texteSaisi(int col, const QString& texte) const
{
    // Each character as if typed in the cell's editor; the numeric filter says nothing here, the
    // paste's own message names the cell. Tabs and line ends cannot be typed into a cell.
    QString saisi;
    saisi.reserve(texte.size());
    for (const QChar ch : texte) {
        if (ch.unicode() < 0x20)
            return std::nullopt;
        const int cle = touche(col, ch.unicode(), filtreChiffresSilencieux);
        if (cle == 0)
            return std::nullopt;
        saisi += QChar(char16_t(cle));
    }
    return formatApresSaisie(col, saisi);
}

platform::Result ParamEditor::pasteText(const QString& texte)
{
    Grid& g = m_grille;
    // One line end at the end is the spreadsheet's, not a further row.
    QString bloc = texte;
    if (bloc.endsWith(QLatin1String("\r\n")))
        bloc.chop(2);
    else if (bloc.endsWith(u'\n') || bloc.endsWith(u'\r'))
        bloc.chop(1);
    bloc.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    bloc.replace(u'\r', u'\n');
    const QStringList lignes = bloc.split(u'\n');

    // A table that grows row by row as it is typed also grows for the rows pasted below it.
    const int r0 = g.row(), c0 = g.col();
    const bool grandit = m_mode != ParamMode::Identification && isCellEditable(r0, c0);
    struct Refus
    {
        int row, col;
        QString pourquoi, texte;
    };
    QList<Refus> refus;
    for (int i = 0; i < lignes.size(); ++i) {
        const int r = r0 + i;
        if (grandit && r >= g.rows())
            g.addRow();
        const QStringList cellules = lignes[i].split(u'\t');
        for (int j = 0; j < cellules.size(); ++j) {
            const int c = c0 + j;
            const QString& colle = cellules[j];
            if (r >= g.rows() || c >= g.cols()) {
                refus << Refus{r, c, QStringLiteral("hors de la table"), colle};
                continue;
            }
            if (g.colDataType(c) == Grid::DataType::Boolean && r >= g.fixedRows()) {
                // A box is ticked by a click, not by a text; an empty text leaves it as it is.
                if (!colle.isEmpty())
                    refus << Refus{r, c, QStringLiteral("case à cocher"), colle};
                continue;
            }
            const std::optional<QString> saisi = texteSaisi(c, colle);
            if (saisi && *saisi == g.cell(r, c))
                continue; // nothing to change
            if (!isCellEditable(r, c)) {
                refus << Refus{r, c, QStringLiteral("cellule non modifiable"), colle};
                continue;
            }
            if (!saisi) {
                refus << Refus{r, c, QStringLiteral("caractères refusés dans cette colonne"), colle};
                continue;
            }
            g.setCell(r, c, *saisi);
        }
    }
    if (refus.isEmpty())
        return platform::Result::success();

    constexpr int kCellulesNommees = 10;
    QStringList noms;
    for (const Refus& f : std::as_const(refus).first(std::min<qsizetype>(refus.size(), kCellulesNommees))) {
        const QString titre = f.col < g.cols() ? g.cell(0, f.col).trimmed() : QString();
        noms << QStringLiteral("- ligne %1, colonne %2 (%3) : « %4 »")
                    .arg(f.row)
                    .arg(titre.isEmpty() ? QString::number(f.col) : QStringLiteral("« %1 »").arg(titre),
                         f.pourquoi, f.texte);
    }
    if (refus.size() > kCellulesNommees)
        noms << QStringLiteral("- et %1 autres cellules").arg(refus.size() - kCellulesNommees);
    const QString pourquoi =
        QStringLiteral("Le texte collé n'a pas été repris dans ces cellules, qui n'ont pas changé :\n\n") +
        noms.join(u'\n');
    signaler(pourquoi);
    return platform::Result::failure(pourquoi);
}

bool ParamEditor::canLoadText() const
{
    const Grid& g = m_grille;
    if (g.editable() != Grid::Editable::KeyboardMouse || m_etat == EtatTable::Illisible)
        return false;
    // Every cell of a new row, and every cell already there, must be open to the user.
    for (int c = g.fixedCols(); c < g.cols(); ++c)
        if (m_mode == ParamMode::Espèces && !administrateur() && c != kColonneSaisie)
            return false;
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        for (int c = g.fixedCols(); c < g.cols(); ++c)
            if (isLocked(r, c))
                return false;
    return true;
}

platform::Result ParamEditor::loadText(const QString& chemin)
{
    if (!canLoadText())
        return platform::Result::failure(
            QStringLiteral("La table « %1 » ne peut pas être remplacée par un fichier.").arg(m_texteMode));
    Grid& g = m_grille;
    const QString fichier = common::normalisePath(chemin);
    auto echec = [this](const platform::Result& r) {
        const QString pourquoi =
            QStringLiteral("Le fichier n'a pas pu être chargé : la table n'a pas changé.\n\n") + r.error;
        signaler(pourquoi);
        return platform::Result::failure(pourquoi);
    };
    // First the file as it stands, every line from its first cell, to see how it is laid out.
    Grid brut;
    brut.setFixedRows(0);
    brut.setFixedCols(0);
    brut.setRows(0);
    if (const platform::Result r = GridFile::load(brut, fichier, GridFile::TabText); !r)
        return echec(r);
    QList<QStringList> lignes;
    for (int r = 0; r < brut.rows(); ++r) {
        QStringList ligne;
        for (int c = 0; c < brut.cols(); ++c)
            ligne << brut.cell(r, c);
        lignes << ligne;
    }
    QStringList entete;
    for (int c = 0; c < g.cols(); ++c)
        entete << g.cell(0, c);
    const DispositionTexte disposition = textLayout(lignes, entete, g.fixedCols());

    // Then read in the table's layout, so that its check-box columns read truth values: the
    // file's fixed cells, when it has them, fall in the table's fixed columns.
    Grid lu;
    lu.setCols(g.cols());
    for (int c = 0; c < g.cols(); ++c)
        lu.setColDataType(c, g.colDataType(c));
    lu.setFixedRows(0);
    lu.setFixedCols(disposition.colonnesFixes ? 0 : g.fixedCols());
    lu.setRows(0);
    if (const platform::Result r = GridFile::load(lu, fichier, GridFile::TabText); !r)
        return echec(r);
    // The table keeps its header and its columns: cells beyond its last column are dropped.
    g.setRows(g.fixedRows());
    const int colonnes = std::min(g.cols(), lu.cols());
    for (int i = disposition.entete ? 1 : 0; i < lu.rows(); ++i) {
        const int row = g.addRow();
        for (int c = g.fixedCols(); c < colonnes; ++c) {
            g.setCell(row, c, lu.cell(i, c));
            if (g.colDataType(c) == Grid::DataType::Boolean)
                g.setCheckState(row, c, lu.checkState(i, c));
        }
    }
    return platform::Result::success();
}

// ---------------------------------------------------------------- buttons

void ParamEditor::arreterNumerotation()
{
    if (m_grille.fixedCols() < 1)
        return;
    for (int r = 0; r < m_grille.rows(); ++r)
        m_grille.setCell(r, 0, QString());
}

platform::Result ParamEditor::saveTable()
{
    if (!m_affichage.cmdSave || m_etat == EtatTable::Illisible)
        return platform::Result::failure(
            QStringLiteral("La table « %1 » ne peut pas être enregistrée depuis cette fenêtre.")
                .arg(m_texteMode));
    arreterNumerotation();
    platform::Result fait = platform::Result::success();
    if (const ReferenceTable* table = common::paramTable(m_mode))
        fait = m_mode == ParamMode::Espèces ? enregistrerEspeces(*table) : enregistrerTable(*table);
    else if (m_mode == ParamMode::Identification)
        fait = enregistrerIdentification();
    if (fait)
        m_empreinte = empreinte();
    return fait;
}

platform::Result ParamEditor::enregistrerTable(const ReferenceTable& table)
{
    sub_Tri_Colonne(m_grille);
    const platform::Result ecrit = GridFile::save(m_grille, m_chemin, table.formatSauvegarde, true);
    if (!ecrit)
        return refusEnregistrement(ecrit.error);
    return ecrit;
}

platform::Result ParamEditor::refusEnregistrement(const QString& raison) const
{
    const QString pourquoi =
        QStringLiteral("La table « %1 » n'a pas été enregistrée.\n\n").arg(m_texteMode) + raison;
    signaler(pourquoi);
    return platform::Result::failure(pourquoi);
}

platform::Result ParamEditor::enregistrerEspeces(const ReferenceTable& table)
{
    Grid& g = m_grille;
    sub_Tri_Colonne(g);
    // The table passes once through the workbook form, in memory: the table's own file is
    // written once, complete, at the end.
    const platform::ResultOf<QByteArray> classeur = GridFile::toWorkbook(g, true, m_chemin);
    platform::Result r = classeur.result;
    if (r)
        r = GridFile::fromWorkbook(g, classeur.value, m_chemin);
    QString pourquoi = r.error;
    bool ok = r.ok;
    if (ok) {
        if (g.cols() > kColonneFindCode)
            g.setCell(0, kColonneFindCode, QStringLiteral("FIndRowCode"));
        if (g.cols() > kColonneFindNom)
            g.setCell(0, kColonneFindNom, QStringLiteral("FIndRowNomF"));
        const platform::Result ecrit = GridFile::save(g, m_chemin, table.formatSauvegarde, true);
        ok = ecrit.ok;
        pourquoi = ecrit.error;
    }
    if (g.rows() > 0 && g.cols() > 0) {
        const GridRange tout{0, 0, g.rows() - 1, g.cols() - 1};
        g.setBackColour(tout, 0);
        g.setFontSize(tout, kSpeciesFontSize);
    }
    if (!ok)
        return refusEnregistrement(pourquoi);
    return platform::Result::success();
}

platform::Result ParamEditor::enregistrerIdentification()
{
    const Grid& g = m_grille;
    for (int r = 1; r < g.rows(); ++r) {
        if (g.checkState(r, kColonneSelection) != Grid::Checked)
            continue;
        // A failed write is told by the settings layer, once a session; the choice stays in memory.
        // Both values are written whatever becomes of the first.
        const platform::Result cpu = sub_Reg_Write_HKLM(
            common::kParametersSection, common::kCpuChoiceValue + m_protocole, g.cell(r, kColonneCPU));
        const platform::Result organisme =
            sub_Reg_Write_HKLM(common::kParametersSection, common::kOrganisationChoiceValue + m_protocole,
                               g.cell(r, kColonneOrganisme));
        return cpu ? organisme : cpu;
    }
    return platform::Result::success();
}

void ParamEditor::resetTable()
{
    if (m_mode != ParamMode::Espèces || !m_affichage.cmdAnnulEsp)
        return;
    Grid& g = m_grille;
    if (g.rows() > 1)
        g.setCheckState(GridRange{1, kColonneSaisie, g.rows() - 1, kColonneSaisie}, Grid::Unchecked);
    for (int r = g.rows() - 1; r >= 1; --r) {
        bool vide = true;
        for (int c = kPremiereColonneEspece; c <= kDerniereColonneEspece && vide; ++c)
            vide = g.cell(r, c).isEmpty();
        if (vide)
            g.removeRow(r);
    }
    g.addRow();
}

platform::Result ParamEditor::folderChosen(const QString& dossier)
{
    if (dossier.isEmpty())
        return platform::Result::failure(
            QStringLiteral("Aucun dossier n'a été choisi : le dossier de travail reste « %1 ».")
                .arg(m_dossier));
    m_dossier = dossier;
    return sub_Reg_Write_HKLM(common::kParametersSection, common::kFolderValue, dossier);
}

} // namespace mainwindow
