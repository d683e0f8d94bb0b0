// The record window and the survey record: a record shown in the controls, and the record the
// controls show.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/KeyFilters.h"
#include "record/LocationGrid.h"
#include "record/RecordLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using grid::Grid;
using enum record::LocationColumn;
using namespace record::window;

void frm_Releve_SHOC::applyRecord(const record::SurveyRecord& rec, const record::RecordReading& reading)
{
    const int count = int(rec.parcels.size());
    applyParcelCount(count);

    // Identification. A list takes the item that is the record's text, letter case and blanks
    // aside; a text that no item is stays in the record, and the user is told.
    auto restore = [this](QComboBox* combo, const QString& text, const QString& notice) {
        if (restoreListText(combo, text) < 0 && !text.isEmpty())
            m_notices << notice.arg(text);
    };
    restoreDepartment(rec.department);
    restore(cbo_Communes, rec.commune,
            QStringLiteral("La commune « %1 » du relevé n'est pas parmi les communes de son département : "
                           "le relevé la garde tant qu'aucune autre n'est choisie."));
    txt_Lieudit->setText(rec.placeName);
    txt_Nom_Site->setText(rec.siteName);
    restore(cbo_Milieu, rec.habitatType,
            QStringLiteral("Le type de milieu « %1 » du relevé n'est pas dans la table des milieux : "
                           "le relevé le garde tant qu'aucun autre n'est choisi."));
    restore(cbo_Réseau, rec.network,
            QStringLiteral("Le réseau « %1 » du relevé n'est pas dans la table des réseaux : "
                           "le relevé le garde tant qu'aucun autre n'est choisi."));
    Txt_Nom_Observateur->setText(rec.observerName);
    txt_Prénom_Observateur->setText(rec.observerFirstName);
    txt_Email->setText(rec.email);
    txt_Téléphone->setText(rec.telephone);
    Txt_Commentaires->setPlainText(rec.generalComment);
    // The season is the list's own (the record's is one of its items, or none).
    cbo_Saison->setCurrentIndex(common::findItemIgnoringCase(itemsOf(cbo_Saison), rec.season));
    if (cbo_Saison->currentIndex() < 0 && !rec.season.isEmpty())
        m_notices << QStringLiteral("La saison « %1 » du relevé n'est pas dans la liste des saisons : "
                                    "aucune saison n'est choisie.")
                         .arg(rec.season);

    // The parcels' location and habitats, in the coordinate system they were stored in.
    if (reading.locationsRead) {
        Grid& loc = flx_Coordonnées->grid();
        Grid& hab = flx_Desc_Parcelles->grid();
        for (int p = 1; p <= count; ++p) {
            const record::Parcel& parcel = rec.parcels[p - 1];
            const record::ParcelLocation& l = parcel.location;
            const QString texts[] = {l.department, l.commune,    l.placeName,  l.utmZone, l.longitude,
                                     l.latitude,   l.mgrsSquare, l.walkLength, l.altitude};
            for (int i = 0; i < int(std::size(texts)); ++i)
                loc.setCell(p, LocDepartment + i, texts[i]);
            loc.setCheckState(p, LocReserve, checkState(l.huntingReserve));
            loc.setCheckState(p, LocValidated, checkState(l.validated));
            loc.setCell(p, LocLambertX, l.lambertX);
            loc.setCell(p, LocLambertY, l.lambertY);
            loc.setCell(p, LocInformation, l.information);
            hab.setCell(p, LocParcel, loc.cell(p, LocParcel));
            for (int h = 0; h < record::kHabitatCount; ++h)
                hab.setCheckState(p, kFirstHabitatColumn + h, checkState(parcel.habitats[size_t(h)]));
        }
        cbo_Quid_Coord->setCurrentIndex(cbo_Quid_Coord->findData(rec.coordinateType));
    }

    // The visit and its passage buttons.
    txt_Date->setText(rec.date);
    m_passages->setExclusive(false); // so that no passage may be chosen
    for (int i = 0; i < record::kPassageCount; ++i) {
        opt_Passage[size_t(i)]->setEnabled(reading.passageEnabled[size_t(i)]);
        opt_Passage[size_t(i)]->setChecked(rec.passage == i + 1);
    }
    m_passages->setExclusive(true);
    txt_Commentaire_Relevé->setPlainText(rec.visitComment);
    Grid& weather = flx_Date_Météo->grid();
    for (int p = 1; p <= count; ++p)
        for (int w = 0; w < record::kWeatherCount; ++w)
            weather.setCell(p, kFirstWeatherColumn + w, rec.parcels[p - 1].weather[size_t(w)]);

    // The entry options, then each parcel's kept values and species grid.
    opt_Total[rec.totalTypedByHand ? 1 : 0]->setChecked(true);
    chk_Merge_Espèces->setChecked(false);
    m_parcelTabs.clear();
    for (int p = 1; p <= count; ++p) {
        const record::Parcel& parcel = rec.parcels[p - 1];
        m_parcelTabs.store(p, {parcel.startTime, parcel.duration, parcel.huntingOn, parcel.huntingNear});
        // Every parcel of the record has a species grid, an empty one when it has no species block
        // (the first parcels already have the one the window starts with).
        if (parcel.species)
            m_species.setTable(p, *parcel.species);
        else if (!m_species.contains(p))
            m_species.setTable(p, record::SpeciesTable{});
    }
    enterParcel(1);
    greyParcelGrids();
    fitParcelGridHeights();
}

record::SurveyRecord frm_Releve_SHOC::currentRecord() const
{
    record::SurveyRecord rec = identification();
    rec.siteName = txt_Nom_Site->text();
    rec.habitatType = listText(cbo_Milieu);
    rec.network = listText(cbo_Réseau);
    rec.generalComment = Txt_Commentaires->toPlainText();
    rec.email = txt_Email->text();
    rec.telephone = txt_Téléphone->text();
    rec.visitComment = txt_Commentaire_Relevé->toPlainText();
    rec.totalTypedByHand = opt_Total[1]->isChecked();
    rec.mergeSpecies = chk_Merge_Espèces->isChecked();
    rec.coordinateType = cbo_Quid_Coord->currentData().isValid() ? cbo_Quid_Coord->currentData().toInt()
                                                                 : record::kCoordLambert;

    const Grid& loc = flx_Coordonnées->grid();
    const Grid& hab = flx_Desc_Parcelles->grid();
    const Grid& weather = flx_Date_Météo->grid();
    rec.parcels.resize(m_parcelCount);
    for (int p = 1; p <= m_parcelCount; ++p) {
        record::Parcel& parcel = rec.parcels[p - 1];
        record::ParcelLocation& l = parcel.location;
        QString* texts[] = {&l.department, &l.commune,    &l.placeName,  &l.utmZone, &l.longitude,
                            &l.latitude,   &l.mgrsSquare, &l.walkLength, &l.altitude};
        for (int i = 0; i < int(std::size(texts)); ++i)
            *texts[i] = loc.cell(p, LocDepartment + i);
        l.huntingReserve = ticked(loc, p, LocReserve);
        l.validated = ticked(loc, p, LocValidated);
        l.lambertX = loc.cell(p, LocLambertX);
        l.lambertY = loc.cell(p, LocLambertY);
        l.information = loc.cell(p, LocInformation);
        for (int h = 0; h < record::kHabitatCount; ++h)
            parcel.habitats[size_t(h)] = ticked(hab, p, kFirstHabitatColumn + h);
        for (int w = 0; w < record::kWeatherCount; ++w)
            parcel.weather[size_t(w)] = weather.cell(p, kFirstWeatherColumn + w);
        if (p == m_shownParcel) {
            parcel.startTime = txt_Heure->text();
            parcel.duration = txt_Durée->text();
            parcel.huntingOn = chk_Chasse[0]->isChecked();
            parcel.huntingNear = chk_Chasse[1]->isChecked();
            parcel.species = record::speciesTableOf(flx_Espèces->grid());
        } else {
            const record::ParcelValues v = m_parcelTabs.values(p);
            parcel.startTime = v.startTime;
            parcel.duration = v.duration;
            parcel.huntingOn = v.huntingOn;
            parcel.huntingNear = v.huntingNear;
            parcel.species = m_species.table(p);
        }
    }
    return rec;
}
