#pragma once
// Readable Qt values in test failures: GoogleTest finds these printers by argument-dependent
// lookup and prints the text instead of the object's bytes. Header only, so that a suite can take
// it without the rest of the test support (the coordinate suites link the coordinate library
// alone).

#include <QChar>
#include <QString>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

inline void PrintTo(QChar c, std::ostream* os) { *os << '\'' << QString(c).toStdString() << '\''; }

// The type and the value as text: QVariant(double, "600905.5"), QVariant(QString, "31").
inline void PrintTo(const QVariant& v, std::ostream* os)
{
    *os << "QVariant(" << (v.isValid() ? v.typeName() : "invalid");
    if (v.isValid())
        *os << ", \"" << v.toString().toStdString() << '"';
    *os << ')';
}
