#pragma once
// The reference tables of the record window, read once when the window opens, and the choices
// the window offers from them: departments (filtered by the study departments) and the communes
// of a department, with each commune's centre; networks ("SHOC" preselected); habitats ("CH"
// preselected); the behaviour list of the species grid; the species code and name lists, and the
// species table itself in code order.
//
// The communes table of a new installation holds about 35,000 rows: it is sorted once, by
// department code and then commune name (the program's one generic comparison, on trimmed texts,
// equal rows keeping their order), and its departments indexed once, so that a department's
// communes and a commune's row are found among that department's rows alone.
//
// A table that cannot be read leaves its choices empty and nothing preselected; the other
// tables are read all the same. The tables' paths are settings of "Paramètres", by default
// files of the program's own folder.

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace grid {
class Grid;
}

namespace record {

// One row of the communes table, columns 1 to 6.
struct Commune
{
    QString department;     // the department code, two characters
    QString number;         // the commune number; 0 or not a number: a row that is not offered
    QString name;           // the commune's name
    QString departmentName; // the department's name
    QString centreX;        // the commune's centre, Lambert II étendu, metres (may be empty)
    QString centreY;

    // The row's key: department code, "-", commune name.
    QString key() const { return department + QLatin1Char('-') + name; }
};

// The items of a list box in the order offered, and the item preselected (-1: none).
struct ChoiceList
{
    QStringList items;
    int selected = -1;
};

// A commune offered for a department: its name, and its row in the sorted communes table.
struct CommuneChoice
{
    QString name;
    int row = -1;
    bool operator==(const CommuneChoice&) const = default;
};

// Where the tables are read from.
struct ReferencePaths
{
    QString communes;
    QString networks;
    QString behaviours;
    QString habitats;
    QString species;

    // The paths the settings name ("Fichier Communes", "Fichier Réseaux", "Fichier comportements
    // SHOC", "Fichier milieux SHOC", "Fichier espèces"), by default the program's folder and the
    // table's file name; a file whose name differs only in letter case is the one used.
    static ReferencePaths fromSettings();
    // The tables of one folder under their default file names (whatever their letter case).
    static ReferencePaths inFolder(const QString& folder);
};

// The first item that begins with the prefix, without regard to case; -1 when none does.
int firstItemStartingWith(const QStringList& items, const QString& prefix);

class ReferenceData
{
public:
    ReferenceData();
    ~ReferenceData();
    ReferenceData(const ReferenceData&) = delete;
    ReferenceData& operator=(const ReferenceData&) = delete;

    // Reads every table. Fails, naming each table that could not be read and why, when one of
    // them could not; the others are read all the same.
    platform::Result load(const ReferencePaths& paths = ReferencePaths::fromSettings());

    // Each table alone (code 0 for communes, habitats and species, the workbook form for networks
    // and behaviours). A table that cannot be read is left empty.
    platform::Result sub_Load_Grid_Communes(const QString& path);
    platform::Result sub_Load_Cbo_Réseau(const QString& path);
    platform::Result sub_Load_Compotements(const QString& path);
    platform::Result loadHabitats(const QString& path);
    platform::Result loadSpecies(const QString& path);

    // ---- Communes, sorted by department code, then commune name; rows are numbered from 0 in
    // that order.
    int communeCount() const { return int(m_communeOrder.size()); }
    // The commune of a row; an empty one outside the table.
    Commune commune(int row) const;
    // The row whose key (department code, "-", commune name) is that of a commune as a record
    // names it: the first two characters of its department ("26 - Drôme"), "-", the commune's
    // name. The first such row; -1 when none.
    int findCommune(const QString& department, const QString& commune) const;
    // The department list: code + " - " + department name, once per department in table order,
    // for the departments whose code the study-departments setting contains, or every one when
    // the setting is exactly "%". Rows without a department code offer none.
    QStringList sub_Load_Dept(const QString& studyDepartments) const;
    // The communes of the department a department item names (its first two characters), in
    // table order; rows whose number is 0 or not a number are left out.
    QList<CommuneChoice> sub_Load_Communes(const QString& departmentItem) const;

    // ---- The other lists.
    // Networks: code + " / " + name; the first item beginning with "SHOC" preselected.
    const ChoiceList& networks() const { return m_networks; }
    // Habitats: code + " - " + label; the first item beginning with "CH" preselected.
    const ChoiceList& habitats() const { return m_habitats; }
    // " " then, for each behaviour whose class is not blank, "|" class "~" code " " label.
    const QString& behaviourList() const { return m_behaviours; }
    // Edit lists of the species grid: " " then "|#" name ";" code per species in code order
    // (code list), "|#" code ";" name per species in French name order, accents sorted with
    // their letters (name list); species without a class or a code are left out.
    const QString& speciesCodeList() const { return m_speciesCodes; }
    const QString& speciesNameList() const { return m_speciesNames; }

    // The species table as read, in code order, header in row 0. The window's first-use
    // confirmations change it, and it is written back when it was changed.
    grid::Grid& speciesTable() { return *m_species; }
    const grid::Grid& speciesTable() const { return *m_species; }
    // The habitats table as read, header in row 0.
    const grid::Grid& habitatTable() const { return *m_habitatTable; }

private:
    struct DepartmentRun
    {
        QString code;
        QString name;
    };

    // Puts the rows of the department holding a row of the order in name order, once: a record
    // asks for the communes of a department or two, not of the whole country.
    void sortRunAt(int row) const;

    std::unique_ptr<grid::Grid> m_communeGrid; // as read
    mutable QList<int> m_communeOrder;         // row -> grid row, in sorted order
    QList<int> m_communeRuns;                  // where each department's rows of the order end
    mutable std::vector<bool> m_runSorted;     // the department's rows are in name order
    QList<DepartmentRun> m_departments;        // one per run of equal codes, in sorted order
    QHash<QString, int> m_firstRowOfCode;      // code -> first row holding it
    ChoiceList m_networks;
    ChoiceList m_habitats;
    QString m_behaviours;
    QString m_speciesCodes;
    QString m_speciesNames;
    std::unique_ptr<grid::Grid> m_species;
    std::unique_ptr<grid::Grid> m_habitatTable;
};

} // namespace record
