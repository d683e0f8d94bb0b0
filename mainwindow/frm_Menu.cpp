#include "mainwindow/frm_Menu.h"

#include "common/DisplayAdaptation.h"
#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/Settings.h"
#include "mainwindow/Documentation.h"
#include "mainwindow/MenuOptions.h"
#include "mainwindow/StudyDepartmentsPrompt.h"
#include "mainwindow/UpdateCheck.h"
#include "mainwindow/WindowArrangement.h"
#include "mainwindow/frm_A_Propos.h"
#include "mainwindow/frm_Param.h"
#include "mainwindow/frm_Splash_Logo.h"
#include "mainwindow/frm_Wait.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "record/BulkUpdate.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
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

void frm_Menu::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);

    auto filler = [&](const QString& name, const QString& caption, bool enabled) {
        QAction* a = addItem(bar, name, caption);
        a->setEnabled(enabled);
        return a;
    };
    auto option = [&](QMenu* menu, Option opt, const QString& caption) {
        QAction* a = addItem(menu, mainwindow::optionName(opt), caption);
        a->setCheckable(true);
        a->setChecked(mainwindow::isOptionOn(opt));
        connect(a, &QAction::triggered, this, [opt] {
            // A failed save is told by the settings layer; the mark holds for this run.
            static_cast<void>(mainwindow::clickOption(opt));
        });
        return a;
    };
    auto param = [&](QMenu* menu, const QString& name, const QString& caption, const QString& mode,
                     const QString& protocole = QString()) {
        QAction* a = addItem(menu, name, caption);
        connect(a, &QAction::triggered, this, [this, a, mode, protocole] { openParam(a, mode, protocole); });
        return a;
    };

    filler(QStringLiteral("Filler00"), QStringLiteral("|"), false);

    QMenu* options = addMenu(bar, QStringLiteral("Options"), QStringLiteral("Options"));
    QMenu* parametrage = addMenu(options, QStringLiteral("Paramètrage"), QStringLiteral("Paramétrage"));
    param(parametrage, QStringLiteral("File"), QStringLiteral("Dossier de travail"),
          QStringLiteral("Dossier de travail"));
    const QString identification = QStringLiteral("Indentification de votre Gadrel");
    param(parametrage, QStringLiteral("Gadrel_STOC_EPS"),
          QStringLiteral("Identification de votre Gadrel STOC-EPS"), identification,
          QStringLiteral("STOC-EPS"));
    param(parametrage, QStringLiteral("Gadrel_EPS_SITES"),
          QStringLiteral("Identification de votre Gadrel EPS-SITES"), identification,
          QStringLiteral("EPS-SITES"));
    param(parametrage, QStringLiteral("Gadrel_SHOC"), QStringLiteral("Identification de votre Gadrel SHOC"),
          identification, QStringLiteral("SHOC"))
        ->setVisible(false);
    option(parametrage, Option::RenumGrid, QStringLiteral("Numéroter les lignes dans les grilles"));
    option(parametrage, Option::AltColor, QStringLiteral("Couleur alternée dans les grilles"));
    option(parametrage, Option::Ajust, QStringLiteral("Largeur de colonne automatique"));
    option(parametrage, Option::Regroup, QStringLiteral("Regrouper les lignes espèces"));
    option(parametrage, Option::SaisieEsp, QStringLiteral("Saisie des codes espèces en mode apprentissage "));
    option(parametrage, Option::Saisie_Mammiferes, QStringLiteral("Autoriser la saisie de mammifères"))
        ->setEnabled(false);
    option(parametrage, Option::Atlas_STOC_EPS,
           QStringLiteral("Autoriser la saisie d'un code atlas nicheurs dans les relevés STOC-EPS"));
    option(parametrage, Option::Saisie_Commentaires,
           QStringLiteral("Autoriser la saisie d'un commentaire pour chaque citations d'espèces"));
    option(parametrage, Option::TabCell,
           QStringLiteral("La touche Tab permet de changer de cellule dans les grilles"));
    option(parametrage, Option::bing,
           QStringLiteral("Bing sonore émis à la fin de certaines actions un peu longue"));
    parametrage->addSeparator();
    QMenu* autoMaj =
        addMenu(parametrage, QStringLiteral("auto_maj_Internet"),
                QStringLiteral("Autoriser l'accès automatique à Internet pour rechercher les mises à jour"));
    const QString frequences[mainwindow::kFrequencyCount] = {
        QStringLiteral("A tous les démarrages"), QStringLiteral("Tous les 5 démarrages"),
        QStringLiteral("Tous les 10 démarrages"), QStringLiteral("Jamais")};
    for (int i = 0; i < mainwindow::kFrequencyCount; ++i) {
        QAction* a = addItem(autoMaj, QStringLiteral("auto_maj_Internet_Freq"), frequences[i], i);
        a->setCheckable(true);
        a->setChecked(mainwindow::isFrequencyChecked(i));
        connect(a, &QAction::triggered, this, [i] {
            static_cast<void>(mainwindow::clickFrequency(i)); // as the option items
        });
    }
    parametrage->addSeparator();
    QAction* departements =
        addItem(parametrage, QStringLiteral("Départements"), QStringLiteral("Départements d'étude"));
    connect(departements, &QAction::triggered, this, [] { mainwindow::askStudyDepartments(); });
    param(parametrage, QStringLiteral("Carrés"), QStringLiteral("Codes carrés"),
          QStringLiteral("Codes carrés"))
        ->setVisible(false);
    param(parametrage, QStringLiteral("Réseaux"), QStringLiteral("Codes réseaux"),
          QStringLiteral("Codes réseaux"))
        ->setVisible(false);
    param(parametrage, QStringLiteral("Espèces"), QStringLiteral("Codes espèces"),
          QStringLiteral("Codes espèces"));
    param(parametrage, QStringLiteral("Comportements"), QStringLiteral("Code comportementaux"),
          QStringLiteral("Codes comportementaux"));
    param(parametrage, QStringLiteral("Milieux"), QStringLiteral("Codes milieux"),
          QStringLiteral("Codes milieux"));
    param(parametrage, QStringLiteral("mail"), QStringLiteral("Adresses courriel de vos correspondants"),
          QStringLiteral("Adresses courriel de votre correspondant"));
    options->addSeparator();
    QAction* quitter = addItem(options, QStringLiteral("Quitter"), QStringLiteral("Quitter"));
    connect(quitter, &QAction::triggered, this, &QWidget::close);

    filler(QStringLiteral("Filler30"), QStringLiteral("|"), false);

    QMenu* eps = addMenu(bar, QStringLiteral("EPS"), QString());
    const QString saisies[3] = {QStringLiteral("Relevés du programme STOC-EPS"),
                                QStringLiteral("Relevés du programme EPS-SITES"), QString()};
    const QKeySequence touches[3] = {QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_F2),
                                     QKeySequence(Qt::Key_F3)};
    for (int i = 0; i < 3; ++i) {
        QAction* a = addItem(eps, QStringLiteral("Saisie"), saisies[i], i);
        a->setShortcut(touches[i]);
        if (i == 2) // the two other schemes' lists are not part of this program
            connect(a, &QAction::triggered, this, &frm_Menu::openList);
    }
    addItem(eps, QStringLiteral("STat"), QStringLiteral("Statisques de prospection"))->setVisible(false);

    filler(QStringLiteral("Filler35"), QStringLiteral("|"), true);

    QMenu* doc = addMenu(bar, QStringLiteral("DOC"), QStringLiteral("Documentations"));
    for (int i = 0; i < mainwindow::kMaxDocuments; ++i) {
        QAction* a = addItem(doc, QStringLiteral("PDF"), QString::number(i), i);
        connect(a, &QAction::triggered, this, [this, i] { openDocument(i); });
    }

    filler(QStringLiteral("Filler40"), QStringLiteral("|"), false);

    m_windowsMenu = addMenu(bar, QStringLiteral("Fenêtres"), QStringLiteral("Fenêtres"));
    connect(addItem(m_windowsMenu, QStringLiteral("Cascade"), QStringLiteral("&Cascade")),
            &QAction::triggered, this, &frm_Menu::cascadeWindows);
    connect(addItem(m_windowsMenu, QStringLiteral("Mosaïque"), QStringLiteral("&Mosaïque")),
            &QAction::triggered, this, &frm_Menu::tileWindows);
    connect(addItem(m_windowsMenu, QStringLiteral("Arrange"), QStringLiteral("Arrange icônes")),
            &QAction::triggered, this, &frm_Menu::arrangeIcons);
    m_windowsMenu->addSeparator();
    option(m_windowsMenu, Option::Réorg, QStringLiteral("&Réorganisation automatique"));
    connect(m_windowsMenu, &QMenu::aboutToShow, this, &frm_Menu::fillWindowList);

    filler(QStringLiteral("Filler70"), QStringLiteral("|"), false);

    QMenu* aide = addMenu(bar, QStringLiteral("Filler80"), QStringLiteral("?"));
    connect(addItem(aide, QStringLiteral("A_Propos"), QString()), &QAction::triggered, this,
            &frm_Menu::openAbout);
    connect(addItem(aide, QStringLiteral("maj_Internet"),
                    QStringLiteral("Rechercher une mise à jour sur Internet")),
            &QAction::triggered, this, [this] {
                const platform::PointerGuard hourglass;
                sub_Retreive_Last_Version(false);
            });

    filler(QStringLiteral("filler90"), QStringLiteral("|"), false);

    m_popupMaj = addMenu(bar, QStringLiteral("Popup_Maj"), QStringLiteral("Maj"));
    m_popupMaj->menuAction()->setVisible(false);
    const QString majs[4] = {QStringLiteral("Mise à jour l'adresse courriel"),
                             QStringLiteral("Mise à jour du nom de l'observateur"),
                             QStringLiteral("Mise à jour du nom de la commune"),
                             QStringLiteral("Mise à jour le statut 'Carré actif/abandonné'")};
    for (int i = 0; i < 4; ++i)
        connect(addItem(m_popupMaj, QStringLiteral("Popup_Maj_Global"), majs[i], i), &QAction::triggered,
                this, [i] { record::updateSelectedRecordFiles(i); });
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
