#include "tests/record/RecordSamples.h"

#include "platform/Grid.h"
#include "record/RecordLayout.h"

namespace record_samples {

record::SurveyRecord twoParcels()
{
    using namespace record;
    SurveyRecord r;
    r.department = QStringLiteral("26 - Drôme");
    r.commune = QStringLiteral("Valence");
    r.placeName = QStringLiteral("Les Baumes");
    r.siteName = QStringLiteral("SHOC-26~Valence~Les Baumes~DUPONT Jean~Hiver 2009-2010");
    r.habitatType = QStringLiteral("CH - Champs");
    r.network = QStringLiteral("SHOC / Réseau national");
    r.generalComment = QStringLiteral("Site venté\nhaies basses");
    r.observerName = QStringLiteral("DUPONT");
    r.observerFirstName = QStringLiteral("Jean");
    r.email = QStringLiteral("jean.dupont@exemple.example");
    r.telephone = QStringLiteral("04 75 00 00 00");
    r.season = QStringLiteral("Hiver 2009-2010");
    r.date = QStringLiteral("12/01/2010");
    r.passage = 2;
    r.visitComment = QStringLiteral("Brouillard le matin");
    r.totalTypedByHand = true;
    r.coordinateType = kCoordLambert;
    r.notValidated = true;

    Parcel a;
    a.location = {QStringLiteral("26 - Drôme"),
                  QStringLiteral("Valence"),
                  QStringLiteral("Les Baumes"),
                  QString(),
                  QStringLiteral("800123"),
                  QStringLiteral("1987456"),
                  QString(),
                  QStringLiteral("600"),
                  QStringLiteral("124"),
                  true,
                  false,
                  QStringLiteral("800123"),
                  QStringLiteral("1987456"),
                  QStringLiteral("Possible erreur de coordonnées")};
    a.habitats[0] = true;
    a.habitats[17] = true;
    a.weather = {QStringLiteral("1"), QStringLiteral("2"), QString(), QStringLiteral("3")};
    a.startTime = QStringLiteral("08:30");
    a.duration = QStringLiteral("00:45");
    a.huntingOn = true;
    SpeciesRow lark{QStringLiteral("O"),
                    QStringLiteral("ALAARV"),
                    QStringLiteral("Alouette des champs"),
                    {QStringLiteral("3"), QStringLiteral("2"), QString(), QStringLiteral("10")},
                    QStringLiteral("15"),
                    QStringLiteral("O~NI Nourrissage")};
    SpeciesRow hare{QStringLiteral("M"),
                    QStringLiteral("LEPEUR"),
                    QStringLiteral("Lièvre d'Europe"),
                    {QStringLiteral("1"), QString(), QString(), QString()},
                    QStringLiteral("1"),
                    QString()};
    a.species = SpeciesTable{lark, hare};

    Parcel b;
    b.location = {QStringLiteral("26 - Drôme"),
                  QStringLiteral("Valence"),
                  QString(),
                  QString(),
                  QStringLiteral("801000"),
                  QStringLiteral("1988000"),
                  QString(),
                  QString(),
                  QStringLiteral("130"),
                  false,
                  true,
                  QStringLiteral("801000"),
                  QStringLiteral("1988000"),
                  QString()};
    b.habitats[4] = true;
    b.weather = {QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    b.startTime = QStringLiteral("09:20");
    b.duration = QStringLiteral("00:30");
    b.huntingNear = true;
    b.species = SpeciesTable{};

    r.parcels = {a, b};
    return r;
}

QString gridDump(const platform::Grid& grid)
{
    QString out;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            if (!grid.cell(r, c).isEmpty())
                cells << QStringLiteral("%1=%2").arg(c).arg(
                    grid.cell(r, c).replace(QLatin1Char('\r'), QStringLiteral("\\r")));
        out += QStringLiteral("%1: %2\n").arg(r).arg(cells.join(QStringLiteral(" | ")));
    }
    return out;
}

} // namespace record_samples

namespace record {
void PrintTo(const SurveyRecord& record, std::ostream* os)
{
    platform::Grid g;
    RecordLayout::write(record, g);
    *os << "\n" << record_samples::gridDump(g).toStdString();
}
} // namespace record
