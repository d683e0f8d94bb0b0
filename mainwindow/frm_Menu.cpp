#include "mainwindow/frm_Menu.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "mainwindow/Documentation.h"
#include "mainwindow/MainWindowKeys.h"
#include "mainwindow/MenuOptions.h"
#include "mainwindow/StudyDepartmentsPrompt.h"
#include "mainwindow/UpdateCheck.h"
#include "mainwindow/WindowArrangement.h"
#include "mainwindow/frm_A_Propos.h"
#include "mainwindow/frm_Param.h"
#include "mainwindow/frm_Splash_Logo.h"
#include "mainwindow/frm_Wait.h"
#include "platform/Check.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "record/BulkUpdate.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <iterator>
#include <memory>
#include <utility>

using mainwindow::Option;

namespace {
QString itemName(const QString& name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}
QString itemKey(const QString& name) { return name.toLower(); }

// The wait window while older record files are converted.
class ConversionWait : public recordlist::ConversionObserver
{
public:
    void conversionBegins(int) override
    {
        m_wait = std::make_unique<frm_Wait>();
        m_wait->showWindow();
    }
    void converting(int, const QString&) override {}
    void conversionEnds() override { m_wait.reset(); }

private:
    std::unique_ptr<frm_Wait> m_wait;
};

// The wait window while the sibling program's records are imported.
class ImportWait : public recordlist::ImportProgress
{
public:
    void importBegins(int) override
    {
        m_wait = std::make_unique<frm_Wait>();
        m_wait->showWindow();
    }
    void fileDone(int, int, const QString&) override {}
    void importEnds() override { m_wait.reset(); }

private:
    std::unique_ptr<frm_Wait> m_wait;
};

ImportWait& importWait()
{
    static ImportWait wait;
    return wait;
}

ConversionWait& conversionWait()
{
    static ConversionWait wait;
    return wait;
}
} // namespace

frm_Menu::frm_Menu(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_Menu"));
    m_flxWork.setObjectName(QStringLiteral("flx_Work"));
    m_flxCarres.setObjectName(QStringLiteral("Flx_Carrés"));
    m_commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    mainwindow::resetMenuOptions();

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdi"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    // The area changes size without the window (scroll bars, a maximised child's controls in
    // the menu bar): the logo follows.
    m_mdi->viewport()->installEventFilter(this);
    // The logo is the area's background. When the area activates it (the active window closing, a
    // click on it), it goes back behind the windows once the area has raised it, and the window on
    // top becomes the active one.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
        if (active && active == m_logo)
            QTimer::singleShot(0, this, &frm_Menu::putLogoBehind);
    });

    // A settings window that closes itself while loading (no sibling product) opens nothing.
    m_paramFactory = [](const QString& mode, const QString& protocole) {
        return frm_Param::openWindow(mode, protocole);
    };

    m_timCheckUpdAuto = new QTimer(this);
    m_timCheckUpdAuto->setObjectName(QStringLiteral("tim_CheckUPD_Auto"));
    m_timCheckUpdAuto->setInterval(1);
    connect(m_timCheckUpdAuto, &QTimer::timeout, this, [this] {
        m_timCheckUpdAuto->stop(); // once per start at most
        sub_Retreive_Last_Version(true);
    });

    buildMenus();
    // F10 and Alt for the menu bar, Ctrl+F4 for the active child window.
    new mainwindow::MainWindowKeys(this, [this] { closeActiveWindow(); });

    // The items follow the marks, whoever sets them.
    common::observeOptions([this](const QString& name, bool on) {
        if (QAction* a = item(name); a && a->isCheckable())
            a->setChecked(on);
    });

    setWindowTitle(common::kProgramName);
    resize(1024, 720);
}

frm_Menu::~frm_Menu()
{
    // The child windows go first, while the menus and the options they may read still exist. The
    // area and the logo are watched no more before they go: the events their parts raise while
    // they go must not reach into half-destroyed objects.
    if (m_logo)
        m_logo->removeEventFilter(this);
    delete std::exchange(m_mdi, nullptr);
    common::observeOptions(nullptr);
}

QAction* frm_Menu::item(const QString& name, int index) const
{
    return m_items.value(itemKey(itemName(name, index)));
}

QAction* frm_Menu::addItem(QWidget* parent, const QString& name, const QString& caption, int index)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(itemName(name, index));
    parent->addAction(a);
    m_items.insert(itemKey(itemName(name, index)), a);
    return a;
}

QMenu* frm_Menu::addMenu(QWidget* parent, const QString& name, const QString& caption)
{
    auto* m = new QMenu(caption, parent);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    parent->addAction(m->menuAction());
    m_items.insert(itemKey(name), m->menuAction());
    return m;
}

// One entry of the menu bar, in the order the bar shows them: a table walked by buildMenus.
struct frm_Menu::MenuItem
{
    enum class Kind {
        Filler,    // an item "|" of the bar between two menus
        Menu,      // a menu or sub-menu, which the entries after it name as their parent
        Item,      // an item that runs its handler when chosen
        Param,     // an item that opens a settings window in its mode (and survey scheme)
        Option,    // a check-marked option
        Frequency, // a check-marked frequency of the update check
        Separator
    };
    using Handler = void (*)(frm_Menu& menu, int index);

    Kind kind = Kind::Item;
    QString parent = {}; // the object name of its menu; empty: the menu bar
    QString name = {};
    QString caption = {};
    int index = -1; // its index in a control array, -1 for a single item
    Handler handler = nullptr;
    mainwindow::Option mark = {};
    QString mode = {};
    QString scheme = {};
    QKeySequence shortcut = {};
    bool visible = true;
    bool enabled = true;

    static MenuItem filler(QStringView name, bool enabled)
    {
        MenuItem e{Kind::Filler, QString(), name.toString(), QStringLiteral("|")};
        e.enabled = enabled;
        return e;
    }
    static MenuItem menu(QStringView parent, QStringView name, QStringView caption)
    {
        return {Kind::Menu, parent.toString(), name.toString(), caption.toString()};
    }
    static MenuItem item(QStringView parent, QStringView name, QStringView caption, int index = -1,
                         Handler handler = nullptr)
    {
        return {Kind::Item, parent.toString(), name.toString(), caption.toString(), index, handler};
    }
    static MenuItem param(QStringView parent, QStringView name, QStringView caption, QStringView mode,
                          QStringView scheme = {})
    {
        MenuItem e{Kind::Param, parent.toString(), name.toString(), caption.toString()};
        e.mode = mode.toString();
        e.scheme = scheme.toString();
        return e;
    }
    static MenuItem option(QStringView parent, mainwindow::Option option, QStringView caption)
    {
        MenuItem e{Kind::Option, parent.toString(), mainwindow::optionName(option), caption.toString()};
        e.mark = option;
        return e;
    }
    static MenuItem frequency(QStringView parent, QStringView name, QStringView caption, int index)
    {
        return {Kind::Frequency, parent.toString(), name.toString(), caption.toString(), index};
    }
    static MenuItem separator(QStringView parent) { return {Kind::Separator, parent.toString()}; }

    MenuItem hidden() &&
    {
        visible = false;
        return std::move(*this);
    }
    MenuItem disabled() &&
    {
        enabled = false;
        return std::move(*this);
    }
    MenuItem withShortcut(const QKeySequence& keys) &&
    {
        shortcut = keys;
        return std::move(*this);
    }
};

QList<frm_Menu::MenuItem> frm_Menu::menuItems()
{
    using M = MenuItem;
    const QStringView options = u"Options", settings = u"Paramètrage", autoUpdate = u"auto_maj_Internet",
                      eps = u"EPS", doc = u"DOC", windows = u"Fenêtres", help = u"Filler80",
                      popup = u"Popup_Maj";
    const QStringView identification = u"Indentification de votre Gadrel";
    QList<MenuItem> items = {
        M::filler(u"Filler00", false),

        M::menu({}, options, u"Options"),
        M::menu(options, settings, u"Paramétrage"),
        M::param(settings, u"File", u"Dossier de travail", u"Dossier de travail"),
        M::param(settings, u"Gadrel_STOC_EPS", u"Identification de votre Gadrel STOC-EPS", identification,
                 u"STOC-EPS"),
        M::param(settings, u"Gadrel_EPS_SITES", u"Identification de votre Gadrel EPS-SITES", identification,
                 u"EPS-SITES"),
        M::param(settings, u"Gadrel_SHOC", u"Identification de votre Gadrel SHOC", identification, u"SHOC")
            .hidden(),
        M::option(settings, Option::RenumGrid, u"Numéroter les lignes dans les grilles"),
        M::option(settings, Option::AltColor, u"Couleur alternée dans les grilles"),
        M::option(settings, Option::Ajust, u"Largeur de colonne automatique"),
        M::option(settings, Option::Regroup, u"Regrouper les lignes espèces"),
        M::option(settings, Option::SaisieEsp, u"Saisie des codes espèces en mode apprentissage "),
        M::option(settings, Option::Saisie_Mammiferes, u"Autoriser la saisie de mammifères").disabled(),
        M::option(settings, Option::Atlas_STOC_EPS,
                  u"Autoriser la saisie d'un code atlas nicheurs dans les relevés STOC-EPS"),
        M::option(settings, Option::Saisie_Commentaires,
                  u"Autoriser la saisie d'un commentaire pour chaque citations d'espèces"),
        M::option(settings, Option::TabCell, u"La touche Tab permet de changer de cellule dans les grilles"),
        M::option(settings, Option::bing, u"Bing sonore émis à la fin de certaines actions un peu longue"),
        M::separator(settings),
        M::menu(settings, autoUpdate,
                u"Autoriser l'accès automatique à Internet pour rechercher les mises à jour"),
        M::frequency(autoUpdate, u"auto_maj_Internet_Freq", u"A tous les démarrages", 0),
        M::frequency(autoUpdate, u"auto_maj_Internet_Freq", u"Tous les 5 démarrages", 1),
        M::frequency(autoUpdate, u"auto_maj_Internet_Freq", u"Tous les 10 démarrages", 2),
        M::frequency(autoUpdate, u"auto_maj_Internet_Freq", u"Jamais", 3),
        M::separator(settings),
        M::item(settings, u"Départements", u"Départements d'étude", -1,
                [](frm_Menu&, int) { mainwindow::askStudyDepartments(); }),
        M::param(settings, u"Carrés", u"Codes carrés", u"Codes carrés").hidden(),
        M::param(settings, u"Réseaux", u"Codes réseaux", u"Codes réseaux").hidden(),
        M::param(settings, u"Espèces", u"Codes espèces", u"Codes espèces"),
        M::param(settings, u"Comportements", u"Code comportementaux", u"Codes comportementaux"),
        M::param(settings, u"Milieux", u"Codes milieux", u"Codes milieux"),
        M::param(settings, u"mail", u"Adresses courriel de vos correspondants",
                 u"Adresses courriel de votre correspondant"),
        M::separator(options),
        M::item(options, u"Quitter", u"Quitter", -1, [](frm_Menu& m, int) { m.close(); }),

        M::filler(u"Filler30", false),

        // The two other schemes' lists are not part of this program.
        M::menu({}, eps, {}),
        M::item(eps, u"Saisie", u"Relevés du programme STOC-EPS", 0).withShortcut(QKeySequence(Qt::Key_F1)),
        M::item(eps, u"Saisie", u"Relevés du programme EPS-SITES", 1).withShortcut(QKeySequence(Qt::Key_F2)),
        M::item(eps, u"Saisie", {}, 2, [](frm_Menu& m, int) { m.openList(); })
            .withShortcut(QKeySequence(Qt::Key_F3)),
        M::item(eps, u"STat", u"Statisques de prospection").hidden(),

        M::filler(u"Filler35", true),

        M::menu({}, doc, u"Documentations"),
    };
    for (int i = 0; i < mainwindow::kMaxDocuments; ++i)
        items << M::item(doc, u"PDF", QString::number(i), i,
                         [](frm_Menu& m, int index) { m.openDocument(index); });
    items << QList<MenuItem>{
        M::filler(u"Filler40", false),

        M::menu({}, windows, u"Fenêtres"),
        M::item(windows, u"Cascade", u"&Cascade", -1, [](frm_Menu& m, int) { m.cascadeWindows(); }),
        M::item(windows, u"Mosaïque", u"&Mosaïque", -1, [](frm_Menu& m, int) { m.tileWindows(); }),
        M::item(windows, u"Arrange", u"Arrange icônes", -1, [](frm_Menu& m, int) { m.arrangeIcons(); }),
        M::separator(windows),
        M::option(windows, Option::Réorg, u"&Réorganisation automatique"),

        M::filler(u"Filler70", false),

        M::menu({}, help, u"?"),
        M::item(help, u"A_Propos", {}, -1, [](frm_Menu& m, int) { m.openAbout(); }),
        M::item(help, u"maj_Internet", u"Rechercher une mise à jour sur Internet", -1,
                [](frm_Menu& m, int) {
                    const platform::PointerGuard hourglass;
                    m.sub_Retreive_Last_Version(false);
                }),

        M::filler(u"filler90", false),

        M::menu({}, popup, u"Maj").hidden(),
    };
    const QStringView updates[] = {u"Mise à jour l'adresse courriel", u"Mise à jour du nom de l'observateur",
                                   u"Mise à jour du nom de la commune",
                                   u"Mise à jour le statut 'Carré actif/abandonné'"};
    for (int i = 0; i < int(std::size(updates)); ++i)
        items << M::item(popup, u"Popup_Maj_Global", updates[i], i,
                         [](frm_Menu&, int index) { record::updateSelectedRecordFiles(index); });
    return items;
}

void frm_Menu::buildMenus()
{
    menuBar()->setNativeMenuBar(false);
    QHash<QString, QMenu*> menus;
    for (const MenuItem& e : menuItems())
        addMenuItem(e, menus);
    m_windowsMenu = menus.value(QStringLiteral("Fenêtres"));
    connect(m_windowsMenu, &QMenu::aboutToShow, this, &frm_Menu::fillWindowList);
    m_popupMaj = menus.value(QStringLiteral("Popup_Maj"));
}

void frm_Menu::addMenuItem(const MenuItem& e, QHash<QString, QMenu*>& menus)
{
    using Kind = MenuItem::Kind;
    QMenu* menu = menus.value(e.parent);
    if (!MIRELOT_CHECK(e.parent.isEmpty() || menu))
        return;
    if (e.kind == Kind::Separator) {
        if (MIRELOT_CHECK(menu))
            menu->addSeparator();
        return;
    }
    QWidget* parent = menu ? static_cast<QWidget*>(menu) : menuBar();
    QAction* a = nullptr;
    if (e.kind == Kind::Menu) {
        QMenu* m = addMenu(parent, e.name, e.caption);
        menus.insert(e.name, m);
        a = m->menuAction();
    } else {
        a = addItem(parent, e.name, e.caption, e.index);
    }
    a->setVisible(e.visible);
    a->setEnabled(e.enabled);
    if (!e.shortcut.isEmpty())
        a->setShortcut(e.shortcut);
    switch (e.kind) {
    case Kind::Item:
        if (e.handler)
            connect(a, &QAction::triggered, this, [this, h = e.handler, i = e.index] { h(*this, i); });
        break;
    case Kind::Param:
        connect(a, &QAction::triggered, this,
                [this, a, mode = e.mode, scheme = e.scheme] { openParam(a, mode, scheme); });
        break;
    case Kind::Option:
        a->setCheckable(true);
        a->setChecked(mainwindow::isOptionOn(e.mark));
        connect(a, &QAction::triggered, this, [opt = e.mark] {
            // A failed save is told by the settings layer; the mark holds for this run.
            static_cast<void>(mainwindow::clickOption(opt));
        });
        break;
    case Kind::Frequency:
        a->setCheckable(true);
        a->setChecked(mainwindow::isFrequencyChecked(e.index));
        connect(a, &QAction::triggered, this, [i = e.index] {
            static_cast<void>(mainwindow::clickFrequency(i)); // as the option items
        });
        break;
    default:
        break;
    }
}

QMdiSubWindow* frm_Menu::addWindow(QWidget* widget)
{
    QMdiSubWindow* sw = m_mdi->addSubWindow(widget);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    return sw;
}

void frm_Menu::openParam(QAction* source, const QString& mode, const QString& protocole)
{
    if (!protocole.isEmpty())
        m_scheme = protocole;
    QWidget* widget = m_paramFactory ? m_paramFactory(mode, m_scheme) : nullptr;
    if (!widget)
        return;
    QMdiSubWindow* sw = addWindow(widget);
    // Large enough to show its table, within the main window.
    sw->resize(mainwindow::openingSize(sw->sizeHint(), m_mdi->viewport()->size()));
    // The item stays greyed while its window is open, so the same table is never edited twice.
    const QPointer<QAction> item(source);
    connect(sw, &QObject::destroyed, this, [item] {
        if (item)
            item->setEnabled(true);
    });
    sw->show();
    sub_Cascade_Windows();
    source->setEnabled(false);
}

void frm_Menu::openList()
{
    if (!m_list) {
        frm_Liste_Releves_SHOC::Hooks hooks;
        hooks.openRecord = [this](const record::RecordRequest& request) -> QWidget* {
            return openRecord(request);
        };
        hooks.bulkUpdateMenu = m_popupMaj;
        hooks.conversionObserver = &conversionWait();
        hooks.importProgress = &importWait();
        m_list = addWindow(new frm_Liste_Releves_SHOC(std::move(hooks)));
        // As large as the main window's area, so that the list shows all its columns.
        m_list->setGeometry(QRect(QPoint(0, 0), m_mdi->viewport()->size()));
    }
    m_list->show();
    m_list->widget()->show();
    m_mdi->setActiveSubWindow(m_list);
    sub_Cascade_Windows();
}

QMdiSubWindow* frm_Menu::openRecord(const record::RecordRequest& demande)
{
    if (!m_record) {
        frm_Releve_SHOC* releve = frm_Releve_SHOC::openWindow(demande);
        if (!releve)
            return nullptr;
        m_record = addWindow(releve);
        m_record->setGeometry(QRect(QPoint(0, 0), m_mdi->viewport()->size()));
        // Closed, it is gone at once (its frame is deleted later): the next request opens a new one.
        connect(releve, &frm_Releve_SHOC::closed, this, [this] {
            m_record = nullptr;
            if (m_list)
                m_list->show();
        });
    }
    if (m_record->isMinimized())
        m_record->showNormal();
    m_record->show();
    m_mdi->setActiveSubWindow(m_record);
    sub_Cascade_Windows();
    return m_record;
}

void frm_Menu::openAbout()
{
    if (!m_about) {
        m_about = addWindow(new frm_A_Propos);
        m_about->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    }
    m_about->show();
    m_mdi->setActiveSubWindow(m_about);
}

void frm_Menu::openDocument(int index)
{
    if (index < 0 || index >= m_documents.size())
        return;
    // A document removed since the menu was filled, or no viewer: the shell fails, nothing is said.
    static_cast<void>(platform::shell().openFile(QDir(m_documentsFolder).filePath(m_documents.at(index))));
}

void frm_Menu::fillDocumentationMenu(const QString& dossierProgramme)
{
    m_documentsFolder = dossierProgramme;
    m_documents = mainwindow::listDocuments(dossierProgramme);
    for (int i = 0; i < mainwindow::kMaxDocuments; ++i) {
        QAction* a = item(QStringLiteral("PDF"), i);
        const bool used = i < m_documents.size();
        a->setVisible(used);
        if (used)
            a->setText(mainwindow::documentMenuCaption(m_documents.at(i)));
    }
    item(QStringLiteral("DOC"))->setVisible(!m_documents.isEmpty());
    item(QStringLiteral("Filler35"))->setVisible(!m_documents.isEmpty());
}

void frm_Menu::sub_Adapte_Affichage()
{
    const QString pswd = fun_Get_Setting_Str(common::kAdminSection, common::kPasswordValue, QString());
    const bool administrateur = common::isAdministratorMode(pswd);
    setWindowTitle(common::mainWindowTitle(m_commandLine, administrateur));
    item(QStringLiteral("EPS"))->setText(common::kEpsCaption);
    item(QStringLiteral("A_Propos"))->setText(common::aboutItemCaption());
    item(QStringLiteral("Atlas_STOC_EPS"))->setVisible(false);
    item(QStringLiteral("Milieux"))->setVisible(true);
    item(QStringLiteral("Regroup"))->setVisible(false);
    mainwindow::setOption(Option::Regroup, false);
    item(QStringLiteral("Saisie"), 0)->setVisible(false);
    item(QStringLiteral("Saisie"), 1)->setVisible(false);
    item(QStringLiteral("Saisie"), 2)->setVisible(true);
    item(QStringLiteral("Saisie"), 2)->setText(common::kShocEntryCaption);
    item(QStringLiteral("Popup_Maj_Global"), 3)->setVisible(false);
    if (administrateur)
        item(QStringLiteral("Réseaux"))->setVisible(true);
}

void frm_Menu::showOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const std::optional<mainwindow::MainWindowPlace> kept = mainwindow::readPlace(fun_Get_Setting_VB(
        mainwindow::kPlaceSection, mainwindow::kMainWindowPlaceKey, QString(), common::kProgramName));
    const mainwindow::MainWindowPlace place =
        mainwindow::openingPlace(kept, screen ? screen->availableGeometry() : geometry());
    setGeometry(place.normal);
    m_placed = true;
    if (place.maximised)
        showMaximized();
    else
        showNormal();
}

void frm_Menu::sub_Retreive_Last_Version(bool quiet) { mainwindow::sub_Retreive_Last_Version(quiet); }

void frm_Menu::startAutoCheck() { m_timCheckUpdAuto->start(); }

QList<QMdiSubWindow*> frm_Menu::windows() const
{
    QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::StackingOrder);
    list.removeIf([this](QMdiSubWindow* w) { return w == m_logo; });
    return list;
}

void frm_Menu::sub_Cascade_Windows()
{
    if (mainwindow::isOptionOn(Option::Réorg))
        cascadeWindows();
}

QList<QMdiSubWindow*> frm_Menu::windowsToArrange() const
{
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : windows()) {
        if (w->isHidden() || w->isMinimized())
            continue;
        if (w->isMaximized())
            w->showNormal();
        shown << w;
    }
    return shown;
}

void frm_Menu::closeActiveWindow()
{
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    if (active && active != m_logo)
        active->close();
}

void frm_Menu::cascadeWindows()
{
    const QList<QMdiSubWindow*> windows = windowsToArrange();
    QList<QSize> sizes;
    for (QMdiSubWindow* w : windows)
        sizes << w->size();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.value(0)) + 4;
    const QList<QRect> rects = mainwindow::cascadeLayout(m_mdi->viewport()->size(), sizes, step);
    for (int i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(rects[i]);
}

void frm_Menu::tileWindows()
{
    const QList<QMdiSubWindow*> windows = windowsToArrange();
    const QList<QRect> rects =
        mainwindow::horizontalTileLayout(m_mdi->viewport()->size(), int(windows.size()));
    for (int i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(rects[i]);
}

void frm_Menu::arrangeIcons()
{
    QList<QMdiSubWindow*> windows;
    QList<QSize> sizes;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (w != m_logo && !w->isHidden() && w->isMinimized()) {
            windows << w;
            sizes << w->size();
        }
    }
    const QList<QPoint> points = mainwindow::iconLayout(m_mdi->viewport()->size(), sizes);
    for (int i = 0; i < windows.size(); ++i)
        windows[i]->move(points[i]);
}

void frm_Menu::fillWindowList()
{
    for (QAction* a : std::as_const(m_windowItems)) {
        m_windowsMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowItems.clear();
    const QList<QMdiSubWindow*> windows = [this] {
        QList<QMdiSubWindow*> list = m_mdi->subWindowList(QMdiArea::CreationOrder);
        list.removeIf([this](QMdiSubWindow* w) { return w == m_logo || w->isHidden(); });
        return list;
    }();
    if (windows.isEmpty())
        return;
    m_windowItems << m_windowsMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        ++n;
        QString title = w->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = m_windowsMenu->addAction(QStringLiteral("&%1 %2").arg(n).arg(title));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        const QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            m_mdi->setActiveSubWindow(target);
        });
        m_windowItems << a;
    }
}

void frm_Menu::putLogoBehind()
{
    if (!m_logo)
        return;
    m_logo->lower();
    const QList<QMdiSubWindow*> stacked = windows();
    for (auto w = stacked.crbegin(); w != stacked.crend(); ++w) {
        if ((*w)->isVisible() && !(*w)->isMinimized()) {
            m_mdi->setActiveSubWindow(*w);
            return;
        }
    }
}

void frm_Menu::centreLogo()
{
    if (!m_mdi)
        return;
    if (!m_logo) {
        m_logo = new frm_Splash_Logo;
        m_mdi->addSubWindow(m_logo);
        m_logo->installEventFilter(this);
        m_logo->show();
    }
    // The area maximises the window it activates after a maximised child closes, the logo too.
    if (m_logo->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        m_logo->setWindowState(Qt::WindowNoState);
    m_logo->move(mainwindow::centredPosition(m_mdi->viewport()->size(), m_logo->size()));
}

bool frm_Menu::eventFilter(QObject* watched, QEvent* event)
{
    // Wherever the area puts the logo or resizes itself, it goes back to the middle once the
    // area has finished.
    const bool zone = m_mdi && watched == m_mdi->viewport() && event->type() == QEvent::Resize;
    const bool logo = m_logo && watched == m_logo &&
                      (event->type() == QEvent::Move || event->type() == QEvent::WindowStateChange);
    if (zone || logo)
        QTimer::singleShot(0, this, &frm_Menu::centreLogo);
    return QMainWindow::eventFilter(watched, event);
}

void frm_Menu::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The area is laid out after this window: centre the logo once its size is known.
    QTimer::singleShot(0, this, &frm_Menu::centreLogo);
}

void frm_Menu::closeEvent(QCloseEvent* event)
{
    // The child windows close with the main window and run their own steps; one that the user
    // keeps open (a settings window with changes to save) keeps the program running.
    for (QMdiSubWindow* w : windows()) {
        if (!w->close()) {
            event->ignore();
            return;
        }
    }
    m_mdi->closeAllSubWindows();
    event->accept();
    if (m_placed) {
        // The place as the user leaves it, for the next start; a failed write is told by the
        // settings themselves, once.
        const QString place = mainwindow::placeText({normalGeometry(), isMaximized()});
        if (place != fun_Get_Setting_VB(mainwindow::kPlaceSection, mainwindow::kMainWindowPlaceKey, QString(),
                                        common::kProgramName))
            static_cast<void>(sub_Save_Setting(mainwindow::kPlaceSection, mainwindow::kMainWindowPlaceKey,
                                               place, common::kProgramName));
    }
}
