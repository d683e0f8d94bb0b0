#pragma once
// Coordinate tests run once with each decimal separator: the fixture sets the separator for
// its test, and regional() writes a number text with it.

#include "coords/NumberText.h"

#include <QString>
#include <gtest/gtest.h>

class WithSeparator : public ::testing::TestWithParam<char>
{
protected:
    coords::ScopedDecimalSeparator sep{QLatin1Char(GetParam())};
};

// The text with every "." written as the separator.
inline QString regional(const char* text, char separator)
{
    QString s = QString::fromUtf8(text);
    s.replace(QLatin1Char('.'), QLatin1Char(separator));
    return s;
}
