#include "mainwindow/frm_Param.h"

#include "common/Frm_Selection_dossier.h"
#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "common/ParamConfig.h"
#include "grid/GridView.h"
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

frm_Param::frm_Param(const QString& mode, const QString& scheme, QWidget* parent, platform::RowSource* base)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_Param"));
    if (!base)
        base = &platform::rowSource();
    m_folderChoice = &Frm_Selection_dossier::choose;
    build();
    m_editor = std::make_unique<mainwindow::ParamEditor>(flx_Grille->grid(), *base);
    m_editor->setDigitsFilter([](int cle) { return fun_KeyPress_Chiffres(cle); });
    connectGrid();

    {
        const platform::PointerGuard sablier;
        m_editor->loadMode(mode, scheme);
    }
    if (m_editor->mustClose())
        return;
    setWindowTitle(m_editor->title());
    fra_Grille->setTitle(m_editor->modeText());
    if (m_editor->mode() == common::ParamMode::Folder) {
        txt_File->setText(m_editor->folder());
        // The folder is changed through Parcourir and its checks; a text typed here would be
        // thrown away.
        txt_File->setReadOnly(true);
    }
    applyDisplay();
    if (m_editor->fitColumns())
        flx_Grille->fitColumnWidths(0, -1, mainwindow::kColumnMarginTwips);
    sub_Init_Grilles(this);
}

// Nothing is saved on destruction: an editor still open is dropped by the grid, which sends
// nothing to a window whose destructor has begun.
frm_Param::~frm_Param() = default;

bool frm_Param::closedAtLoad() const { return m_editor->mustClose(); }

frm_Param* frm_Param::openWindow(const QString& mode, const QString& scheme, QWidget* parent,
                                 platform::RowSource* base)
{
    auto* fenetre = new frm_Param(mode, scheme, parent, base);
    if (fenetre->closedAtLoad()) {
        delete fenetre;
        return nullptr;
    }
    return fenetre;
}

void frm_Param::setFolderChoice(FolderChoice choix)
{
    m_folderChoice = choix ? std::move(choix) : FolderChoice(&Frm_Selection_dossier::choose);
}

void frm_Param::build()
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
    connect(cmd_Annul_Esp, &QPushButton::clicked, this, [this] { m_editor->resetTable(); });
    connect(cmd_Copier, &QPushButton::clicked, this, [this] { sub_Copier_Grille(flx_Grille->grid()); });
    connect(cmd_exit, &QPushButton::clicked, this, &frm_Param::closeWindow);
    connect(cmd_Parcourir, &QPushButton::clicked, this, &frm_Param::browseClicked);
}

void frm_Param::connectGrid()
{
    connect(flx_Grille, &GridView::beforeEdit, this,
            [this](int row, int col, bool* cancel) { *cancel = !m_editor->canEdit(row, col); });
    connect(flx_Grille, &GridView::keyPressEdit, this,
            [this](int, int col, int* cle) { *cle = m_editor->filterKey(col, *cle); });
    connect(flx_Grille, &GridView::afterEdit, this,
            [this](int row, int col) { m_editor->afterEdit(row, col); });
    connect(flx_Grille, &GridView::keyDown, this, &frm_Param::gridKey);
    connect(flx_Grille, &GridView::mouseDown, this, [this](int bouton, int, int, int) {
        m_lastButton = bouton;
        gridMouse(bouton);
    });
    // One click of the left button starts editing: no double click needed.
    connect(flx_Grille, &GridView::click, this, [this] {
        if (m_lastButton == platform::kLeftButton && flx_Grille->grid().editable() != Grid::Editable::None &&
            !flx_Grille->isEditing())
            flx_Grille->editCell();
    });
}

void frm_Param::applyDisplay()
{
    const mainwindow::Display& a = m_editor->display();
    flx_Grille->setVisible(a.grid);
    txt_File->setVisible(a.txtFile);
    cmd_Parcourir->setVisible(a.cmdParcourir);
    cmd_Save->setVisible(a.cmdSave);
    cmd_Copier->setVisible(a.cmdCopier);
    cmd_Annul_Esp->setVisible(a.cmdAnnulEsp);
    cmd_exit->setVisible(a.cmdExit);
}

void frm_Param::gridKey(int* cle, int shift)
{
    if (*cle == platform::kKeyDelete) {
        m_editor->clearSelection();
        *cle = 0;
    } else if ((*cle == platform::kKeyV && shift == platform::kCtrlMask) ||
               (*cle == platform::kKeyInsert && shift == platform::kShiftMask)) {
        const QClipboard* pressePapiers = QGuiApplication::clipboard();
        if (pressePapiers) // a refused cell is named to the user by the editor
            static_cast<void>(m_editor->pasteText(pressePapiers->text()));
        *cle = 0;
    } else if (*cle == platform::kKeyC && shift == platform::kCtrlMask) {
        sub_Copier_Grille(flx_Grille->grid());
        *cle = 0;
    }
}

void frm_Param::gridMouse(int bouton)
{
    // A right click on the top-left cell loads a tab-separated file over the table.
    if (bouton != platform::kRightButton || flx_Grille->mouseRow() != 0 || flx_Grille->mouseCol() != 0 ||
        !m_editor->canLoadText())
        return;
    const std::optional<QString> fichier = platform::dialogs().inputBox(
        QStringLiteral("Veuillez indiquer le fichier à charger :"), common::kProgramName, QString());
    if (!fichier || fichier->isEmpty())
        return;
    const platform::PointerGuard sablier;
    static_cast<void>(m_editor->loadText(*fichier)); // a failure is told by the editor
}

void frm_Param::saveClicked()
{
    if (flx_Grille->isEditing())
        flx_Grille->finishEditing();
    const platform::PointerGuard sablier;
    static_cast<void>(m_editor->saveTable()); // a failure is told by the editor
}

void frm_Param::browseClicked()
{
    const QString titre =
        common::kProgramName + QStringLiteral(" - Sélection du dossier dédié à ") + common::kProgramName;
    const QString choisi = m_folderChoice(this, titre, txt_File->text());
    const platform::PointerGuard sablier;
    if (!choisi.isEmpty()) {
        txt_File->setText(choisi);
        static_cast<void>(m_editor->folderChosen(choisi)); // told by the settings layer
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
    if (m_closing) {
        event->ignore(); // a second close while the question is open waits for its answer
        return;
    }
    // Text still in the cell's editor was stored by the grid before this close.
    m_closing = true;
    const bool permise = m_editor->mustClose() || m_editor->canClose();
    m_closing = false;
    if (!permise) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frm_Param::closeWindow()
{
    // Inside the main window the child window closes, and with it this one.
    if (auto* cadre = qobject_cast<QMdiSubWindow*>(parentWidget()))
        cadre->close();
    else
        close();
}
