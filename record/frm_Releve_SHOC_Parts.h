#pragma once
// What the files of the record window share: the pages and grid columns that more than one of
// them addresses, the small builders of its controls, and the window as the validation sees it.
// Only the window's own files include it.

#include "grid/Grid.h"
#include "grid/GridView.h"
#include "record/RecordValidator.h"
#include "record/frm_Releve_SHOC.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QString>
#include <QStringList>

namespace record::window {

// The pages of ogl_Divers that more than one file addresses.
constexpr int kSpeciesPage = 3;
constexpr int kStoredPage = 4;

// flx_Desc_Parcelles: the parcel label, then one check box per habitat.
constexpr int kFirstHabitatColumn = 2;
// flx_Date_Météo: the parcel label, then the four weather codes with their lists.
constexpr int kFirstWeatherColumn = 2;

// Extra width of the fitted columns, in twips.
constexpr int kFitExtraTwips = 240;

// "name(index)": the name of one control of an array of controls.
inline QString indexed(const QString& name, int index)
{
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

// The item chosen, or nothing.
inline QString comboText(const QComboBox* combo)
{
    return combo->currentIndex() < 0 ? QString() : combo->currentText();
}

inline QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

inline bool ticked(const grid::Grid& g, int row, int col)
{
    return g.checkState(row, col) == grid::Grid::Checked;
}
inline int checkState(bool on) { return on ? grid::Grid::Checked : grid::Grid::Unchecked; }

inline QGroupBox* frame(const QString& name, const QString& caption)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    return box;
}

template <class W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A grid view and its grid, both under the control's name.
inline grid::GridView* gridView(const QString& name)
{
    auto* view = new grid::GridView;
    view->setObjectName(name);
    view->grid().setObjectName(name);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return view;
}

} // namespace record::window

// What the validation asks of the window: its pages, parcel tabs and fields, and the parcels'
// locations and species that a step changed in the record it checked.
class frm_Releve_SHOC::ValidationView : public record::RecordView
{
public:
    explicit ValidationView(frm_Releve_SHOC& window) : w(window) {}

    int currentPage() const override;
    void showPage(int page) override;
    void showParcel(int parcel) override;
    void focusField(record::RecordField field) override;
    void selectSpeciesRow(int parcel, int row) override;
    void hideCheckColumns() override;
    void setInformationColour(int parcel, grid::GridColour colour) override;
    void locationChanged(int parcel) override;
    void speciesChanged(int parcel) override;
    void setSaveEnabled(bool) override;

private:
    frm_Releve_SHOC& w;
};
