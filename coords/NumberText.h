#pragma once
// Numbers as the coordinate texts write and read them: the user's regional decimal separator,
// the general number-to-text form (at most 15 significant digits, never an exponent), the fixed
// patterns ("0", "0.0000", "0.00000", "0.000000000") and the reading of a typed number.

#include <QChar>
#include <QString>
#include <QStringView>

namespace coords {

// The regional decimal separator: "," in French settings. Taken from the default QLocale the
// first time it is asked, unless set before.
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);

// Sets the separator for one scope and puts the previous one back (tests, the driver).
class ScopedDecimalSeparator
{
public:
    explicit ScopedDecimalSeparator(QChar separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    QChar m_previous;
};

// General form: rounded to 15 significant digits, trailing zeros dropped, no leading zeros
// beyond the one before the separator ("0,5"), no exponent (5e-13 -> "0,0000000000005").
// -0 and values that round to zero give "0". Not-a-number and infinities give "".
QString generalText(double v, QChar separator);
inline QString generalText(double v) { return generalText(v, decimalSeparator()); }

// The general form written into a buffer of at least kGeneralTextSize characters; returns
// the number written (0 for not-a-number and infinities).
inline constexpr int kGeneralTextSize = 340;
int writeGeneral(double v, char16_t separator, char16_t* out);

// Fixed pattern with the given number of decimals ("0" -> 0, "0.00000" -> 5), halves away from
// zero on the value's 15-significant-digit form.
QString fixedText(double v, int decimals, QChar separator);
inline QString fixedText(double v, int decimals) { return fixedText(v, decimals, decimalSeparator()); }

// The value that fixedText writes, as a number: v rounded to that many decimals.
double roundDecimals(double v, int decimals);
// v rounded to 15 significant digits: the value that its general text reads back as.
double round15Significant(double v);
// v cut (not rounded) after that many decimals, on its 15-significant-digit form.
double truncateDecimals(double v, int decimals);

// A typed number: blanks around it, an optional sign, digits with at most one decimal separator,
// an optional exponent (E or e). Not-a-number, infinities and anything else are no number.
struct NumberReading
{
    enum State { Number, NotANumber, OutOfRange };
    State state = NotANumber;
    double value = 0;
    bool ok() const { return state == Number; }
};
// Reads with the given separator as the only decimal separator.
NumberReading readNumber(QStringView text, QChar separator);
inline NumberReading readNumber(QStringView text) { return readNumber(text, decimalSeparator()); }
// Reads a value typed in a coordinate slot: "." and "," are both taken as the decimal separator.
NumberReading readNumberAnySeparator(QStringView text);

// Every "," or "." of the text becomes the given separator.
QString withSeparator(QString text, QChar separator);

// Trimmed of blanks (spaces only, as the typed texts are trimmed).
QStringView trimBlanks(QStringView text);

} // namespace coords
