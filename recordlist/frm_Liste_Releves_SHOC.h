#pragma once
// The record list window: one line per record file of the data folder, the new-record frame with
// its three choices, modify, delete (set aside), the copy of the selection and the right-click
// bulk update. The list itself, the commands and the conversion of older files are the core's
// (RecordList, RecordCommands); the window shows them and hands the record window its request.
// The main window gives it its hooks: how to open the record window, the bulk-update menu and
// what to show while older files are converted.

#include "grid/GridView.h"
#include "recordlist/RecordCommands.h"
#include "recordlist/RecordList.h"

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

class frm_Liste_Releves_SHOC : public QWidget
{
    Q_OBJECT
public:
    struct Hooks
    {
        // Opens the record window for a request; the window (a frm_Releve_SHOC or a frame
        // holding one), or null when nothing opened.
        std::function<QWidget*(const record::RecordRequest&)> openRecord;
        // The bulk-update menu popped up by a right click on the list.
        QMenu* bulkUpdateMenu = nullptr;
        // Shown while older files are converted; may be null.
        recordlist::ConversionObserver* conversionObserver = nullptr;
    };

    explicit frm_Liste_Releves_SHOC(Hooks hooks, QWidget* parent = nullptr);
    // The bulk update no longer reaches the list once the window is gone.
    ~frm_Liste_Releves_SHOC() override;

    // Rebuilds the list from the data folder (the setting "Dossier").
    void sub_Refresh_Liste_EPS();

    grid::Grid& grid() { return m_grid; }
    const recordlist::RecordList& recordList() const { return m_list; }

    // Controls.
    QGroupBox* fra_Grille = nullptr;
    grid::GridView* flx_Grille = nullptr;
    QGroupBox* fra_New_Eps = nullptr;
    std::array<QRadioButton*, 3> opt_New{};
    QComboBox* cbo_Carres = nullptr;
    QPushButton* cmd_Ajout = nullptr;
    QPushButton* cmd_maj = nullptr;
    QPushButton* Cmd_Supp = nullptr;
    QPushButton* cmd_Copier = nullptr;
    QPushButton* cmd_exit = nullptr;
    QPushButton* cmd_vrai = nullptr;
    QPushButton* cmd_Faux = nullptr;

    void cmd_Ajout_Click();
    void cmd_vrai_Click();
    void cmd_Faux_Click();
    void cmd_maj_Click();
    void Cmd_Supp_Click();
    void cmd_Copier_Click();

private:
    void optNewClicked(int index);
    void openRecord(const record::RecordRequest& request);
    void showContextMenu(int button);

    Hooks m_hooks;
    grid::Grid m_grid;
    recordlist::RecordList m_list;
    int m_mouseRow = 0; // the list row under the mouse at its last move
};
