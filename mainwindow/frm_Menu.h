#pragma once
// The program's main window: a multiple-document window with the whole menu bar. It keeps the
// user's options as check-marked items, in step with the store of marks (common/OptionMarks) from
// which every other window reads them, opens the settings windows, the record list, the record
// window and the about box as child windows, arranges them, adapts its captions to this program
// and to the administrator mode, and runs the update check. Its menu bar is reached by the
// keyboard, and Ctrl+F4 closes the active child window (mainwindow/MainWindowKeys.h).

#include "grid/Grid.h"
#include "mainwindow/frm_Splash_Logo.h"

#include <QHash>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

class QMdiArea;
class QMenu;
class QTimer;
namespace record {
struct RecordRequest;
}

class frm_Menu : public QMainWindow
{
    Q_OBJECT
public:
    // Puts every option mark back to its creation state, as the window's menu items are.
    explicit frm_Menu(QWidget* parent = nullptr);
    ~frm_Menu() override;

    QMdiArea* mdiArea() const { return m_mdi; }

    // A menu item by its name ("Ajust", "Fenêtres"; letter case ignored), an item of an array by
    // name and index ("PDF", 3); nullptr when there is none. A menu is reached through its
    // menuAction().
    QAction* item(const QString& name, int index = -1) const;
    // The hidden menu that the record list shows as its context menu; its items update the
    // record files selected in the list (gobj_Grille_Liste).
    QMenu* Popup_Maj() const { return m_popupMaj; }

    // Hidden work grids: a scratch table for whole-file loads and saves, and the table loaded
    // into it at start-up (the squares table).
    grid::Grid& flx_Work() { return m_flxWork; }
    grid::Grid& Flx_Carrés() { return m_flxCarres; }

    // When "Réorganisation automatique" is checked, arranges the child windows in cascade;
    // otherwise does nothing.
    void sub_Cascade_Windows();
    // Opens the update page when connected; offline, says so unless quiet.
    void sub_Retreive_Last_Version(bool quiet);
    // Captions and visible items of this program, and the administrator mode.
    void sub_Adapte_Affichage();
    // Fills the documentation menu with the PDF files of the program's folder; hides the menu
    // and the separator before it when there is none.
    void fillDocumentationMenu(const QString& programFolder);
    // Enables the one-shot automatic update check, which runs once the window is idle.
    void startAutoCheck();
    QTimer* tim_CheckUPD_Auto() const { return m_timCheckUpdAuto; }

    // Shows the window where the user last left it, within the screen's free area (without the
    // desktop's panels); the first time over that whole area, maximised. Its place is kept again
    // when it closes.
    void showOnScreen();

    // The command line shown in the caption; by default the program's arguments.
    void setCommandLine(const QString& line) { m_commandLine = line; }

    // What the settings items open: a new widget that becomes a child window (null: nothing
    // opens). The factory is handed the item's mode and the survey scheme: the item's own for the
    // identification items, the one the last of them left for the others.
    using ParamFactory = std::function<QWidget*(const QString& mode, const QString& scheme)>;
    void setParamFactory(ParamFactory f) { m_paramFactory = std::move(f); }

    // Opens the record window for a request, or brings the one already open to the front: one
    // record window at a time. nullptr when the record cannot be opened (the user has been told).
    // When it closes, the record list is shown again.
    QMdiSubWindow* openRecord(const record::RecordRequest& request);
    QMdiSubWindow* recordWindow() const { return m_record; }

    // The child windows other than the logo, in activation order.
    QList<QMdiSubWindow*> windows() const;
    QMdiSubWindow* listWindow() const { return m_list; }
    QMdiSubWindow* aboutWindow() const { return m_about; }
    frm_Splash_Logo* logo() const { return m_logo; }

    // Closes the active child window (Ctrl+F4) through its own closing steps, as its close box
    // does; the logo stays.
    void closeActiveWindow();

    // Window arrangement of the "Fenêtres" menu.
    void cascadeWindows();
    void tileWindows();
    void arrangeIcons();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct MenuItem;
    // The menu bar's entries, in order.
    static QList<MenuItem> menuItems();
    void buildMenus();
    void addMenuItem(const MenuItem& item, QHash<QString, QMenu*>& menus);
    QAction* addItem(QWidget* parent, const QString& name, const QString& caption, int index = -1);
    QMenu* addMenu(QWidget* parent, const QString& name, const QString& caption);
    void openParam(QAction* source, const QString& mode, const QString& scheme);
    void openList();
    void openAbout();
    void openDocument(int index);
    void fillWindowList();
    void centreLogo();
    void putLogoBehind();
    // The shown child windows that are not minimised, brought back from maximised.
    QList<QMdiSubWindow*> windowsToArrange() const;
    QMdiSubWindow* addWindow(QWidget* widget);

    grid::Grid m_flxWork;
    grid::Grid m_flxCarres;
    QMdiArea* m_mdi = nullptr;
    QMenu* m_popupMaj = nullptr;
    QMenu* m_windowsMenu = nullptr;
    QList<QAction*> m_windowItems;
    QHash<QString, QAction*> m_items;
    QTimer* m_timCheckUpdAuto = nullptr;
    QString m_commandLine;
    QString m_documentsFolder;
    QStringList m_documents;
    ParamFactory m_paramFactory;
    QString m_scheme; // the survey scheme of the last identification item opened
    QPointer<QMdiSubWindow> m_list;
    QPointer<QMdiSubWindow> m_about;
    QPointer<QMdiSubWindow> m_record;
    QPointer<frm_Splash_Logo> m_logo;
    bool m_placed = false; // shown where the user left it: its place is kept at closing
};
