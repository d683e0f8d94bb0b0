#include "recordlist/frm_Liste_Releves_SHOC.h"

#include "common/EMail.h"
#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/GridFile.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/RecordStore.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

using namespace recordlist;

namespace {

const QString kTitle = QStringLiteral("Mirelot - Liste des zones de comptage");
const QString kNewTitle = QStringLiteral("Création d'un nouveau relevé");
// The width of the site list, in characters, whatever the sites' names.
constexpr int kSiteListLength = 40;

// A file left unconverted, unreadable or not imported is named once for the run of the program,
// whichever list window asks.
ToldOnce& toldOnce()
{
    static ToldOnce told;
    return told;
}

// The help text of a new-record choice.
QString choiceHelp(int index, const QString& caption)
{
    const QString start = QStringLiteral("Cette option, '") + caption;
    switch (index) {
    case 0:
        return start + QStringLiteral(
                           "' doit être utilisée pour ajouter un relevé SHOC dans\n\nun site N'AYANT JAMAIS "
                           "ETE PROSPECTE.");
    case 1:
        return start + QStringLiteral(
                           "' doit être utilisée pour ajouter un relevé SHOC dans\n\nun site DEJA PROSPECTE "
                           "DANS LA SAISON EN COURT.");
    default:
        return start + QStringLiteral(
                           "' doit être utilisée pour ajouter\n\nLE PREMIER PASSAGE SHOC, POUR UNE NOUVELLE "
                           "SAISON dans\n\n un site AYANT DEJA ETE PROSPECTE UNE ANNEE PRECEDENTE. ");
    }
}

// The rows picked in the list (the current one when none is), their cells joined by TAB, a line
// feed after each row, as Linux programs expect.
QString clipboardText(const grid::Grid& grid)
{
    QList<int> rows = grid.selectedRows();
    if (rows.isEmpty() && grid.row() >= grid.fixedRows())
        rows.append(grid.row());
    QString text;
    for (int row : std::as_const(rows))
        if (row >= grid.fixedRows())
            text += grid.rangeText(grid::GridRange{row, FileColumn, row, ListColumnCount - 1}) +
                    QLatin1Char('\n');
    return text;
}

} // namespace

frm_Liste_Releves_SHOC::frm_Liste_Releves_SHOC(Hooks hooks, QWidget* parent)
    : QWidget(parent), m_hooks(std::move(hooks)), m_list(toldOnce())
{
    const platform::PointerGuard hourglass;
    setObjectName(QStringLiteral("frm_Liste_Releves_SHOC"));
    setWindowTitle(kTitle);
    resize(900, 560);

    auto* layout = new QVBoxLayout(this);
    fra_Grille = new QGroupBox(this);
    fra_Grille->setObjectName(QStringLiteral("fra_Grille"));
    layout->addWidget(fra_Grille);
    auto* inner = new QVBoxLayout(fra_Grille);
    inner->addLayout(buildButtonBar());

    // The four views share one place.
    m_views = new QStackedLayout;
    inner->addLayout(m_views, 1);
    buildListView();
    buildNewRecordFrame();
    buildExportFrame();
    m_views->addWidget(fra_Export);
    buildProspectionView();
    m_views->addWidget(flx_Prospection);

    connectList();
    connectExport();
    connectProspection();
    showFirstList();
}

QBoxLayout* frm_Liste_Releves_SHOC::buildButtonBar()
{
    // One bar of buttons; those that share a place are never shown together.
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, fra_Grille);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    cmd_Ajout = button(QStringLiteral("cmd_Ajout"), QStringLiteral("Nouveau relevé"));
    cmd_vrai = button(QStringLiteral("cmd_vrai"), QStringLiteral("Valider"));
    cmd_maj = button(QStringLiteral("cmd_maj"), QStringLiteral("Modifier un relevé"));
    Cmd_Supp = button(QStringLiteral("Cmd_Supp"), QStringLiteral("Supprimer un relevé"));
    cmd_Export = button(QStringLiteral("cmd_Export"), QStringLiteral("Exporter un ou plusieurs relevés"));
    cmd_Email = button(QStringLiteral("cmd_Email"), QStringLiteral("Envoyer un courriel"));
    for (int k = 0; k < 3; ++k)
        cmd_Email_Relance[k] = button(QStringLiteral("cmd_Email_Relance_%1").arg(k),
                                      reminderCaption(static_cast<ReminderKind>(k)));
    cmd_Copier = button(QStringLiteral("cmd_Copier"), QStringLiteral("Copier la liste des relevés"));
    cmd_Prospection = button(QStringLiteral("cmd_Prospection"), QStringLiteral("Analyser la prospection"));
    buttons->addStretch();
    cmd_exit = button(QStringLiteral("cmd_exit"), QStringLiteral("Fermer"));
    cmd_Faux = button(QStringLiteral("cmd_Faux"), QStringLiteral("Annuler "));
    return buttons;
}

// The list of records, its grid in the first view.
void frm_Liste_Releves_SHOC::buildListView()
{
    flx_Grille = new grid::GridView(&m_grid, fra_Grille);
    flx_Grille->setObjectName(QStringLiteral("flx_Grille"));
    flx_Grille->setHeaderSort(true);
    // Thousands of records: the columns fit the records in sight.
    flx_Grille->setFitsShownRows(true);
    m_grid.setObjectName(QStringLiteral("flx_Grille"));
    m_grid.setSelectionMode(grid::Grid::SelectionMode::ListBox);
    m_views->addWidget(flx_Grille);
    // A name that the user narrows its column under is cut short in its middle, keeping the site's
    // beginning and the season and passage that end it; the whole name is in the tip. The titles
    // break where their texts do.
    flx_Grille->setWordWrap(false);
    flx_Grille->setTextElideMode(Qt::ElideMiddle);
}

// The new-record frame: the circumstances of the new record, and the site it is for.
void frm_Liste_Releves_SHOC::buildNewRecordFrame()
{
    fra_New_Eps = new QGroupBox(QStringLiteral("Ajout d'un nouvel relevé SHOC"), fra_Grille);
    fra_New_Eps->setObjectName(QStringLiteral("fra_New_Eps"));
    auto* frame = new QVBoxLayout(fra_New_Eps);
    auto* circumstances = new QGroupBox(QStringLiteral("Circonstances de création"), fra_New_Eps);
    circumstances->setObjectName(QStringLiteral("fra_Circonstances"));
    auto* choices = new QVBoxLayout(circumstances);
    frame->addWidget(circumstances);
    const QString captions[3] = {
        QStringLiteral("Je veux créer un relevé dans un nouveau site"),
        QStringLiteral("Je veux ajouter un nouveau relevé pour la saison en court dans le site"),
        QStringLiteral("Je veux ajouter un nouveau relevé dans un site déjà suivi les années précédentes ")};
    for (int i = 0; i < 3; ++i) {
        opt_New[i] = new QRadioButton(captions[i], circumstances);
        opt_New[i]->setObjectName(QStringLiteral("opt_New_%1").arg(i));
        choices->addWidget(opt_New[i]);
        connect(opt_New[i], &QRadioButton::clicked, this, [this, i] { optNewClicked(i); });
    }
    cbo_Carres = new QComboBox(circumstances);
    cbo_Carres->setObjectName(QStringLiteral("cbo_Carrés"));
    // The list spans the frame's width: its size does not hang on every site's name (thousands
    // of texts to measure each time the window's layout is computed).
    cbo_Carres->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbo_Carres->setMinimumContentsLength(kSiteListLength);
    choices->addWidget(cbo_Carres);
    frame->addStretch();
    m_views->addWidget(fra_New_Eps);
}

// The list's buttons, and what the list's grid tells of the mouse and the keys.
void frm_Liste_Releves_SHOC::connectList()
{
    connect(cmd_Ajout, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Ajout_Click);
    connect(cmd_vrai, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_vrai_Click);
    connect(cmd_Faux, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Faux_Click);
    connect(cmd_maj, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_maj_Click);
    connect(Cmd_Supp, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::Cmd_Supp_Click);
    connect(cmd_Copier, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Copier_Click);
    connect(cmd_exit, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    connect(flx_Grille, &grid::GridView::dblClick, this, &frm_Liste_Releves_SHOC::cmd_maj_Click);
    connect(flx_Grille, &grid::GridView::afterSort, this, [this](int col, int order) {
        m_list.noteHeaderSort(col, order);
        flx_Grille->setScrollTips(true);
    });
    connect(flx_Grille, &grid::GridView::scrollTip, this,
            [this](int row) { flx_Grille->setScrollTipText(m_grid.cell(row, FileColumn)); });
    connect(flx_Grille, &grid::GridView::mouseDown, this,
            [this](int button, int, int, int) { showContextMenu(button); });
    // Coming onto the header row from a data line, the tip tells how to sort.
    connect(flx_Grille, &grid::GridView::mouseMove, this, [this](int, int, int, int) {
        const int row = flx_Grille->mouseRow();
        if (row >= 1)
            flx_Grille->setToolTipText(QString());
        else if (row == 0 && m_mouseRow >= 1)
            flx_Grille->setToolTipText(
                QStringLiteral("Pour trier la liste, cliquer sur l'entête de la colonne."));
        m_mouseRow = row;
    });
    connect(flx_Grille, &grid::GridView::keyDown, this, [this](int* key, int shift) {
        if (*key == platform::kKeyC && shift == platform::kCtrlMask) {
            cmd_Copier_Click();
            *key = 0;
        }
    });
}

// The list shown for the first time: the sibling program's records imported first, then the data
// folder's records read.
void frm_Liste_Releves_SHOC::showFirstList()
{
    // What the commands after the load need: the correspondents.
    loadAddressBook();
    opt_Export[0]->setEnabled(gbol_Excel_Disponible);

    cmd_Faux_Click();
    importSiblingRecords();
    sub_Refresh_Liste_EPS();
    sub_Init_Grilles(this);
}

frm_Liste_Releves_SHOC::~frm_Liste_Releves_SHOC()
{
    if (gobj_Grille_Liste == &m_grid)
        gobj_Grille_Liste = nullptr;
}

void frm_Liste_Releves_SHOC::sub_Refresh_Liste_EPS()
{
    const record::RecordStore store = record::RecordStore::fromSettings();
    fra_Grille->setTitle(QStringLiteral("Liste des fichiers EPS présents dans ") + store.folder());
    const Listing& listing = m_list.refresh(store.folder(), m_grid, m_hooks.conversionObserver);

    cbo_Carres->clear();
    cbo_Carres->addItems(listing.sites);
    const bool any = !listing.sites.isEmpty();
    // Set from code: the help text is not shown. Without a site only a new site can be made;
    // with sites, no choice is made for the user.
    if (any) {
        opt_New[0]->setAutoExclusive(false); // a ticked button of a group cannot be cleared
        opt_New[0]->setChecked(false);
        opt_New[0]->setAutoExclusive(true);
    } else {
        opt_New[0]->setChecked(true);
    }
    opt_New[1]->setEnabled(any);
    cbo_Carres->setEnabled(any);
    for (QPushButton* b : {cmd_maj, Cmd_Supp, cmd_Export})
        b->setEnabled(any);
    cbo_Carres->setCurrentIndex(-1);
    // Each column as wide as its texts: the names are what the user reads to find a record. A
    // list wider than its window scrolls sideways.
    flx_Grille->fitColumnWidths(0, ListColumnCount - 1, 240);
    flx_Grille->fitRowHeights();
}

void frm_Liste_Releves_SHOC::optNewClicked(int index)
{
    if (isVisible())
        platform::dialogs().ask(choiceHelp(index, opt_New[index]->text()),
                                platform::mb::OKOnly | platform::mb::Exclamation, kNewTitle);
    cbo_Carres->setEnabled(index != 0);
}

void frm_Liste_Releves_SHOC::cmd_Ajout_Click()
{
    if (!opt_New[1]->isEnabled()) {
        cmd_vrai_Click();
        return;
    }
    showView(View::NewRecord);
}

void frm_Liste_Releves_SHOC::cmd_vrai_Click()
{
    NewRecordChoice choice = NewRecordChoice::NewSite;
    if (opt_New[1]->isChecked())
        choice = NewRecordChoice::NewPassage;
    else if (opt_New[2]->isChecked())
        choice = NewRecordChoice::NextWinter;
    const QString site = cbo_Carres->currentIndex() < 0 ? QString() : cbo_Carres->currentText();
    const NewRecordAnswer answer = confirmNewRecord(choice, site);
    if (answer.siteMissing)
        cbo_Carres->setFocus();
    if (!answer.request)
        return;
    cmd_Faux_Click();
    openRecord(*answer.request);
}

void frm_Liste_Releves_SHOC::cmd_Faux_Click() { showView(View::List); }

void frm_Liste_Releves_SHOC::showView(View view)
{
    m_view = view;
    const QList<QPushButton*> listButtons{cmd_Ajout,  cmd_maj,    Cmd_Supp,
                                          cmd_Export, cmd_Copier, cmd_Prospection};
    QList<QPushButton*> shown;
    switch (view) {
    case View::List:
        shown = listButtons;
        shown << cmd_exit;
        m_views->setCurrentWidget(flx_Grille);
        break;
    case View::NewRecord:
        shown = {cmd_vrai, cmd_Faux};
        m_views->setCurrentWidget(fra_New_Eps);
        break;
    case View::Export:
        // The list's buttons stay in sight, out of use, while the frame is open.
        shown = listButtons;
        shown << cmd_Faux;
        m_views->setCurrentWidget(fra_Export);
        break;
    case View::Prospection:
        shown = {cmd_Email, cmd_Email_Relance[0], cmd_Email_Relance[1], cmd_Email_Relance[2], cmd_Copier,
                 cmd_Faux};
        m_views->setCurrentWidget(flx_Prospection);
        break;
    }
    const QList<QPushButton*> all{cmd_Ajout,
                                  cmd_vrai,
                                  cmd_maj,
                                  Cmd_Supp,
                                  cmd_Export,
                                  cmd_Email,
                                  cmd_Email_Relance[0],
                                  cmd_Email_Relance[1],
                                  cmd_Email_Relance[2],
                                  cmd_Copier,
                                  cmd_Prospection,
                                  cmd_exit,
                                  cmd_Faux};
    for (QPushButton* b : all)
        b->setVisible(shown.contains(b));
    // Modify, delete and export need a record.
    const bool any = m_grid.rows() > 1;
    for (QPushButton* b : listButtons) {
        const bool needsRecord = b == cmd_maj || b == Cmd_Supp || b == cmd_Export;
        b->setEnabled(view != View::Export && (!needsRecord || any));
    }
}

void frm_Liste_Releves_SHOC::loadAddressBook()
{
    lst_Email->clear();
    const QString path = common::email::addressBookPath();
    if (!QFileInfo::exists(path))
        return; // no correspondent yet: the list stays empty
    grid::Grid book;
    if (const platform::Result loaded = grid::GridFile::load(book, path, grid::GridFile::Complete); !loaded) {
        platform::dialogs().ask(loaded.error, platform::mb::OKOnly | platform::mb::Exclamation, kTitle);
        return;
    }
    for (const common::email::Correspondent& c : common::email::correspondentsOf(book))
        (new QListWidgetItem(c.address, lst_Email))->setSelected(c.ticked);
}

void frm_Liste_Releves_SHOC::importSiblingRecords() { importAndTell(toldOnce(), m_hooks.importProgress); }

void frm_Liste_Releves_SHOC::cmd_maj_Click()
{
    const int row = m_grid.row();
    if (m_grid.rows() <= 1 || row < 1)
        return;
    if (const auto request = confirmModify(m_grid.rowKey(row), m_grid.cell(row, SiteColumn)))
        openRecord(*request);
}

void frm_Liste_Releves_SHOC::Cmd_Supp_Click()
{
    if (m_grid.rows() <= 1)
        return;
    const QStringList files = selectedFileNames(m_grid);
    if (files.isEmpty())
        return;
    const DeletionOutcome outcome = deleteRecords(record::RecordStore::fromSettings(), files);
    if (outcome.confirmed)
        sub_Refresh_Liste_EPS();
}

void frm_Liste_Releves_SHOC::cmd_Copier_Click()
{
    // In the prospection view the button copies the table's selection.
    const QString text =
        m_view == View::Prospection ? copyTextOfSelection(m_prospectionGrid) : clipboardText(m_grid);
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(text);
    }
}

void frm_Liste_Releves_SHOC::openRecord(const record::RecordRequest& request)
{
    if (!m_hooks.openRecord)
        return;
    QWidget* opened = m_hooks.openRecord(request);
    if (!opened)
        return;
    auto* releve = qobject_cast<frm_Releve_SHOC*>(opened);
    if (!releve)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(opened))
            releve = qobject_cast<frm_Releve_SHOC*>(sub->widget());
    if (releve)
        connect(releve, &frm_Releve_SHOC::recordSaved, this, &frm_Liste_Releves_SHOC::sub_Refresh_Liste_EPS,
                Qt::UniqueConnection);
    // Hidden while the record window is open; shown again when it closes.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->hide();
    else
        hide();
}

void frm_Liste_Releves_SHOC::showContextMenu(int button)
{
    if (button != platform::kRightButton || !m_hooks.bulkUpdateMenu)
        return;
    gobj_Grille_Liste = &m_grid;
    m_hooks.bulkUpdateMenu->popup(QCursor::pos());
}
