#include "coords/NumberText.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>

namespace coords {

namespace {

std::atomic<char16_t> separatorInUse{0};

// A finite value as 15 significant digits and a decimal exponent: value = 0.d1d2...d15 x 10^point
// (so "point" digits stand before the separator). Zero gives all zeros and point 1.
struct Digits
{
    bool negative = false;
    std::array<char, 15> d{};
    int point = 1;
};

// The exact 15-digit rounding, through the printf-like conversion (slow).
Digits digits15Exact(double v);

// The shortest text that reads back as v has at most 17 significant digits. Rounded to 15
// digits it gives the exact 15-digit rounding of v, except when the dropped digits are a half
// ("5" or "50"), where the exact value decides.
Digits digits15(double v)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const char* p = buf;
    Digits c;
    if (*p == '-') {
        c.negative = true;
        ++p;
    }
    const char* end = res.ptr;
    const char* e = std::find(p, end, 'e');
    // Digits of the mantissa without the point.
    char d[20];
    int n = 0;
    for (const char* q = p; q < e; ++q)
        if (*q != '.')
            d[n++] = *q;
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    if (n > 15) {
        const bool half = d[15] == '5' && (n == 16 || (n == 17 && d[16] == '0'));
        if (half)
            return digits15Exact(v);
        if (d[15] >= '5') {
            int k = 14;
            while (k >= 0 && d[k] == '9')
                d[k--] = '0';
            if (k < 0) {
                // 9.99...9 became 10.0...0
                d[0] = '1';
                ++exponent;
            } else {
                ++d[k];
            }
        }
        n = 15;
    }
    for (int k = 0; k < 15; ++k)
        c.d[k] = k < n ? d[k] : '0';
    c.point = exponent + 1;
    if (c.d[0] == '0')
        c.point = 1;
    return c;
}

Digits digits15Exact(double v)
{
    Digits c;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const char* p = buf;
    if (*p == '-') {
        c.negative = true;
        ++p;
    }
    c.d[0] = p[0];
    std::memcpy(c.d.data() + 1, p + 2, 14); // skip the "."
    int exponent = 0;
    std::from_chars(p + 17, res.ptr, exponent); // after "e"; from_chars takes the sign
    if (p[17] == '+')
        std::from_chars(p + 18, res.ptr, exponent);
    c.point = exponent + 1;
    if (c.d[0] == '0')
        c.point = 1;
    return c;
}

// Writes the digits of c with "decimals" decimals (rounded half away from zero) into out;
// returns the length. The decimal separator is written as sep.
int writeFixed(const Digits& c, int decimals, char sep, char* out)
{
    // Digits kept: those before the separator and "decimales" after it.
    const int kept = c.point + decimals;
    // Work on a digit string long enough for every case: positions of 10^(point-1) down to
    // 10^-decimales, with one more place in front for a carry.
    std::array<char, 400> w{};
    int n = 0;
    const int before = std::max(c.point, 1);
    const int total = before + decimals; // digit places in the result
    // Place k (0-based from the left) in the result stands for 10^(before-1-k).
    w[n++] = '0'; // carry place
    for (int k = 0; k < total; ++k) {
        const int idx = k - (before - c.point); // index in c.d
        w[n++] = (idx >= 0 && idx < 15) ? c.d[idx] : '0';
    }
    // Rounding digit: the first digit after the kept ones.
    const int next = kept; // index in c.d of the first dropped digit
    if (next >= 0 && next < 15 && c.d[next] >= '5') {
        int k = n - 1;
        while (true) {
            if (w[k] == '9') {
                w[k] = '0';
                --k;
            } else {
                ++w[k];
                break;
            }
        }
    }
    // Drop leading zeros before the separator, keep one.
    int start = 0;
    const int integerPlaces = before + 1; // places before the separator, carry included
    while (start < integerPlaces - 1 && w[start] == '0')
        ++start;
    bool zero = true;
    for (int k = start; k < n; ++k)
        if (w[k] != '0')
            zero = false;
    int len = 0;
    if (c.negative && !zero)
        out[len++] = '-';
    for (int k = start; k < integerPlaces; ++k)
        out[len++] = w[k];
    if (decimals > 0) {
        out[len++] = sep;
        for (int k = integerPlaces; k < n; ++k)
            out[len++] = w[k];
    }
    return len;
}

double readAscii(const char* start, const char* end)
{
    double v = 0;
    std::from_chars(start, end, v);
    return v;
}

} // namespace

QChar decimalSeparator()
{
    char16_t s = separatorInUse.load(std::memory_order_relaxed);
    if (s == 0) {
        const QString point = QLocale().decimalPoint();
        s = point.isEmpty() ? u'.' : point.at(0).unicode();
        separatorInUse.store(s, std::memory_order_relaxed);
    }
    return QChar(s);
}

void setDecimalSeparator(QChar separator) { separatorInUse.store(separator.unicode()); }

ScopedDecimalSeparator::ScopedDecimalSeparator(QChar separator) : m_previous(decimalSeparator())
{
    setDecimalSeparator(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { setDecimalSeparator(m_previous); }

int writeGeneral(double v, char16_t separator, char16_t* out)
{
    if (!std::isfinite(v))
        return 0;
    // Whole numbers below 10^15 are written as they are.
    if (v == std::trunc(v) && std::abs(v) < 1e15) {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
        int n = 0;
        for (const char* p = buf; p < res.ptr; ++p)
            out[n++] = char16_t(*p);
        if (n == 2 && out[0] == u'-' && out[1] == u'0')
            n = 1, out[0] = u'0';
        return n;
    }
    const Digits c = digits15(v);
    int l = 15;
    while (l > 1 && c.d[l - 1] == '0')
        --l;
    int n = 0;
    if (l == 1 && c.d[0] == '0') {
        out[n++] = u'0';
        return n;
    }
    if (c.negative)
        out[n++] = u'-';
    if (c.point <= 0) {
        out[n++] = u'0';
        out[n++] = separator;
        for (int k = 0; k < -c.point; ++k)
            out[n++] = u'0';
        for (int k = 0; k < l; ++k)
            out[n++] = char16_t(c.d[k]);
    } else if (c.point >= l) {
        for (int k = 0; k < l; ++k)
            out[n++] = char16_t(c.d[k]);
        for (int k = l; k < c.point; ++k)
            out[n++] = u'0';
    } else {
        for (int k = 0; k < c.point; ++k)
            out[n++] = char16_t(c.d[k]);
        out[n++] = separator;
        for (int k = c.point; k < l; ++k)
            out[n++] = char16_t(c.d[k]);
    }
    return n;
}

QString generalText(double v, QChar separator)
{
    char16_t buf[kGeneralTextSize];
    const int n = writeGeneral(v, separator.unicode(), buf);
    return QString(reinterpret_cast<const QChar*>(buf), n);
}

QString fixedText(double v, int decimals, QChar separator)
{
    if (!std::isfinite(v))
        return QString();
    char buf[420];
    const int n = writeFixed(digits15(v), decimals, '\x01', buf);
    QString s = QString::fromLatin1(buf, n);
    const int i = s.indexOf(QChar(u'\x01'));
    if (i >= 0)
        s[i] = separator;
    return s;
}

double roundDecimals(double v, int decimals)
{
    if (!std::isfinite(v))
        return v;
    // Away from a half, rounding the value itself gives what its decimal text would.
    static constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (decimals >= 0 && decimals <= 10) {
        const double y = std::abs(v) * kPowersOfTen[decimals];
        if (y < 1e12) {
            const double floorValue = std::floor(y);
            const double rest = y - floorValue;
            if (std::abs(rest - 0.5) > 1e-6) {
                const double r = (rest > 0.5 ? floorValue + 1 : floorValue) / kPowersOfTen[decimals];
                return v < 0 ? -r : r;
            }
        }
    }
    char buf[420];
    const int n = writeFixed(digits15(v), decimals, '.', buf);
    return readAscii(buf, buf + n);
}

double round15Significant(double v)
{
    if (!std::isfinite(v) || v == 0)
        return v;
    char buf[40];
    // A value whose shortest text has at most 15 digits is its own rounding.
    {
        const auto shortest = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
        int digitCount = 0;
        for (const char* p = buf; p < shortest.ptr && *p != 'e'; ++p)
            if (*p >= '0' && *p <= '9')
                ++digitCount;
        if (digitCount <= 15)
            return v;
    }
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    return readAscii(buf, res.ptr);
}

double truncateDecimals(double v, int decimals)
{
    if (!std::isfinite(v))
        return v;
    const Digits c = digits15(v);
    char buf[420];
    int n = 0;
    if (c.negative)
        buf[n++] = '-';
    if (c.point <= 0) {
        buf[n++] = '0';
        buf[n++] = '.';
        const int zeros = -c.point;
        for (int k = 0; k < decimals; ++k)
            buf[n++] = k < zeros ? '0' : (k - zeros < 15 ? c.d[k - zeros] : '0');
    } else {
        for (int k = 0; k < c.point; ++k)
            buf[n++] = k < 15 ? c.d[k] : '0';
        buf[n++] = '.';
        for (int k = 0; k < decimals; ++k) {
            const int idx = c.point + k;
            buf[n++] = idx < 15 ? c.d[idx] : '0';
        }
    }
    buf[n++] = '0';
    return readAscii(buf, buf + n);
}

namespace {

NumberReading readWith(QStringView text, QChar sep1, QChar sep2)
{
    NumberReading r;
    const QStringView t = trimBlanks(text);
    if (t.isEmpty() || t.size() > 350)
        return r;
    char buf[360];
    int n = 0;
    int i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        buf[n++] = char(t[i++].unicode());
    int digitCount = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            buf[n++] = char(c.unicode());
            ++digitCount;
        } else if ((c == sep1 || c == sep2) && !separator) {
            buf[n++] = '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digitCount == 0)
        return r;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        buf[n++] = 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            buf[n++] = char(t[i++].unicode());
        int exp = 0;
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            buf[n++] = char(t[i].unicode());
            ++exp;
        }
        if (exp == 0)
            return r;
    }
    if (i != t.size())
        return r;
    double v = 0;
    const char* start = buf[0] == '+' ? buf + 1 : buf;
    const auto res = std::from_chars(start, buf + n, v);
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(v)) {
        r.state = NumberReading::OutOfRange;
        return r;
    }
    if (res.ec != std::errc() || res.ptr != buf + n)
        return r;
    r.state = NumberReading::Number;
    r.value = v;
    return r;
}

} // namespace

NumberReading readNumber(QStringView text, QChar separator) { return readWith(text, separator, separator); }

NumberReading readNumberAnySeparator(QStringView text)
{
    return readWith(text, QLatin1Char('.'), QLatin1Char(','));
}

QString withSeparator(QString text, QChar separator)
{
    for (QChar& c : text)
        if (c == u',' || c == u'.')
            c = separator;
    return text;
}

QStringView trimBlanks(QStringView text)
{
    qsizetype a = 0;
    qsizetype b = text.size();
    while (a < b && text[a] == u' ')
        ++a;
    while (b > a && text[b - 1] == u' ')
        --b;
    return text.mid(a, b - a);
}

} // namespace coords
