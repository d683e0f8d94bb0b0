#include "mainwindow/frm_Param.h"

#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "grid/GridView.h"
#include "mainwindow/Frm_Selection_dossier.h"
#include "mainwindow/ParamConfig.h"
#include "mainwindow/ParamEditor.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

using grid::Grid;
using grid::GridView;

frm_Param::frm_Param(const QString& mode, const QString& protocole, QWidget* parent,
                     platform::RowSource* base)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_Param"));
    if (!base)
        base = &platform::rowSource();
    m_choixDossier = &Frm_Selection_dossier::choisir;
    construire();
    m_editeur = std::make_unique<mainwindow::ParamEditor>(flx_Grille->grid(), *base);
    m_editeur->setFiltreChiffres([](int cle) { return fun_KeyPress_Chiffres(cle); });
    brancherGrille();

    {
        const platform::PointerGuard sablier;
        m_editeur->loadMode(mode, protocole);
    }
    if (m_editeur->fermer())
        return;
    setWindowTitle(m_editeur->titre());
    fra_Grille->setTitle(m_editeur->texteMode());
    if (m_editeur->mode() == mainwindow::Mode::Dossier)
        txt_File->setText(m_editeur->dossier());
    appliquerAffichage();
    if (m_editeur->ajusterColonnes())
        flx_Grille->fitColumnWidths(0, -1, mainwindow::kColumnMarginTwips);
    sub_Init_Grilles(this);
}

// Nothing is saved on destruction: an editor still open is dropped by the grid, which sends
// nothing to a window whose destructor has begun.
frm_Param::~frm_Param() = default;

bool frm_Param::fermeeAuChargement() const { return m_editeur->fermer(); }

frm_Param* frm_Param::openWindow(const QString& mode, const QString& protocole, QWidget* parent,
                                 platform::RowSource* base)
{
    auto* fenetre = new frm_Param(mode, protocole, parent, base);
    if (fenetre->fermeeAuChargement()) {
        delete fenetre;
        return nullptr;
    }
    return fenetre;
}

void frm_Param::setChoixDossier(ChoixDossier choix)
{
    m_choixDossier = choix ? std::move(choix) : ChoixDossier(&Frm_Selection_dossier::choisir);
}

void frm_Param::construire()
{
    fra_Grille = new QGroupBox(this);
    fra_Grille->setObjectName(QStringLiteral("fra_Grille"));
    flx_Grille = new GridView(fra_Grille);
    flx_Grille->setObjectName(QStringLiteral("flx_Grille"));
    txt_File = new QLineEdit(fra_Grille);
    txt_File->setObjectName(QStringLiteral("txt_File"));
    cmd_Parcourir = new QPushButton(QStringLiteral("Parcourir"), fra_Grille);
    cmd_Parcourir->setObjectName(QStringLiteral("cmd_Parcourir"));

    cmd_Save = new QPushButton(QStringLiteral("Sauvegarder"), this);
    cmd_Save->setObjectName(QStringLiteral("cmd_Save"));
    cmd_Copier = new QPushButton(QStringLiteral("Copier"), this);
    cmd_Copier->setObjectName(QStringLiteral("cmd_Copier"));
    cmd_Annul_Esp = new QPushButton(QStringLiteral("RAZ"), this);
    cmd_Annul_Esp->setObjectName(QStringLiteral("cmd_Annul_Esp"));
    cmd_exit = new QPushButton(QStringLiteral("Fermer"), this);
    cmd_exit->setObjectName(QStringLiteral("cmd_exit"));

    auto* dossier = new QHBoxLayout;
    dossier->addWidget(txt_File, 1);
    dossier->addWidget(cmd_Parcourir);
    auto* cadre = new QVBoxLayout(fra_Grille);
    cadre->addWidget(flx_Grille, 1);
    cadre->addLayout(dossier);

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(cmd_Annul_Esp);
    boutons->addStretch(1);
    boutons->addWidget(cmd_Copier);
    boutons->addWidget(cmd_Save);
    boutons->addWidget(cmd_exit);
    auto* fenetre = new QVBoxLayout(this);
    fenetre->addWidget(fra_Grille, 1);
    fenetre->addLayout(boutons);

    // As the window is created: RAZ hidden, the rest shown until the load decides.
    cmd_Annul_Esp->setVisible(false);

    connect(cmd_Save, &QPushButton::clicked, this, &frm_Param::saveClicked);
    connect(cmd_Annul_Esp, &QPushButton::clicked, this, [this] { m_editeur->resetTable(); });
    connect(cmd_Copier, &QPushButton::clicked, this, [this] { sub_Copier_Grille(flx_Grille->grid()); });
    connect(cmd_exit, &QPushButton::clicked, this, &frm_Param::fermerFenetre);
    connect(cmd_Parcourir, &QPushButton::clicked, this, &frm_Param::browseClicked);
}

void frm_Param::brancherGrille()
{
    connect(flx_Grille, &GridView::beforeEdit, this,
            [this](int row, int col, bool* cancel) { *cancel = !m_editeur->canEdit(row, col); });
    connect(flx_Grille, &GridView::keyPressEdit, this,
            [this](int, int col, int* cle) { *cle = m_editeur->filterKey(col, *cle); });
    connect(flx_Grille, &GridView::afterEdit, this,
            [this](int row, int col) { m_editeur->afterEdit(row, col); });
    connect(flx_Grille, &GridView::keyDown, this, &frm_Param::toucheGrille);
    connect(flx_Grille, &GridView::mouseDown, this, [this](int bouton, int, int, int) {
        m_dernierBouton = bouton;
        sourisGrille(bouton);
    });
    // One click of the left button starts editing: no double click needed.
    connect(flx_Grille, &GridView::click, this, [this] {
        if (m_dernierBouton == platform::kLeftButton &&
            flx_Grille->grid().editable() != Grid::Editable::None && !flx_Grille->isEditing())
            flx_Grille->editCell();
    });
}

void frm_Param::appliquerAffichage()
{
    const mainwindow::Affichage& a = m_editeur->affichage();
    flx_Grille->setVisible(a.grille);
    txt_File->setVisible(a.txtFile);
    cmd_Parcourir->setVisible(a.cmdParcourir);
    cmd_Save->setVisible(a.cmdSave);
    cmd_Copier->setVisible(a.cmdCopier);
    cmd_Annul_Esp->setVisible(a.cmdAnnulEsp);
    cmd_exit->setVisible(a.cmdExit);
}

void frm_Param::toucheGrille(int* cle, int shift)
{
    if (*cle == platform::kKeyDelete) {
        m_editeur->clearSelection();
        *cle = 0;
    } else if ((*cle == platform::kKeyV && shift == platform::kCtrlMask) ||
               (*cle == platform::kKeyInsert && shift == platform::kShiftMask)) {
        const QClipboard* pressePapiers = QGuiApplication::clipboard();
        if (pressePapiers)
            m_editeur->pasteText(pressePapiers->text());
        *cle = 0;
    } else if (*cle == platform::kKeyC && shift == platform::kCtrlMask) {
        sub_Copier_Grille(flx_Grille->grid());
        *cle = 0;
    }
}

void frm_Param::sourisGrille(int bouton)
{
    // A right click on the top-left cell loads a tab-separated file over the table.
    if (bouton != platform::kRightButton || flx_Grille->mouseRow() != 0 || flx_Grille->mouseCol() != 0 ||
        !m_editeur->canLoadText())
        return;
    const std::optional<QString> fichier = platform::dialogs().inputBox(
        QStringLiteral("Veuillez indiquer le fichier à charger :"), common::kProgramName, QString());
    if (!fichier || fichier->isEmpty())
        return;
    const platform::PointerGuard sablier;
    m_editeur->loadText(*fichier);
}

void frm_Param::saveClicked()
{
    if (flx_Grille->isEditing())
        flx_Grille->finishEditing();
    const platform::PointerGuard sablier;
    m_editeur->saveTable();
}

void frm_Param::browseClicked()
{
    const QString titre =
        common::kProgramName + QStringLiteral(" - Sélection du dossier dédié à ") + common::kProgramName;
    const QString choisi = m_choixDossier(this, titre, txt_File->text());
    const platform::PointerGuard sablier;
    if (!choisi.isEmpty()) {
        txt_File->setText(choisi);
        m_editeur->folderChosen(choisi);
    }
}

QSize frm_Param::sizeHint() const
{
    QSize taille = QWidget::sizeHint();
    if (!flx_Grille->isHidden()) {
        // Every column, and the table's rows between the opening bounds.
        const GridView& v = *flx_Grille;
        const int cadre = 2 * v.frameWidth();
        const int barre = v.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &v);
        const int entete = v.verticalHeader()->isHidden() ? 0
                                                          : std::max(v.verticalHeader()->sizeHint().width(),
                                                                     v.verticalHeader()->minimumWidth());
        const int haut = v.horizontalHeader()->isHidden() ? 0 : v.horizontalHeader()->sizeHint().height();
        const int lignes =
            std::clamp(v.model()->rowCount(), mainwindow::kMinOpeningRows, mainwindow::kMaxOpeningRows);
        const int hauteurLigne =
            v.model()->rowCount() > 0 ? v.rowHeight(0) : v.verticalHeader()->defaultSectionSize();
        const QSize contenu(cadre + entete + v.horizontalHeader()->length() + barre,
                            cadre + haut + lignes * hauteurLigne + barre);
        const QSize actuel = v.sizeHint();
        taille += QSize(std::max(0, contenu.width() - actuel.width()),
                        std::max(0, contenu.height() - actuel.height()));
    }
    if (!txt_File->isHidden()) {
        // The whole folder, with room to spare.
        const int voulu =
            txt_File->fontMetrics().horizontalAdvance(txt_File->text() + QStringLiteral("MMMM"));
        taille.rwidth() += std::max(0, voulu - txt_File->sizeHint().width());
    }
    // The caption, with the title bar's icon and buttons (about four title-bar heights).
    const int barreTitre = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    taille.setWidth(
        std::max(taille.width(), fontMetrics().horizontalAdvance(windowTitle()) + 4 * barreTitre));
    return taille;
}

void frm_Param::closeEvent(QCloseEvent* event)
{
    if (m_fermeture) {
        event->ignore(); // a second close while the question is open waits for its answer
        return;
    }
    // Text still in the cell's editor was stored by the grid before this close.
    m_fermeture = true;
    const bool permise = m_editeur->fermer() || m_editeur->canClose();
    m_fermeture = false;
    if (!permise) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frm_Param::fermerFenetre()
{
    // Inside the main window the child window closes, and with it this one.
    if (auto* cadre = qobject_cast<QMdiSubWindow*>(parentWidget()))
        cadre->close();
    else
        close();
}
