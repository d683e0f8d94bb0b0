#pragma once
// frm_Param: the settings window. One window per menu click, in the mode and survey scheme the
// main window hands it: a reference table to edit, the identification of the sibling product's
// computer, or the data folder. The rules, the loading and the saving are
// ParamEditor's; the window shows the grid and the buttons and forwards their events.

#include <QWidget>
#include <functional>
#include <memory>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace grid {
class GridView;
}
namespace platform {
class RowSource;
}
namespace mainwindow {
class ParamEditor;
}

class frm_Param : public QWidget
{
    Q_OBJECT
public:
    // Creates the window and loads it in a mode (one of param's mode texts, as the menu item
    // names it) for a survey scheme ("SHOC", "EPS-SITES", "STOC-EPS": the identification modes
    // read it). The row source reads the sibling product's database (by default the one the
    // program's services hold); it must outlive the window.
    frm_Param(const QString& mode, const QString& scheme, QWidget* parent = nullptr,
              platform::RowSource* database = nullptr);
    ~frm_Param() override;

    // Creates and loads a window; nullptr when it closed itself while loading (the sibling
    // product is not installed), in which case the user has been told.
    static frm_Param* openWindow(const QString& mode, const QString& scheme, QWidget* parent = nullptr,
                                 platform::RowSource* database = nullptr);

    // The window asked to close while loading.
    bool closedAtLoad() const;

    mainwindow::ParamEditor& editor() { return *m_editor; }

    // The size that shows the table's columns and a useful number of its rows (or the whole
    // data folder), and the whole caption. The main window opens it at that size, within itself.
    QSize sizeHint() const override;

    // The data-folder chooser: shows it with a caption and a starting folder, returns the folder
    // chosen or "" (by default Frm_Selection_dossier).
    using FolderChoice = std::function<QString(QWidget* parent, const QString& title, const QString& folder)>;
    void setFolderChoice(FolderChoice choix);

    // Controls, named as the rest of the program knows them.
    QGroupBox* fra_Grille = nullptr;
    grid::GridView* flx_Grille = nullptr;
    QLineEdit* txt_File = nullptr;
    QPushButton* cmd_Parcourir = nullptr;
    QPushButton* cmd_Save = nullptr;
    QPushButton* cmd_Copier = nullptr;
    QPushButton* cmd_Annul_Esp = nullptr;
    QPushButton* cmd_exit = nullptr;

protected:
    // Any close (Fermer, the close box, the main window closing): changes not saved are offered
    // for saving first, and the user may keep the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void applyDisplay();
    void connectGrid();
    void gridKey(int* cle, int shift);
    void gridMouse(int bouton);
    void saveClicked();
    void browseClicked();
    void closeWindow();

    std::unique_ptr<mainwindow::ParamEditor> m_editor;
    FolderChoice m_folderChoice;
    int m_lastButton = 0;
    bool m_closing = false; // the closing question is open
};
