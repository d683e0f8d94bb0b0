#pragma once
// The program's main window: a multiple-document window with the whole menu bar. It keeps the
// user's options as check-marked items, in step with the store of marks (common/Options) from
// which every other window reads them, opens the settings windows, the record list, the record
// window and the about box as child windows, arranges them, adapts its captions to this program
// and to the administrator mode, and runs the update check.

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

    // The main window while it lives; null before it is made and after it is gone.
    static frm_Menu* instance();

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
    void fillDocumentationMenu(const QString& dossierProgramme);
    // Enables the one-shot automatic update check, which runs once the window is idle.
    void startAutoCheck();
    QTimer* tim_CheckUPD_Auto() const { return m_timCheckUpdAuto; }

    // Shows the window where the user last left it, within the screen's free area (without the
    // desktop's panels); the first time over that whole area, maximised. Its place is kept again
    // when it closes.
    void showOnScreen();

    // The command line shown in the caption; by default the program's arguments.
    void setLigneCommande(const QString& ligne) { m_ligneCommande = ligne; }

    // What the settings items and the record-list item open. Each factory returns a new widget
    // that becomes a child window (null: nothing opens). The settings factory is handed the
    // item's mode and the survey scheme: the item's own for the identification items, the one
    // the last of them left for the others.
    using Fabrique = std::function<QWidget*()>;
    using FabriqueParam = std::function<QWidget*(const QString& mode, const QString& protocole)>;
    void setFabriqueParam(FabriqueParam f) { m_fabriqueParam = std::move(f); }
    void setFabriqueListe(Fabrique f) { m_fabriqueListe = std::move(f); }

    // Opens the record window for a request, or brings the one already open to the front: one
    // record window at a time. nullptr when the record cannot be opened (the user has been told).
    // When it closes, the record list is shown again.
    QMdiSubWindow* ouvrirReleve(const record::RecordRequest& demande);
    QMdiSubWindow* fenetreReleve() const { return m_releve; }

    // The child windows other than the logo, in activation order.
    QList<QMdiSubWindow*> fenetres() const;
    QMdiSubWindow* fenetreListe() const { return m_liste; }
    QMdiSubWindow* fenetreAPropos() const { return m_aPropos; }
    frm_Splash_Logo* logo() const { return m_logo; }

    // Window arrangement of the "Fenêtres" menu.
    void cascadeWindows();
    void tileWindows();
    void arrangeIcons();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void construireMenus();
    QAction* ajouter(QWidget* parent, const QString& name, const QString& caption, int index = -1);
    QMenu* ajouterMenu(QWidget* parent, const QString& name, const QString& caption);
    void ouvrirParam(QAction* source, const QString& mode, const QString& protocole);
    void ouvrirListe();
    void ouvrirAPropos();
    void ouvrirDocument(int index);
    void remplirListeFenetres();
    void centrerLogo();
    // The shown child windows that are not minimised, brought back from maximised.
    QList<QMdiSubWindow*> fenetresAArranger() const;
    QMdiSubWindow* ajouterFenetre(QWidget* widget);

    grid::Grid m_flxWork;
    grid::Grid m_flxCarres;
    QMdiArea* m_mdi = nullptr;
    QMenu* m_popupMaj = nullptr;
    QMenu* m_fenetres = nullptr;
    QList<QAction*> m_listeFenetres;
    QHash<QString, QAction*> m_items;
    QTimer* m_timCheckUpdAuto = nullptr;
    QString m_ligneCommande;
    QString m_dossierDocuments;
    QStringList m_documents;
    FabriqueParam m_fabriqueParam;
    QString m_protocole; // the survey scheme of the last identification item opened
    Fabrique m_fabriqueListe;
    QPointer<QMdiSubWindow> m_liste;
    QPointer<QMdiSubWindow> m_aPropos;
    QPointer<QMdiSubWindow> m_releve;
    QPointer<frm_Splash_Logo> m_logo;
    bool m_placed = false; // shown where the user left it: its place is kept at closing
};
