#include "record/SingleLineValues.h"

#include "common/PlainText.h"

#include <algorithm>

namespace record {

namespace {

struct Field
{
    QString what; // as a sentence begins, with its article
    const QString* value;
};

platform::Result firstRefused(std::initializer_list<Field> fields)
{
    for (const Field& f : fields)
        if (platform::Result r = common::checkSingleLine(f.what, *f.value); !r)
            return r;
    return platform::Result::success();
}

platform::Result checkParcel(const Parcel& parcel, int number)
{
    const QString of = QStringLiteral(" de la parcelle %1").arg(number);
    const ParcelLocation& l = parcel.location;
    if (platform::Result r = firstRefused({{QStringLiteral("Le département") + of, &l.department},
                                           {QStringLiteral("La commune") + of, &l.commune},
                                           {QStringLiteral("Le lieu-dit") + of, &l.placeName},
                                           {QStringLiteral("La zone UTM") + of, &l.utmZone},
                                           {QStringLiteral("La longitude") + of, &l.longitude},
                                           {QStringLiteral("La latitude") + of, &l.latitude},
                                           {QStringLiteral("Le carré MGRS") + of, &l.mgrsSquare},
                                           {QStringLiteral("La longueur du parcours") + of, &l.walkLength},
                                           {QStringLiteral("L'altitude") + of, &l.altitude},
                                           {QStringLiteral("Le X Lambert") + of, &l.lambertX},
                                           {QStringLiteral("Le Y Lambert") + of, &l.lambertY},
                                           {QStringLiteral("L'information") + of, &l.information},
                                           {QStringLiteral("L'heure de début") + of, &parcel.startTime},
                                           {QStringLiteral("La durée") + of, &parcel.duration}});
        !r)
        return r;
    for (const QString& w : parcel.weather)
        if (platform::Result r = common::checkSingleLine(QStringLiteral("La météo") + of, w); !r)
            return r;
    if (!parcel.species)
        return platform::Result::success();
    for (qsizetype i = 0; i < parcel.species->size(); ++i) {
        const SpeciesRow& s = parcel.species->at(i);
        // The row's name is made only for the value refused: a parcel lists hundreds of rows.
        for (const QString* v : {&s.speciesClass, &s.code, &s.name, &s.counts[0], &s.counts[1], &s.counts[2],
                                 &s.counts[3], &s.total, &s.indices})
            if (std::any_of(v->cbegin(), v->cend(), common::isControlCharacter))
                return common::checkSingleLine(QStringLiteral("La ligne %1 des espèces").arg(i + 1) + of, *v);
    }
    return platform::Result::success();
}

} // namespace

platform::Result checkSingleLineValues(const SurveyRecord& rec)
{
    if (platform::Result r =
            firstRefused({{QStringLiteral("Le département"), &rec.department},
                          {QStringLiteral("La commune"), &rec.commune},
                          {QStringLiteral("Le lieu-dit"), &rec.placeName},
                          {QStringLiteral("Le nom du site"), &rec.siteName},
                          {QStringLiteral("Le type de milieu"), &rec.habitatType},
                          {QStringLiteral("Le réseau"), &rec.network},
                          {QStringLiteral("Le nom de l'observateur"), &rec.observerName},
                          {QStringLiteral("Le prénom de l'observateur"), &rec.observerFirstName},
                          {QStringLiteral("L'adresse courriel"), &rec.email},
                          {QStringLiteral("Le téléphone"), &rec.telephone},
                          {QStringLiteral("La saison"), &rec.season},
                          {QStringLiteral("La date du relevé"), &rec.date}});
        !r)
        return r;
    for (qsizetype p = 0; p < rec.parcels.size(); ++p)
        if (platform::Result r = checkParcel(rec.parcels[p], int(p + 1)); !r)
            return r;
    return platform::Result::success();
}

} // namespace record
