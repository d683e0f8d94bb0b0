#pragma once
// The record list window: one line per record file of the data folder, the new-record frame with
// its three choices, modify, delete (set aside), the copy of the selection and the right-click
// bulk update; the export frame (workbooks, mail to the correspondents); the prospection view with
// its circular and reminders. The list itself, the commands, the conversion of older files, the
// import of the sibling program's records, the export and the mails are the core's (RecordList,
// RecordCommands, SiblingImport, ExportRun, ProspectionTable, ProspectionMail); the window shows
// them and hands the record window its request.
//
// The list, the new-record frame, the export frame and the prospection view take the same place,
// one at a time; the buttons of each are shown with it.
//
// The main window gives it its hooks: how to open the record window, the bulk-update menu and
// what to show while older files are converted or sibling records imported.

#include "grid/GridView.h"
#include "recordlist/RecordCommands.h"
#include "recordlist/RecordList.h"
#include "recordlist/SiblingImport.h"

#include <QWidget>
#include <array>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedLayout;

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
        // Shown while the sibling program's records are imported; may be null.
        recordlist::ImportProgress* importProgress = nullptr;
        // Asks for the folder that receives one workbook per record, with a caption and the
        // folder it starts in; "" when the user gives up. Empty: the program's folder chooser.
        std::function<QString(const QString& title, const QString& start)> chooseFolder;
    };

    explicit frm_Liste_Releves_SHOC(Hooks hooks, QWidget* parent = nullptr);
    // The bulk update no longer reaches the list once the window is gone.
    ~frm_Liste_Releves_SHOC() override;

    // Rebuilds the list from the data folder (the setting "Dossier").
    void sub_Refresh_Liste_EPS();

    // Rebuilds the prospection table from the data folder and shows its closing count.
    void sub_Refresh_Prospection_EPS();

    grid::Grid& grid() { return m_grid; }
    grid::Grid& exportGrid() { return m_exportGrid; }
    grid::Grid& prospectionGrid() { return m_prospectionGrid; }
    const recordlist::RecordList& recordList() const { return m_list; }

    // Which of the four views takes the window's place.
    enum class View { List, NewRecord, Export, Prospection };
    View view() const { return m_view; }

    // Controls of the list.
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
    QPushButton* cmd_Export = nullptr;
    QPushButton* cmd_Prospection = nullptr;

    // Controls of the export frame. opt_Export has no option 1: the workbook of all the records
    // is the table to use locally.
    QGroupBox* fra_Export = nullptr;
    std::array<QRadioButton*, 3> opt_Export{};
    std::array<QRadioButton*, 2> opt_GPS{};
    QCheckBox* chk_one_file = nullptr;
    QLineEdit* txt_File_Export = nullptr;
    QPushButton* cmd_File_Export = nullptr;
    // The correspondents of the address book; the selected ones receive the mailed records.
    QListWidget* lst_Email = nullptr;
    // Index 0: the workbooks; index 2: the mail. No index 1.
    std::array<QPushButton*, 3> cmd_Exportation{};
    grid::GridView* flx_Export = nullptr;

    // Controls of the prospection view.
    grid::GridView* flx_Prospection = nullptr;
    QPushButton* cmd_Email = nullptr;
    std::array<QPushButton*, 3> cmd_Email_Relance{};

    // The list's commands.
    void cmd_Ajout_Click();
    void cmd_vrai_Click();
    void cmd_Faux_Click();
    void cmd_maj_Click();
    void Cmd_Supp_Click();
    void cmd_Copier_Click();

    // The export.
    void cmd_Export_Click();
    void cmd_File_Export_Click();
    void cmd_Exportation_Click(int index);
    void chk_one_file_Click();

    // The prospection view, its circular and reminders.
    void cmd_Prospection_Click();
    void cmd_Email_Click();
    void cmd_Email_Relance_Click(int index);

private:
    // The constructor's steps, in their order.
    QBoxLayout* buildButtonBar();
    void buildListView();
    void buildNewRecordFrame();
    void connectList();
    void showFirstList();

    void buildExportFrame();
    void buildProspectionView();
    void connectExport();
    // The target folder of one workbook per record, through the hook or the folder chooser.
    QString chooseTargetFolder(const QString& title, const QString& start);
    void connectProspection();
    // Shows one view and its buttons, every other button hidden.
    void showView(View view);
    void loadAddressBook();
    void importSiblingRecords();
    void optNewClicked(int index);
    void openRecord(const record::RecordRequest& request);
    void showContextMenu(int button);

    Hooks m_hooks;
    grid::Grid m_grid;
    grid::Grid m_exportGrid;
    grid::Grid m_prospectionGrid;
    recordlist::RecordList m_list;
    QStackedLayout* m_views = nullptr;
    View m_view = View::List;
    int m_mouseRow = 0; // the list row under the mouse at its last move
};
