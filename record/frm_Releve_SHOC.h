#pragma once
// frm_Relevé_SHOC: the record window, a child window of the main window, where one survey record
// is entered. It opens for an explicit request (mode, file, site), builds its pages, lists and
// grids, reads the reference tables and shows the record that the record core decided to open
// (RecordOpening); the values are restored into the lists by exact text only, and what could not
// be restored is told. One parcel's time, duration, hunting boxes and species are shown at a
// time; the others are kept by the window (per-parcel values and the species store).
//
// Its text boxes check each key typed and their value when the user leaves them (the checks are
// the record core's, FieldChecks); a refused value keeps the focus in its box. The save button,
// a parcel tab change and a page change run the check of the box being left first. Leaving a
// parcel's tab checks its times and species; leaving a page checks that page's fields.
//
// Closing, whatever its cause (its close box, "Enregistrer et fermer", the main window): a record
// changed since it was opened or saved is closed only when the user says so, and a refusal keeps
// the main window open too. Then the parcels' species grids are dropped and the species confirmed
// in this window are written back to the species table.
//
// The hidden tables of the window (communes, habitats, species table) are the reference data's.
//
// Its controls are its own: other code reaches them as a user does, by their names (objectName).
// The window's code is in one file per page or concern: frm_Releve_SHOC.cpp (opening, load,
// closing) and frm_Releve_SHOC_<Pages, Identification, Parcels, Visit, Species, Record, Save,
// Checks>.cpp, which share frm_Releve_SHOC_Parts.h.

#include "grid/Grid.h"
#include "platform/Result.h"
#include "record/FieldChecks.h"
#include "record/ParcelPosition.h"
#include "record/ParcelTabs.h"
#include "record/RecordRequest.h"
#include "record/ReferenceData.h"
#include "record/SpeciesConfirmations.h"
#include "record/SpeciesStore.h"
#include "record/SurveyRecord.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;

namespace grid {
class GridView;
}
namespace record {
struct RecordReading;
class RecordGrids;
class RecordStore;
class RecordValidator;
} // namespace record

class frm_Releve_SHOC : public QWidget
{
    Q_OBJECT
public:
    // Per-parcel values are kept for parcels 0 to 50 (0 is not used).
    static constexpr int kKeptParcels = record::ParcelTabs::kKeptParcels;

    // Creates the window and runs its load for the request. nullptr when the record to modify
    // cannot be read; the user has then been told why.
    static frm_Releve_SHOC* openWindow(const record::RecordRequest& request, QWidget* parent = nullptr);
    ~frm_Releve_SHOC() override;

    // The mode copy taken at load (a known site without a record file opens as a new record).
    record::RecordMode mode() const { return m_mode; }
    // The file the record was opened from (modification), or the site's latest file read.
    const QString& fileName() const { return m_fileName; }
    // What the user was told at the end of the load.
    const QStringList& notices() const { return m_notices; }

    // The record-modified flag: set by the user's edits, read when the window closes.
    bool isModified() const { return m_modified; }
    // A change made by the user; changes made while a record or a parcel is loaded do not count.
    void sub_Statut()
    {
        if (!m_loading)
            m_modified = true;
    }

    // The save flow of "Sauvegarder" and of "Enregistrer et fermer": the parcel shown is kept,
    // the record must be saveable, the validation runs step by step (a failure may still be
    // saved, marked "Non Validé", when the user says so), the user confirms, and the record is
    // written in the data folder; a later save writes the same file again (renamed when the
    // site's name or passage changed). A write that fails is told with its reason and leaves
    // the record modified.
    // Failed also when the user chose to keep a file on disk: the window stays open with the record.
    enum class SaveOutcome { Saved, NotSaved, Failed };
    SaveOutcome sub_Sauvegarder_Relevé();
    // The zoom buttons of the species grid: 2 lowers every cell's font by half a point (not
    // below 1), 3 brings back the size the grid had when the window opened.
    void zoomSpecies(int index);

    int parcelCount() const { return m_parcelCount; }
    // The parcel whose tab is shown.
    int shownParcel() const { return m_shownParcel; }

    // The record as the window shows it, the parcel shown included.
    record::SurveyRecord currentRecord() const;

    // The saveable test: rebuilds the site name, shows the status, opens the species and stored
    // record pages when every identifying item is given; true when the record may be saved.
    bool sub_Vérif_Si_Sauvegardable();

    // The number of parcels (1 to 30): the location, habitat and weather grids get one row per
    // parcel (the rows of the parcels that remain keep what they hold, new rows are empty), and
    // one parcel tab per parcel; the parcel shown stays shown when it remains, otherwise the
    // first is. The kept per-parcel values and species grids stay.
    void applyParcelCount(int count);
    // Sets the species grid up: its columns, header, read-only class and total columns, the
    // species lists, the font and the column widths.
    void sub_Init_Flx_Espèces();
    // Shows a parcel's kept values and species grid (the tab entered); showing another parcel by
    // its tab keeps the shown one's first. Nothing is checked.
    void showParcel(int parcel);
    // Runs the check of the text box being left, when there is one: false when its value is
    // refused, the focus then back in the box.
    bool checkBoxLeft();
    // The communes of the department chosen, item data the commune's row in the reference data.
    void sub_Load_Communes();

    // A species confirmed by the user at its first use (learning mode of species-code entry): its
    // "Saisie" box is ticked, and written back to the species table when the window closes.
    bool confirmSpecies(const QString& code);

    record::ReferenceData& references() { return m_references; }
    record::SpeciesStore& speciesStore() { return m_species; }
    // The family of the species grid's font: "Arial" where the system has it, otherwise the
    // desktop's sans-serif font.
    static QString speciesFontFamily();

    QSize sizeHint() const override;

Q_SIGNALS:
    // The window has closed (after its closing steps): the record list is shown again.
    void closed();
    // A record was written under this name (the record list reads its files again).
    void recordSaved(const QString& fileName);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ValidationView;

    // The grids' editing (species entry, grid commands, the site's choices) works on the controls.
    friend class record::RecordGrids;

    // Controls, named as the rest of the program knows them (their objectName).
    QGroupBox* fra_Générale = nullptr;
    QTabWidget* ogl_Divers = nullptr;
    std::array<QWidget*, 5> fra_Divers{};
    // Page 0: identification and general comment.
    QGroupBox* fra_Identification = nullptr;
    QComboBox* cbo_Dept = nullptr;
    QComboBox* cbo_Communes = nullptr;
    QLineEdit* txt_Lieudit = nullptr;
    QComboBox* cbo_Milieu = nullptr;
    QComboBox* cbo_Réseau = nullptr;
    QComboBox* cbo_Saison = nullptr;
    QLineEdit* Txt_Nom_Observateur = nullptr;
    QLineEdit* txt_Prénom_Observateur = nullptr;
    QLineEdit* txt_Email = nullptr;
    QLineEdit* txt_Téléphone = nullptr;
    QLineEdit* txt_Nbr_Relevés = nullptr;
    QPushButton* cmd_Free_Nbr_Points = nullptr;
    QLineEdit* txt_Nom_Site = nullptr;
    QGroupBox* fra_Commentaire = nullptr;
    QPlainTextEdit* Txt_Commentaires = nullptr;
    // Page 1: the parcels' location and adjacent habitats.
    QTabWidget* ogl_Parcelles = nullptr;
    std::array<QWidget*, 2> fra_Parcelles{};
    QComboBox* cbo_Quid_Coord = nullptr;
    grid::GridView* flx_Coordonnées = nullptr;
    grid::GridView* flx_Desc_Parcelles = nullptr;
    // Page 2: the visit.
    QGroupBox* fra_date = nullptr;
    QLineEdit* txt_Date = nullptr;
    std::array<QRadioButton*, 5> opt_Passage{};
    QGroupBox* fra_Points_Météo = nullptr;
    grid::GridView* flx_Date_Météo = nullptr;
    QGroupBox* fra_Commentaire_Relevé = nullptr;
    QPlainTextEdit* txt_Commentaire_Relevé = nullptr;
    // Page 3: the species of each parcel.
    QTabBar* Tab_Relevé = nullptr;
    QGroupBox* fra_Point_Espèces = nullptr;
    QLineEdit* txt_Heure = nullptr;
    QLineEdit* txt_Durée = nullptr;
    std::array<QCheckBox*, 2> chk_Chasse{};
    grid::GridView* flx_Espèces = nullptr;
    std::array<QRadioButton*, 2> opt_Total{};
    QCheckBox* chk_Merge_Espèces = nullptr;
    std::array<QPushButton*, 4> cmd_Mask_Col{}; // indexes 2 and 3
    // Page 4: the record in its stored form (administrator only).
    grid::GridView* flx_EPS = nullptr;
    // Below the pages.
    QLabel* txt_Statut = nullptr;
    QPushButton* cmd_Save = nullptr;
    QPushButton* cmd_exit = nullptr;

    // The scratch grid.
    grid::Grid flx_Work;

    // frm_Releve_SHOC.cpp: opening, load, closing.
    explicit frm_Releve_SHOC(QWidget* parent);
    void connectEdits();
    platform::Result load(const record::RecordRequest& request);
    void closeFrame();
    void showNotices();

    // frm_Releve_SHOC_Pages.cpp: the frame of pages, the page-change gate, the page keys.
    void buildPages();
    void pageChanged(int index);
    void connectPageKeys();
    void stepPage(int step);

    // frm_Releve_SHOC_Identification.cpp: the site and the observer.
    QWidget* buildIdentificationPage();
    void sub_Load_Dept();
    void restoreDepartment(const QString& department);
    // Selects the item that is the text (letter case and surrounding blanks aside); a text that no
    // item is stays the list's text in the record until the user chooses an item. The index chosen.
    int restoreListText(QComboBox* combo, const QString& text);
    // The list's chosen item, or the record's text that no item is.
    QString listText(const QComboBox* combo) const;
    void freeBaseFields();
    record::SurveyRecord identification() const;

    // frm_Releve_SHOC_Parcels.cpp: the parcels' locations and habitats, and their number. The
    // location grid's coordinate system (the rules: record/LocationGrid and record/CoordinateSwitch).
    QWidget* buildParcelsPage();
    void setUpLocationGrid();
    void setUpHabitatGrid();
    void setUpCoordinateSystems();
    void greyParcelGrids();
    void fitParcelGridHeights();
    int shownCoordinateType() const;
    void coordinateSystemChanged(int index);
    void locationBeforeEdit(int row, int col, bool* cancel);
    void locationKeyPressEdit(int row, int col, int* key);
    void locationValidateEdit(int row, int col, bool* cancel);
    void locationAfterEdit(int row, int col);

    // frm_Releve_SHOC_Visit.cpp: the date, the passage and the weather.
    QWidget* buildVisitPage();
    void setUpWeatherGrid();

    // frm_Releve_SHOC_Species.cpp: the species page, its parcel tabs and its entry options.
    QWidget* buildSpeciesPage();
    void fitSpeciesColumns();
    void storeShownParcel();
    void enterParcel(int parcel);
    void parcelTabChanged(int index);
    bool leaveParcel(int parcel);
    void selectParcelTab(int parcel);
    void totalEntryChosen(int index);
    void paintTotalColumn();

    // frm_Releve_SHOC_Record.cpp: the record into the controls (currentRecord() is the way back).
    void applyRecord(const record::SurveyRecord& record, const record::RecordReading& reading);

    // frm_Releve_SHOC_Save.cpp: what a validation step changed, shown again.
    void showLocation(int parcel);
    void showCheckedSpecies(int parcel);

    // frm_Releve_SHOC_Checks.cpp: the text boxes' checks.
    void connectFieldChecks();
    bool filterText(record::RecordBox kind, const QString& typed, QString* kept);
    bool filterKey(QLineEdit* box, record::RecordBox kind, QKeyEvent* event);
    void boxFocusOut(QLineEdit* box, Qt::FocusReason reason);
    void checkLaterBoxLeft();
    bool checkBox(QLineEdit* box);
    void refocus(QLineEdit* box);

    record::ReferenceData m_references;
    record::SpeciesStore m_species;
    record::SpeciesConfirmations m_confirmations;
    QString m_speciesTablePath;
    record::ParcelTabs m_parcelTabs;
    QButtonGroup* m_passages = nullptr;
    record::RecordMode m_mode = record::RecordMode::New;
    QString m_fileName;
    // The file that holds the record shown: the one opened for modification, then the one the
    // record was last written to; empty while a new record was never saved.
    QString m_storedFile;
    // The store the record was opened from and written to: it remembers the stamp of that file, so
    // that a save made meanwhile by another copy of the program is never replaced unasked.
    std::unique_ptr<record::RecordStore> m_store;
    QStringList m_notices;
    QHash<const QComboBox*, QString> m_keptListTexts; // a record's list texts that no item is
    int m_parcelCount = 0;
    int m_shownParcel = 0;
    double m_notedFontSize = 0;
    bool m_modified = false;
    bool m_loading = false;
    bool m_baseFieldsFree = false;
    bool m_closing = false; // the closing question is open
    bool m_closed = false;  // the closing steps have run
    record::CoordinateServices m_coordinates;
    int m_coordinateTag = -1; // the coordinate system shown before; -1 until one was chosen

    // The field checks and the validation.
    QHash<QLineEdit*, record::RecordBox> m_boxes;
    QPointer<QLineEdit> m_boxEntered;       // the box that has the focus, its value not yet checked
    QList<QPointer<QLineEdit>> m_boxesLeft; // boxes just left, their checks to run in order
    std::unique_ptr<ValidationView> m_validationView;
    std::unique_ptr<record::RecordValidator> m_validator;
    record::SurveyRecord m_checked; // the record the validation works on
    int m_pageShown = 0;
    bool m_checking = false;   // a check's box is open
    bool m_refocusing = false; // the focus goes back to a refused box
    bool m_validating = false; // the validation runs (its page changes and boxes)
};
