#pragma once
// Coordinate tests run once with each decimal separator: the fixture sets the separator for
// its test, and regional() writes a number text with it.

#include "coords/TexteNombre.h"

#include <QString>
#include <gtest/gtest.h>

class AvecSeparateur : public ::testing::TestWithParam<char>
{
protected:
    coords::SeparateurDecimal sep{QLatin1Char(GetParam())};
};

// The text with every "." written as the separator.
inline QString regional(const char* texte, char separateur)
{
    QString s = QString::fromUtf8(texte);
    s.replace(QLatin1Char('.'), QLatin1Char(separateur));
    return s;
}
