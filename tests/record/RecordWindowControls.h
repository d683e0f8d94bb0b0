#pragma once
// The record window's controls as a test finds them: by their names (objectName), the way a test
// that acts as a user addresses a control. A control the window does not have fails the test.
//
//     controls(*w).txt_Heure
//
// finds them again each time, so that it follows a window that rebuilt a page.

#include "grid/GridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <gtest/gtest.h>

namespace record_samples {

// The window's control of that name and type; null, and the test failed, when it has none.
template <class W> W* control(const QWidget& window, const QString& name)
{
    W* found = window.findChild<W*>(name);
    if (!found)
        ADD_FAILURE() << "The record window has no control named " << name.toStdString();
    return found;
}

// The controls of one window, named as the window names them; arrays of controls by their index.
struct RecordControls
{
    explicit RecordControls(const QWidget& window) : w(window) {}

    template <class W> W* find(const char* name) const { return control<W>(w, QString::fromUtf8(name)); }
    template <class W, size_t N> std::array<W*, N> findArray(const char* name, int first = 0) const
    {
        std::array<W*, N> found{};
        for (int i = first; i < int(N); ++i)
            found[size_t(i)] = control<W>(w, QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i));
        return found;
    }

    const QWidget& w;
    QGroupBox* fra_Générale = find<QGroupBox>("fra_Générale");
    QTabWidget* ogl_Divers = find<QTabWidget>("ogl_Divers");
    // Page 0: identification and general comment.
    QComboBox* cbo_Dept = find<QComboBox>("cbo_Dept");
    QComboBox* cbo_Communes = find<QComboBox>("cbo_Communes");
    QLineEdit* txt_Lieudit = find<QLineEdit>("txt_Lieudit");
    QComboBox* cbo_Milieu = find<QComboBox>("cbo_Milieu");
    QComboBox* cbo_Réseau = find<QComboBox>("cbo_Réseau");
    QComboBox* cbo_Saison = find<QComboBox>("cbo_Saison");
    QLineEdit* Txt_Nom_Observateur = find<QLineEdit>("Txt_Nom_Observateur");
    QLineEdit* txt_Prénom_Observateur = find<QLineEdit>("txt_Prénom_Observateur");
    QLineEdit* txt_Email = find<QLineEdit>("txt_Email");
    QLineEdit* txt_Téléphone = find<QLineEdit>("txt_Téléphone");
    QLineEdit* txt_Nbr_Relevés = find<QLineEdit>("txt_Nbr_Relevés");
    QPushButton* cmd_Free_Nbr_Points = find<QPushButton>("cmd_Free_Nbr_Points");
    QLineEdit* txt_Nom_Site = find<QLineEdit>("txt_Nom_Site");
    QPlainTextEdit* Txt_Commentaires = find<QPlainTextEdit>("Txt_Commentaires");
    // Page 1: the parcels' location and adjacent habitats.
    QTabWidget* ogl_Parcelles = find<QTabWidget>("ogl_Parcelles");
    QComboBox* cbo_Quid_Coord = find<QComboBox>("cbo_Quid_Coord");
    grid::GridView* flx_Coordonnées = find<grid::GridView>("flx_Coordonnées");
    grid::GridView* flx_Desc_Parcelles = find<grid::GridView>("flx_Desc_Parcelles");
    // Page 2: the visit.
    QLineEdit* txt_Date = find<QLineEdit>("txt_Date");
    std::array<QRadioButton*, 5> opt_Passage = findArray<QRadioButton, 5>("opt_Passage");
    grid::GridView* flx_Date_Météo = find<grid::GridView>("flx_Date_Météo");
    QPlainTextEdit* txt_Commentaire_Relevé = find<QPlainTextEdit>("txt_Commentaire_Relevé");
    // Page 3: the species of each parcel.
    QTabBar* Tab_Relevé = find<QTabBar>("Tab_Relevé");
    QLineEdit* txt_Heure = find<QLineEdit>("txt_Heure");
    QLineEdit* txt_Durée = find<QLineEdit>("txt_Durée");
    std::array<QCheckBox*, 2> chk_Chasse = findArray<QCheckBox, 2>("chk_Chasse");
    grid::GridView* flx_Espèces = find<grid::GridView>("flx_Espèces");
    std::array<QRadioButton*, 2> opt_Total = findArray<QRadioButton, 2>("opt_Total");
    QCheckBox* chk_Merge_Espèces = find<QCheckBox>("chk_Merge_Espèces");
    std::array<QPushButton*, 4> cmd_Mask_Col = findArray<QPushButton, 4>("cmd_Mask_Col", 2); // 2 and 3
    // Page 4: the record in its stored form.
    grid::GridView* flx_EPS = find<grid::GridView>("flx_EPS");
    // Below the pages.
    QLabel* txt_Statut = find<QLabel>("txt_Statut");
    QPushButton* cmd_Save = find<QPushButton>("cmd_Save");
    QPushButton* cmd_exit = find<QPushButton>("cmd_exit");
};

inline RecordControls controls(const QWidget& window) { return RecordControls(window); }

} // namespace record_samples
