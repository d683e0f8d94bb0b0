// The record window: its opening and load, the edits that mark the record changed, its closing.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/RecordGrids.h"
#include "record/RecordOpening.h"
#include "record/RecordStore.h"
#include "record/Season.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

using grid::Grid;
using grid::GridView;
using namespace record::window;
namespace mb = platform::mb;

namespace {

const QString kCaption = QStringLiteral(
    "Mirelot [Suivi hivernal des oiseaux des champs]  - Saisie des données relatives aux parcelles");

} // namespace

// ================================================================ opening

frm_Releve_SHOC* frm_Releve_SHOC::openWindow(const record::RecordRequest& request, QWidget* parent)
{
    auto* window = new frm_Releve_SHOC(parent);
    if (const platform::Result loaded = window->load(request); !loaded.ok) {
        delete window;
        platform::dialogs().ask(QStringLiteral("Le relevé ne peut pas être ouvert.\n\n") + loaded.error,
                                mb::OKOnly | mb::Exclamation, common::kProgramName);
        return nullptr;
    }
    window->showNotices();
    return window;
}

frm_Releve_SHOC::frm_Releve_SHOC(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_Relevé_SHOC"));
    flx_Work.setObjectName(QStringLiteral("flx_Work"));
    buildPages();
    connectEdits();
    new record::RecordGrids(*this);
    connectFieldChecks();
    connectPageKeys();
}

frm_Releve_SHOC::~frm_Releve_SHOC() = default;

QSize frm_Releve_SHOC::sizeHint() const { return QSize(1280, 720); }

QString frm_Releve_SHOC::speciesFontFamily()
{
    static const QString family = [] {
        const QString arial = QStringLiteral("Arial");
        if (QFontDatabase::families().contains(arial, Qt::CaseInsensitive))
            return arial;
        QFont sans;
        sans.setStyleHint(QFont::SansSerif);
        sans.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        return QFontInfo(sans).family();
    }();
    return family;
}

// Every change the user makes marks the record modified; changes made by the load do not.
void frm_Releve_SHOC::connectEdits()
{
    const auto mark = [this] {
        if (!m_loading)
            sub_Statut();
    };
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, mark);
    for (QPlainTextEdit* edit : findChildren<QPlainTextEdit*>())
        connect(edit, &QPlainTextEdit::textChanged, this, mark);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::activated, this, mark);
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button->isCheckable())
            connect(button, &QAbstractButton::clicked, this, mark);
    for (GridView* view : findChildren<GridView*>())
        if (view != flx_EPS)
            connect(view, &GridView::afterEdit, this, mark);

    // The department chosen decides the communes offered (whoever chooses it: the user, or the
    // load before it chooses the record's commune).
    connect(cbo_Dept, &QComboBox::currentIndexChanged, this, &frm_Releve_SHOC::sub_Load_Communes);
    // An item the user chooses replaces the record's text that no item was.
    for (QComboBox* combo : {cbo_Dept, cbo_Communes, cbo_Milieu, cbo_Réseau})
        connect(combo, &QComboBox::activated, this, [this, combo] { m_keptListTexts.remove(combo); });
}

// ================================================================ load

platform::Result frm_Releve_SHOC::load(const record::RecordRequest& request)
{
    const platform::PointerGuard hourglass;
    m_loading = true;
    m_mode = request.mode;
    cmd_Save->setEnabled(false);

    // The species grid's font: its size as the window opens, kept for the zoom and the parcels'
    // grids; its family for every cell.
    Grid& species = flx_Espèces->grid();
    m_notedFontSize = species.defaultFontSize();
    m_species.setNotedFontSize(m_notedFontSize);
    species.setDefaultFontName(speciesFontFamily());
    m_species.sub_Flx_Kill_WRK();

    // Reference tables, and the lists built from them.
    const record::ReferencePaths paths = record::ReferencePaths::fromSettings();
    m_speciesTablePath = paths.species;
    if (const platform::Result read = m_references.load(paths); !read.ok)
        m_notices << read.error;
    const QStringList seasons = record::sub_Load_Cbo_Saison();
    cbo_Saison->addItems(seasons);
    cbo_Saison->setCurrentIndex(-1);
    cbo_Réseau->addItems(m_references.networks().items);
    cbo_Réseau->setCurrentIndex(m_references.networks().selected);
    sub_Load_Dept();

    setWindowTitle(kCaption);

    // Only the administrator sees the record in its stored form. For anyone else its page leaves
    // the tabs: a hidden tab at the end of the bar would keep the bar's arrows from scrolling.
    const bool administrator = common::isAdministratorMode(
        fun_Get_Setting_Str(common::kAdminSection, common::kPasswordValue, QString()));
    if (!administrator)
        ogl_Divers->removeTab(kStoredPage);

    setUpLocationGrid();
    setUpHabitatGrid();
    setUpWeatherGrid();

    setUpCoordinateSystems();

    cbo_Milieu->addItems(m_references.habitats().items);
    cbo_Milieu->setCurrentIndex(m_references.habitats().selected);
    cbo_Milieu->setEnabled(false);
    txt_Nbr_Relevés->setEnabled(false);

    // A new record starts with 5 parcels, each with an empty species grid.
    sub_Init_Flx_Espèces();
    applyParcelCount(record::kNewRecordParcels);
    for (int p = 1; p <= m_parcelCount; ++p)
        m_species.sub_Flx_Grid_to_File(species, p);

    // What the mode opens.
    m_store = std::make_unique<record::RecordStore>(record::RecordStore::fromSettings());
    const record::RecordOpening opening =
        record::openRecord(request, *m_store, m_references, seasons, flx_EPS->grid());
    if (!opening.result.ok) {
        m_loading = false;
        return opening.result;
    }
    m_mode = opening.mode;
    m_fileName = opening.fileName;
    m_storedFile = m_mode == record::RecordMode::Update ? m_fileName : QString();
    m_notices << opening.notices;
    fra_Générale->setTitle(opening.caption);
    applyRecord(opening.reading.record, opening.reading);
    flx_EPS->grid().setEditable(Grid::Editable::None);
    flx_EPS->fitColumnWidths(0, -1, kFitExtraTwips);
    flx_EPS->fitRowHeights();

    chk_Merge_Espèces->setChecked(false);
    sub_Init_Grilles(this);
    cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable());
    m_modified = false;
    m_loading = false;
    return platform::Result::success();
}

void frm_Releve_SHOC::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Sizes as the window's style and fonts give them once it is shown.
    fitParcelGridHeights();
}

void frm_Releve_SHOC::showNotices()
{
    if (m_notices.isEmpty())
        return;
    platform::dialogs().ask(m_notices.join(QStringLiteral("\n\n")), mb::OKOnly | mb::Information,
                            common::kProgramName);
}

// ================================================================ species table

bool frm_Releve_SHOC::confirmSpecies(const QString& code)
{
    return m_confirmations.confirm(m_references.speciesTable(), code);
}

// ================================================================ closing

void frm_Releve_SHOC::closeFrame()
{
    if (!checkBoxLeft())
        return;
    if (sub_Sauvegarder_Relevé() == SaveOutcome::Failed)
        return; // the record stays on screen, still to be saved
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frm_Releve_SHOC::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->ignore(); // a second close while the question is open waits for its answer
        return;
    }
    if (!m_closed) {
        // Text still in a cell's editor was stored by its grid before this close (its after-edit
        // marks the record changed).
        if (m_modified) {
            m_closing = true;
            const int answer = platform::dialogs().ask(
                QStringLiteral("ATTENTION !\n\nVous fermez la fenêtre sans avoir sauvegardé les données "
                               "modifiées.\n\nEst-ce normal ?"),
                mb::YesNo | mb::Question | mb::DefaultButton2, common::kProgramName);
            m_closing = false;
            if (answer != mb::Yes) {
                event->ignore();
                return;
            }
        }
        m_closed = true;
        m_species.sub_Flx_Kill_WRK();
        if (const platform::Result written = m_confirmations.writeBack(m_speciesTablePath); !written.ok)
            platform::dialogs().ask(QStringLiteral("Les espèces confirmées dans ce relevé n'ont pas pu être "
                                                   "enregistrées dans la table des espèces : leur première "
                                                   "saisie sera de nouveau demandée.\n\n") +
                                        written.error,
                                    mb::OKOnly | mb::Exclamation, common::kProgramName);
        Q_EMIT closed();
    }
    QWidget::closeEvent(event);
}
