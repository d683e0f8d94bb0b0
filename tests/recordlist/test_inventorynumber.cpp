#include "grid/Grid.h"
#include "recordlist/InventoryNumber.h"

#include <gtest/gtest.h>

TEST(InventoryNumber, Pieces)
{
    const struct
    {
        const char* name;
        QString date, passage, department, longitude, latitude;
        int parcel;
        QString code;
    } rows[] = {
        {"Corsica, hectometres", "05/12/2010", "2", "2A - Corse", "8451", "19345", 3, "10220000840019303"},
        {"2B", "05/12/2010", "2", "2B", "8451", "19345", 3, "10220000840019303"},
        {"07, parcel 12", "05/12/2009", "0", "07 - Ardèche", "784512", "1965432", 12, "09007078451965412"},
        {"below a hectometre", "05/12/2009", "0", "07", "99", "-99", 1,
         "09007"
         "00000"
         "00000"
         "01"},
        {"truncated toward zero", "05/12/2009", "0", "07", "-5001", "-1234.5", 1,
         "09007"
         "00050"
         "00012"
         "01"},
        {"decimal comma", "05/12/2009", "0", "07", "8451,9", "1e4", 1,
         "09007"
         "00084"
         "00100"
         "01"},
        {"a million hectometres", "05/12/2009", "0", "07", "100000000", "0", 1,
         "09007"
         "1000000"
         "00000"
         "01"},
        {"not a number: empty piece", "05/12/2009", "0", "07", "", "2°21'E", 1,
         "09007"
         "01"},
        {"no date row", "", "", "07", "8451", "19345", 1, "????????"},
        {"no Coordonnées", "05/12/2009", "0", "", "", "", 1, "????????"},
    };
    for (const auto& r : rows) {
        // The date row, then "Coordonnées" and the parcel rows (department, longitude, latitude).
        grid::Grid g;
        g.setCols(10);
        g.setRows(r.parcel + 4);
        if (!r.date.isEmpty())
            g.setCell(1, 1, "Date, N° Passage et commentaire relevé");
        g.setCell(1, 2, r.date);
        g.setCell(1, 3, r.passage);
        if (!r.department.isEmpty())
            g.setCell(2, 1, "Coordonnées");
        g.setCell(2 + r.parcel, 3, r.department);
        g.setCell(2 + r.parcel, 7, r.longitude);
        g.setCell(2 + r.parcel, 8, r.latitude);
        EXPECT_EQ(recordlist::fun_Gen_Num_Inventaire_Ravelin(g, r.parcel), r.code) << r.name;
    }
}
