#include "coords/TexteNombre.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>

namespace coords {

namespace {

std::atomic<char16_t> g_separateur{0};

// A finite value as 15 significant digits and a decimal exponent: value = 0.d1d2...d15 x 10^point
// (so "point" digits stand before the separator). Zero gives all zeros and point 1.
struct Chiffres
{
    bool negatif = false;
    std::array<char, 15> d{};
    int point = 1;
};

// The exact 15-digit rounding, through the printf-like conversion (slow).
Chiffres chiffres15Exact(double v);

// The shortest text that reads back as v has at most 17 significant digits. Rounded to 15
// digits it gives the exact 15-digit rounding of v, except when the dropped digits are a half
// ("5" or "50"), where the exact value decides.
Chiffres chiffres15(double v)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const char* p = buf;
    Chiffres c;
    if (*p == '-') {
        c.negatif = true;
        ++p;
    }
    const char* fin = res.ptr;
    const char* e = std::find(p, fin, 'e');
    // Digits of the mantissa without the point.
    char d[20];
    int n = 0;
    for (const char* q = p; q < e; ++q)
        if (*q != '.')
            d[n++] = *q;
    int exposant = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), fin, exposant);
    if (n > 15) {
        const bool moitie = d[15] == '5' && (n == 16 || (n == 17 && d[16] == '0'));
        if (moitie)
            return chiffres15Exact(v);
        if (d[15] >= '5') {
            int k = 14;
            while (k >= 0 && d[k] == '9')
                d[k--] = '0';
            if (k < 0) {
                // 9.99...9 became 10.0...0
                d[0] = '1';
                ++exposant;
            } else {
                ++d[k];
            }
        }
        n = 15;
    }
    for (int k = 0; k < 15; ++k)
        c.d[k] = k < n ? d[k] : '0';
    c.point = exposant + 1;
    if (c.d[0] == '0')
        c.point = 1;
    return c;
}

Chiffres chiffres15Exact(double v)
{
    Chiffres c;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const char* p = buf;
    if (*p == '-') {
        c.negatif = true;
        ++p;
    }
    c.d[0] = p[0];
    std::memcpy(c.d.data() + 1, p + 2, 14); // skip the "."
    int exposant = 0;
    std::from_chars(p + 17, res.ptr, exposant); // after "e"; from_chars takes the sign
    if (p[17] == '+')
        std::from_chars(p + 18, res.ptr, exposant);
    c.point = exposant + 1;
    if (c.d[0] == '0')
        c.point = 1;
    return c;
}

// Writes the digits of c with "decimales" decimals (rounded half away from zero) into out;
// returns the length. The decimal separator is written as sep.
int ecrireFixe(const Chiffres& c, int decimales, char sep, char* out)
{
    // Digits kept: those before the separator and "decimales" after it.
    const int garde = c.point + decimales;
    // Work on a digit string long enough for every case: positions of 10^(point-1) down to
    // 10^-decimales, with one more place in front for a carry.
    std::array<char, 400> w{};
    int n = 0;
    const int avant = std::max(c.point, 1);
    const int total = avant + decimales; // digit places in the result
    // Place k (0-based from the left) in the result stands for 10^(avant-1-k).
    w[n++] = '0'; // carry place
    for (int k = 0; k < total; ++k) {
        const int idx = k - (avant - c.point); // index in c.d
        w[n++] = (idx >= 0 && idx < 15) ? c.d[idx] : '0';
    }
    // Rounding digit: the first digit after the kept ones.
    const int suivant = garde; // index in c.d of the first dropped digit
    if (suivant >= 0 && suivant < 15 && c.d[suivant] >= '5') {
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
    int debut = 0;
    const int entiers = avant + 1; // places before the separator, carry included
    while (debut < entiers - 1 && w[debut] == '0')
        ++debut;
    bool zero = true;
    for (int k = debut; k < n; ++k)
        if (w[k] != '0')
            zero = false;
    int len = 0;
    if (c.negatif && !zero)
        out[len++] = '-';
    for (int k = debut; k < entiers; ++k)
        out[len++] = w[k];
    if (decimales > 0) {
        out[len++] = sep;
        for (int k = entiers; k < n; ++k)
            out[len++] = w[k];
    }
    return len;
}

double lireAscii(const char* debut, const char* fin)
{
    double v = 0;
    std::from_chars(debut, fin, v);
    return v;
}

} // namespace

QChar separateurDecimal()
{
    char16_t s = g_separateur.load(std::memory_order_relaxed);
    if (s == 0) {
        const QString point = QLocale().decimalPoint();
        s = point.isEmpty() ? u'.' : point.at(0).unicode();
        g_separateur.store(s, std::memory_order_relaxed);
    }
    return QChar(s);
}

void definirSeparateurDecimal(QChar separateur) { g_separateur.store(separateur.unicode()); }

SeparateurDecimal::SeparateurDecimal(QChar separateur) : m_precedent(separateurDecimal())
{
    definirSeparateurDecimal(separateur);
}

SeparateurDecimal::~SeparateurDecimal() { definirSeparateurDecimal(m_precedent); }

int ecrireGeneral(double v, char16_t separateur, char16_t* out)
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
    const Chiffres c = chiffres15(v);
    int l = 15;
    while (l > 1 && c.d[l - 1] == '0')
        --l;
    int n = 0;
    if (l == 1 && c.d[0] == '0') {
        out[n++] = u'0';
        return n;
    }
    if (c.negatif)
        out[n++] = u'-';
    if (c.point <= 0) {
        out[n++] = u'0';
        out[n++] = separateur;
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
        out[n++] = separateur;
        for (int k = c.point; k < l; ++k)
            out[n++] = char16_t(c.d[k]);
    }
    return n;
}

QString texteGeneral(double v, QChar separateur)
{
    char16_t buf[TAILLE_TEXTE_GENERAL];
    const int n = ecrireGeneral(v, separateur.unicode(), buf);
    return QString(reinterpret_cast<const QChar*>(buf), n);
}

QString texteFixe(double v, int decimales, QChar separateur)
{
    if (!std::isfinite(v))
        return QString();
    char buf[420];
    const int n = ecrireFixe(chiffres15(v), decimales, '\x01', buf);
    QString s = QString::fromLatin1(buf, n);
    const int i = s.indexOf(QChar(u'\x01'));
    if (i >= 0)
        s[i] = separateur;
    return s;
}

double arrondiDecimales(double v, int decimales)
{
    if (!std::isfinite(v))
        return v;
    // Away from a half, rounding the value itself gives what its decimal text would.
    static constexpr double PUISSANCES[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (decimales >= 0 && decimales <= 10) {
        const double y = std::abs(v) * PUISSANCES[decimales];
        if (y < 1e12) {
            const double plancher = std::floor(y);
            const double reste = y - plancher;
            if (std::abs(reste - 0.5) > 1e-6) {
                const double r = (reste > 0.5 ? plancher + 1 : plancher) / PUISSANCES[decimales];
                return v < 0 ? -r : r;
            }
        }
    }
    char buf[420];
    const int n = ecrireFixe(chiffres15(v), decimales, '.', buf);
    return lireAscii(buf, buf + n);
}

double arrondiSignificatifs15(double v)
{
    if (!std::isfinite(v) || v == 0)
        return v;
    char buf[40];
    // A value whose shortest text has at most 15 digits is its own rounding.
    {
        const auto court = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
        int chiffres = 0;
        for (const char* p = buf; p < court.ptr && *p != 'e'; ++p)
            if (*p >= '0' && *p <= '9')
                ++chiffres;
        if (chiffres <= 15)
            return v;
    }
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    return lireAscii(buf, res.ptr);
}

double troncatureDecimales(double v, int decimales)
{
    if (!std::isfinite(v))
        return v;
    const Chiffres c = chiffres15(v);
    char buf[420];
    int n = 0;
    if (c.negatif)
        buf[n++] = '-';
    if (c.point <= 0) {
        buf[n++] = '0';
        buf[n++] = '.';
        const int zeros = -c.point;
        for (int k = 0; k < decimales; ++k)
            buf[n++] = k < zeros ? '0' : (k - zeros < 15 ? c.d[k - zeros] : '0');
    } else {
        for (int k = 0; k < c.point; ++k)
            buf[n++] = k < 15 ? c.d[k] : '0';
        buf[n++] = '.';
        for (int k = 0; k < decimales; ++k) {
            const int idx = c.point + k;
            buf[n++] = idx < 15 ? c.d[idx] : '0';
        }
    }
    buf[n++] = '0';
    return lireAscii(buf, buf + n);
}

namespace {

Lecture lire(QStringView texte, QChar sep1, QChar sep2)
{
    Lecture r;
    const QStringView t = sansBlancs(texte);
    if (t.isEmpty() || t.size() > 350)
        return r;
    char buf[360];
    int n = 0;
    int i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        buf[n++] = char(t[i++].unicode());
    int chiffres = 0;
    bool separateur = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            buf[n++] = char(c.unicode());
            ++chiffres;
        } else if ((c == sep1 || c == sep2) && !separateur) {
            buf[n++] = '.';
            separateur = true;
        } else {
            break;
        }
    }
    if (chiffres == 0)
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
    const char* debut = buf[0] == '+' ? buf + 1 : buf;
    const auto res = std::from_chars(debut, buf + n, v);
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(v)) {
        r.etat = Lecture::HorsLimites;
        return r;
    }
    if (res.ec != std::errc() || res.ptr != buf + n)
        return r;
    r.etat = Lecture::Nombre;
    r.valeur = v;
    return r;
}

} // namespace

Lecture lireNombre(QStringView texte, QChar separateur) { return lire(texte, separateur, separateur); }

Lecture lireNombreSouple(QStringView texte) { return lire(texte, QLatin1Char('.'), QLatin1Char(',')); }

QString versSeparateur(QString texte, QChar separateur)
{
    for (QChar& c : texte)
        if (c == u',' || c == u'.')
            c = separateur;
    return texte;
}

QStringView sansBlancs(QStringView texte)
{
    qsizetype a = 0;
    qsizetype b = texte.size();
    while (a < b && texte[a] == u' ')
        ++a;
    while (b > a && texte[b - 1] == u' ')
        --b;
    return texte.mid(a, b - a);
}

} // namespace coords
