#include "platform/Grid.h"
#include "recordlist/InventoryNumber.h"

#include <gtest/gtest.h>

namespace {

// A record grid holding only what the code is built from: the date row, then "Coordonnées" and
// the parcel rows (department, longitude, latitude).
struct Parcel
{
    QString department, longitude, latitude;
};

void fill(platform::Grid& g, const QString& date, const QString& passage, const QList<Parcel>& parcels)
{
    g.setCols(10);
    g.setRows(int(parcels.size()) + 4);
    g.setCell(1, 1, "Date, N° Passage et commentaire relevé");
    g.setCell(1, 2, date);
    g.setCell(1, 3, passage);
    g.setCell(2, 1, "Coordonnées");
    for (int p = 0; p < parcels.size(); ++p) {
        g.setCell(3 + p, 3, parcels[p].department);
        g.setCell(3 + p, 7, parcels[p].longitude);
        g.setCell(3 + p, 8, parcels[p].latitude);
    }
}

} // namespace

TEST(InventoryNumber, Pieces)
{
    const struct
    {
        const char* name;
        QString date, passage;
        Parcel parcel;
        int p;
        QString code;
    } rows[] = {
        {"Corsica, hectometres",
         "05/12/2010",
         "2",
         {"2A - Corse-du-Sud", "8451", "19345"},
         3,
         "10220000840019303"},
        {"2B", "05/12/2010", "2", {"2B", "8451", "19345"}, 3, "10220000840019303"},
        {"07, parcel 12", "05/12/2009", "0", {"07 - Ardèche", "784512", "1965432"}, 12, "09007078451965412"},
        {"below a hectometre",
         "05/12/2009",
         "0",
         {"07", "99", "-99"},
         1,
         "09007"
         "00000"
         "00000"
         "01"},
        {"negative, truncated toward zero",
         "05/12/2009",
         "0",
         {"07", "-5001", "-1234.5"},
         1,
         "09007000500001201"},
        {"decimal comma", "05/12/2009", "0", {"07", "8451,9", "1e4"}, 1, "09007000840010001"},
        {"a million hectometres", "05/12/2009", "0", {"07", "100000000", "0"}, 1, "0900710000000000001"},
        {"not a number: empty piece",
         "05/12/2009",
         "0",
         {"07", "", "2°21'E"},
         1,
         "09007"
         "01"},
    };
    for (const auto& r : rows) {
        platform::Grid g;
        QList<Parcel> parcels(r.p);
        parcels[r.p - 1] = r.parcel;
        fill(g, r.date, r.passage, parcels);
        EXPECT_EQ(recordlist::fun_Gen_Num_Inventaire_Ravelin(g, r.p), r.code) << r.name;
    }
}

TEST(InventoryNumber, MissingRowsGiveQuestionMarks)
{
    platform::Grid g;
    fill(g, "05/12/2010", "1", {{"07", "8451", "19345"}});
    EXPECT_EQ(recordlist::fun_Gen_Num_Inventaire_Ravelin(g, 1), "10107"
                                                                "00084"
                                                                "00193"
                                                                "01");
    for (int row : {1, 2}) {
        platform::Grid without;
        without.copyFrom(g);
        without.setCell(row, 1, QString());
        EXPECT_EQ(recordlist::fun_Gen_Num_Inventaire_Ravelin(without, 1), "????????") << row;
    }
}
