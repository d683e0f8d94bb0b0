#pragma once
// Helpers shared by the coordinate suites: an independent reader of the degrees-minutes-seconds
// texts that the conversion writes, to compare them with reference values in degrees.

#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <optional>
#include <ostream>

// Texts in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }

namespace coords_test {

// "E2°20'55,81''", "N48°51' 2.5\"" -> signed decimal degrees; nothing for another shape.
inline std::optional<double> degreesOfText(const QString& text)
{
    static const QRegularExpression shape(
        QStringLiteral("^([NSEW])(\\d+)\u00B0 ?(\\d+)' ?(\\d+(?:[.,]\\d+)?)(?:''|\")$"));
    const auto m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString s = m.captured(4);
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    const double v = m.captured(2).toDouble() + m.captured(3).toDouble() / 60 + s.toDouble() / 3600;
    const QString h = m.captured(1);
    return (h == QLatin1String("W") || h == QLatin1String("S")) ? -v : v;
}

} // namespace coords_test
