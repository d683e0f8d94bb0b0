#pragma once
// Compares two grids cell by cell and setting by setting (GoogleTest expectations).

#include "grid/Grid.h"

#include <gtest/gtest.h>

namespace grid_samples {

inline void expectSameGrid(const grid::Grid& a, const grid::Grid& b)
{
    ASSERT_EQ(a.rows(), b.rows());
    ASSERT_EQ(a.cols(), b.cols());
    EXPECT_EQ(a.fixedRows(), b.fixedRows());
    EXPECT_EQ(a.fixedCols(), b.fixedCols());
    for (int c = 0; c < a.cols(); ++c) {
        EXPECT_EQ(a.colHidden(c), b.colHidden(c)) << "column " << c;
        EXPECT_EQ(a.colDataType(c), b.colDataType(c)) << "column " << c;
        EXPECT_EQ(a.colEditList(c), b.colEditList(c)) << "column " << c;
        EXPECT_EQ(a.colSort(c), b.colSort(c)) << "column " << c;
        EXPECT_EQ(a.colCentred(c), b.colCentred(c)) << "column " << c;
        EXPECT_EQ(a.colWidth(c), b.colWidth(c)) << "column " << c;
        EXPECT_EQ(a.colData(c), b.colData(c)) << "column " << c;
    }
    for (int r = 0; r < a.rows(); ++r) {
        EXPECT_EQ(a.rowKey(r), b.rowKey(r)) << "row " << r;
        for (int c = 0; c < a.cols(); ++c) {
            EXPECT_EQ(a.cell(r, c), b.cell(r, c)) << r << "," << c;
            EXPECT_EQ(a.checkState(r, c), b.checkState(r, c)) << r << "," << c;
            EXPECT_EQ(a.backColour(r, c), b.backColour(r, c)) << r << "," << c;
            EXPECT_EQ(a.fontName(r, c), b.fontName(r, c)) << r << "," << c;
            EXPECT_EQ(a.fontSize(r, c), b.fontSize(r, c)) << r << "," << c;
            EXPECT_EQ(a.isReadOnly(r, c), b.isReadOnly(r, c)) << r << "," << c;
        }
    }
}

} // namespace grid_samples
