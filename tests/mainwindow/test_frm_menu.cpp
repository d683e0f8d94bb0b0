#include "common/OptionMarks.h"
#include "common/Publisher.h"
#include "common/Settings.h"
#include "mainwindow/MenuOptions.h"
#include "mainwindow/UpdateCheck.h"
#include "mainwindow/frm_A_Propos.h"
#include "mainwindow/frm_Menu.h"
#include "mainwindow/frm_Splash_Logo.h"
#include "platform/OverrideCursorPointer.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using mainwindow::Option;

namespace {

// One line of the menu tree: nesting depth, item name ("" for a separator), caption, visible,
// enabled, check mark (-1 for an item without one) and shortcut.
struct Line
{
    int depth = 0;
    QString name;
    QString caption;
    bool visible = true;
    bool enabled = true;
    int check = -1;
    QString shortcut;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l)
{
    return os << l.depth << " " << l.name.toStdString() << " \"" << l.caption.toStdString() << "\""
              << (l.visible ? "" : " hidden") << (l.enabled ? "" : " disabled")
              << (l.check == 1   ? " checked"
                  : l.check == 0 ? " unchecked"
                                 : "")
              << " " << l.shortcut.toStdString();
}

void walk(const QList<QAction*>& actions, int depth, QList<Line>& out)
{
    for (QAction* a : actions) {
        Line l;
        l.depth = depth;
        if (!a->isSeparator()) {
            l.name = a->objectName();
            l.caption = a->text();
            l.check = a->isCheckable() ? int(a->isChecked()) : -1;
            l.shortcut = a->shortcut().toString();
        }
        l.visible = a->isVisible();
        // A hidden action reports itself disabled: show it for a moment to read its own state.
        if (!l.visible) {
            a->setVisible(true);
            l.enabled = a->isEnabled();
            a->setVisible(false);
        } else {
            l.enabled = a->isEnabled();
        }
        out << l;
        if (a->menu())
            walk(a->menu()->actions(), depth + 1, out);
    }
}

QList<Line> arbre(frm_Menu& menu)
{
    QList<Line> lines;
    walk(menu.menuBar()->actions(), 0, lines);
    return lines;
}

Line L(int depth, const char* name, const char* caption, int check = -1)
{
    Line l;
    l.depth = depth;
    l.name = QString::fromUtf8(name);
    l.caption = QString::fromUtf8(caption);
    l.check = check;
    return l;
}
Line hidden(Line l)
{
    l.visible = false;
    return l;
}
Line disabled(Line l)
{
    l.enabled = false;
    return l;
}
Line key(Line l, const char* shortcut)
{
    l.shortcut = QString::fromUtf8(shortcut);
    return l;
}
Line sep(int depth) { return L(depth, "", ""); }

// The menu tree as the window is created, in display order.
QList<Line> arbreCreation()
{
    QList<Line> t = {
        disabled(L(0, "Filler00", "|")),
        L(0, "Options", "Options"),
        L(1, "Paramètrage", "Paramétrage"),
        L(2, "File", "Dossier de travail"),
        L(2, "Gadrel_STOC_EPS", "Identification de votre Gadrel STOC-EPS"),
        L(2, "Gadrel_EPS_SITES", "Identification de votre Gadrel EPS-SITES"),
        hidden(L(2, "Gadrel_SHOC", "Identification de votre Gadrel SHOC")),
        L(2, "RenumGrid", "Numéroter les lignes dans les grilles", 0),
        L(2, "AltColor", "Couleur alternée dans les grilles", 0),
        L(2, "Ajust", "Largeur de colonne automatique", 1),
        L(2, "Regroup", "Regrouper les lignes espèces", 1),
        L(2, "SaisieEsp", "Saisie des codes espèces en mode apprentissage ", 1),
        disabled(L(2, "Saisie_Mammiferes", "Autoriser la saisie de mammifères", 0)),
        L(2, "Atlas_STOC_EPS", "Autoriser la saisie d'un code atlas nicheurs dans les relevés STOC-EPS", 0),
        L(2, "Saisie_Commentaires", "Autoriser la saisie d'un commentaire pour chaque citations d'espèces",
          0),
        L(2, "TabCell", "La touche Tab permet de changer de cellule dans les grilles", 1),
        L(2, "bing", "Bing sonore émis à la fin de certaines actions un peu longue", 0),
        sep(2),
        L(2, "auto_maj_Internet",
          "Autoriser l'accès automatique à Internet pour rechercher les mises à jour"),
        L(3, "auto_maj_Internet_Freq(0)", "A tous les démarrages", 0),
        L(3, "auto_maj_Internet_Freq(1)", "Tous les 5 démarrages", 0),
        L(3, "auto_maj_Internet_Freq(2)", "Tous les 10 démarrages", 0),
        L(3, "auto_maj_Internet_Freq(3)", "Jamais", 0),
        sep(2),
        L(2, "Départements", "Départements d'étude"),
        hidden(L(2, "Carrés", "Codes carrés")),
        hidden(L(2, "Réseaux", "Codes réseaux")),
        L(2, "Espèces", "Codes espèces"),
        L(2, "Comportements", "Code comportementaux"),
        L(2, "Milieux", "Codes milieux"),
        L(2, "mail", "Adresses courriel de vos correspondants"),
        sep(1),
        L(1, "Quitter", "Quitter"),
        disabled(L(0, "Filler30", "|")),
        L(0, "EPS", ""),
        key(L(1, "Saisie(0)", "Relevés du programme STOC-EPS"), "F1"),
        key(L(1, "Saisie(1)", "Relevés du programme EPS-SITES"), "F2"),
        key(L(1, "Saisie(2)", ""), "F3"),
        hidden(L(1, "STat", "Statisques de prospection")),
        L(0, "Filler35", "|"),
        L(0, "DOC", "Documentations"),
    };
    for (int i = 0; i < 20; ++i)
        t << L(1, QStringLiteral("PDF(%1)").arg(i).toUtf8().constData(), QByteArray::number(i).constData());
    t << disabled(L(0, "Filler40", "|")) << L(0, "Fenêtres", "Fenêtres") << L(1, "Cascade", "&Cascade")
      << L(1, "Mosaïque", "&Mosaïque") << L(1, "Arrange", "Arrange icônes") << sep(1)
      << L(1, "Réorg", "&Réorganisation automatique", 1) << disabled(L(0, "Filler70", "|"))
      << L(0, "Filler80", "?") << L(1, "A_Propos", "")
      << L(1, "maj_Internet", "Rechercher une mise à jour sur Internet") << disabled(L(0, "filler90", "|"))
      << hidden(L(0, "Popup_Maj", "Maj")) << L(1, "Popup_Maj_Global(0)", "Mise à jour l'adresse courriel")
      << L(1, "Popup_Maj_Global(1)", "Mise à jour du nom de l'observateur")
      << L(1, "Popup_Maj_Global(2)", "Mise à jour du nom de la commune")
      << L(1, "Popup_Maj_Global(3)", "Mise à jour le statut 'Carré actif/abandonné'");
    return t;
}

void changer(QList<Line>& t, const QString& name, const std::function<void(Line&)>& f)
{
    for (Line& l : t)
        if (l.name == name) {
            f(l);
            return;
        }
    ADD_FAILURE() << "no item " << name.toStdString();
}

// The tree after the display adaptation of an ordinary user.
QList<Line> arbreAdapte()
{
    QList<Line> t = arbreCreation();
    changer(t, "EPS", [](Line& l) { l.caption = "Gestion des relevés"; });
    changer(t, "A_Propos", [](Line& l) { l.caption = "A propos de Mirelot"; });
    changer(t, "Atlas_STOC_EPS", [](Line& l) { l.visible = false; });
    changer(t, "Regroup", [](Line& l) {
        l.visible = false;
        l.check = 0;
    });
    changer(t, "Saisie(0)", [](Line& l) { l.visible = false; });
    changer(t, "Saisie(1)", [](Line& l) { l.visible = false; });
    changer(t, "Saisie(2)", [](Line& l) {
        l.caption = "Relevés du programme Mirelot - Suivi hivernal des oiseaux des champs";
    });
    changer(t, "Popup_Maj_Global(3)", [](Line& l) { l.visible = false; });
    return t;
}

void compare(const QList<Line>& actual, const QList<Line>& expected)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i;
    EXPECT_EQ(actual.size(), expected.size());
}

void deletePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

struct FrmMenuTest : ::testing::Test
{
    platform::OverrideCursorPointer screen;
    testing_support::TestEnvironment env;
    std::unique_ptr<frm_Menu> menu = std::make_unique<frm_Menu>();

    FrmMenuTest()
    {
        env.usePointer(&screen);
        menu->setCommandLine(QString());
    }
    QAction* item(const char* name, int index = -1) { return menu->item(QString::fromUtf8(name), index); }
    QString parametre(const QString& name)
    {
        return fun_Get_Setting_Str(common::kParametersSection, name, "<absent>");
    }
    void afficher()
    {
        menu->resize(1000, 700);
        menu->show();
        QTest::qWait(1);
        QCoreApplication::processEvents();
    }
};

TEST_F(FrmMenuTest, MenuTreeAsCreated) { compare(arbre(*menu), arbreCreation()); }

TEST_F(FrmMenuTest, MenuTreeAfterDisplayAdaptation)
{
    menu->sub_Adapte_Affichage();
    compare(arbre(*menu), arbreAdapte());
    EXPECT_EQ(menu->windowTitle(), "Mirelot [Suivi hivernal des oiseaux des champs] - Z2010-G");
    EXPECT_FALSE(mainwindow::isOptionOn(Option::Regroup));
}

TEST_F(FrmMenuTest, AdministratorModeFollowsPswd)
{
    struct Row
    {
        const char* pswd;
        bool admin;
    };
    const Row rows[] = {{nullptr, false}, {"KORVEL-ADM", true}, {"korvel-adm", false}, {"", false}};
    for (const Row& r : rows) {
        testing_support::TestEnvironment fresh;
        if (r.pswd) {
            EXPECT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, "PSWD", QString::fromUtf8(r.pswd)));
        }
        frm_Menu window;
        window.setCommandLine("x");
        window.sub_Adapte_Affichage();
        const QString base = "Mirelot [Suivi hivernal des oiseaux des champs] - Z2010-G     / x";
        EXPECT_EQ(window.windowTitle(), r.admin ? base + " - Mode Administrateur" : base)
            << (r.pswd ? r.pswd : "-");
        EXPECT_EQ(window.item("Réseaux")->isVisible(), r.admin);
        QList<Line> expected = arbreAdapte();
        if (r.admin)
            changer(expected, "Réseaux", [](Line& l) { l.visible = true; });
        compare(arbre(window), expected);
    }
}

TEST_F(FrmMenuTest, ProgramWideAccessFollowsTheWindowsLife)
{
    menu.reset();
    common::setOptionChecked("Ajust", false); // no window left to follow the marks: nothing breaks
    EXPECT_FALSE(common::isOptionChecked("Ajust"));
}

TEST_F(FrmMenuTest, CreationPutsTheMarksBack)
{
    common::setOptionChecked("AltColor", true);
    common::setOptionChecked("Réorg", false);
    menu = std::make_unique<frm_Menu>();
    EXPECT_FALSE(common::isOptionChecked("AltColor"));
    EXPECT_TRUE(common::isOptionChecked("Réorg"));
    compare(arbre(*menu), arbreCreation());
}

TEST_F(FrmMenuTest, OptionItemsInvertAndSaveAtOnce)
{
    struct Row
    {
        const char* item;
        Option option;
        const char* valueName;
    };
    const Row rows[] = {
        {"RenumGrid", Option::RenumGrid, "Grilles numérotées"},
        {"AltColor", Option::AltColor, "Couleur alternée"},
        {"Ajust", Option::Ajust, "Largeur automatique"},
        {"Regroup", Option::Regroup, "Regroupement espèce"},
        {"SaisieEsp", Option::SaisieEsp, "Validation Espèces"},
        {"Atlas_STOC_EPS", Option::Atlas_STOC_EPS, "Atlas STOC-EPS"},
        {"Saisie_Commentaires", Option::Saisie_Commentaires, "Saisie commentaires"},
        {"TabCell", Option::TabCell, "TabCell"},
        {"bing", Option::bing, "Bing"},
    };
    for (const Row& r : rows) {
        QAction* a = item(r.item);
        const bool before = a->isChecked();
        a->trigger();
        EXPECT_EQ(a->isChecked(), !before) << r.item;
        EXPECT_EQ(mainwindow::isOptionOn(r.option), !before) << r.item;
        EXPECT_EQ(common::isOptionChecked(QString::fromUtf8(r.item)), !before) << r.item;
        EXPECT_EQ(parametre(QString::fromUtf8(r.valueName)), before ? "0" : "-1") << r.item;
        a->trigger();
        EXPECT_EQ(a->isChecked(), before) << r.item;
        EXPECT_EQ(parametre(QString::fromUtf8(r.valueName)), before ? "-1" : "0") << r.item;
    }
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
}

TEST_F(FrmMenuTest, ItemsFollowTheOptionsService)
{
    common::setOptionChecked("AltColor", true);
    EXPECT_TRUE(item("AltColor")->isChecked());
    common::setOptionChecked("tabcell", false); // item names without regard to case
    EXPECT_FALSE(item("TabCell")->isChecked());
    mainwindow::setFrequency(2, true);
    EXPECT_TRUE(item("auto_maj_Internet_Freq", 2)->isChecked());
    EXPECT_EQ(parametre("Couleur alternée"), "<absent>"); // set by code: not saved
}

TEST_F(FrmMenuTest, ToggledOptionSurvivesARestartOfTheWindow)
{
    item("Ajust")->trigger();    // checked -> unchecked
    item("AltColor")->trigger(); // unchecked -> checked
    menu.reset();
    env.restartRegistry();
    menu = std::make_unique<frm_Menu>();
    EXPECT_TRUE(item("Ajust")->isChecked()); // as created, until the start-up restores the marks
    EXPECT_TRUE(mainwindow::loadOptions());
    EXPECT_FALSE(item("Ajust")->isChecked());
    EXPECT_TRUE(item("AltColor")->isChecked());
    EXPECT_FALSE(common::isOptionChecked("Ajust"));
}

TEST_F(FrmMenuTest, OptionClickedWithTheMouse)
{
    afficher();
    QMenuBar* bar = menu->menuBar();
    QAction* fenetres = item("Fenêtres");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fenetres).center());
    QMenu* popup = fenetres->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 2000));
    QAction* reorg = item("Réorg");
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(reorg).center());
    EXPECT_FALSE(reorg->isChecked());
    EXPECT_FALSE(common::isOptionChecked("Réorg"));
}

TEST_F(FrmMenuTest, FrequencyItemsCheckOneAndSaveTheIndex)
{
    for (int i : {1, 3, 0}) {
        item("auto_maj_Internet_Freq", i)->trigger();
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(item("auto_maj_Internet_Freq", j)->isChecked(), i == j);
        EXPECT_EQ(fun_Get_Setting_Str(common::kOptionsSection, "Check UPDATE sur Web", "?"),
                  QString::number(i));
    }
}

TEST_F(FrmMenuTest, SettingsItemsOpenANewWindowAndStayGreyedWhileItIsOpen)
{
    struct Row
    {
        const char* item;
        const char* mode;
        const char* protocole;
    };
    const Row rows[] = {
        {"File", "Dossier de travail", ""},
        {"Gadrel_STOC_EPS", "Indentification de votre Gadrel", "STOC-EPS"},
        {"Gadrel_EPS_SITES", "Indentification de votre Gadrel", "EPS-SITES"},
        {"Gadrel_SHOC", "Indentification de votre Gadrel", "SHOC"},
        {"Carrés", "Codes carrés", "SHOC"},
        {"Réseaux", "Codes réseaux", "SHOC"},
        {"Espèces", "Codes espèces", "SHOC"},
        {"Comportements", "Codes comportementaux", "SHOC"},
        {"Milieux", "Codes milieux", "SHOC"},
        {"mail", "Adresses courriel de votre correspondant", "SHOC"},
    };
    QStringList opened;
    menu->setParamFactory([&opened](const QString& mode, const QString& protocole) {
        opened << mode + "/" + protocole;
        auto* w = new QWidget;
        w->setWindowTitle(mode);
        return w;
    });
    int n = 0;
    for (const Row& r : rows) {
        QAction* a = item(r.item);
        a->trigger();
        ++n;
        ASSERT_EQ(opened.size(), n) << r.item;
        // The other items hand on the scheme the last identification item left.
        EXPECT_EQ(opened.last(), QString::fromUtf8(r.mode) + "/" + QString::fromUtf8(r.protocole)) << r.item;
        EXPECT_EQ(menu->windows().size(), n) << r.item;
        EXPECT_FALSE(a->isEnabled()) << r.item;
    }
    EXPECT_EQ(opened.size(), n);
    // Closing a window gives its item back, and only its item.
    for (QMdiSubWindow* w : menu->windows()) {
        if (w->windowTitle() == "Codes espèces")
            w->close();
    }
    deletePending();
    EXPECT_TRUE(item("Espèces")->isEnabled());
    EXPECT_FALSE(item("Milieux")->isEnabled());
    EXPECT_EQ(menu->windows().size(), n - 1);
    item("Espèces")->trigger();
    EXPECT_EQ(menu->windows().size(), n);
}

TEST_F(FrmMenuTest, TwoDifferentSettingsWindowsSideBySide)
{
    item("Espèces")->trigger();
    item("Milieux")->trigger();
    EXPECT_EQ(menu->windows().size(), 2);
    EXPECT_FALSE(item("Espèces")->isEnabled());
    EXPECT_FALSE(item("Milieux")->isEnabled());
    EXPECT_TRUE(item("Comportements")->isEnabled());
    item("Espèces")->trigger(); // a greyed item does nothing
    EXPECT_EQ(menu->windows().size(), 2);
}

TEST_F(FrmMenuTest, AutomaticArrangementCascadesOnlyWhenChecked)
{
    afficher();
    item("Espèces")->trigger();
    QMdiSubWindow* first = menu->windows().value(0);
    ASSERT_TRUE(first);
    first->move(150, 120);

    item("Réorg")->trigger(); // off
    item("Milieux")->trigger();
    EXPECT_EQ(first->pos(), QPoint(150, 120));

    item("Réorg")->trigger(); // on again
    item("Comportements")->trigger();
    const QList<QMdiSubWindow*> windows = menu->windows();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->pos(), QPoint(0, 0));
    EXPECT_GT(windows[1]->pos().x(), 0);
    EXPECT_EQ(windows[1]->pos().x(), windows[1]->pos().y());
    EXPECT_EQ(windows[2]->pos().x(), 2 * windows[1]->pos().x());
}

TEST_F(FrmMenuTest, WindowMenuArrangesTheChildren)
{
    afficher();
    item("Réorg")->trigger();
    item("Espèces")->trigger();
    item("Milieux")->trigger();
    item("Comportements")->trigger();
    const QSize area = menu->mdiArea()->viewport()->size();
    item("Mosaïque")->trigger();
    QList<QMdiSubWindow*> windows = menu->windows();
    ASSERT_EQ(windows.size(), 3);
    int top = 0;
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->geometry().width(), area.width());
        EXPECT_EQ(w->geometry().top(), top);
        top += w->height();
    }
    EXPECT_EQ(top, area.height());

    item("Cascade")->trigger(); // whatever Réorg says
    windows = menu->windows();
    EXPECT_EQ(windows[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(windows[2]->pos(), 2 * windows[1]->pos());

    windows[0]->showMinimized();
    windows[1]->showMinimized();
    item("Arrange")->trigger();
    EXPECT_EQ(windows[0]->geometry().bottom(), area.height() - 1);
    EXPECT_EQ(windows[1]->geometry().bottom(), area.height() - 1);
    EXPECT_EQ(windows[0]->x(), 0);
    EXPECT_EQ(windows[1]->x(), windows[0]->width());
}

TEST_F(FrmMenuTest, WindowMenuListsTheOpenChildren)
{
    afficher();
    item("Espèces")->trigger();
    item("Milieux")->trigger();
    QMenu* fenetres = item("Fenêtres")->menu();
    Q_EMIT fenetres->aboutToShow();
    QList<QAction*> actions = fenetres->actions();
    const int reorg = int(actions.indexOf(item("Réorg")));
    ASSERT_EQ(actions.size(), reorg + 4);
    EXPECT_TRUE(actions[reorg + 1]->isSeparator());
    EXPECT_EQ(actions[reorg + 2]->text(), "&1 Mirelot - Codes espèces");
    EXPECT_EQ(actions[reorg + 3]->text(), "&2 Mirelot - Codes milieux");
    EXPECT_FALSE(actions[reorg + 2]->isChecked());
    EXPECT_TRUE(actions[reorg + 3]->isChecked()); // the active one

    actions[reorg + 2]->trigger();
    EXPECT_EQ(menu->mdiArea()->activeSubWindow()->windowTitle(), "Mirelot - Codes espèces");

    menu->mdiArea()->activeSubWindow()->close();
    deletePending();
    Q_EMIT fenetres->aboutToShow();
    actions = fenetres->actions();
    ASSERT_EQ(actions.size(), reorg + 3);
    EXPECT_EQ(actions[reorg + 2]->text(), "&1 Mirelot - Codes milieux");
}

TEST_F(FrmMenuTest, RecordListIsOneWindowShownAgain)
{
    afficher();
    item("Saisie", 2)->trigger();
    QMdiSubWindow* list = menu->listWindow();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->windowTitle(), "Mirelot - Liste des zones de comptage");
    EXPECT_TRUE(list->isVisible());
    list->hide();
    item("Saisie", 2)->trigger();
    EXPECT_EQ(menu->listWindow(), list);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(menu->windows().size(), 1);
    // Closed, it is loaded again.
    list->close();
    deletePending();
    EXPECT_EQ(menu->listWindow(), nullptr);
    item("Saisie", 2)->trigger();
    EXPECT_TRUE(menu->listWindow());
    EXPECT_EQ(menu->windows().size(), 1);
}

TEST_F(FrmMenuTest, HiddenRecordListItemsAndStatisticsNeverAct)
{
    for (QAction* a : {item("Saisie", 0), item("Saisie", 1), item("STat")})
        a->trigger();
    EXPECT_TRUE(menu->windows().isEmpty());
    EXPECT_EQ(menu->listWindow(), nullptr);
}

TEST_F(FrmMenuTest, F3OpensTheRecordList)
{
    menu->sub_Adapte_Affichage();
    afficher();
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    QTest::keyClick(menu.get(), Qt::Key_F1); // hidden item: no shortcut
    EXPECT_EQ(menu->listWindow(), nullptr);
    QTest::keyClick(menu.get(), Qt::Key_F3);
    EXPECT_TRUE(menu->listWindow());
}

// The menu bar reached by the keyboard, from a child window holding the focus: F10, or Alt
// pressed and released alone, gives the bar the focus with its first menu highlighted (not the
// greyed "|" before it) and no menu open; Escape, or the same key again, gives the focus back.
// Alt with another key is that key's business (here a button's mnemonic): the bar stays as it is.
TEST_F(FrmMenuTest, F10OrAltAloneGivesTheMenuBarTheFocus)
{
    menu->sub_Adapte_Affichage();
    afficher();
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    auto* child = new QWidget;
    auto* line = new QLineEdit(child);
    auto* button = new QPushButton(QStringLiteral("&Essai"), child);
    button->move(0, 40);
    QMdiSubWindow* frame = menu->mdiArea()->addSubWindow(child);
    frame->show();
    menu->mdiArea()->setActiveSubWindow(frame);
    line->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(line->hasFocus());
    QMenuBar* bar = menu->menuBar();
    const auto press = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
        QApplication::processEvents();
    };

    const struct
    {
        const char* what;
        Qt::Key key;
        Qt::Key leave;
    } roads[] = {
        {"F10, Escape", Qt::Key_F10, Qt::Key_Escape},
        {"F10, F10", Qt::Key_F10, Qt::Key_F10},
        {"Alt, Escape", Qt::Key_Alt, Qt::Key_Escape},
        {"Alt, Alt", Qt::Key_Alt, Qt::Key_Alt},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.what);
        press(road.key);
        EXPECT_TRUE(bar->hasFocus());
        EXPECT_EQ(bar->activeAction(), item("Options"));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "highlighted, not open";
        press(road.leave);
        EXPECT_EQ(bar->activeAction(), nullptr);
        EXPECT_TRUE(line->hasFocus());
    }

    QSignalSpy clicked(button, &QPushButton::clicked);
    press(Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(clicked.wait(1000)) << "the button's mnemonic (a click shown for a moment)";
    EXPECT_EQ(bar->activeAction(), nullptr);
    EXPECT_FALSE(bar->hasFocus());
}

// The title that the keyboard is on is drawn highlighted: F10 changes the pixels of the first title
// only, Right those of the two titles it goes between; Escape draws the bar as it was and gives the
// focus back.
TEST_F(FrmMenuTest, TheMenuBarDrawsTheTitleThatTheKeyboardIsOn)
{
    menu->sub_Adapte_Affichage();
    afficher();
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    QWidget* before = QApplication::focusWidget();
    ASSERT_TRUE(before);
    QMenuBar* bar = menu->menuBar();
    const auto press = [bar](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QApplication::processEvents();
        return bar->grab().toImage();
    };
    const auto changed = [](const QImage& a, const QImage& b) {
        QRect where;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    where |= QRect(x, y, 1, 1);
        return where;
    };
    const QRect options = bar->actionGeometry(item("Options"));
    const QRect eps = bar->actionGeometry(item("EPS"));

    const QImage plain = bar->grab().toImage();
    const QImage onFirst = press(Qt::Key_F10);
    const QImage onSecond = press(Qt::Key_Right);
    const QRect f10 = changed(plain, onFirst);
    const QRect right = changed(onFirst, onSecond);
    EXPECT_TRUE(!f10.isEmpty() && options.contains(f10)) << "F10: the first title highlighted";
    EXPECT_TRUE(right.intersects(options) && right.intersects(eps) && options.united(eps).contains(right))
        << "Right: the highlight on the next title";
    EXPECT_TRUE(changed(plain, press(Qt::Key_Escape)).isEmpty()) << "Escape: the bar as before";
    EXPECT_EQ(QApplication::focusWidget(), before);
}

// From the highlighted menu the arrows and Enter work as in an open menu: Right goes on to the next
// menu (over the greyed "|"), Down opens it, Enter runs its item.
TEST_F(FrmMenuTest, ArrowsAndEnterFromTheMenuBarOpenAMenuAndRunAnItem)
{
    menu->sub_Adapte_Affichage();
    afficher();
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu.get()));
    QMenuBar* bar = menu->menuBar();
    const auto press = [menu = menu.get()](Qt::Key k) {
        QWidget* to = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::focusWidget();
        QTest::keyClick(to ? to : menu, k);
        QApplication::processEvents();
    };
    press(Qt::Key_F10);
    ASSERT_EQ(bar->activeAction(), item("Options"));
    press(Qt::Key_Right);
    ASSERT_EQ(bar->activeAction(), item("EPS"));
    press(Qt::Key_Down);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(open);
    EXPECT_EQ(open->menuAction(), item("EPS"));
    EXPECT_EQ(open->activeAction(), item("Saisie", 2));
    press(Qt::Key_Return);
    EXPECT_TRUE(menu->listWindow()) << "the record list opened";
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(FrmMenuTest, AboutBoxIsOneWindow)
{
    afficher();
    item("A_Propos")->trigger();
    QMdiSubWindow* about = menu->aboutWindow();
    ASSERT_TRUE(about);
    item("A_Propos")->trigger();
    EXPECT_EQ(menu->aboutWindow(), about);
    EXPECT_EQ(menu->windows().size(), 1);
    auto* box = qobject_cast<frm_A_Propos*>(about->widget());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Lab_Version->text(), "Version : Z2010-G   Révision : 181");
    QTest::mouseClick(box->cmd_exit, Qt::LeftButton);
    deletePending();
    EXPECT_EQ(menu->aboutWindow(), nullptr);
    item("A_Propos")->trigger();
    EXPECT_TRUE(menu->aboutWindow());
}

TEST_F(FrmMenuTest, DocumentationMenuListsAndOpensTheDocuments)
{
    for (const char* name : {"b.PDF", "R&D.pdf", "Guide.pdf", "notes.txt"}) {
        QFile f(QDir(env.programFolder()).filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    menu->fillDocumentationMenu(env.programFolder());
    const QStringList captions = {"b.PDF", "Guide.pdf", "R&&D.pdf"};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(item("PDF", i)->isVisible(), i < 3) << i;
        if (i < 3) {
            EXPECT_EQ(item("PDF", i)->text(), captions[i]);
        }
    }
    EXPECT_TRUE(item("DOC")->isVisible());
    EXPECT_TRUE(item("Filler35")->isVisible());

    item("PDF", 2)->trigger();
    ASSERT_EQ(env.shell().calls.size(), 1);
    EXPECT_EQ(env.shell().calls[0].kind, testing_support::RecordingShell::Call::File);
    EXPECT_EQ(env.shell().calls[0].target, QDir(env.programFolder()).filePath("R&D.pdf"));
}

TEST_F(FrmMenuTest, NoDocumentHidesTheMenuAndItsSeparator)
{
    menu->fillDocumentationMenu(env.programFolder());
    EXPECT_FALSE(item("DOC")->isVisible());
    EXPECT_FALSE(item("Filler35")->isVisible());
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(item("PDF", i)->isVisible());
    item("PDF", 0)->trigger();
    EXPECT_TRUE(env.shell().calls.isEmpty());
}

TEST_F(FrmMenuTest, ExplicitUpdateCheck)
{
    env.shell().connected = false;
    env.dialogs().answer(platform::mb::OK);
    item("maj_Internet")->trigger();
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, mainwindow::kOfflineMessage);
    EXPECT_TRUE(env.shell().calls.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    env.shell().connected = true;
    item("maj_Internet")->trigger();
    ASSERT_EQ(env.shell().calls.size(), 1);
    EXPECT_EQ(env.shell().calls[0].target, mainwindow::updatePageUrl());
}

TEST_F(FrmMenuTest, AutomaticCheckRunsOnceWhenIdle)
{
    EXPECT_FALSE(menu->tim_CheckUPD_Auto()->isActive()); // created disabled
    menu->startAutoCheck();
    EXPECT_TRUE(env.shell().calls.isEmpty()); // not before the window is idle
    ASSERT_TRUE(QTest::qWaitFor([&] { return !env.shell().calls.isEmpty(); }));
    ASSERT_EQ(env.shell().calls.size(), 1);
    EXPECT_EQ(env.shell().calls[0].target, mainwindow::updatePageUrl());
    EXPECT_FALSE(menu->tim_CheckUPD_Auto()->isActive());
    QTest::qWait(30);
    EXPECT_EQ(env.shell().calls.size(), 1);
}

TEST_F(FrmMenuTest, AutomaticCheckOfflineSaysNothing)
{
    env.shell().connected = false;
    menu->startAutoCheck();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu->tim_CheckUPD_Auto()->isActive(); })); // it ran
    EXPECT_TRUE(env.dialogs().asked().isEmpty());
    EXPECT_TRUE(env.shell().calls.isEmpty());
    EXPECT_FALSE(menu->tim_CheckUPD_Auto()->isActive());
}

TEST_F(FrmMenuTest, StudyDepartmentsItem)
{
    env.dialogs().answerText(QString("38;2b;7"));
    item("Départements")->trigger();
    EXPECT_EQ(parametre("Départements d'étude"), "07;2B;38");
}

TEST_F(FrmMenuTest, PopupMajIsHiddenAndStartsTheBulkUpdate)
{
    EXPECT_FALSE(menu->Popup_Maj()->menuAction()->isVisible());
    ASSERT_EQ(menu->Popup_Maj()->actions().size(), 4);
    // The list's selection: one record file.
    grid::Grid list;
    list.setCols(2);
    list.setRows(2);
    list.setFixedRows(1);
    list.setCell(1, 1, "SHOC-Lieu~Passage 1.FLX2009");
    list.select(1, 1);
    gobj_Grille_Liste = &list;
    env.dialogs().answer(platform::mb::No); // the confirmation refused: nothing changes
    env.dialogs().answer(platform::mb::OK);
    item("Popup_Maj_Global", 1)->trigger();
    ASSERT_EQ(env.dialogs().asked().size(), 2);
    EXPECT_EQ(env.dialogs().asked()[0].style, platform::mb::YesNo);
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains("SHOC-Lieu~Passage 1.FLX2009"));
    EXPECT_EQ(env.dialogs().asked()[1].text, "La mise à jour a été abandonnée à votre demande");
    gobj_Grille_Liste = nullptr;
}

TEST_F(FrmMenuTest, HiddenWorkGridsAreTwoSeparateTables)
{
    menu->flx_Work().setRows(3);
    menu->Flx_Carrés().setRows(5);
    EXPECT_EQ(menu->flx_Work().rows(), 3);
    EXPECT_EQ(menu->Flx_Carrés().rows(), 5);
}

TEST_F(FrmMenuTest, LogoStaysInTheMiddle)
{
    afficher();
    frm_Splash_Logo* logo = menu->logo();
    ASSERT_TRUE(logo);
    auto centred = [&] {
        const QSize area = menu->mdiArea()->viewport()->size();
        const QPoint expected((area.width() - logo->width()) / 2, (area.height() - logo->height()) / 2);
        return (logo->pos() - expected).manhattanLength() <= 2;
    };
    EXPECT_TRUE(centred());
    menu->resize(1200, 900);
    QTest::qWait(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(centred());
    EXPECT_TRUE(menu->windows().isEmpty()); // the logo is no document window

    // A maximised settings window closes: the area activates the logo, and the logo stays.
    menu->setParamFactory([](const QString&, const QString&) { return new QWidget; });
    item("Espèces")->trigger();
    ASSERT_EQ(menu->windows().size(), 1);
    menu->windows().first()->showMaximized();
    QTest::qWait(1);
    menu->windows().first()->close();
    deletePending();
    QTest::qWait(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(menu->windows().isEmpty());
    EXPECT_FALSE(logo->isMaximized());
    EXPECT_TRUE(logo->isVisible());
    EXPECT_TRUE(centred());
}

// The logo stays behind every child window, whichever window opens or closes, whichever the area
// activates.
TEST_F(FrmMenuTest, LogoStaysBehindEveryWindow)
{
    afficher();
    frm_Splash_Logo* logo = menu->logo();
    ASSERT_TRUE(logo);
    auto behind = [&] {
        const QList<QMdiSubWindow*> order = menu->mdiArea()->subWindowList(QMdiArea::StackingOrder);
        return !order.isEmpty() && order.first() == logo;
    };
    // The record list, over the whole area, then the data-folder window over it, closed.
    item("Saisie", 2)->trigger();
    QMdiSubWindow* list = menu->listWindow();
    ASSERT_TRUE(list);
    EXPECT_TRUE(behind());
    item("File")->trigger();
    ASSERT_EQ(menu->windows().size(), 2);
    QMdiSubWindow* folder = menu->mdiArea()->activeSubWindow();
    ASSERT_NE(folder, list);
    EXPECT_TRUE(behind());
    folder->close();
    deletePending();
    QTest::qWait(1);
    QCoreApplication::processEvents();
    ASSERT_EQ(menu->windows(), QList<QMdiSubWindow*>{list});
    EXPECT_TRUE(behind());
    EXPECT_EQ(menu->mdiArea()->activeSubWindow(), list);
    // A click on the logo, where it shows between the windows, does not bring it forward.
    list->showNormal();
    list->setGeometry(0, 0, 100, 100);
    QTest::mouseClick(logo->widget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(behind());
}

TEST_F(FrmMenuTest, QuitterClosesTheWindowAndItsChildren)
{
    afficher();
    item("Espèces")->trigger();
    item("Saisie", 2)->trigger();
    const QPointer<QMdiSubWindow> list = menu->listWindow();
    item("Quitter")->trigger();
    deletePending();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(menu->windows().isEmpty());
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(env.dialogs().asked().isEmpty()); // no question
}
